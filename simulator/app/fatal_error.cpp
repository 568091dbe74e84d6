// Fatal exits through the one message-box function of the frame.
#include "fatal_error.h"

#include <cstdio>
#include <cstdlib>

#include "file_reason.h"
#include "instance_lock.h"
#include "message_box.h"

void fatalFileError(const std::string& path, const std::string& reason) {
    // The fixed text first, then why on a line of its own.
    fatalError("File error", "Could not process file " + path + "\n" + (reason.empty() ? reasonForFailedFile(path) : reason));
}

void fatalError(const std::string& caption, const std::string& text) {
    // The run is over: a box that waits for the user must not keep a new start locked out.
    releaseInstanceLock();
    showMessageBox(caption, text, MessageIcon::Error);
    std::fflush(nullptr);
    // Nothing may be saved after a fatal error, so no destructors run.
    std::_Exit(kFatalExitCode);
}
