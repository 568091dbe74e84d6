// Fatal exits through the one message-box function of the frame.
#include "fatal_error.h"

#include <cstdio>
#include <cstdlib>

#include "instance_lock.h"
#include "message_box.h"

void fatalFileError(const std::string& path) {
    fatalError("File error", "Could not process file " + path);
}

void fatalError(const std::string& caption, const std::string& text) {
    // The run is over: a box that waits for the user must not keep a new start locked out.
    releaseInstanceLock();
    showMessageBox(caption, text, MessageIcon::Error);
    std::fflush(nullptr);
    // Nothing may be saved after a fatal error, so no destructors run.
    std::_Exit(kFatalExitCode);
}
