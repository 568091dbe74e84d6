// The wizard's values: sky coordinates both ways, the fields filled from a file (with their
// documented roundings), the object file written from the template in one replacement compared
// with the template filled item by item, the observer's reset, and the list updates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "float_format.h"
#include "object_fixtures.h"
#include "object_item.h"
#include "object_wizard_output.h"
#include "object_wizard_values.h"
#include "sky_coordinates.h"
#include "text_file.h"

namespace {

TEST(SkyCoordinates, ConversionsAndTheirDocumentedEdges) {
    // 6 h lies along -x, the north pole along +y, 0 h along +z.
    CartesianKm six = skyToCartesian({6, 0, 1.5f, 8});
    EXPECT_NEAR(six.x, -1.5e8, 1);
    EXPECT_NEAR(six.z, 0, 20);
    CartesianKm pole = skyToCartesian({3, 90, 2, 3});
    EXPECT_NEAR(pole.y, 2000, 1e-3);
    CartesianKm origin = skyToCartesian({0, 0, 0, 0});
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.z, 0);

    // A position entered at 0 h comes back as 24 h.
    SkyPosition back = cartesianToSky(skyToCartesian({0, 10, 3.5f, 7}));
    EXPECT_NEAR(back.raHours, 24, 1e-4);
    EXPECT_NEAR(back.decDeg, 10, 1e-4);
    EXPECT_NEAR(back.rMantissa, 3.5, 1e-6);
    EXPECT_EQ(back.rExponent, 7);
    // Every quadrant round-trips.
    for (float ra : {1.0f, 7.5f, 13.0f, 19.25f}) {
        SkyPosition s = cartesianToSky(skyToCartesian({ra, -35, 9.25f, 12}));
        EXPECT_NEAR(s.raHours, ra, 1e-4) << ra;
        EXPECT_NEAR(s.decDeg, -35, 1e-4);
    }
    SkyPosition zero = cartesianToSky({0, 0, 0});
    EXPECT_EQ(zero.raHours, 0);
    EXPECT_EQ(zero.rExponent, 0);
}

class WizardFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(std::string(CELESTRIX_DATA_SOURCE) + "CfgTemplate.cfg", dir / "CfgTemplate.cfg");
        std::filesystem::create_directories(dir / "Objects");
    }
    // The template copied and filled with writeObjectItem one item at a time.
    std::string filledItemByItem(const WizardValues& v) {
        const std::string path = dir / "Objects/reference.cfg";
        std::filesystem::copy_file(dir / "CfgTemplate.cfg", path, std::filesystem::copy_options::overwrite_existing);
        for (const auto& [label, value] : objectItemWrites(v, dir.path()))
            EXPECT_EQ(writeObjectItem(path, label, value, dir.path()), ItemStatus::Ok) << label;
        std::string text = testdata::readText(path);
        std::filesystem::remove(path);
        return text;
    }
    testdata::TempDataDir dir;
};

WizardValues ringedPlanet() {
    WizardValues v;
    v.type = WizardObjectType::Planet;
    v.orbiting = true;
    v.orbitedRefNo = 1;
    v.start.first = {3, 5, 1.2f, 8};
    v.start.second = {9, 5, 1.2f, 8};
    v.body = {5.5f, 25, 30000, 28000, 45, 360, 12};
    v.look.ring = true;
    v.look.innerRingKm = 40000;
    v.look.outerRingKm = 70000;
    v.look.ringTexture = "saturn_ring.png";
    v.look.mesh = "sphere_mid.x";
    v.look.texture = "saturn.jpg";
    v.name = "Ringworld";
    return v;
}

