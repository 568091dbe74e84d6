// The launch pad: the OpenGL check, the live start's questions and object limit, the replay start's
// title rule, and the simulator's command line.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

#include "launch_pad_dlg.h"
#include "launcher_fixture.h"
#include "modal_answerer.h"

using launchertest::LauncherExit;
using launchertest::LauncherTest;
using launchertest::ModalAnswerer;
using testdata::writeText;

namespace {

QPushButton* button(const QWidget& pad, const char* name) {
    return pad.findChild<QPushButton*>(name);
}

// A configuration of n entries (the files need not exist for counting) named "Big".
void writeConfiguration(const std::string& dir, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "Object" + std::to_string(i) + ".cfg\n";
    writeText(dir + "Configurations/Big.cfg", text + "-999\n");
    writeText(dir + "configfile.cfg", "Big\n-999\n");
}

}  // namespace

class LaunchPad : public LauncherTest {};

TEST_F(LaunchPad, OpensWithButtonsAndMenu) {
    ModalAnswerer answers;
    CLaunchPadDlg pad;
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_TRUE(pad.openGlSufficient());
    EXPECT_EQ(pad.windowTitle(), "Celestrix launch pad");
    for (const char* name : {"configurationManagerButton", "exploreButton", "replayButton",
                             "helpButton", "quitButton"})
        EXPECT_TRUE(button(pad, name)->isEnabled()) << name;
    EXPECT_EQ(button(pad, "upgradeButton")->text(), "");
    EXPECT_TRUE(button(pad, "configurationManagerButton")->isDefault());

    auto* bar = pad.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text(), "&Info");
    QStringList entries;
    for (QAction* a : bar->actions()[0]->menu()->actions()) entries << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(entries, (QStringList{"Restore default configuration ...", "About Celestrix ...", "-",
                                    "Quit ... \t Alt+F4"}));
    // The window-menu entries, on the launch pad's context menu.
    QStringList windowMenu;
    for (QAction* a : pad.actions()) windowMenu << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(windowMenu, (QStringList{"-", "Restore default configuration...", "&About Celestrix..."}));
    EXPECT_EQ(pad.contextMenuPolicy(), Qt::ActionsContextMenu);
}

TEST_F(LaunchPad, InsufficientOrMissingOpenGlDisablesTheLaunches) {
    struct Case {
        std::string probe;
        std::string sentence;
    };
    for (const Case& c : {Case{"0x30100", "\n\nOpenGL 3.1 is installed."},
                          Case{"0x20100", "\n\nOpenGL 2.1 is installed."},
                          Case{"0", "\n\nUnable to determine OpenGL version."},
                          Case{"garbage", "\n\nUnable to determine OpenGL version."}}) {
        qputenv("CELESTRIX_SIMULATOR", launchertest::writeFakeSimulator(tools.path(), c.probe).c_str());
        ModalAnswerer answers;
        CLaunchPadDlg pad;
        ASSERT_EQ(answers.seen().size(), 1u) << c.probe;
        EXPECT_EQ(answers.seen()[0].caption, "Celestrix message");
        EXPECT_EQ(answers.seen()[0].text, c.sentence + "\n\nPlease upgrade to OpenGL 3.3.");
        EXPECT_FALSE(pad.openGlSufficient());
        EXPECT_FALSE(button(pad, "exploreButton")->isEnabled());
        EXPECT_FALSE(button(pad, "replayButton")->isEnabled());
        EXPECT_TRUE(button(pad, "configurationManagerButton")->isEnabled());
        EXPECT_EQ(button(pad, "upgradeButton")->text(), "Upgrade to OpenGL 3.3");
        EXPECT_TRUE(button(pad, "upgradeButton")->font().bold());
        QAction* restore = pad.findChild<QMenuBar*>()->actions()[0]->menu()->actions()[0];
        EXPECT_FALSE(restore->isEnabled());
        EXPECT_FALSE(pad.actions()[1]->isEnabled());
    }

    // No simulator at all: the same, with no version known.
    qputenv("CELESTRIX_SIMULATOR", (tools.path() + "missing").c_str());
    ModalAnswerer answers;
    CLaunchPadDlg pad;
    ASSERT_EQ(answers.texts(), std::vector<std::string>{"\n\nUnable to determine OpenGL version.\n\n"
                                                        "Please upgrade to OpenGL 3.3."});
    EXPECT_FALSE(button(pad, "exploreButton")->isEnabled());
}

TEST_F(LaunchPad, LiveStartHonoursTheObjectLimit) {
    ModalAnswerer answers;
    CLaunchPadDlg pad;
    writeText(dir() + "moviefile.cfg", "Fresh title\n-999\n");

    writeConfiguration(dir(), 1001);
    pad.launchLive();
    EXPECT_EQ(answers.texts(),
              std::vector<std::string>{"You have exceeded the maximum number of objects which is 1000."});
    EXPECT_EQ(answers.seen()[0].caption, "Celestrix error");
    EXPECT_EQ(simulatorStarts(), "");

    writeConfiguration(dir(), 1000);
    pad.launchLive();
    EXPECT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(simulatorStarts(), "[ ]\n[" + dir() + "|1]\n");
}

