// The configuration manager driven as a user would: opening, loading, appending, dropping,
// removing, deleting, and Save and Quit with their rules and messages.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <memory>

#include "cfg_manager_dlg.h"
#include "launcher_fixture.h"
#include "manager_rows.h"
#include "modal_answerer.h"
#include "object_item.h"

using launchertest::LauncherExit;
using launchertest::LauncherTest;
using launchertest::ModalAnswerer;
using launchertest::selectedNames;
using launchertest::shownSelectedRows;
using testdata::readText;
using testdata::writeText;

namespace {

const std::vector<std::string> kDefaultNames = {"Sun",     "Mercury", "Venus",  "Earth",
                                                "Moon",    "Mars",    "Jupiter", "Saturn",
                                                "Uranus",  "Neptune", "Observer"};

QPushButton* button(const CCfgManagerDlg& dlg, const char* name) {
    return dlg.findChild<QPushButton*>(name);
}

void setName(CCfgManagerDlg& dlg, const char* combo, const QString& text) {
    dlg.findChild<QComboBox*>(combo)->setEditText(text);
}

void chooseAvailable(CCfgManagerDlg& dlg, const std::vector<std::string>& names) {
    std::vector<int> rows;
    for (const std::string& n : names) rows.push_back(launchertest::availableIndex(dlg, n));
    dlg.availableList()->selectRows(rows);
}

// Delivers a drop to the selected list's viewport as a finished drag would (the offscreen
// platform cannot run a real drag): source rows' payload, released at the given row (-1: below
// the last row).
void dropOnSelectedList(CCfgManagerDlg& dlg, const ObjectListView& source, const std::vector<int>& rows,
                        int targetRow) {
    ObjectListView* target = dlg.selectedList();
    QPoint at;
    if (targetRow >= 0) {
        at = target->visualItemRect(target->topLevelItem(targetRow)).center();
    } else {
        at = QPoint(10, target->viewport()->height() - 3);
        ASSERT_FALSE(target->indexAt(at).isValid());
    }
    std::unique_ptr<QMimeData> data(source.rowsMimeData(rows));
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target->viewport(), &move);
    ASSERT_TRUE(move.isAccepted());
    QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target->viewport(), &drop);
}

}  // namespace

class CfgManager : public LauncherTest {};

