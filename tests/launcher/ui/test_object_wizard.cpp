// The object wizard under the offscreen platform: each type walked through its three pages with
// invalid entries refused by their messages, the written file compared with the template filled
// by the template rules, the list updates, and an existing object edited in one field.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <functional>

#include "any_modal_answerer.h"
#include "cfg_object_wizard.h"
#include "cfg_ori_page.h"
#include "cfg_plt_ori_page.h"
#include "launcher_fixture.h"
#include "object_item.h"
#include "object_item_snapshot.h"
#include "object_wizard_output.h"

using launchertest::AnyModalAnswerer;
using launchertest::LauncherTest;

namespace {

using Script = std::function<void(CCfgObject&)>;

class ObjectWizard : public LauncherTest {
protected:
    WizardSetup setup(WizardObjectType type, bool orbiting, int refNo = 0) {
        WizardSetup s;
        s.type = type;
        s.orbiting = orbiting;
        s.orbitedRefNo = refNo;
        s.dataDirectory = dir();
        s.list.dataDirectory = dir();
        s.list.names = {"Sun", "Mercury", "Venus", "Earth", "Moon", "Observer"};
        return s;
    }
    // Runs the wizard modally with script driving it; true when the file was written.
    bool run(const WizardSetup& s, const Script& script) {
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<CCfgObject*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            script(*w);
        });
        return runObjectWizard(s, available, selected, nullptr);
    }
    static void type(CCfgObject& w, int sheet, int id, const QString& text) {
        QLineEdit* edit = w.sheet(sheet)->numberField(id);
        ASSERT_NE(edit, nullptr) << id;
        edit->setText(text);
    }
    static void choose(CCfgObject& w, int sheet, int id, const QString& text) {
        w.sheet(sheet)->choiceField(id)->setCurrentText(text);
    }
    // "Next" on a page whose field id holds bad text: the message, and the page stays.
    void refused(CCfgObject& w, int sheet, int id, const QString& bad, const std::string& message) {
        const QString good = w.sheet(sheet)->numberField(id)->text();
        type(w, sheet, id, bad);
        const int page = w.currentId();
        answers.clear();
        if (sheet == 3) w.button(QWizard::FinishButton)->click();
        else w.next();
        EXPECT_EQ(w.currentId(), page) << bad.toStdString();
        EXPECT_EQ(answers.texts(), std::vector<std::string>{message}) << bad.toStdString();
        type(w, sheet, id, good);
    }
    // The file the template rules give for values.
    std::string expectedFile(const WizardValues& v) {
        const std::string path = dir() + "expected.cfg";
        std::filesystem::copy_file(dir() + "CfgTemplate.cfg", path);
        for (const auto& [label, value] : objectItemWrites(v, dir())) writeObjectItem(path, label, value, dir());
        std::string text = testdata::readText(path);
        std::filesystem::remove(path);
        return text;
    }

    AnyModalAnswerer answers{{"OK"}};
    std::vector<AvailableRow> available = {{"Sun", "Star"}, {"Earth", "Planet"}};
    std::vector<SelectedRow> selected = {{"Sun", "1", "none", "Star"}, {"Earth", "2", "none", "Planet"}};
};

