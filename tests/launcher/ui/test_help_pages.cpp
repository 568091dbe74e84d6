// Help buttons hand their page to the desktop's default handler; here a handler of the test
// receives the address instead of a browser.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QPushButton>
#include <QUrl>

#include "cfg_manager_dlg.h"
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

#include "test_help_pages.moc"
