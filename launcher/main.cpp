// Entry of the celestrix launcher: data directory, single instance, then the launch pad.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <optional>
#include <string>

#include "celestrix_manual.h"
#include "data_directory.h"
#include "data_directory_lock.h"
#include "file_set_commit.h"
#include "error_dlg.h"
#include "fatal_exit.h"
#include "launcher_dialog.h"
#include "launch_pad_dlg.h"
#include "launcher_lock.h"
#include "running_launcher.h"
#include "solar_system_date.h"

namespace {

constexpr int kFatalExitCode = 255;  // -1 as the process's exit status

std::optional<std::string> option(int argc, char** argv, const std::string& name) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == name) return std::string(argv[i + 1]);
    return std::nullopt;
}

bool hasFlag(int argc, char** argv, const std::string& name) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == name) return true;
    return false;
}

// celestrix --set-date DATE: gives the delivered bodies their places of that date and exits,
// without a window.
int setDateAndExit(int argc, char** argv) {
    const std::optional<std::string> text = option(argc, argv, "--set-date");
    std::string error;
    std::optional<UtcDateTime> date = text ? parseMissionDate(*text, error) : std::nullopt;
    if (!text) error = "--set-date needs a date, YYYY-MM-DD or YYYY-MM-DDTHH:MM (UTC).";
    if (!date) {
        std::fprintf(stderr, "celestrix: %s\n", error.c_str());
        return 2;
    }
    std::string dir = resolveDataDirectory(option(argc, argv, "--data-dir"));
    if (!prepareDataDirectory(dir, pristineDataDirectory(), error)) {
        std::fprintf(stderr, "celestrix: %s\n", error.c_str());
        return kFatalExitCode;
    }
    // A simulator or launcher at work on this directory would overwrite the new places on exit,
    // and a save that an interrupted program left half done is finished before anything is read.
    if (launcherDataDirectoryLock().acquire(dir) == DataDirectoryLock::Result::HeldElsewhere) {
        std::fprintf(stderr, "celestrix: %s\n", dataDirectoryInUseMessage(dir).c_str());
        return kFatalExitCode;
    }
    const CommitRecovery recovery = finishInterruptedCommit(dir);
    if (recovery.outcome == CommitRecovery::Outcome::Failed) {
        std::fprintf(stderr, "celestrix: Could not process file %s\n%s\n", recovery.failure.path.c_str(),
                     recovery.failure.reason.c_str());
        return kFatalExitCode;
    }
    const SetDateResult result = setSolarSystemDate(dir, *date);
    if (!result.ok) {
        std::fprintf(stderr, "celestrix: %s\n", result.error.c_str());
        return kFatalExitCode;
    }
    std::printf("The solar system in %s now stands at %s; mission time starts at 0.\n", dir.c_str(),
                calendarText(*date).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version answer without a display; other arguments may be Qt's own.
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "--version") {
            std::fputs(arg == "--help" ? celestrix_manual::kHelp : celestrix_manual::kVersion, stdout);
            return 0;
        }
    }
    if (hasFlag(argc, argv, "--set-date")) return setDateAndExit(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Celestrix");
    applyLauncherPalette();

    const LauncherLock lock = acquireLauncherLock();
    if (lock.outcome == LockOutcome::HeldByAnother) {
        // The running launcher comes to the front; this one writes nothing and ends.
        askRunningLauncherToRaise();
        std::fputs("celestrix: Celestrix is already running.\n", stderr);
        showError("\n\nCelestrix is already running.");
        return 0;
    }
    if (lock.outcome == LockOutcome::CannotOpen) {
        std::fprintf(stderr, "celestrix: %s\n", lock.failure.c_str());
        showError(QString::fromStdString("\n\n" + lock.failure));
        return kFatalExitCode;
    }

    std::string dir = resolveDataDirectory(option(argc, argv, "--data-dir"));
    std::string error;
    if (!prepareDataDirectory(dir, pristineDataDirectory(), error) ||
        !QDir::setCurrent(QString::fromStdString(dir))) {
        if (error.empty()) error = "cannot enter the data directory " + dir;
        std::fprintf(stderr, "celestrix: %s\n", error.c_str());
        showError(QString::fromStdString("\n\n" + error));
        return kFatalExitCode;
    }
    // The launcher writes into the data directory, so it holds the directory's lock (shared with
    // every simulator, whatever its session); then a save that an interrupted program left
    // half done is finished or undone before anything is read.
    if (launcherDataDirectoryLock().acquire(dir) == DataDirectoryLock::Result::HeldElsewhere) {
        const std::string message = dataDirectoryInUseMessage(dir);
        std::fprintf(stderr, "celestrix: %s\n", message.c_str());
        showError(QString::fromStdString("\n\n" + message));
        return kFatalExitCode;
    }
    const CommitRecovery recovery = finishInterruptedCommit(dir);
    if (recovery.outcome == CommitRecovery::Outcome::Failed)
        exitCouldNotProcess(recovery.failure.path, recovery.failure.reason);
    if (recovery.outcome != CommitRecovery::Outcome::NothingPending)
        std::fprintf(stderr, "celestrix: %s\n", recovery.detail.c_str());
    // The launch pad is the main window; closing it ends the launcher.
    // Listening before the launch pad opens (its OpenGL probe takes a moment): a second start
    // meanwhile is answered once the pad is up.
    listenForRaiseRequests(&app);
    CLaunchPadDlg launchPad;
    launchPad.exec();
    return 0;
}