TEST_F(ObjectWizard, PlanetWithRingOrbitingTheSunThroughEveryPage) {
    centreOnSun();
    WizardValues seen;
    QString preview;
    const bool written = run(setup(WizardObjectType::Planet, true, 1), [&](CCfgObject& w) {
        EXPECT_EQ(w.windowTitle(), "Configure new object");
        EXPECT_EQ(w.currentPage()->title(), "Configure planet: Sheet 1 of 3");
        EXPECT_FALSE(w.button(QWizard::BackButton)->isEnabled());
        EXPECT_EQ(w.button(QWizard::CancelButton)->text(), "Quit");
        type(w, 1, 1101, "3");
        type(w, 1, 1104, "0");
        type(w, 1, 1107, "1.2");
        type(w, 1, 1125, "8");
        type(w, 1, 1103, "9");
        type(w, 1, 1104, "0");
        type(w, 1, 1110, "1.2");
        type(w, 1, 1129, "8");
        refused(w, 1, 1101, "25", "Please enter a number between 0 and 24.");
        refused(w, 1, 1106, "-91", "Please enter a number between -90 and 90.");
        refused(w, 1, 1107, "far", "Please enter a number.");
        refused(w, 1, 1125, "8.5", "Please enter an integer.");
        refused(w, 1, 1129, "38", "Please enter an integer between 0 and 37.");
        w.next();
        EXPECT_EQ(w.currentPage()->title(), "Configure planet: Sheet 2 of 3");
        type(w, 2, 1144, "5.5");
        type(w, 2, 1145, "25");
        type(w, 2, 1146, "30000");
        type(w, 2, 1147, "28000");
        type(w, 2, 1149, "360");
        type(w, 2, 1150, "12");
        refused(w, 2, 1148, "361", "Please enter a number between -360 and 360.");
        refused(w, 2, 1144, "10.5", "Please enter a number between 0 and 10.");
        w.next();
        auto* last = static_cast<CCfgPltOri*>(w.sheet(3));
        EXPECT_FALSE(last->numberField(1067)->isEnabled());
        last->ringCheck()->setChecked(true);
        EXPECT_TRUE(last->numberField(1067)->isEnabled());
        EXPECT_GE(last->choiceField(1161)->findText("saturn_ring.png"), 0);
        type(w, 3, 1067, "40000");
        type(w, 3, 1162, "70000");
        choose(w, 3, 1161, "saturn_ring.png");
        EXPECT_GE(last->choiceField(1163)->findText("sphere_mid.x"), 0);
        choose(w, 3, 1163, "sphere_mid.x");
        choose(w, 3, 1164, "saturn.jpg");
        choose(w, 3, 1173, "Ringworld");
        refused(w, 3, 1162, "wide", "Please enter a number.");
        last->refreshOrbitPreview();
        preview = last->orbitPreviewText();
        seen = w.values();
        w.button(QWizard::FinishButton)->click();
    });
    ASSERT_TRUE(written);
    EXPECT_EQ(testdata::readText(dir() + "Objects/Ringworld.cfg"), expectedFile(seen));
    EXPECT_NEAR(seen.start.first.raHours, 3, 1e-6);
    EXPECT_TRUE(seen.look.ring);
    // The orbit the simulator will start: 1.2e8 km from the Sun, two points 90 degrees apart.
    EXPECT_TRUE(preview.contains("Orbit around Sun at the start:")) << preview.toStdString();
    EXPECT_TRUE(preview.contains("Semi-major axis: 0.802 AU")) << preview.toStdString();
    EXPECT_TRUE(preview.contains("Eccentricity: 0.0000")) << preview.toStdString();
    EXPECT_TRUE(preview.contains("Bound: yes"));
    EXPECT_EQ(available.back().name, "Ringworld");
    EXPECT_EQ(available.back().type, "Planet");
    EXPECT_EQ(selected.size(), 2u);
}

TEST_F(ObjectWizard, StarNotOrbitingWithItsColourRangeChecked) {
    WizardValues seen;
    const bool written = run(setup(WizardObjectType::Star, false), [&](CCfgObject& w) {
        EXPECT_EQ(w.currentPage()->title(), "Configure star: Sheet 1 of 3");
        type(w, 1, 1101, "18");
        type(w, 1, 1104, "45");
        type(w, 1, 1107, "2");
        type(w, 1, 1125, "9");
        type(w, 1, 1102, "-1.5");
        refused(w, 1, 1105, "fast", "Please enter a number.");
        w.next();
        type(w, 2, 1144, "1.989");
        type(w, 2, 1145, "30");
        type(w, 2, 1146, "696000");
        type(w, 2, 1147, "696000");
        w.next();
        type(w, 3, 1166, "0.8");
        type(w, 3, 1167, "200");
        type(w, 3, 1168, "180");
        type(w, 3, 1165, "255");
        refused(w, 3, 1166, "1.5", "Please enter a number between 0 and 1.");
        refused(w, 3, 1168, "256", "Please enter an integer between 0 and 255.");
        choose(w, 3, 1171, "sphere_hi.x");
        choose(w, 3, 1170, "sun.jpg");
        choose(w, 3, 1169, "Companion");
        // Going back a page and forth again keeps what both pages hold.
        w.back();
        EXPECT_EQ(w.sheet(2)->numberField(1146)->text(), "696000");
        w.next();
        seen = w.values();
        w.button(QWizard::FinishButton)->click();
    });
    ASSERT_TRUE(written);
    EXPECT_EQ(testdata::readText(dir() + "Objects/Companion.cfg"), expectedFile(seen));
    EXPECT_EQ(readObjectItem(dir() + "Objects/Companion.cfg", "Item 29.", dir()).value, "     0.7843137");
}