TEST_F(WizardFiles, EachTypeWritesWhatTheTemplateRulesWrite) {
    WizardValues planet = ringedPlanet();
    WizardValues star;
    star.type = WizardObjectType::Star;
    star.start.vx = 1.5f;
    star.body = {1.989f, 30, 696000, 696000, 0, 14.4f, 7.25f};
    star.look = {false, 0, 0, "", 0.8f, 200, 180, 255, "sphere_hi.x", "sun.jpg"};
    star.name = "Sol";
    WizardValues observer;
    observer.type = WizardObjectType::Observer;
    observer.start.first = {12, -20, 4, 8};
    observer.observer = {1000, 500, 250, 100, 0.002f, 0.001f, 800, 50, 1, 0.1f, 0.1f};
    observer.name = "Explorer";
    for (const WizardValues& v : {planet, star, observer}) {
        SCOPED_TRACE(v.name);
        const std::string path = dir / ("Objects/" + v.name + ".cfg");
        ASSERT_EQ(writeObjectFromTemplate(dir.path(), path, objectItemWrites(v, dir.path())),
                  TemplateWriteStatus::Ok);
        EXPECT_EQ(testdata::readText(path), filledItemByItem(v));
    }
    // Spot checks of the file's units and formats.
    const std::string sol = dir / "Objects/Sol.cfg";
    EXPECT_EQ(readObjectItem(sol, "Item 29.", dir.path()).value, "     0.7843137");
    EXPECT_EQ(readObjectItem(sol, "Item 32.", dir.path()).value, " 8.0000000e+00");
    EXPECT_EQ(readObjectItem(sol, "Item 8.", dir.path()).value, "na");
    EXPECT_EQ(readObjectItem(sol, "Item 0.", dir.path()).value, dir / "Objects/Sol.cfg");
    const std::string ring = dir / "Objects/Ringworld.cfg";
    EXPECT_EQ(readObjectItem(ring, "Item 5.", dir.path()).value, "na");
    EXPECT_EQ(readObjectItem(ring, "Item 8.", dir.path()).value, "1");
    EXPECT_EQ(readObjectItem(ring, "Item 23.", dir.path()).value, dir / "Media/Ring Textures/saturn_ring.png");
    EXPECT_EQ(readObjectItem(ring, "Item 1.", dir.path()).value, " 5.5000000e+25");
    const std::string ship = dir / "Objects/Explorer.cfg";
    EXPECT_EQ(readObjectItem(ship, "Item 57.", dir.path()).value, " 4.9999999e+10");  // 50 TJ in single precision
    EXPECT_EQ(readObjectItem(ship, "Item 41.", dir.path()).value, "1");
    EXPECT_EQ(readObjectItem(ship, "Item 15.", dir.path()).value, "na");
    // What the simulator reads back: the star's 1.5 km/s, the planet's orbit set-up markers.
    SimObject o;
    ASSERT_TRUE(readObjectFile(o, ring, dir.path()));
    EXPECT_EQ(o.velocityKmPerS.x, kNaFloat);
    EXPECT_EQ(o.orbitedObject, 1);
    EXPECT_FLOAT_EQ(o.innerRingRadiusKm, 40000);
}

