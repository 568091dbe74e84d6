// End to end: the configuration manager assembles and saves a new configuration, the launch pad
// starts the real simulator live (headless, for a fixed number of frames), and the state the
// simulator saves on exit appears in the data directory. Also the celestrix program itself: its
// single instance and the first-run copy of the data directory.
#include <gtest/gtest.h>
#include <signal.h>

#include <QComboBox>
#include <chrono>
#include <thread>

#include "cfg_manager_dlg.h"
#include "launch_pad_dlg.h"
#include "launcher_fixture.h"
#include "launcher_lock.h"
#include "running_launcher.h"
#include "manager_rows.h"
#include "modal_answerer.h"
#include "object_item.h"
#include "run_program.h"

using launchertest::LauncherTest;
using launchertest::ModalAnswerer;
using testdata::readText;

namespace {

// Polls until done() holds or about 20 s have passed.
template <typename Done>
bool eventually(Done done) {
    for (int i = 0; i < 400; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

}  // namespace

class EndToEnd : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        qputenv("CELESTRIX_SIMULATOR", CORVANE_PATH);
        qputenv("SDL_VIDEODRIVER", "offscreen");
        qputenv("CELESTRIX_NO_MESSAGE_BOXES", "1");
        // The simulator's single-instance lock stays private to this test.
        previousRuntimeDir = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", tools.path().c_str());
    }
    void TearDown() override {
        qunsetenv("CELESTRIX_TEST_SIMULATOR_OPTIONS");
        qunsetenv("SDL_VIDEODRIVER");
        qunsetenv("CELESTRIX_NO_MESSAGE_BOXES");
        qputenv("XDG_RUNTIME_DIR", previousRuntimeDir);
        LauncherTest::TearDown();
    }
    QByteArray previousRuntimeDir;
};

TEST_F(EndToEnd, ManagerSavesAndTheLaunchPadFliesIt) {
    ModalAnswerer answers;
    // The Moon orbits the Earth, which will be the second row of the new configuration.
    ASSERT_EQ(writeObjectItem(dir() + "Objects/Moon.cfg", "Item 8.", "2", dir()), ItemStatus::Ok);
    const std::string moonBefore = readText(dir() + "Objects/Moon.cfg");
    const std::string marsBefore = readText(dir() + "Objects/Mars.cfg");
    {
        CCfgManagerDlg manager;
        manager.findChild<QComboBox*>("configurationName")->setEditText("Earth and Moon");
        manager.findChild<QComboBox*>("recordingTitle")->setEditText("Moon trip");
        manager.findChild<QComboBox*>("screenshotTitle")->setEditText("Moon pictures");
        manager.selectedList()->selectAll();
        manager.removeFromList();
        for (const char* name : {"Sun", "Earth", "Observer", "Moon"}) {
            manager.availableList()->selectRows({launchertest::availableIndex(manager, name)});
            manager.appendObjects();
        }
        manager.updateControls();  // the observer goes last
        EXPECT_EQ(launchertest::shownSelectedRows(manager),
                  (std::vector<std::string>{"Sun 1 none Star", "Earth 2 none Planet", "Moon 3 2 Planet",
                                            "Observer 4 none Observer"}));
        manager.save();
        ASSERT_EQ(manager.result(), QDialog::Accepted);
    }
    EXPECT_EQ(readText(dir() + "Configurations/Earth and Moon.cfg"),
              "Sun.cfg\nEarth.cfg\nMoon.cfg\nObserver.cfg\n-999\n");
    EXPECT_EQ(readText(dir() + "configfile.cfg"), "Earth and Moon\n-999\n");
    EXPECT_EQ(readText(dir() + "moviefile.cfg"), "Moon trip\n-999\n");

    qputenv("CELESTRIX_TEST_SIMULATOR_OPTIONS", "--headless --frames 20 --fixed-dt 3600");
    CLaunchPadDlg pad;
    ASSERT_TRUE(pad.openGlSufficient());
    pad.launchLive();
    EXPECT_TRUE(answers.seen().empty());

    // The simulator ran 20 hours of mission time and saved its state where the launcher keeps it.
    EXPECT_EQ(std::stod(readText(dir() + "time.cfg")), 72000.0);
    EXPECT_TRUE(testdata::exists(dir() + "last_view.cfg"));
    const std::string moonAfter = readText(dir() + "Objects/Moon.cfg");
    EXPECT_NE(moonAfter, moonBefore);
    EXPECT_EQ(readObjectItem(dir() + "Objects/Moon.cfg", "Item 8.", dir()).value, "2");
    // An object outside the configuration is not touched.
    EXPECT_EQ(readText(dir() + "Objects/Mars.cfg"), marsBefore);
    // No recording was made on that run.
    EXPECT_FALSE(testdata::exists(dir() + "Recordings/Moon trip"));
}

TEST_F(EndToEnd, TheProgramRunsOnceAndPreparesItsDataDirectory) {
    const std::string fresh = tools.path() + "fresh data/";
    const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "CELESTRIX_DATA_DIR=" + fresh,
                                          "CELESTRIX_SIMULATOR=" + std::string(CORVANE_PATH)};
    // First start: the data directory is made from the pristine data and the launch pad opens.
    testrun::Child first = testrun::start(CELESTRIX_PATH, {}, tools.path(), env);
    ASSERT_GT(first.pid, 0);
    EXPECT_TRUE(eventually([&] { return std::filesystem::is_directory(fresh + "Screenshots"); }));
    EXPECT_EQ(readText(fresh + "configfile.cfg"), readText(std::string(CELESTRIX_DATA_SOURCE) + "configfile.cfg"));
    EXPECT_TRUE(testdata::exists(fresh + "Objects/Observer.cfg"));

    // A second start while the first runs says so, on standard error too, and then waits only for
    // its message to be acknowledged (which nobody can do on the offscreen platform).
    testrun::Child second = testrun::start(CELESTRIX_PATH, {}, tools.path(), env);
    EXPECT_TRUE(eventually([&] {
        return testrun::slurp(second.errPath).find("Celestrix is already running.") != std::string::npos;
    }));
    kill(second.pid, SIGTERM);
    testrun::wait(second);
    // The second start made no folders where it was started, and the running launcher answers a
    // request to come forward.
    for (const char* folder : {"Configurations", "Objects", "Recordings", "Screenshots"})
        EXPECT_FALSE(std::filesystem::exists(tools.path() + folder)) << folder;
    EXPECT_TRUE(eventually([] { return askRunningLauncherToRaise(); }));

    kill(first.pid, SIGTERM);
    testrun::wait(first);

    // A user's own file in a new data directory is never replaced by the copy.
    const std::string own = tools.path() + "own/";
    testdata::writeText(own + "stars.txt", "mine");
    testrun::Child third = testrun::start(CELESTRIX_PATH, {"--data-dir", own}, tools.path(),
                                          {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_TRUE(eventually([&] { return std::filesystem::is_directory(own + "Screenshots"); }));
    kill(third.pid, SIGTERM);
    testrun::wait(third);
    EXPECT_EQ(readText(own + "stars.txt"), "mine");
    EXPECT_TRUE(testdata::exists(own + "configfile.cfg"));
}
