// Help buttons hand their page to the desktop's default handler; here a handler of the test
// receives the address instead of a browser.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QPushButton>
#include <QApplication>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>

#include "cfg_manager_dlg.h"
#include "help_page.h"
#include "help_window.h"
#include "launch_pad_dlg.h"
#include "launcher_fixture.h"
#include "modal_answerer.h"

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

}  // namespace

class HelpPages : public launchertest::LauncherTest {};

TEST_F(HelpPages, EachDialogOpensItsOwnPage) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    launchertest::ModalAnswerer answers;
    {
        CLaunchPadDlg pad;
        pad.findChild<QPushButton*>("helpButton")->click();
        // With OpenGL sufficient the upgrade button has no caption and does nothing.
        pad.findChild<QPushButton*>("upgradeButton")->click();
        CCfgManagerDlg manager;
        manager.findChild<QPushButton*>("helpButton")->click();
    }
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.urls.size(), 2u);
    EXPECT_EQ(catcher.urls[0].toLocalFile().toStdString(), dir() + "Help/HTML/tutorial.html");
    EXPECT_EQ(catcher.urls[1].toLocalFile().toStdString(), dir() + "Help/HTML/tutorial_cfgmgr.html");
    EXPECT_TRUE(testdata::exists(catcher.urls[0].toLocalFile().toStdString()));
    EXPECT_TRUE(testdata::exists(catcher.urls[1].toLocalFile().toStdString()));
    EXPECT_TRUE(answers.seen().empty());
}

TEST_F(HelpPages, WithoutADesktopHandlerTheOwnWindowShowsThePagesAndFollowsLinks) {
    struct Step {
        const char* link;   // followed as a click on it would (relative to the page shown)
        const char* title;  // the page's title in the window's caption
    };
    const std::vector<Step> steps = {
        {nullptr, "Celestrix help: Celestrix tutorial"},
        {"tutorial_cfgmgr.html", "configuration manager"},
        {"tutorial_specorbit.html", "Orbits"},
        {"tutorial.html#top", "Celestrix tutorial"},
    };
    const std::string first = dir() + "Help/HTML/tutorial.html";
    CHelpWindow* window = nullptr;
    if (QStandardPaths::findExecutable("xdg-open").isEmpty()) {
        // No way for the desktop to open the page: openHelpPage falls back to the own window.
        openHelpPage(first);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<CHelpWindow*>(top)) window = w;
    } else {
        window = showHelpWindow(first);
    }
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    for (const Step& step : steps) {
        SCOPED_TRACE(step.title);
        if (step.link) window->browser()->setSource(QUrl(step.link));
        EXPECT_TRUE(window->windowTitle().contains(step.title, Qt::CaseInsensitive)) << window->windowTitle().toStdString();
        EXPECT_GT(window->browser()->toPlainText().size(), 200);
    }
    window->browser()->backward();
    EXPECT_TRUE(window->browser()->source().path().endsWith("tutorial_specorbit.html"))
        << window->browser()->source().toString().toStdString();
    // The same dialog's next help page reuses the window.
    EXPECT_EQ(showHelpWindow(dir() + "Help/HTML/tutorial_cfgobject.html"), window);
    window->close();
}

#include "test_help_pages.moc"
