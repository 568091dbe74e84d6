// QProcess runs of corvane. While the simulator runs, a local event loop that excludes user input
// keeps the launcher's windows painted while an event filter discards the user's input.
#include "simulator_process.h"

#include "data_directory_lock.h"
#include "fatal_exit.h"
#include "launcher_lock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>

#include "launch_rules.h"

namespace {

constexpr int kProbeTimeoutMs = 30000;

// Swallows user input (and window close requests) for the whole application while it lives, so
// that nothing the user does during a simulator run takes effect afterwards.
class InputBlocker : public QObject {
public:
    InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
            case QEvent::Close:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

std::optional<int> probeOpenGlVersion(const CLauncherContext& context) {
    QProcess probe;
    probe.setWorkingDirectory(QString::fromStdString(context.dataDirectory));
    probe.start(QString::fromStdString(context.simulatorProgram), {"--probe"});
    if (!probe.waitForStarted(kProbeTimeoutMs)) return std::nullopt;
    if (!probe.waitForFinished(kProbeTimeoutMs)) {
        probe.kill();
        probe.waitForFinished();
        return std::nullopt;
    }
    if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) return std::nullopt;
    return parseProbeCode(probe.readAllStandardOutput().toStdString());
}

void runSimulatorAndWait(const CLauncherContext& context) {
    QStringList arguments =
        qEnvironmentVariable("CELESTRIX_TEST_SIMULATOR_OPTIONS").split(' ', Qt::SkipEmptyParts);
    arguments << " " << QString::fromStdString(context.simulatorArgument);

    QProcess simulator;
    simulator.setWorkingDirectory(QString::fromStdString(context.dataDirectory));
    simulator.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop wait;
    QObject::connect(&simulator, &QProcess::finished, &wait, &QEventLoop::quit);
    QObject::connect(&simulator, &QProcess::errorOccurred, &wait, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) wait.quit();
    });
    // The simulator takes the data directory's lock itself; the launcher takes it back when the
    // simulator has ended. Should another simulator have taken it in between, the launcher must
    // not write over that simulator's files: it ends.
    DataDirectoryLock& lock = launcherDataDirectoryLock();
    const bool wasHeld = lock.held();
    lock.release();
    simulator.start(QString::fromStdString(context.simulatorProgram), arguments);
    if (simulator.state() != QProcess::NotRunning) {
        InputBlocker blocker;
        wait.exec();
    }
    if (wasHeld && lock.acquire(context.dataDirectory) == DataDirectoryLock::Result::HeldElsewhere)
        exitWithError(QString::fromStdString("\n\n" + dataDirectoryInUseMessage(context.dataDirectory)));
}
