// Help pages: the desktop's browser, or the launcher's own help window.
#include "help_page.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "help_window.h"

namespace {

// xdg-open starts, and so reports success, even where nothing on the desktop can show HTML: the
// desktop is asked first which program would, so that a page never silently goes nowhere.
bool desktopHasHtmlViewer() {
    if (!qEnvironmentVariableIsEmpty("BROWSER")) return true;
    const QString xdgMime = QStandardPaths::findExecutable("xdg-mime");
    if (xdgMime.isEmpty()) return true;  // nothing to ask: opening the page tells
    QProcess query;
    query.start(xdgMime, {"query", "default", "text/html"});
    if (!query.waitForFinished(3000)) {
        query.kill();
        return true;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

void openHelpPage(const std::string& path) {
    // The desktop's browser first; where the desktop has no way to open it, the own help window.
    if (!desktopHasHtmlViewer() || !QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
        showHelpWindow(path);
}