TEST_F(ObjectWizard, ObserverResetsTimeAndViewAndNeedsAName) {
    testdata::writeText(dir() + "time.cfg", "5000");
    ASSERT_TRUE(testdata::exists(dir() + "last_view.cfg"));
    const bool written = run(setup(WizardObjectType::Observer, false), [&](CCfgObject& w) {
        EXPECT_EQ(w.currentPage()->title(), "Configure observer: Sheet 1 of 3");
        w.next();
        refused(w, 2, 1155, "10001", "Please enter a number between 0 and 10000.");
        refused(w, 2, 1158, "11", "Please enter a number between 0 and 10.");
        w.next();
        refused(w, 3, 1067, "101", "Please enter a number between 0 and 100.");
        w.sheet(3)->clearAll();
        EXPECT_EQ(w.sheet(3)->choiceField(1153)->currentText(), "");
        w.button(QWizard::FinishButton)->click();
    });
    EXPECT_FALSE(written);
    EXPECT_EQ(answers.texts().back(), "\n\nNo object name has been specified.");
    EXPECT_EQ(testdata::readText(dir() + "time.cfg"), "0");
    EXPECT_FALSE(testdata::exists(dir() + "last_view.cfg"));
}

TEST_F(ObjectWizard, QuitWritesNothing) {
    const std::string before = testdata::readText(dir() + "Objects/Earth.cfg");
    const bool written = run(setup(WizardObjectType::Planet, false), [&](CCfgObject& w) {
        choose(w, 3, 1173, "Earth");
        w.button(QWizard::CancelButton)->click();
    });
    EXPECT_FALSE(written);
    EXPECT_EQ(testdata::readText(dir() + "Objects/Earth.cfg"), before);
}

TEST_F(ObjectWizard, NameThatLeavesTheObjectsFolderIsRefused) {
    const bool written = run(setup(WizardObjectType::Planet, false), [&](CCfgObject& w) {
        w.next();
        w.next();
        choose(w, 3, 1173, "../Configurations/Default Configuration");
        w.button(QWizard::FinishButton)->click();
    });
    EXPECT_FALSE(written);
    EXPECT_EQ(answers.texts().back(),
              "\n\nThe object name ../Configurations/Default Configuration cannot be used as a file name.");
    EXPECT_EQ(testdata::readText(dir() + "Configurations/Default Configuration.cfg"),
              testdata::readText(std::string(CELESTRIX_DATA_SOURCE) + "Configurations/Default Configuration.cfg"));
}

TEST_F(ObjectWizard, EditingAnExistingObjectChangesOnlyWhatWasChanged) {
    // First the wizard writes a planet; then the same planet is opened in existing mode and only
    // its tilt is changed.
    WizardValues v;
    v.type = WizardObjectType::Planet;
    v.start.first = {7, -12, 1.5f, 8};
    v.start.vx = 2;
    v.start.vz = -29.5f;
    v.body = {6, 24, 6378, 6357, 10, 360.9856f, 23.44f};
    v.look.mesh = "sphere_mid.x";
    v.look.texture = "earth.jpg";
    v.name = "Terra";
    const std::string path = dir() + "Objects/Terra.cfg";
    ASSERT_EQ(writeObjectFromTemplate(dir(), path, objectItemWrites(v, dir())), TemplateWriteStatus::Ok);
    // An item the wizard does not write for a free planet returns to the template's value.
    ASSERT_EQ(writeObjectItem(path, "Item 12.", "5e7", dir()), ItemStatus::Ok);
    const std::string before = testdata::readText(path);

    WizardSetup s = setup(WizardObjectType::Planet, false);
    s.newObject = false;
    s.objectPath = path;
    s.fileValues = valuesFromObjectFile(path, dir(), WizardObjectType::Planet, false, 0);
    const bool written = run(s, [&](CCfgObject& w) {
        EXPECT_EQ(w.windowTitle(), "Configure existing object");
        EXPECT_EQ(w.sheet(1)->numberField(1125)->text(), "8");
        w.next();
        type(w, 2, 1150, "25");
        w.next();
        EXPECT_EQ(w.sheet(3)->choiceField(1173)->currentText(), "Terra");
        EXPECT_EQ(w.sheet(3)->choiceField(1164)->itemText(0), "earth.jpg");
        w.button(QWizard::FinishButton)->click();
    });
    ASSERT_TRUE(written);
    EXPECT_EQ(answers.texts().back(), "\n\nAre you sure?\n\nAn object by that name already exists and will be overwritten.");
    ObjectItemSnapshot old;
    old.loadText(before, dir());
    std::vector<std::string> changed;
    for (int item = 0; item <= 60; ++item) {
        const std::string label = objectItemLabel(item);
        if (readObjectItem(path, label, dir()).value != old.item(label)) changed.push_back(label);
    }
    EXPECT_EQ(changed, (std::vector<std::string>{"Item 12.", "Item 17."}));
    EXPECT_EQ(readObjectItem(path, "Item 12.", dir()).value, "na");
    // Existing mode: the object gets a row in both lists.
    EXPECT_EQ(selected.back().name, "Terra");
    EXPECT_EQ(selected.back().refNo, "3");
}

}  // namespace
