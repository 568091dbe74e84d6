// Flight plan commands: the planner in sim does the work; this only dispatches.
#include "flight_plan_commands.h"

#include <array>
#include <utility>

bool handleFlightPlanCommand(FlightPlanner& planner, SimState& state, int command) {
    using namespace FlightPlanCommand;
    constexpr std::array<PlanAction, 6> kChanges = {PlanAction::ProgradePlus, PlanAction::ProgradeMinus,
                                                    PlanAction::NormalPlus,   PlanAction::NormalMinus,
                                                    PlanAction::RadialPlus,   PlanAction::RadialMinus};
    if (command < NewNode || command > Last) return false;
    if (command >= FirstDigit) {
        planner.apply(state, PlanAction::Digit, false, command - FirstDigit);
    } else if (command >= FirstChange && command < FirstChange + 6) {
        planner.apply(state, kChanges[static_cast<size_t>(command - FirstChange)]);
    } else if (command >= FirstFineChange && command < FirstFineChange + 6) {
        planner.apply(state, kChanges[static_cast<size_t>(command - FirstFineChange)], true);
    } else {
        switch (command) {
            case NewNode: planner.apply(state, PlanAction::NewNode); break;
            case DeleteNode: planner.apply(state, PlanAction::DeleteNode); break;
            case Later: planner.apply(state, PlanAction::Later); break;
            case Earlier: planner.apply(state, PlanAction::Earlier); break;
            case PlanTransfer: planner.apply(state, PlanAction::PlanTransfer); break;
            case FlyNext: planner.apply(state, PlanAction::FlyNext); break;
            case Enter: planner.apply(state, PlanAction::Enter); break;
            default: return false;
        }
    }
    return true;
}

int flightPlanScriptCommand(const std::string& keyName, bool leftShiftHeld) {
    using namespace FlightPlanCommand;
    static const std::pair<const char*, int> kKeys[] = {
        {"Insert", NewNode}, {"Delete", DeleteNode}, {"PageUp", Later},  {"PageDown", Earlier},
        {"Home", PlanTransfer}, {"End", FlyNext},   {"Enter", Enter}};
    for (const auto& [name, command] : kKeys)
        if (keyName == name) return command;
    static const char* const kPad[] = {"KP8", "KP2", "KP4", "KP6", "KP7", "KP9"};
    for (int i = 0; i < 6; ++i)
        if (keyName == kPad[i]) return (leftShiftHeld ? FirstFineChange : FirstChange) + i;
    if (keyName.size() == 1 && keyName[0] >= '0' && keyName[0] <= '9') return FirstDigit + (keyName[0] - '0');
    return 0;
}
