// Accelerator commands: display toggles, suspension, recording, panic stop and exit.
#include "key_commands.h"

#include "ship_controls.h"

namespace {
void toggle(int32_t& flag) { flag = flag ? 0 : 1; }
}  // namespace

CommandEffects handleCommand(SimState& state, int command) {
    CommandEffects fx;
    const bool live = state.isLive();
    switch (command) {
        case Command::KeyboardHelp:
            toggle(state.flags.keyboardHelpShown);
            break;
        case Command::HeadsUpDisplay:
            if (live) toggle(state.latches[kHudHidden]);
            break;
        case Command::Crosshair:
            if (live) toggle(state.latches[kCrosshairShown]);
            break;
        case Command::Suspend:
            // While the restore prompt is up, suspension would leave it unanswerable.
            if (state.flags.restorePromptShown) break;
            toggle(state.flags.suspended);
            fx.pauseChange = state.flags.suspended ? +1 : -1;
            break;
        case Command::Record:
            if (live) toggle(state.flags.recordingOn);
            break;
        case Command::Gui:
            toggle(state.flags.guiHidden);
            break;
        case Command::Snapshot:
            // Live mode polls F7 as a key instead.
            if (!live) fx.takeSnapshot = true;
            break;
        case Command::Panic:
            panicStop(state);
            break;
        case Command::Destination:
            if (live) toggle(state.latches[kDestinationHidden]);
            break;
        case Command::RestorePrompt:
            if (live) toggle(state.flags.restorePromptShown);
            break;
        case Command::DriftGauge:
            toggle(state.flags.driftGaugeShown);
            break;
        case Command::Exit:
            fx.closeWindow = true;
            break;
        default:
            break;
    }
    return fx;
}