TEST_F(CfgManager, OpensOnTheSavedSelection) {
    writeText(dir() + "Recordings/Trip/Trip.vcr", "x");
    writeText(dir() + "Configurations/Two.parts.cfg", "Sun.cfg\n-999\n");
    ModalAnswerer answers;
    CCfgManagerDlg dlg;
    dlg.resize(1000, 700);
    dlg.show();
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_EQ(dlg.windowTitle(), "Configuration manager");
    EXPECT_EQ(dlg.configurationName(), "Default Configuration");
    EXPECT_EQ(dlg.recordingTitle(), "My Recording");
    EXPECT_EQ(dlg.screenshotTitle(), "My Screenshots");
    EXPECT_EQ(dlg.newObjectType(), 1);
    EXPECT_TRUE(dlg.newObjectOrbiting());

    // The four directories exist after opening.
    for (const char* d : {"Recordings", "Objects", "Screenshots", "Configurations"})
        EXPECT_TRUE(std::filesystem::is_directory(dir() + d)) << d;

    auto* configurations = dlg.findChild<QComboBox*>("configurationName");
    QStringList names;
    for (int i = 0; i < configurations->count(); ++i) names << configurations->itemText(i);
    EXPECT_EQ(names, (QStringList{"Default Configuration", "Two.parts"}));
    auto* recordings = dlg.findChild<QComboBox*>("recordingTitle");
    EXPECT_EQ(recordings->count(), 2);

    EXPECT_EQ(dlg.availableRows().size(), 11u);
    EXPECT_EQ(dlg.availableRows()[launchertest::availableIndex(dlg, "Sun")].type, "Star");
    EXPECT_EQ(selectedNames(dlg), kDefaultNames);
    std::vector<std::string> shown = shownSelectedRows(dlg);
    EXPECT_EQ(shown.front(), "Sun 1 none Star");
    EXPECT_EQ(shown[4], "Moon 5 none Planet");
    EXPECT_EQ(shown.back(), "Observer 11 none Observer");

    // Enabling rules of the tick.
    dlg.updateControls();
    EXPECT_TRUE(button(dlg, "selectButton")->isEnabled());
    EXPECT_TRUE(button(dlg, "saveButton")->isEnabled());
    EXPECT_FALSE(button(dlg, "appendButton")->isEnabled());
    EXPECT_FALSE(button(dlg, "removeButton")->isEnabled());
    EXPECT_FALSE(button(dlg, "deleteRecordingButton")->isEnabled());
    dlg.selectedList()->selectRows({2, 3});
    chooseAvailable(dlg, {"Moon"});
    setName(dlg, "recordingTitle", "Trip");
    dlg.updateControls();
    EXPECT_TRUE(button(dlg, "appendButton")->isEnabled());
    EXPECT_TRUE(button(dlg, "deleteObjectsButton")->isEnabled());
    EXPECT_TRUE(button(dlg, "removeButton")->isEnabled());
    EXPECT_FALSE(button(dlg, "configureButton")->isEnabled());
    EXPECT_FALSE(button(dlg, "changeOrbitButton")->isEnabled());
    EXPECT_TRUE(button(dlg, "deleteRecordingButton")->isEnabled());
    dlg.selectedList()->selectRows({3});
    setName(dlg, "configurationName", "No such configuration");
    dlg.updateControls();
    EXPECT_TRUE(button(dlg, "configureButton")->isEnabled());
    EXPECT_TRUE(button(dlg, "changeOrbitButton")->isEnabled());
    EXPECT_FALSE(button(dlg, "selectButton")->isEnabled());
    EXPECT_FALSE(button(dlg, "deleteConfigurationButton")->isEnabled());
    // A name that climbs out of its folder never enables Select or Delete, though the file exists.
    setName(dlg, "configurationName", "../Configurations/Default Configuration");
    dlg.updateControls();
    EXPECT_FALSE(button(dlg, "selectButton")->isEnabled());
    EXPECT_FALSE(button(dlg, "deleteConfigurationButton")->isEnabled());
}

TEST_F(CfgManager, MissingObjectFileIsReportedAndLeftOut) {
    // A damaged line of 3 MB is named cut short, so that its warning lays out at once.
    const std::string huge(3'000'000, 'x');
    writeText(dir() + "Configurations/Gaps.cfg", "Sun.cfg\nGone.cfg\n\nMars.v2.cfg\n../time.cfg\n" + huge +
                                                     "\nObserver.cfg\n-999\nNeptune.cfg\n");
    std::filesystem::copy_file(dir() + "Objects/Mars.cfg", dir() + "Objects/Mars.v2.cfg");
    writeObjectItem(dir() + "Objects/Mars.v2.cfg", "Item 8.", "1", dir());
    ModalAnswerer answers({"Quit", "OK", "OK", "OK"});
    CCfgManagerDlg dlg;
    setName(dlg, "configurationName", "Gaps");
    dlg.selectConfiguration();
    const std::string tail = "\n\nis not available. This might result in unpredictable behaviour.";
    EXPECT_EQ(answers.texts(), (std::vector<std::string>{"\nThe file\n\n" + dir() + "Objects/Gone.cfg" + tail,
                                                         "\nThe file\n\n" + dir() + "Objects/" + tail,
                                                         "\nThe file\n\n" + dir() + "Objects/../time.cfg" + tail,
                                                         "\nThe file\n\n" + (dir() + "Objects/" + huge).substr(0, 200) +
                                                             "... (" + std::to_string(dir().size() + 3'000'008) +
                                                             " characters)" + tail}));
    // Whatever the answer, the line is skipped; names are cut at their first dot.
    EXPECT_EQ(shownSelectedRows(dlg), (std::vector<std::string>{"Sun 1 none Star", "Mars 2 1 Planet",
                                                                "Observer 3 none Observer"}));
}