TEST_F(LaunchPad, ExistingRecordingTitleAsksBeforeALiveStart) {
    ModalAnswerer answers({"Quit", "OK"});
    CLaunchPadDlg pad;
    writeText(dir() + "moviefile.cfg", "Old flight\n-999\n");
    writeText(dir() + "Recordings/Old flight/Old flight.vcr", "x");

    pad.launchLive();
    const std::string question =
        "\nThe selected recording title already exists.\nIts content will be destroyed when you do a\n"
        "new recording using that name.\n\n Do you want to continue?";
    EXPECT_EQ(answers.texts(), std::vector<std::string>{question});
    EXPECT_EQ(answers.seen()[0].caption, "Celestrix warning");
    EXPECT_EQ(simulatorStarts(), "");

    pad.launchLive();
    EXPECT_EQ(answers.texts(), (std::vector<std::string>{question, question}));
    EXPECT_EQ(simulatorStarts(), "[ ]\n[" + dir() + "|1]\n");
}

TEST_F(LaunchPad, ReplayNeedsATitle) {
    ModalAnswerer answers;
    CLaunchPadDlg pad;
    writeText(dir() + "moviefile.cfg", "\n-999\n");
    pad.launchReplay();
    EXPECT_EQ(answers.texts(), std::vector<std::string>{"\n\nYou must name exactly one replay title.\n"
                                                        "Please return to the 'Configuration manager'."});
    EXPECT_EQ(simulatorStarts(), "");

    // A title is enough: whether the recording exists is the simulator's concern. The last line
    // without a line end still gives the whole title.
    writeText(dir() + "moviefile.cfg", "Nowhere");
    pad.launchReplay();
    EXPECT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(simulatorStarts(), "[ ]\n[" + dir() + "|0]\n");
}

TEST_F(LaunchPad, UnreadableSelectionFilesEndTheLauncher) {
    ModalAnswerer answers;
    CLaunchPadDlg pad;

    std::filesystem::remove(dir() + "configfile.cfg");
    try {
        pad.launchLive();
        FAIL() << "the launcher went on without configfile.cfg";
    } catch (const LauncherExit& e) {
        EXPECT_EQ(e.code, 255);
    }
    EXPECT_EQ(answers.texts().back(), "\n\nCould not process file " + dir() + "configfile.cfg\nNo such file or directory");

    writeText(dir() + "configfile.cfg", "Nonexistent\n-999\n");
    EXPECT_THROW(pad.launchLive(), LauncherExit);
    EXPECT_EQ(answers.texts().back(),
              "\n\nCould not process file " + dir() + "Configurations/Nonexistent.cfg\nNo such file or directory");

    std::filesystem::remove(dir() + "moviefile.cfg");
    EXPECT_THROW(pad.launchLive(), LauncherExit);
    EXPECT_EQ(answers.texts().back(), "\n\nCould not open file " + dir() + "moviefile.cfg");
    EXPECT_THROW(pad.launchReplay(), LauncherExit);
    EXPECT_EQ(answers.texts().back(), "\n\nCould not process file " + dir() + "moviefile.cfg\nNo such file or directory");
    EXPECT_EQ(simulatorStarts(), "");
}

TEST_F(LaunchPad, WaitsForTheSimulatorAndTakesNoInputMeanwhile) {
    // A simulator that runs for a moment and records its start.
    const std::string slow = tools.path() + "slow.sh";
    writeText(slow, "#!/bin/sh\nif [ \"$1\" = --probe ]; then echo 0x40500; exit 0; fi\n"
                    "echo started >> sim_args.txt\nsleep 1\necho ended >> sim_args.txt\n");
    chmod(slow.c_str(), 0755);
    qputenv("CELESTRIX_SIMULATOR", slow.c_str());
    ModalAnswerer answers;
    CLaunchPadDlg pad;
    pad.show();
    writeText(dir() + "moviefile.cfg", "Fresh\n-999\n");

    bool clickedWhileRunning = false;
    QTimer::singleShot(400, &pad, [&] {
        clickedWhileRunning = simulatorStarts() == "started\n";
        QTest::mouseClick(button(pad, "quitButton"), Qt::LeftButton);
        QTest::keyClick(&pad, Qt::Key_Escape);
        pad.close();
    });
    pad.launchLive();
    EXPECT_TRUE(clickedWhileRunning);
    // launchLive returned only after the simulator had ended, and the pad ignored the click, the
    // key and the close request made meanwhile.
    EXPECT_EQ(simulatorStarts(), "started\nended\n");
    EXPECT_TRUE(pad.isVisible());
    QTest::qWait(100);
    EXPECT_TRUE(pad.isVisible());
    EXPECT_TRUE(answers.seen().empty());
}

TEST_F(LaunchPad, ASimulatorThatCannotStartLeavesThePadUsable) {
    ModalAnswerer answers;
    CLaunchPadDlg pad;  // the probe passed with the stand-in simulator, which is now taken away
    std::filesystem::remove(qEnvironmentVariable("CELESTRIX_SIMULATOR").toStdString());
    writeText(dir() + "moviefile.cfg", "Fresh\n-999\n");
    pad.launchLive();
    pad.launchReplay();
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_EQ(simulatorStarts(), "");
    EXPECT_TRUE(button(pad, "exploreButton")->isEnabled());
}
