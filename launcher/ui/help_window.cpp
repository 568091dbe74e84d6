// The help window: a text browser with back, forward and close, titled by the page.
#include "help_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("helpWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser = new QTextBrowser;
    m_browser->setObjectName("helpBrowser");
    // Pages of the help folder open here; links to the web or mail go to the desktop.
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);
    // The pages' tables draw their grid through the browser's own style sheet subset.
    m_browser->document()->setDefaultStyleSheet(
        "table { border-collapse: collapse; } th, td { border: 1px solid #a0a0a0; padding: 2px 6px; }");
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QString("Celestrix help") : "Celestrix help: " + title);
    });
    auto* back = new QPushButton("Back");
    auto* forward = new QPushButton("Forward");
    auto* close = new QPushButton("Close");
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    resize(760, 640);
}

void CHelpWindow::showPage(const QUrl& page) {
    m_browser->setSource(page);
    show();
    raise();
    activateWindow();
}

CHelpWindow* showHelpWindow(const std::string& path) {
    // A window of the modal dialog in front is not blocked by it; the dialog's closing closes it.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = QApplication::activeWindow();
    CHelpWindow* window = nullptr;
    if (owner) {
        window = owner->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    } else {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* own = qobject_cast<CHelpWindow*>(top); own && !own->parentWidget()) window = own;
    }
    if (!window) window = new CHelpWindow(owner);
    window->showPage(QUrl::fromLocalFile(QString::fromStdString(path)));
    return window;
}
