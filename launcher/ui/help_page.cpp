#include "help_page.h"

#include <QDesktopServices>
#include <QUrl>

void openHelpPage(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}
