// The map of the system as a user meets it: opened from the configuration manager on the delivered
// system and on the 1000-object field, following the list both ways, its fit and neighbourhood
// views, the names it leaves out so that none overlap, and the orbit dialog's map of the edited
// object. With CELESTRIX_SCREENSHOT_DIR set, each view is also saved as a picture there.
#include <gtest/gtest.h>

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <map>

#include "cfg_manager_dlg.h"
#include "cfg_object_wizard.h"
#include "cfg_ori_page.h"
#include "cfg_orbit_dlg.h"
#include "mission_date.h"
#include "modal_answerer.h"
#include "set_date_dlg.h"
#include "solar_system_date.h"
#include "launcher_fixture.h"
#include "object_file.h"
#include "system_map_dlg.h"
#include "system_map_view.h"

using launchertest::LauncherTest;

namespace {

void saveShot(QWidget* widget, const char* name) {
    const char* dir = std::getenv("CELESTRIX_SCREENSHOT_DIR");
    if (!dir) return;
    widget->grab().save(QString(dir) + "/" + name + ".png");
}

bool onScreen(const SystemMapView& view, int body) {
    return view.rect().contains(view.toScreen(view.map().bodies[static_cast<size_t>(body)].place).toPoint());
}

class SystemMapTest : public LauncherTest {
protected:
    SystemMapDlg* openMap(CCfgManagerDlg& manager) {
        manager.findChild<QPushButton*>("mapButton")->click();
        SystemMapDlg* map = manager.systemMap();
        map->resize(760, 640);
        QCoreApplication::processEvents();
        map->view()->fitAll();
        return map;
    }
    int index(const SystemMapView& view, const std::string& name) {
        for (size_t i = 0; i < view.map().bodies.size(); ++i)
            if (view.map().bodies[i].name == name) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(SystemMapTest, TheDeliveredSystemFollowsTheListBothWaysInItsViews) {
    CCfgManagerDlg manager;
    SystemMapDlg* map = openMap(manager);
    ASSERT_TRUE(map->isVisible());
    SystemMapView& view = *map->view();
    ASSERT_EQ(view.map().bodies.size(), 11u);
    EXPECT_EQ(view.map().bodies[static_cast<size_t>(view.map().centre)].name, "Sun");
    for (size_t i = 0; i < view.map().bodies.size(); ++i) EXPECT_TRUE(onScreen(view, static_cast<int>(i))) << i;
    saveShot(map, "map_whole_system");
    saveShot(&manager, "manager_with_map_buttons");

    // Row 5 (the Moon) chosen in the list: highlighted on the map, described below it.
    manager.selectedList()->selectRows({4});
    EXPECT_EQ(view.highlighted(), 4);
    EXPECT_TRUE(map->chosenText().startsWith("Moon (Ref-No 5) circles Earth at")) << map->chosenText().toStdString();

    // Its neighbourhood is Earth's: Earth, the Moon and the observer in view, the Sun and Venus not.
    map->findChild<QPushButton*>("neighbourhoodButton")->click();
    const std::map<std::string, bool> shown = {{"Earth", true}, {"Moon", true}, {"Observer", true},
                                               {"Sun", false},  {"Venus", false}};
    for (const auto& [name, visible] : shown) EXPECT_EQ(onScreen(view, index(view, name)), visible) << name;
    saveShot(map, "map_earth_and_moon");

    // A click on Earth chooses its row in the list; a drag moves the view without choosing.
    const QPoint earth = view.toScreen(view.map().bodies[3].place).toPoint();
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, earth);
    EXPECT_EQ(manager.selectedList()->selectedRowIndices(), std::vector<int>{3});
    EXPECT_EQ(view.highlighted(), 3);
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, earth);
    QTest::mouseMove(&view, earth + QPoint(60, 0));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, earth + QPoint(60, 0));
    EXPECT_NEAR(view.toScreen(view.map().bodies[3].place).x(), earth.x() + 60, 1.0);
    EXPECT_EQ(manager.selectedList()->selectedRowIndices(), std::vector<int>{3});

