// Fatal exits through the one message-box function of the frame.
#include "fatal_error.h"

#include <cstdio>
#include <cstdlib>

#include "message_box.h"

void fatalFileError(const std::string& path) {
    fatalError("File error", "Could not process file " + path);
}

void fatalError(const std::string& caption, const std::string& text) {
    showMessageBox(caption, text, MessageIcon::Error);
    std::fflush(nullptr);
    // Nothing may be saved after a fatal error, so no destructors run.
    std::_Exit(kFatalExitCode);
}
