// SIGTERM and SIGINT for the window-less run, which has no window system to turn them into a close
// request: they only set a flag, and the run loop ends the way Esc does, so the state is saved.
#pragma once

// Installs the handlers (once). Windowed and headless runs leave the signals to SDL, which sends
// a quit event for them.
void installStopSignalHandlers();
// True once SIGTERM or SIGINT has arrived.
bool stopRequested();