    // The wheel zooms about the pointer: the point under it stays put.
    const QPointF at(200, 150);
    const MapPoint before = view.toMap(at);
    const double scale = view.kmPerPixel();
    QWheelEvent wheel(at, view.mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&view, &wheel);
    EXPECT_NEAR(view.kmPerPixel(), scale / 1.5625, scale * 1e-9);
    EXPECT_NEAR(view.toScreen(before).x(), at.x(), 1e-6);
    EXPECT_NEAR(view.toScreen(before).y(), at.y(), 1e-6);

    // Saturn with its moons would show them; Saturn alone shows its close surroundings.
    manager.selectedList()->selectRows({7});
    map->findChild<QPushButton*>("neighbourhoodButton")->click();
    EXPECT_TRUE(onScreen(view, 7));
    EXPECT_FALSE(onScreen(view, index(view, "Jupiter")));
    map->findChild<QPushButton*>("fitButton")->click();
    for (size_t i = 0; i < view.map().bodies.size(); ++i) EXPECT_TRUE(onScreen(view, static_cast<int>(i))) << i;
}

TEST_F(SystemMapTest, SaturnsMoonsSetUpByTheirOrbitsShowInSaturnsNeighbourhood) {
    // Seven moons given by two orbital points in Saturn's equator and Item 8 = Saturn (Ref-No 8),
    // as the orbit dialog leaves them: the simulator's set-up gives each a circular orbit.
    struct Moon {
        const char* name;
        double distanceKm, massKg, radiusKm, angleDeg;
    };
    const Moon moons[] = {{"Mimas", 185539, 3.75e19, 198, 10},     {"Enceladus", 238042, 1.08e20, 252, 80},
                          {"Tethys", 294672, 6.17e20, 531, 150},   {"Dione", 377415, 1.1e21, 561, 220},
                          {"Rhea", 527068, 2.31e21, 764, 290},     {"Titan", 1221870, 1.345e23, 2575, 40},
                          {"Iapetus", 3560820, 1.806e21, 735, 200}};
    SimObject saturn;
    ASSERT_TRUE(readObjectFile(saturn, dir() + "Objects/Saturn.cfg", dir()));
    const double ra = 40.589 * M_PI / 180, dec = 83.537 * M_PI / 180;
    const double pole[3] = {-std::cos(dec) * std::sin(ra), std::sin(dec), std::cos(dec) * std::cos(ra)};
    // Two unit vectors in Saturn's equator.
    double e1[3] = {pole[1], -pole[0], 0};
    const double n1 = std::hypot(e1[0], e1[1]);
    for (double& c : e1) c /= n1;
    const double e2[3] = {pole[1] * e1[2] - pole[2] * e1[1], pole[2] * e1[0] - pole[0] * e1[2],
                          pole[0] * e1[1] - pole[1] * e1[0]};
    std::string configuration;
    for (const char* name : {"Sun", "Mercury", "Venus", "Earth", "Moon", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"})
        configuration += std::string(name) + ".cfg\n";
    for (const Moon& m : moons) {
        SimObject o = saturn;
        o.massKg = static_cast<float>(m.massKg);
        o.equatorialRadiusKm = o.polarRadiusKm = static_cast<float>(m.radiusKm);
        o.hasRing = 0;
        o.velocityKmPerS = {kNaFloat, kNaFloat, kNaFloat};
        o.orbitedObject = 8;
        auto at = [&](double deg) {
            const double a = deg * M_PI / 180;
            return Vec3f{static_cast<float>(saturn.positionKm.x + m.distanceKm * (std::cos(a) * e1[0] + std::sin(a) * e2[0])),
                         static_cast<float>(saturn.positionKm.y + m.distanceKm * (std::cos(a) * e1[1] + std::sin(a) * e2[1])),
                         static_cast<float>(saturn.positionKm.z + m.distanceKm * (std::cos(a) * e1[2] + std::sin(a) * e2[2]))};
        };
        o.orbitalPosition1Km = o.positionKm = at(m.angleDeg);
        o.orbitalPosition2Km = at(m.angleDeg - 90);
        testdata::writeObject(dir(), std::string("Objects/") + m.name + ".cfg", o);
        configuration += std::string(m.name) + ".cfg\n";
    }
    testdata::writeText(dir() + "Configurations/Default Configuration.cfg", configuration + "Observer.cfg\n-999\n");

    CCfgManagerDlg manager;
    SystemMapDlg* map = openMap(manager);
    SystemMapView& view = *map->view();
    ASSERT_EQ(view.map().bodies.size(), 18u);
    manager.selectedList()->selectRows({7});
    map->findChild<QPushButton*>("neighbourhoodButton")->click();
    for (int i = 10; i < 17; ++i) {
        const MapBody& b = view.map().bodies[static_cast<size_t>(i)];
        EXPECT_EQ(b.parent, 7) << b.name;
        EXPECT_TRUE(b.orbitsByItem8) << b.name;
        EXPECT_TRUE(b.bound) << b.name;
        // Circular, up to the six digits the files keep of places 1.4e9 km from the origin.
        EXPECT_NEAR(b.apoapsisKm / moons[i - 10].distanceKm, 1.0, 1e-2) << b.name;
        EXPECT_TRUE(onScreen(view, i)) << b.name;
    }
    EXPECT_FALSE(onScreen(view, index(view, "Jupiter")));
    saveShot(map, "map_saturn_moons");
}

TEST_F(SystemMapTest, AThousandObjectsShowEveryBodyAndNamesThatNeverOverlap) {
    const std::string tools = std::string(CELESTRIX_DATA_SOURCE) + "../tools/make_asteroid_field.py";
    ASSERT_EQ(std::system(("python3 '" + tools + "' --out '" + dir() + "' > /dev/null").c_str()), 0);
    CCfgManagerDlg manager;
    SystemMapDlg* map = openMap(manager);
    SystemMapView& view = *map->view();
    ASSERT_EQ(view.map().bodies.size(), 1000u);
    view.repaint();
    const std::vector<int>& labelled = view.labelledBodies();
    EXPECT_GT(labelled.size(), 5u);
    EXPECT_LT(labelled.size(), 400u);
    EXPECT_EQ(labelled.front(), view.map().centre);  // the Sun's name comes first
    // No two shown names share a pixel.
    const std::vector<QRect>& boxes = view.labelBoxes();
    ASSERT_EQ(boxes.size(), labelled.size());
    int overlaps = 0;
    for (size_t a = 0; a < boxes.size(); ++a)
        for (size_t b = a + 1; b < boxes.size(); ++b) overlaps += boxes[a].intersects(boxes[b]);
    EXPECT_EQ(overlaps, 0);
    saveShot(map, "map_asteroid_field");

    // A chosen asteroid's name is always shown, whatever stands near it.
    manager.selectedList()->selectRows({500});
    view.repaint();
    EXPECT_EQ(view.labelledBodies().front(), 500);
}

TEST_F(SystemMapTest, TheOrbitDialogShowsTheEditedObjectAboutItsParent) {
    SimObject moon;
    ASSERT_TRUE(readObjectFile(moon, dir() + "Objects/Moon.cfg", dir()));
    CCfgOrbitDlg dlg(4, true, moon, OrbitListView{{"Sun", "Mercury", "Venus", "Earth", "Moon"}, dir()});
    dlg.resize(520, 620);
    dlg.show();
    QCoreApplication::processEvents();
    auto* view = dlg.findChild<SystemMapView*>("orbitMap");
    ASSERT_NE(view, nullptr);
    const SystemMap& map = view->map();
    ASSERT_EQ(map.bodies.size(), 5u);
    EXPECT_EQ(view->highlighted(), 4);
    EXPECT_EQ(map.bodies[4].name, "Moon");
    EXPECT_EQ(map.bodies[4].parent, 3);
    EXPECT_TRUE(map.bodies[4].bound);
    EXPECT_TRUE(onScreen(*view, 3));
    EXPECT_TRUE(onScreen(*view, 4));
    EXPECT_FALSE(onScreen(*view, 0));
    saveShot(&dlg, "orbit_dialog_map");
}

TEST_F(SystemMapTest, TheWizardsLastSheetShowsTheObjectOnTheMap) {
    // The Moon configured in existing mode, orbiting Earth (Ref-No 4): its last sheet's map. The
    // delivered Moon gives no second orbital point; without its velocity the map first says why
    // the simulator would stop, then, with a point given, it shows the orbit.
    WizardSetup setup;
    setup.newObject = false;
    setup.type = WizardObjectType::Planet;
    setup.orbiting = true;
    setup.orbitedRefNo = 4;
    setup.objectPath = dir() + "Objects/Moon.cfg";
    setup.dataDirectory = dir();
    setup.list = {{"Sun", "Mercury", "Venus", "Earth", "Moon", "Observer"}, dir()};
    for (int item : {5, 6, 7})
        ASSERT_EQ(writeObjectItem(setup.objectPath, objectItemLabel(item), "na", dir()), ItemStatus::Ok);
    setup.fileValues = valuesFromObjectFile(setup.objectPath, dir(), setup.type, true, 4);
    for (bool secondPointGiven : {false, true}) {
        SCOPED_TRACE(secondPointGiven);
        if (secondPointGiven) {
            for (int item : {12, 13, 14})
                ASSERT_EQ(writeObjectItem(setup.objectPath, objectItemLabel(item), item == 13 ? "384400" : "0", dir()),
                          ItemStatus::Ok);
            setup.fileValues = valuesFromObjectFile(setup.objectPath, dir(), setup.type, true, 4);
        }
        CCfgObject wizard(setup);
        wizard.resize(640, 760);
        wizard.show();
        wizard.next();
        wizard.next();
        QCoreApplication::processEvents();
        auto* last = static_cast<CCfgOriPage*>(wizard.sheet(3));
        ASSERT_EQ(wizard.currentPage(), last);
        auto* view = last->findChild<SystemMapView*>("orbitMap");
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->map().bodies.size(), 5u);
        if (!secondPointGiven) {
            EXPECT_FALSE(view->map().bodies[4].placed);
            EXPECT_NE(view->map().failure.find("located at the same position"), std::string::npos);
            saveShot(&wizard, "wizard_last_sheet_no_orbit");
            continue;
        }
        EXPECT_TRUE(view->map().failure.empty());
        EXPECT_EQ(view->highlighted(), 4);
        EXPECT_EQ(view->map().bodies[4].parent, 3);
        EXPECT_TRUE(onScreen(*view, 3));
        EXPECT_TRUE(onScreen(*view, 4));
        saveShot(&wizard, "wizard_last_sheet_map");
    }
}

TEST_F(SystemMapTest, SetDateFromTheManagerMovesThePlanetsOnTheOpenMap) {
    CCfgManagerDlg manager;
    SystemMapDlg* map = openMap(manager);
    const MapPoint marsBefore = map->view()->map().bodies[5].place;
    launchertest::ModalAnswerer messages;
    QString shownDate;
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<SetDateDlg*>(QApplication::activeModalWidget());
        if (!dlg || !shownDate.isEmpty()) return;
        shownDate = dlg->dateEdit()->text();
        dlg->dateEdit()->setDateTime(QDateTime(QDate(1950, 1, 1), QTime(6, 30), Qt::UTC));
        saveShot(dlg, "set_date_dialog");
        dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    chooser.start(5);
    manager.findChild<QPushButton*>("setDateButton")->click();
    EXPECT_EQ(shownDate, "2000-01-01 11:58 UTC");  // the delivered world's date
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"\n\nThe solar system now stands at 1950-01-01 06:30:00 UTC."});
    EXPECT_EQ(testdata::readText(dir() + kMissionDateFile), "1950-01-01T06:30\n");
    // The open map shows the new places.
    const MapPoint marsAfter = map->view()->map().bodies[5].place;
    EXPECT_GT(std::hypot(marsAfter.x - marsBefore.x, marsAfter.y - marsBefore.y), 1e7);
}

}  // namespace