TEST_F(CfgManager, ObserverIsKeptLastAfterAnAppend) {
    ModalAnswerer answers;
    CCfgManagerDlg dlg;
    writeObjectItem(dir() + "Objects/Moon.cfg", "Item 8.", "4", dir());
    chooseAvailable(dlg, {"Moon", "Sun"});
    dlg.appendObjects();
    ASSERT_EQ(dlg.selectedRows().size(), 13u);
    EXPECT_EQ(shownSelectedRows(dlg)[11], "Moon 12 4 Planet");
    EXPECT_EQ(shownSelectedRows(dlg)[10], "Observer 11 none Observer");
    EXPECT_EQ(dlg.selectedList()->selectedRowIndices(), (std::vector<int>{11, 12}));
    EXPECT_TRUE(dlg.availableList()->selectedRowIndices().empty());

    dlg.updateControls();
    std::vector<std::string> shown = shownSelectedRows(dlg);
    EXPECT_EQ(shown[10], "Moon 11 4 Planet");
    EXPECT_EQ(shown[11], "Sun 12 none Star");
    EXPECT_EQ(shown[12], "Observer 13 none Observer");
    // The selection follows its rows.
    EXPECT_EQ(dlg.selectedList()->selectedRowIndices(), (std::vector<int>{10, 11}));

    // An object file without type flags appends with an empty type.
    writeText(dir() + "Objects/Blank.cfg", "Item 8. orbital relationship = 2\n-999\n");
    dlg.setAvailableRows({{"Blank", "none"}}, {0});
    dlg.appendObjects();
    EXPECT_EQ(shownSelectedRows(dlg).back(), "Blank 14 2 ");
}

