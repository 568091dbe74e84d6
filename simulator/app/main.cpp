// Entry of the corvane simulator: command line, single instance, start-up files, then the window
// and its main loop (or the window-less loop of --no-render). The state is saved when the
// application object is destroyed.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app_frame.h"
#include "command_line.h"
#include "fatal_error.h"
#include "file_set_commit.h"
#include "instance_lock.h"
#include "message_box.h"
#include "simulator_app.h"
#include "stale_temp_files.h"
#include "startup.h"
#include "stop_signals.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    std::optional<CommandLine> cl = parseCommandLine(args, error);
    if (!cl) {
        std::fprintf(stderr, "corvane: %s\n%s", error.c_str(), commandLineUsage());
        return kFatalExitCode;
    }
    if (cl->help) {
        std::fputs(commandLineHelp(), stdout);
        return 0;
    }
    if (cl->version) {
        std::fputs(commandLineVersion(), stdout);
        return 0;
    }
    if (cl->probe) {
        std::printf("0x%x\n", probeOpenGlVersion());
        return 0;
    }
    if (cl->headless || cl->noRender) setMessageBoxesEnabled(false);
    // A stop signal is turned into Esc by the run loops; one during loading ends the run as soon
    // as it starts, with the state saved.
    installStopSignalHandlers(cl->noRender);

    std::string lockError;
    if (!acquireInstanceLock("corvane", &lockError)) {
        if (!lockError.empty()) fatalError("Celestrix", lockError);
        showMessageBox("Celestrix", "Corvane is already running.", MessageIcon::Warning);
        return kFatalExitCode;
    }

    // One simulator per data directory, whichever session or runtime directory it was started
    // from; then whatever an interrupted save left is finished or undone before anything is read.
    if (!acquireDataDirectoryLock(cl->dataDirectory, lockError)) {
        showMessageBox("Celestrix", lockError, MessageIcon::Warning);
        return kFatalExitCode;
    }
    if (!lockError.empty()) std::fprintf(stderr, "corvane: %s\n", lockError.c_str());
    const CommitRecovery recovery = finishInterruptedCommit(cl->dataDirectory);
    if (recovery.outcome == CommitRecovery::Outcome::Failed)
        fatalFileError(recovery.failure.path, recovery.failure.reason);
    if (recovery.outcome != CommitRecovery::Outcome::NothingPending)
        std::fprintf(stderr, "corvane: %s\n", recovery.detail.c_str());

    auto session = std::make_unique<SimulationSession>();
    session->state.runMode = cl->runMode;
    session->state.dataDirectory = cl->dataDirectory;
    if (!cl->inputPath.empty() && !session->loadScript(cl->inputPath, error)) {
        std::fprintf(stderr, "corvane: %s\n", error.c_str());
        return kFatalExitCode;
    }
    if (std::optional<StartupError> failure = loadStartupState(session->state)) {
        if (failure->kind == StartupError::Kind::Orbit) fatalError("Fatal error", failure->message);
        fatalFileError(failure->path, failure->message);
    }
    if (!cl->tracePath.empty() && !session->openTrace(cl->tracePath, &error)) fatalFileError(cl->tracePath, error);
    if (!cl->exportDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(cl->exportDir, ec);
        if (!std::filesystem::is_directory(cl->exportDir, ec)) {
            std::fprintf(stderr, "corvane: the export directory %s cannot be created\n", cl->exportDir.c_str());
            return kFatalExitCode;
        }
        // A directory that exists but cannot take the pictures is refused before the run, not
        // found out at the first frame with nothing exported.
        if (::access(cl->exportDir.c_str(), W_OK | X_OK) != 0) {
            std::fprintf(stderr, "corvane: no frame can be written into the export directory %s (%s)\n",
                         cl->exportDir.c_str(), std::strerror(errno));
            return kFatalExitCode;
        }
    }
    // Left by runs that were killed while replacing a file; this run holds the lock, so no other
    // simulator is writing them.
    removeStaleTempFiles(directoriesWrittenByRuns(session->state));

    auto app = std::make_unique<SimulatorApp>(*cl, std::move(session));
    int code = 0;
    if (cl->noRender) {
        code = app->runWithoutWindow();
    } else if (app->create() >= 0) {
        code = app->run();
    }
    app.reset();  // saves the state
    return code;
}