TEST_F(WizardFiles, FieldsFilledFromTheFileComeBackAsTheyWereWritten) {
    WizardValues planet = ringedPlanet();
    const std::string path = dir / "Objects/Ringworld.cfg";
    ASSERT_EQ(writeObjectFromTemplate(dir.path(), path, objectItemWrites(planet, dir.path())), TemplateWriteStatus::Ok);
    WizardValues back = valuesFromObjectFile(path, dir.path(), WizardObjectType::Planet, true, 1);
    EXPECT_NEAR(back.start.first.raHours, 3, 1e-4);
    EXPECT_NEAR(back.start.second.raHours, 9, 1e-4);
    EXPECT_NEAR(back.body.massMantissa, 5.5, 1e-6);
    EXPECT_EQ(back.body.massExponent, 25);
    EXPECT_NEAR(back.body.angularVelocityDegPerDay, 360, 1e-2);
    EXPECT_NEAR(back.body.tiltDeg, 12, 1e-4);
    EXPECT_TRUE(back.look.ring);
    EXPECT_EQ(back.look.ringTexture, "saturn_ring.png");
    EXPECT_EQ(back.look.mesh, "sphere_mid.x");
    EXPECT_EQ(back.name, "Ringworld");

    // A colour of 200 comes back as 199; velocities below 0.001 km/s as 0.
    WizardValues star;
    star.type = WizardObjectType::Star;
    star.start.vx = 0.0005f;
    star.start.vy = -2.5f;
    star.look.red = 200;
    star.name = "Sol";
    ASSERT_EQ(writeObjectFromTemplate(dir.path(), dir / "Objects/Sol.cfg", objectItemWrites(star, dir.path())),
              TemplateWriteStatus::Ok);
    WizardValues sol = valuesFromObjectFile(dir / "Objects/Sol.cfg", dir.path(), WizardObjectType::Star, false, 0);
    EXPECT_EQ(sol.look.red, 199);
    EXPECT_EQ(sol.start.vx, 0);
    EXPECT_FLOAT_EQ(sol.start.vy, -2.5f);
}

TEST_F(WizardFiles, MissingTemplateOrItemWritesNothing) {
    const std::string path = dir / "Objects/Keep.cfg";
    testdata::writeText(path, "precious\n");
    WizardValues v = ringedPlanet();
    std::string template_ = testdata::readText(dir / "CfgTemplate.cfg");
    testdata::writeText(dir / "CfgTemplate.cfg", template_.substr(0, template_.find("Item 40.")));
    std::string missing;
    WizardValues observer;
    observer.type = WizardObjectType::Observer;
    EXPECT_EQ(writeObjectFromTemplate(dir.path(), path, objectItemWrites(observer, dir.path()), &missing),
              TemplateWriteStatus::ItemMissing);
    EXPECT_EQ(missing, "Item 40.");
    std::filesystem::remove(dir / "CfgTemplate.cfg");
    EXPECT_EQ(writeObjectFromTemplate(dir.path(), path, objectItemWrites(v, dir.path())),
              TemplateWriteStatus::TemplateUnreadable);
    EXPECT_EQ(testdata::readText(path), "precious\n");
}

TEST_F(WizardFiles, ObserverResetsSavedViewAndExistingTime) {
    testdata::writeText(dir / "last_view.cfg", "1 0 0 0\n");
    EXPECT_TRUE(resetObserverState(dir.path()));
    EXPECT_FALSE(testdata::exists(dir / "last_view.cfg"));
    EXPECT_FALSE(testdata::exists(dir / "time.cfg"));  // only an existing time.cfg is reset
    testdata::writeText(dir / "time.cfg", "123456.7");
    EXPECT_TRUE(resetObserverState(dir.path()));
    EXPECT_EQ(testdata::readText(dir / "time.cfg"), "0");
}

TEST(WizardLists, NewAndExistingModeUpdateBothLists) {
    std::vector<AvailableRow> available = {{"Sun", "Star"}, {"Moon", "Planet"}};
    std::vector<SelectedRow> selected = {{"Sun", "1", "none", "Star"}, {"Moon", "2", "none", "Planet"}};
    // New mode, name already selected: its orbit changes; its available row gets the type.
    updateListsAfterWizard(available, selected, true, "Moon", "Star", 1);
    EXPECT_EQ(selected[1].orbits, "1");
    EXPECT_EQ(available[1].type, "Star");
    // New mode, new name: one available row, no selected row.
    updateListsAfterWizard(available, selected, true, "Vulcan", "Planet", 0);
    ASSERT_EQ(available.size(), 3u);
    EXPECT_EQ(available[2].name, "Vulcan");
    EXPECT_EQ(selected.size(), 2u);
    // Existing mode, renamed object: a further row in both lists.
    updateListsAfterWizard(available, selected, false, "Moon II", "Planet", 1);
    ASSERT_EQ(selected.size(), 3u);
    EXPECT_EQ(selected[2].refNo, "3");
    EXPECT_EQ(selected[2].orbits, "1");
    EXPECT_EQ(available.back().name, "Moon II");
    // Existing mode, unchanged name: nothing new.
    updateListsAfterWizard(available, selected, false, "Sun", "Star", 0);
    EXPECT_EQ(selected.size(), 3u);
    EXPECT_EQ(available.size(), 4u);
}