TEST_F(CfgManager, DropsInsertBeforeTheRowOrAppendAndMovesKeepOrbits) {
    // The two moves below change what the Moon's Ref-No names: each asks, "Quit" leaves it alone.
    ModalAnswerer answers({"Quit", "Quit"});
    CCfgManagerDlg dlg;
    dlg.resize(1000, 700);
    dlg.show();
    setName(dlg, "configurationName", "Small");
    writeText(dir() + "Configurations/Small.cfg", "Sun.cfg\nEarth.cfg\nObserver.cfg\n-999\n");
    writeObjectItem(dir() + "Objects/Moon.cfg", "Item 8.", "2", dir());
    dlg.selectConfiguration();

    // From the available list onto row 2 (Observer): inserted before it, with the file's orbit.
    dropOnSelectedList(dlg, *dlg.availableList(), {launchertest::availableIndex(dlg, "Moon")}, 2);
    EXPECT_EQ(shownSelectedRows(dlg), (std::vector<std::string>{"Sun 1 none Star", "Earth 2 none Planet",
                                                                "Moon 3 2 Planet", "Observer 4 none Observer"}));
    EXPECT_EQ(dlg.selectedList()->selectedRowIndices(), std::vector<int>{2});

    // Onto the empty area: appended; then the tick puts the observer last again.
    dropOnSelectedList(dlg, *dlg.availableList(), {launchertest::availableIndex(dlg, "Mars")}, -1);
    EXPECT_EQ(selectedNames(dlg).back(), "Mars");
    dlg.updateControls();
    EXPECT_EQ(selectedNames(dlg), (std::vector<std::string>{"Sun", "Earth", "Moon", "Mars", "Observer"}));

    // Within the list: Sun and Moon dropped onto Observer land before it; orbits stay as they were.
    dropOnSelectedList(dlg, *dlg.selectedList(), {0, 2}, 4);
    EXPECT_EQ(shownSelectedRows(dlg), (std::vector<std::string>{"Earth 1 none Planet", "Mars 2 none Planet",
                                                                "Sun 3 none Star", "Moon 4 2 Planet",
                                                                "Observer 5 none Observer"}));
    EXPECT_EQ(dlg.selectedList()->selectedRowIndices(), (std::vector<int>{2, 3}));

    // The observer dragged to the top: the tick moves it back to the end.
    dropOnSelectedList(dlg, *dlg.selectedList(), {4}, 0);
    EXPECT_EQ(selectedNames(dlg).front(), "Observer");
    dlg.updateControls();
    EXPECT_EQ(selectedNames(dlg), (std::vector<std::string>{"Earth", "Mars", "Sun", "Moon", "Observer"}));

    // A drop on the available list changes nothing.
    std::unique_ptr<QMimeData> data(dlg.selectedList()->rowsMimeData({0}));
    QDropEvent drop(QPoint(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.availableList()->viewport(), &drop);
    EXPECT_EQ(selectedNames(dlg).size(), 5u);
    EXPECT_EQ(dlg.availableRows().size(), 11u);

    // Remove keeps the others' orbits.
    dlg.selectedList()->selectRows({0, 2});
    dlg.removeFromList();
    EXPECT_EQ(shownSelectedRows(dlg), (std::vector<std::string>{"Mars 1 none Planet", "Moon 2 2 Planet",
                                                                "Observer 3 none Observer"}));
    EXPECT_EQ(answers.seen().size(), 2u);
}

TEST_F(CfgManager, MovingOrbitingRowsCanKeepEveryObjectsParent) {
    // "OK" to the question rewrites the orbit references in the list and in the object files.
    ModalAnswerer answers({"OK"});
    CCfgManagerDlg dlg;
    dlg.resize(1000, 700);
    dlg.show();
    writeText(dir() + "Configurations/Small.cfg", "Sun.cfg\nEarth.cfg\nMoon.cfg\nMars.cfg\nObserver.cfg\n-999\n");
    writeObjectItem(dir() + "Objects/Earth.cfg", "Item 8.", "1", dir());
    writeObjectItem(dir() + "Objects/Moon.cfg", "Item 8.", "2", dir());
    setName(dlg, "configurationName", "Small");
    dlg.selectConfiguration();
    // Mars moved to the top: every row below shifts, and each orbit follows its parent.
    dropOnSelectedList(dlg, *dlg.selectedList(), {3}, 0);
    EXPECT_EQ(shownSelectedRows(dlg), (std::vector<std::string>{"Mars 1 none Planet", "Sun 2 none Star",
                                                                "Earth 3 2 Planet", "Moon 4 3 Planet",
                                                                "Observer 5 none Observer"}));
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_NE(answers.seen()[0].text.find("keeps every object's orbit"), std::string::npos);
    EXPECT_EQ(readObjectItem(dir() + "Objects/Earth.cfg", "Item 8.", dir()).value, "2");
    EXPECT_EQ(readObjectItem(dir() + "Objects/Moon.cfg", "Item 8.", dir()).value, "3");
    // A move that changes no reference asks nothing.
    dropOnSelectedList(dlg, *dlg.selectedList(), {0}, 1);
    EXPECT_EQ(answers.seen().size(), 1u);
}

TEST_F(CfgManager, SaveWritesTheConfigurationAndTheSelectionFiles) {
    ModalAnswerer answers;
    CCfgManagerDlg dlg;
    setName(dlg, "configurationName", "Inner");
    setName(dlg, "recordingTitle", "First flight");
    setName(dlg, "screenshotTitle", "Pictures");
    dlg.selectedList()->selectRows({5, 6, 7, 8, 9});
    dlg.removeFromList();
    dlg.save();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_EQ(readText(dir() + "Configurations/Inner.cfg"),
              "Sun.cfg\nMercury.cfg\nVenus.cfg\nEarth.cfg\nMoon.cfg\nObserver.cfg\n-999\n");
    EXPECT_EQ(readText(dir() + "configfile.cfg"), "Inner\n-999\n");
    EXPECT_EQ(readText(dir() + "moviefile.cfg"), "First flight\n-999\n");
    EXPECT_EQ(readText(dir() + "screenshotfile.cfg"), "Pictures\n-999\n");
}

TEST_F(CfgManager, SaveStopsAtEachMissingOrRefusedName) {
    const std::string defaultConfiguration = readText(dir() + "Configurations/Default Configuration.cfg");
    ModalAnswerer answers({"Quit"});
    CCfgManagerDlg dlg;
    dlg.selectedList()->selectRows({0});
    dlg.removeFromList();

    // Replacing an existing configuration is asked; "Quit" writes nothing.
    dlg.save();
    ASSERT_EQ(answers.texts().size(), 1u);
    EXPECT_EQ(answers.texts()[0], "\nYou have selected the name of an existing\nconfiguration which will be "
                                  "replaced by\nthe new setup.\n\nDo you want to continue?");
    EXPECT_EQ(readText(dir() + "Configurations/Default Configuration.cfg"), defaultConfiguration);
    EXPECT_TRUE(dlg.isVisible() || dlg.result() != QDialog::Accepted);

    // An empty recording title: the configuration and configfile.cfg are written, then it stops.
    setName(dlg, "configurationName", "Without sun");
    setName(dlg, "recordingTitle", "");
    dlg.save();
    EXPECT_EQ(answers.texts().back(), "\n\nYou must select or name a recordings title before saving.");
    EXPECT_EQ(readText(dir() + "configfile.cfg"), "Without sun\n-999\n");
    EXPECT_TRUE(testdata::exists(dir() + "Configurations/Without sun.cfg"));
    EXPECT_EQ(readText(dir() + "moviefile.cfg"), "My Recording\n-999\n");

    // An existing recording answered with "Quit" keeps moviefile.cfg.
    writeText(dir() + "Recordings/Old/Old.vcr", "x");
    setName(dlg, "recordingTitle", "Old");
    answers.restart({"OK", "Quit"});
    dlg.save();
    EXPECT_EQ(answers.texts().back(), "\nYou have selected the title of an existing recording.\nIts content "
                                      "will be destroyed when you do a\nnew recording using that name.\n\nDo "
                                      "you want to continue?");
    EXPECT_EQ(readText(dir() + "moviefile.cfg"), "My Recording\n-999\n");

    // An empty screenshot title stops after moviefile.cfg.
    setName(dlg, "recordingTitle", "New");
    setName(dlg, "screenshotTitle", "");
    answers.restart({"OK"});
    dlg.save();
    EXPECT_EQ(answers.texts().back(), "\n\nYou must select or name a screenshots title before saving.");
    EXPECT_EQ(readText(dir() + "moviefile.cfg"), "New\n-999\n");
    EXPECT_EQ(readText(dir() + "screenshotfile.cfg"), "My Screenshots\n-999\n");

    // Names that would leave their folder are refused before anything is written.
    for (const char* bad : {"../escape", ".hidden", "a/b", "tab\there"}) {
        setName(dlg, "screenshotTitle", "Shots");
        setName(dlg, "configurationName", bad);
        answers.restart();
        dlg.save();
        ASSERT_EQ(answers.texts().size(), 1u) << bad;
        EXPECT_NE(answers.texts()[0].find("cannot be used"), std::string::npos) << bad;
        EXPECT_EQ(readText(dir() + "configfile.cfg"), "Without sun\n-999\n");
    }
    EXPECT_FALSE(testdata::exists(dir() + "escape.cfg"));
}

TEST_F(CfgManager, DeletedConfigurationMustBeSavedBeforeLeaving) {
    ModalAnswerer answers({"OK"});
    CCfgManagerDlg dlg;
    dlg.deleteConfiguration();
    EXPECT_EQ(answers.texts()[0], "\n\nAre you sure?\n\nThe deletion will be permanent.");
    EXPECT_FALSE(testdata::exists(dir() + "Configurations/Default Configuration.cfg"));
    EXPECT_EQ(dlg.configurationName(), "");
    EXPECT_TRUE(dlg.configurationDeleted());
    EXPECT_EQ(dlg.findChild<QComboBox*>("configurationName")->count(), 0);

    dlg.quit();
    EXPECT_EQ(answers.texts().back(),
              "\n\nYou must select or name a configuration before leaving the configuration manager.");
    dlg.save();
    EXPECT_EQ(answers.texts().back(), "\n\nYou must select or name a configuration before saving.");
    setName(dlg, "configurationName", "Renamed");
    dlg.quit();
    EXPECT_EQ(answers.texts().back(), "\n\nYou must save the configuration before leaving the configuration "
                                      "manager because you have deleted the old configuration.");
    dlg.reject();  // the close box asks the same
    EXPECT_EQ(answers.texts().back(), answers.texts()[answers.texts().size() - 2]);
    EXPECT_NE(dlg.result(), QDialog::Accepted);

    dlg.save();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.configurationDeleted());
    EXPECT_EQ(readText(dir() + "configfile.cfg"), "Renamed\n-999\n");
    EXPECT_EQ(readText(dir() + "Configurations/Renamed.cfg").substr(0, 8), "Sun.cfg\n");
}

