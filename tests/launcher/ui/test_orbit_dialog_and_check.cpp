// The orbit dialog's save-and-quit rule, its validation and preview; the check's messages as the
// configuration manager's three callers see them; the restore's question.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "any_modal_answerer.h"
#include "cfg_orbit_dlg.h"
#include "consistency_check_run.h"
#include "default_restore_run.h"
#include "launcher_fixture.h"
#include "object_file.h"
#include "object_item.h"

using launchertest::AnyModalAnswerer;
using launchertest::LauncherTest;

namespace {

class OrbitDialog : public LauncherTest {
protected:
    std::optional<SimObject> object(const std::string& name) {
        SimObject o;
        if (!readObjectFile(o, dir() + "Objects/" + name + ".cfg", dir())) return std::nullopt;
        return o;
    }
    OrbitListView list() { return {{"Sun", "Mercury", "Venus", "Earth", "Moon", "Mars"}, dir()}; }
};

TEST_F(OrbitDialog, SaveAndQuitOnlyWhileOrbitingOrNotStaysTheSame) {
    AnyModalAnswerer answers;
    CCfgOrbitDlg dlg(3, true, object("Moon"), list());
    EXPECT_EQ(dlg.windowTitle(), "Specify orbit");
    EXPECT_TRUE(dlg.saveAndQuitButton()->isEnabled());
    dlg.refNoEdit()->selectAll();
    dlg.refNoEdit()->insert("5");
    EXPECT_EQ(dlg.orbitedRefNo(), 5);
    EXPECT_TRUE(dlg.saveAndQuitButton()->isEnabled());
    dlg.refNoEdit()->setText("0");
    EXPECT_FALSE(dlg.saveAndQuitButton()->isEnabled());
    dlg.refNoEdit()->setText("3");
    EXPECT_FALSE(dlg.saveAndQuitButton()->isEnabled());
    EXPECT_TRUE(answers.texts().empty());

    dlg.refNoEdit()->setText("101");
    dlg.refNoEdit()->setText("x");
    EXPECT_EQ(answers.texts(), (std::vector<std::string>{"Please enter an integer between 0 and 100.",
                                                         "Please enter an integer."}));
    EXPECT_EQ(dlg.orbitedRefNo(), 3);  // the last valid value stands
}

TEST_F(OrbitDialog, ResultsOfTheThreeButtonsAndThePreview) {
    AnyModalAnswerer answers;
    {
        CCfgOrbitDlg dlg(0, false, object("Moon"), list());
        EXPECT_FALSE(dlg.saveAndQuitButton()->isEnabled());
        EXPECT_EQ(dlg.previewText(), "It orbits no other object.");
        dlg.refNoEdit()->setText("4");
        // The Moon's own velocity stands (its file gives one), so this is its real orbit.
        const std::string preview = dlg.previewText().toStdString();
        EXPECT_NE(preview.find("Orbit around Earth at the start:"), std::string::npos) << preview;
        EXPECT_NE(preview.find("Period: 2"), std::string::npos) << preview;  // about 27 days
        EXPECT_NE(preview.find("Bound: yes"), std::string::npos) << preview;
        QTimer::singleShot(0, &dlg, [&] {
            for (QPushButton* b : dlg.findChildren<QPushButton*>())
                if (b->text() == "Save && Continue") b->click();
        });
        EXPECT_EQ(dlg.exec(), CCfgOrbitDlg::kSaveAndContinue);
        EXPECT_EQ(dlg.orbitedRefNo(), 4);
    }
    {
        CCfgOrbitDlg dlg(2, true, object("Moon"), list());
        QTimer::singleShot(0, &dlg, [&] { dlg.reject(); });
        EXPECT_EQ(dlg.exec(), CCfgOrbitDlg::kQuit);
    }
    {
        CCfgOrbitDlg dlg(2, true, object("Moon"), list());
        QTimer::singleShot(0, &dlg, [&] { dlg.saveAndQuitButton()->click(); });
        EXPECT_EQ(dlg.exec(), CCfgOrbitDlg::kSaveAndQuit);
        EXPECT_EQ(dlg.orbitedRefNo(), 2);
    }
}

class CheckMessages : public LauncherTest {
protected:
    std::vector<CheckRow> defaultRows() {
        std::vector<CheckRow> rows;
        int ref = 1;
        for (const char* name : {"Sun", "Mercury", "Venus", "Earth", "Moon", "Mars", "Jupiter", "Saturn",
                                 "Uranus", "Neptune", "Observer"})
            rows.push_back({name, std::to_string(ref++), "none"});
        return rows;
    }
};

TEST_F(CheckMessages, SuccessFailureAndSavingTextsAsTheCallersShowThem) {
    AnyModalAnswerer answers;
    EXPECT_TRUE(runCheckWithMessages(defaultRows(), dir(), true, false, nullptr));
    EXPECT_FALSE(runCheckWithMessages({}, dir(), false, true, nullptr));
    EXPECT_TRUE(runCheckWithMessages(defaultRows(), dir(), false, false, nullptr));  // Quit: no text
    EXPECT_EQ(answers.texts(),
              (std::vector<std::string>{"\n\nThe 'Selected objects'-list seems to be OK.",
                                        "\n\nThe 'Selected objects'-list is inconsistent because the list is "
                                        "empty. The configuration has not been saved."}));
}

TEST_F(CheckMessages, ManyMissingMediaFilesGiveOneScrollableMessage) {
    std::filesystem::remove_all(dir() + "Media/Textures");
    AnyModalAnswerer answers;
    EXPECT_TRUE(runCheckWithMessages(defaultRows(), dir(), true, false, nullptr));
    ASSERT_EQ(answers.texts().size(), 2u);
    const std::string& notes = answers.texts()[0];
    EXPECT_NE(notes.find("Note: The file " + dir() + "Media/Textures/sun.jpg named in " + dir() +
                         "Objects/Sun.cfg is not available."),
              std::string::npos);
    EXPECT_NE(notes.find("Media/Textures/neptune.jpg"), std::string::npos);
    EXPECT_EQ(answers.texts()[1], "\n\nThe 'Selected objects'-list seems to be OK.");

    // A single note keeps the plain message dialog with the note's own text.
    std::filesystem::create_directories(dir() + "Media/Textures");
    std::filesystem::copy(std::string(CELESTRIX_DATA_SOURCE) + "Media/Textures", dir() + "Media/Textures",
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(dir() + "Media/Textures/moon.jpg");
    answers.clear();
    runCheckWithMessages(defaultRows(), dir(), false, true, nullptr);
    ASSERT_EQ(answers.texts().size(), 1u);
    EXPECT_EQ(answers.texts()[0], "\nNote: The file " + dir() + "Media/Textures/moon.jpg named in " + dir() +
                                      "Objects/Moon.cfg is not available.");
}

TEST_F(CheckMessages, RestoreAnsweredWithQuitChangesNothingAndOkRestores) {
    testdata::writeText(dir() + "configfile.cfg", "Mine\n-999\n");
    {
        AnyModalAnswerer answers({"Quit"});
        runDefaultRestoreWithMessages(dir(), nullptr);
        EXPECT_EQ(answers.texts(),
                  std::vector<std::string>{"\n\nAre you sure?\n\nExisting configuration files will be overwritten."});
        EXPECT_EQ(testdata::readText(dir() + "configfile.cfg"), "Mine\n-999\n");
    }
    std::filesystem::remove(dir() + "Backup Default Config/Moon.cfg");
    AnyModalAnswerer answers({"OK"});
    runDefaultRestoreWithMessages(dir(), nullptr);
    ASSERT_EQ(answers.texts().size(), 2u);
    EXPECT_EQ(answers.texts()[1],
              "\n\nError while copying Moon.cfg: Unable to restore the default configuration.\nPlease contact support.");
    EXPECT_EQ(testdata::readText(dir() + "configfile.cfg"), "Default Configuration\n-999\n");
}

}  // namespace