TEST_F(WizardFiles, SpinInDegreesPerDayIsOneTurnPerSiderealDayForEarth) {
    // Item 18 counts turns per second: the delivered Earth's turns 360.99 degrees a day.
    const std::string earth = dir / "Objects/Earth.cfg";
    std::filesystem::copy_file(std::string(CELESTRIX_DATA_SOURCE) + "Objects/Earth.cfg", earth);
    const std::string stored = readObjectItem(earth, "Item 18.", dir.path()).value;
    WizardValues v = valuesFromObjectFile(earth, dir.path(), WizardObjectType::Planet, false, 0);
    EXPECT_NEAR(v.body.angularVelocityDegPerDay, -360.99, 0.005);
    // Written back from the degrees shown, or typed as the six digits shown, Item 18 is the stored
    // value to the digits the file prints.
    for (float typed : {v.body.angularVelocityDegPerDay, -360.987f}) {
        SCOPED_TRACE(typed);
        v.body.angularVelocityDegPerDay = typed;
        v.name = "Earth";
        ASSERT_EQ(writeObjectFromTemplate(dir.path(), earth, objectItemWrites(v, dir.path())), TemplateWriteStatus::Ok);
        char printed[32];
        std::snprintf(printed, sizeof printed, "%g", parseLeadingFloat(readObjectItem(earth, "Item 18.", dir.path()).value));
        EXPECT_EQ(std::string(printed), stored);
    }
}

TEST_F(WizardFiles, PlacedOrbitsWriteTheirVelocityAndReference) {
    // Orbiting with a placed velocity: Items 5-7 carry it; not orbiting but placed: Item 8 and the
    // second point are written beside the position and velocity.
    WizardValues orbiting = ringedPlanet();
    orbiting.start.placedVelocityKm = CartesianKm{1.5f, -2.5f, 3.5f};
    WizardValues placed = ringedPlanet();
    placed.orbiting = false;
    placed.orbitedRefNo = 2;
    placed.start.placedSecondKm = CartesianKm{7, 8, 9};
    placed.start.vx = 4;
    struct Case {
        const WizardValues& values;
        const char* item5;
        const char* item8;
        const char* item12;
    };
    for (const Case& c : {Case{orbiting, " 1.5000000e+00", "1", nullptr}, Case{placed, " 4.0000000e+00", "2", " 7.0000000e+00"}}) {
        const std::string path = dir / "Objects/Placed.cfg";
        WizardValues v = c.values;
        v.name = "Placed";
        ASSERT_EQ(writeObjectFromTemplate(dir.path(), path, objectItemWrites(v, dir.path())), TemplateWriteStatus::Ok);
        EXPECT_EQ(readObjectItem(path, "Item 5.", dir.path()).value, c.item5);
        EXPECT_EQ(readObjectItem(path, "Item 8.", dir.path()).value, c.item8);
        if (c.item12) {
            EXPECT_EQ(readObjectItem(path, "Item 12.", dir.path()).value, c.item12);
        }
        EXPECT_EQ(simObjectFromValues(v).orbitedObject, std::atoi(c.item8));
        // Read back as an orbiting object still at its first point, the velocity is kept.
        if (v.orbiting) {
            WizardValues back = valuesFromObjectFile(path, dir.path(), WizardObjectType::Planet, true, 1);
            ASSERT_TRUE(back.start.placedVelocityKm.has_value());
            EXPECT_FLOAT_EQ(back.start.placedVelocityKm->y, -2.5f);
        }
    }
}

}  // namespace
