#include "help_page.h"

#include <QDesktopServices>
#include <QUrl>

#include "help_window.h"

void openHelpPage(const std::string& path) {
    // The desktop's browser first; where the desktop has no way to open it, the own help window.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)))) showHelpWindow(path);
}