TEST_F(CfgManager, DeletesObjectFilesRecordingsAndScreenshots) {
    writeText(dir() + "Recordings/Trip/Trip.vcr", "v");
    writeText(dir() + "Recordings/Trip/configuration.cfg", "c");
    writeText(dir() + "Recordings/Trip/Sequence1/Sun.cfg", "s");
    writeText(dir() + "Recordings/Trip/Sequence1/time.cfg", "0");
    writeText(dir() + "Recordings/Trip/Sequence2/last_view.cfg", "l");
    writeText(dir() + "Screenshots/Shots/Shots_1.bmp", "BM");
    writeText(dir() + "Screenshots/Kept/Kept_1.bmp", "BM");
    writeText(dir() + "Screenshots/Kept/notes.txt", "mine");
    ModalAnswerer answers({"Quit", "OK", "OK", "OK", "OK"});
    CCfgManagerDlg dlg;

    chooseAvailable(dlg, {"Moon", "Mars"});
    dlg.deleteObjects();  // "Quit": nothing deleted
    EXPECT_TRUE(testdata::exists(dir() + "Objects/Moon.cfg"));
    dlg.deleteObjects();
    EXPECT_EQ(answers.texts()[1], "\nAre you sure? The deletion will be permanent.\n\nAfter you click OK, you "
                                  "must remove the deleted objects from all configurations before leaving "
                                  "the configuration manager.\n");
    EXPECT_FALSE(testdata::exists(dir() + "Objects/Moon.cfg"));
    EXPECT_FALSE(testdata::exists(dir() + "Objects/Mars.cfg"));
    EXPECT_EQ(dlg.availableRows().size(), 9u);
    EXPECT_EQ(launchertest::availableIndex(dlg, "Moon"), -1);
    EXPECT_EQ(selectedNames(dlg), (std::vector<std::string>{"Sun", "Mercury", "Venus", "Earth", "Jupiter",
                                                            "Saturn", "Uranus", "Neptune", "Observer"}));
    EXPECT_EQ(dlg.selectedRows().back().refNo, "9");

    setName(dlg, "recordingTitle", "Trip");
    dlg.deleteRecording();
    EXPECT_FALSE(testdata::exists(dir() + "Recordings/Trip"));
    EXPECT_EQ(dlg.recordingTitle(), "");
    EXPECT_EQ(dlg.findChild<QComboBox*>("recordingTitle")->findText("Trip"), -1);

    setName(dlg, "screenshotTitle", "Shots");
    dlg.deleteScreenshots();
    EXPECT_FALSE(testdata::exists(dir() + "Screenshots/Shots"));
    EXPECT_EQ(dlg.screenshotTitle(), "");

    // A set holding a file of the user's that is no screenshot stays, and so does its entry.
    setName(dlg, "screenshotTitle", "Kept");
    dlg.deleteScreenshots();
    EXPECT_TRUE(testdata::exists(dir() + "Screenshots/Kept/notes.txt"));
    EXPECT_FALSE(testdata::exists(dir() + "Screenshots/Kept/Kept_1.bmp"));
    EXPECT_EQ(dlg.screenshotTitle(), "Kept");
    EXPECT_NE(dlg.findChild<QComboBox*>("screenshotTitle")->findText("Kept"), -1);
}

