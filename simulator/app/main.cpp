// Entry of the corvane simulator: command line, single instance, start-up files, then the window
// and its main loop (or the window-less loop of --no-render). The state is saved when the
// application object is destroyed.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app_frame.h"
#include "command_line.h"
#include "fatal_error.h"
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
    // Without a window a stop signal is turned into Esc here; a signal during loading then ends
    // the run as soon as it starts, with the state saved.
    if (cl->noRender) installStopSignalHandlers();

    std::string lockError;
    if (!acquireInstanceLock("corvane", &lockError)) {
        if (!lockError.empty()) fatalError("Celestrix", lockError);
        showMessageBox("Celestrix", "Corvane is already running.", MessageIcon::Warning);
        return kFatalExitCode;
    }

    auto session = std::make_unique<SimulationSession>();
    session->state.runMode = cl->runMode;
    session->state.dataDirectory = cl->dataDirectory;
    if (!cl->inputPath.empty() && !session->loadScript(cl->inputPath, error)) {
        std::fprintf(stderr, "corvane: %s\n", error.c_str());
        return kFatalExitCode;
    }
    if (std::optional<StartupError> failure = loadStartupState(session->state)) {
        if (failure->kind == StartupError::Kind::Orbit) fatalError("Fatal error", failure->message);
        if (!failure->message.empty()) std::fprintf(stderr, "corvane: %s\n", failure->message.c_str());
        fatalFileError(failure->path);
    }
    if (!cl->tracePath.empty() && !session->openTrace(cl->tracePath)) fatalFileError(cl->tracePath);
    if (!cl->exportDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(cl->exportDir, ec);
        if (!std::filesystem::is_directory(cl->exportDir, ec)) {
            std::fprintf(stderr, "corvane: the export directory %s cannot be created\n", cl->exportDir.c_str());
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
