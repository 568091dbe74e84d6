// CHelpWindow: the launcher's own viewer of its HTML help pages, for a desktop that cannot open
// them itself. Links between the pages work inside it; links to the web go to the desktop.
#pragma once

#include <QUrl>
#include <QWidget>
#include <string>

class QTextBrowser;

class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    void showPage(const QUrl& page);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};

// Shows path in the help window of the dialog the user works in (a window of its own, above that
// dialog, reused for the next page), and returns it.
CHelpWindow* showHelpWindow(const std::string& path);