TEST_F(CfgManager, UnreadableFilesEndTheLauncherWithTheirPath) {
    {
        std::filesystem::remove(dir() + "screenshotfile.cfg");
        ModalAnswerer answers;
        try {
            CCfgManagerDlg dlg;
            FAIL() << "opened without screenshotfile.cfg";
        } catch (const LauncherExit& e) {
            EXPECT_EQ(e.code, 255);
        }
        EXPECT_EQ(answers.texts(), std::vector<std::string>{"\n\nCould not open file " + dir() + "screenshotfile.cfg"});
        writeText(dir() + "screenshotfile.cfg", "Shots\n-999\n");
    }
    {
        writeText(dir() + "configfile.cfg", "Vanished\n-999\n");
        ModalAnswerer answers;
        EXPECT_THROW(CCfgManagerDlg dlg, LauncherExit);
        EXPECT_EQ(answers.texts(), std::vector<std::string>{"\n\nCould not open file " + dir() +
                                                            "Configurations/Vanished.cfg"});
        writeText(dir() + "configfile.cfg", "Default Configuration\n-999\n");
    }
    {
        ModalAnswerer answers;
        CCfgManagerDlg dlg;
        writeText(dir() + "Objects/Odd.cfg", "Item 26. star = 7\n");
        dlg.setSelectedRows({{"Odd", "1", "none", "none"}}, {0});
        EXPECT_THROW(dlg.configureObject(), LauncherExit);
        EXPECT_EQ(answers.texts().back(), "\n\nUnable to determine the type of object Odd.");
        // An object file that went away after the list was filled.
        std::filesystem::remove(dir() + "Objects/Moon.cfg");
        chooseAvailable(dlg, {"Moon"});
        EXPECT_THROW(dlg.appendObjects(), LauncherExit);
        EXPECT_EQ(answers.texts().back(), "\n\nCould not open file " + dir() + "Objects/Moon.cfg");
    }
}

TEST_F(CfgManager, OddButLegalNamesRoundTrip) {
    const QString name = QString::fromUtf8("Sol & Übersicht 'v2' (100%) ★");
    ModalAnswerer answers;
    {
        CCfgManagerDlg dlg;
        setName(dlg, "configurationName", name);
        setName(dlg, "recordingTitle", QString::fromUtf8("Flüg #1"));
        setName(dlg, "screenshotTitle", "  spaced  ");
        dlg.save();
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_EQ(readText(dir() + "configfile.cfg"), name.toStdString() + "\n-999\n");
    EXPECT_EQ(readText(dir() + "screenshotfile.cfg"), "  spaced  \n-999\n");
    CCfgManagerDlg reopened;
    EXPECT_EQ(reopened.configurationName(), name);
    EXPECT_EQ(reopened.recordingTitle(), QString::fromUtf8("Flüg #1"));
    EXPECT_EQ(reopened.screenshotTitle(), "  spaced  ");
    EXPECT_EQ(selectedNames(reopened), kDefaultNames);
}
