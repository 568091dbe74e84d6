// "Place in orbit..." from the configuration manager: through the orbit dialog the Moon is put on
// an orbit by its elements and the object file gets the items that start it there; a new object
// offers the row chosen in the list as parent; the check's orbit-order failure chooses both rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "any_modal_answerer.h"
#include "cfg_manager_dlg.h"
#include "cfg_object_wizard.h"
#include "cfg_orbit_dlg.h"
#include "launcher_fixture.h"
#include "manager_rows.h"
#include "object_item.h"
#include "place_in_orbit_dlg.h"
#include "starting_state.h"

using launchertest::AnyModalAnswerer;
using launchertest::LauncherTest;

namespace {

class PlaceInOrbitManager : public LauncherTest {
protected:
    std::string item(const std::string& name, int number) {
        return readObjectItem(dir() + "Objects/" + name + ".cfg", objectItemLabel(number), dir()).value;
    }
    AnyModalAnswerer answers;
};

TEST_F(PlaceInOrbitManager, OrbitDialogPlacesTheMoonAndSavesItsItems) {
    CCfgManagerDlg manager;
    manager.selectedList()->selectRows({4});  // the Moon, below Earth (Ref-No 4)
    QString preview;
    bool saveAndQuitOffered = false;
    int offeredParent = 0;
    QTimer::singleShot(0, [&] {
        auto* orbit = qobject_cast<CCfgOrbitDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(orbit, nullptr);
        orbit->refNoEdit()->setText("0");  // leaving orbiting would need the wizard ...
        QTimer::singleShot(0, [&] {
            auto* place = qobject_cast<CPlaceInOrbitDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(place, nullptr);
            offeredParent = place->parentChoice()->currentData().toInt();
            place->parentChoice()->setCurrentIndex(place->parentChoice()->findData(4));
            EXPECT_EQ(place->parentChoice()->findData(5), -1) << "the Moon is not offered as its own parent";
            for (QRadioButton* r : place->findChildren<QRadioButton*>())
                if (r->text() == "Semi-major axis") r->setChecked(true);
            place->field("size")->setText("384400");
            place->field("eccentricity")->setText("0.0549");
            place->field("inclination")->setText("5.145");
            place->findChild<QPushButton*>("place")->click();
        });
        orbit->findChild<QPushButton*>("placeInOrbit")->click();
        // ... but a placement fills everything: storing it alone is complete.
        saveAndQuitOffered = orbit->saveAndQuitButton()->isEnabled();
        preview = orbit->previewText();
        orbit->saveAndQuitButton()->click();
    });
    manager.changeOrbit();
    EXPECT_EQ(offeredParent, 1) << "with no orbit yet, Ref-No 1 is offered first";
    EXPECT_TRUE(saveAndQuitOffered);
    EXPECT_TRUE(preview.contains("Orbit around Earth at the start:")) << preview.toStdString();
    EXPECT_TRUE(preview.contains("Eccentricity: 0.0549")) << preview.toStdString();
    EXPECT_EQ(launchertest::shownSelectedRows(manager)[4], "Moon 5 4 Planet");

    // The file: the orbit reference, the first point as position, and (the Moon has a mass of its
    // own) the velocity; the preview of the saved files is the one the dialog showed.
    EXPECT_EQ(item("Moon", 8), "4");
    for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(item("Moon", 2 + axis), item("Moon", 9 + axis));
    EXPECT_NE(item("Moon", 5), "na");
    EXPECT_NE(item("Moon", 12), "na");
    std::string unreadable;
    auto objects = readListObjects({"Sun", "Mercury", "Venus", "Earth", "Moon"}, dir(), unreadable);
    ASSERT_TRUE(objects) << unreadable;
    const OrbitPrediction p = predictOrbit(startingState(*objects), 4);
    ASSERT_TRUE(p.ok) << p.failure;
    EXPECT_NEAR(p.figures.semiMajorAxisKm, 384400, 1);
    EXPECT_NEAR(p.figures.eccentricity, 0.0549, 1e-5);
}

TEST_F(PlaceInOrbitManager, NewObjectOffersTheChosenRowAsParent) {
    CCfgManagerDlg manager;
    manager.selectedList()->selectRows({7});  // Saturn
    int offered = 0;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<CCfgObject*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        QTimer::singleShot(0, [&] {
            auto* place = qobject_cast<CPlaceInOrbitDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(place, nullptr);
            offered = place->parentChoice()->currentData().toInt();
            place->reject();
        });
        w->sheet(1)->findChild<QPushButton*>("placeInOrbit")->click();
        w->reject();
    });
    manager.createNewObject();
    EXPECT_EQ(offered, 8);
}

TEST_F(PlaceInOrbitManager, OrbitOrderFailureChoosesBothRowsAndNamesThem) {
    CCfgManagerDlg manager;
    std::vector<SelectedRow> rows = manager.selectedRows();
    ASSERT_GE(rows.size(), 5u);
    rows[2].orbits = std::to_string(5);  // Venus orbiting the Moon, which stands below it
    manager.setSelectedRows(rows);
    manager.selectedList()->selectRows({0});
    manager.checkConsistency();
    EXPECT_EQ(manager.selectedList()->selectedRowIndices(), (std::vector<int>{2, 4}));
    const std::vector<std::string> texts = answers.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_NE(texts[0].find("Venus (Ref-No 3) orbits Moon (Ref-No 5), which is not listed above it."),
              std::string::npos)
        << texts[0];
    EXPECT_EQ(texts.back(), "\n\nThe 'Selected objects'-list is inconsistent because object A cannot orbit object B "
                            "if object B is not listed above object A.");
}

}  // namespace
