// Start-up loading on a temporary data directory (live and replay), the scene fill, and the save
// on exit with its mode and flag conditions.
#include <gtest/gtest.h>

#include <filesystem>

#include "object_file.h"
#include "startup.h"
#include "test_data_dir.h"
#include "view_files.h"

using testdata::exists;
using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

SimObject orbitingPlanet() {
    SimObject p;
    p.massKg = 5.97e24f;
    p.velocityKmPerS = {kNaFloat, 0, 0};
    p.orbitedObject = 1;
    p.orbitalPosition1Km = {1.5e8f, 0, 0};
    p.orbitalPosition2Km = {0, 0, 1.5e8f};
    p.isPlanet = 1;
    return p;
}

SimState liveState(const TempDataDir& dir) {
    SimState state;
    state.runMode = 1;
    state.dataDirectory = dir.path();
    return state;
}

void writeStandardLive(const TempDataDir& dir) {
    SimObject observer = testdata::minimalObserver();
    observer.ratesRadPerFrame = {0.01f, 0.02f, 0.03f};
    observer.anglesRad = {1, 2, 3};
    testdata::writeLiveDataDir(dir.path(), {{"Sun", testdata::minimalStar()},
                                            {"Earth", orbitingPlanet()},
                                            {"Ship", observer}},
                               "1234.5");
}

}  // namespace

TEST(Startup, LiveModeLoadsEverything) {
    TempDataDir dir;
    writeStandardLive(dir);
    writeText(dir / "last_view.cfg", "0 1 0 0\n-1 0 0 0\n0 0 1 0\n0 0 0 1\n");
    SimState state = liveState(dir);
    auto error = loadStartupState(state);
    ASSERT_FALSE(error.has_value()) << error->path << ": " << error->message;

    EXPECT_EQ(state.recordingTitle, "Flight");
    EXPECT_EQ(state.screenshotTitle, "Shots");
    EXPECT_EQ(state.configurationName, "Test");
    EXPECT_EQ(state.configurationPath, dir / "Configurations/Test.cfg");
    EXPECT_EQ(state.configEntries, (std::vector<std::string>{"Sun.cfg", "Earth.cfg", "Ship.cfg"}));
    ASSERT_EQ(state.objects.size(), 3u);
    EXPECT_EQ(state.objects[1].ownPath, dir / "Objects/Earth.cfg");
    EXPECT_EQ(state.objects[1].dataDirectory, dir.path());
    EXPECT_EQ(state.rotationRates.y, 0.02f);
    EXPECT_EQ(state.accumulatedAngles.z, 3.0f);
    EXPECT_EQ(state.orientation.m[1][0], -1.0f);
    EXPECT_EQ(state.missionTimeS, 1234.5f);
    // The planet was placed at P1 and given its orbital velocity.
    EXPECT_EQ(state.objects[1].positionKm.x, 1.5e8f);
    EXPECT_NEAR(state.objects[1].velocityKmPerS.z, -29.75f, 0.05f);

    // Without last_view.cfg the orientation is the identity; a time.cfg without a number gives 0.
    std::filesystem::remove(dir / "last_view.cfg");
    writeText(dir / "time.cfg", "");
    SimState again = liveState(dir);
    again.orientation = rotationX(1);
    ASSERT_FALSE(loadStartupState(again).has_value());
    EXPECT_EQ(again.orientation, Mat4f::identity());
    EXPECT_EQ(again.missionTimeS, 0.0f);
}

TEST(Startup, MissingFilesReportTheirExactPath) {
    struct Case {
        std::string removed;   // relative file to delete
        std::string reported;  // relative path expected in the error
    };
    const Case cases[] = {
        {"Media/Icons/yes64.bmp", "Media/Icons/yes64.bmp"},
        {"Media/Icons/no64.bmp", "Media/Icons/no64.bmp"},
        {"moviefile.cfg", "moviefile.cfg"},
        {"screenshotfile.cfg", "screenshotfile.cfg"},
        {"configfile.cfg", "configfile.cfg"},
        {"Configurations/Test.cfg", "Configurations/Test.cfg"},
        {"Objects/Earth.cfg", "Objects/Earth.cfg"},
        {"time.cfg", "time.cfg"},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        writeStandardLive(dir);
        std::filesystem::remove(dir / c.removed);
        SimState state = liveState(dir);
        auto error = loadStartupState(state);
        ASSERT_TRUE(error.has_value()) << c.removed;
        EXPECT_EQ(error->kind, StartupError::Kind::File);
        EXPECT_EQ(error->path, dir / c.reported);
    }
}

TEST(Startup, RefusedConfigurations) {
    TempDataDir dir;
    writeStandardLive(dir);
    auto errorFor = [&]() {
        SimState state = liveState(dir);
        return loadStartupState(state);
    };

    // An empty name gives "Configurations/.cfg", which is refused.
    writeText(dir / "configfile.cfg", "\n-999\n");
    auto e = errorFor();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, dir / "Configurations/.cfg");

    // A name that would leave Configurations/ is refused on the built path.
    writeText(dir / "configfile.cfg", "../time\n-999\n");
    e = errorFor();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, dir / "Configurations/../time.cfg");
    EXPECT_NE(e->message.find("not a plain file name"), std::string::npos);

    // An entry that would leave Objects/ is refused before anything is read or written.
    writeText(dir / "configfile.cfg", "Test\n-999\n");
    writeText(dir / "Configurations/Test.cfg", "Sun.cfg\n../time.cfg\nShip.cfg\n-999\n");
    e = errorFor();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, dir / "Objects/../time.cfg");

    // Titles that recording and snapshots would write under are refused too; empty ones are not.
    writeText(dir / "Configurations/Test.cfg", "Sun.cfg\nEarth.cfg\nShip.cfg\n-999\n");
    writeText(dir / "moviefile.cfg", "..\n-999\n");
    e = errorFor();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, dir / "Recordings/../");
    writeText(dir / "moviefile.cfg", "\n-999\n");
    writeText(dir / "screenshotfile.cfg", "a\\b\n-999\n");
    e = errorFor();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, dir / "Screenshots/a\\b/");
    writeText(dir / "screenshotfile.cfg", "\n-999\n");
    EXPECT_FALSE(errorFor().has_value());

    // Empty configuration, and one whose last object is not an observer.
    writeText(dir / "Configurations/Test.cfg", "-999\n");
    e = errorFor();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, dir / "Configurations/Test.cfg");
    writeText(dir / "Configurations/Test.cfg", "Ship.cfg\nSun.cfg\n-999\n");
    e = errorFor();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, dir / "Configurations/Test.cfg");
    EXPECT_NE(e->message.find("not an observer"), std::string::npos);

    // The observer alone is a valid configuration.
    writeText(dir / "Configurations/Test.cfg", "Ship.cfg\n-999\n");
    EXPECT_FALSE(errorFor().has_value());
}

TEST(Startup, OrbitFailureIsReportedWithTheObject) {
    TempDataDir dir;
    SimObject planet = orbitingPlanet();
    planet.orbitalPosition1Km = {};  // at the star's position
    testdata::writeLiveDataDir(dir.path(), {{"Sun", testdata::minimalStar()},
                                            {"Earth", planet},
                                            {"Ship", testdata::minimalObserver()}});
    SimState state = liveState(dir);
    auto e = loadStartupState(state);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->kind, StartupError::Kind::Orbit);
    EXPECT_EQ(e->path, dir / "Objects/Earth.cfg");
    EXPECT_EQ(e->message, "Unable to compute the initial orbital velocity for the object\n\n" +
                              (dir / "Objects/Earth.cfg") +
                              "\n\nbecause the orbiting bodies are located at the same position.");
}

TEST(Startup, ReplayModeReadsTheRecording) {
    TempDataDir dir;
    const std::string d = dir.path();
    writeText(d + "Media/Icons/yes64.bmp", "BM");
    writeText(d + "Media/Icons/no64.bmp", "BM");
    writeText(d + "moviefile.cfg", "Trip\n-999\n");
    writeText(d + "screenshotfile.cfg", "Shots\n-999\n");  // no configfile.cfg: not needed
    writeText(d + "Recordings/Trip/configuration.cfg", "Sun.cfg\nShip.cfg\n-999\n");
    SimObject observer = testdata::minimalObserver();
    observer.anglesRad = {0.5f, 0, 0};
    testdata::writeObject(d, "Recordings/Trip/Sequence1/Sun.cfg", testdata::minimalStar());
    testdata::writeObject(d, "Recordings/Trip/Sequence1/Ship.cfg", observer);
    writeText(d + "Recordings/Trip/Sequence1/last_view.cfg", "1 0 0 0\n0 0 1 0\n0 -1 0 0\n0 0 0 1\n");
    writeText(d + "Recordings/Trip/Trip.vcr",
              "#\nbegin_sequence\nRecordings/Trip/Sequence1/\n0.02:0\n0.02:0\n0.02:65536\nend_sequence\n#\n");
    writeText(d + "time.cfg", "999");

    SimState state;
    state.runMode = 0;
    state.dataDirectory = d;
    state.replay.currentSequence = 7;
    auto e = loadStartupState(state);
    ASSERT_FALSE(e.has_value()) << e->path << ": " << e->message;
    EXPECT_EQ(state.configurationPath, d + "Recordings/Trip/configuration.cfg");
    EXPECT_EQ(state.objects[1].ownPath, d + "Recordings/Trip/Sequence1/Ship.cfg");
    EXPECT_EQ(state.accumulatedAngles.x, 0.5f);
    EXPECT_EQ(state.orientation.m[2][1], -1.0f);
    EXPECT_EQ(state.missionTimeS, 0.0f);
    EXPECT_EQ(state.replay.lastFrameIndex, 2);
    EXPECT_EQ(state.replay.controlWords[2], 65536);
    EXPECT_EQ(state.replay.currentSequence, 1);

    // A missing snapshot view gives the identity; a malformed recording is refused on its path.
    std::filesystem::remove(d + "Recordings/Trip/Sequence1/last_view.cfg");
    SimState again = state;
    again.objects.clear();
    ASSERT_FALSE(loadStartupState(again).has_value());
    EXPECT_EQ(again.orientation, Mat4f::identity());

    writeText(d + "Recordings/Trip/Trip.vcr", "#\nbegin_sequence\n");
    again = SimState{};
    again.runMode = 0;
    again.dataDirectory = d;
    e = loadStartupState(again);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, d + "Recordings/Trip/Trip.vcr");

    // An unsafe recording title is refused on the configuration path it would build.
    writeText(d + "moviefile.cfg", "../Trip\n-999\n");
    again = SimState{};
    again.runMode = 0;
    again.dataDirectory = d;
    e = loadStartupState(again);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->path, d + "Recordings/../Trip/configuration.cfg");
}

TEST(Startup, SceneFillClampsAndLatches) {
    SimState state;
    SimObject star = testdata::minimalStar();
    SimObject planet = orbitingPlanet();
    planet.velocityKmPerS = {};
    SimObject observer = testdata::minimalObserver();
    observer.energyKJ = 2e11f;
    observer.nominalForceKN = {20000, 10000, kNaFloat};
    observer.jumpDistanceKm = 5e9f;
    observer.torqueLevel = 0.5f;  // not clamped at start
    observer.actingForceKN = {-300, 0, 12};
    state.objects = {star, planet, star, observer};
    fillSceneState(state);

    const SimObject& o = state.observer();
    EXPECT_EQ(state.starCount, 2);
    EXPECT_EQ(o.energyKJ, kMaxEnergyKJ);
    EXPECT_EQ(state.energyKJ, kMaxEnergyKJ);
    EXPECT_EQ(o.nominalForceKN.x, kMaxNominalForceKN);
    EXPECT_EQ(o.nominalForceKN.y, 10000.0f);
    EXPECT_EQ(o.nominalForceKN.z, kMaxNominalForceKN);
    EXPECT_EQ(o.jumpDistanceKm, kMaxJumpDistanceKm);
    EXPECT_EQ(o.torqueLevel, 0.5f);
    EXPECT_EQ(state.latches[kForwardThrusterBackward], 1);
    EXPECT_EQ(state.latches[kForwardThrusterForward], 0);
    EXPECT_EQ(state.latches[kRightThrusterRight], 1);
    EXPECT_EQ(state.latches[kUpThrusterUp], 0);
    EXPECT_EQ(state.latches[kUpThrusterDown], 0);
    EXPECT_EQ(state.integrator.count(), 4u);

    // The observer alone: no star, "na" energy clamped.
    SimState alone;
    SimObject lone = testdata::minimalObserver();
    lone.energyKJ = kNaFloat;
    alone.objects = {lone};
    fillSceneState(alone);
    EXPECT_EQ(alone.starCount, 0);
    EXPECT_EQ(alone.energyKJ, kMaxEnergyKJ);
}

TEST(Startup, SaveOnExitWritesTheLiveState) {
    TempDataDir dir;
    writeStandardLive(dir);
    SimState state = liveState(dir);
    ASSERT_FALSE(loadStartupState(state).has_value());
    state.observer().actingForceKN = {100, -5, 3};
    state.observer().positionKm = {42, 0, 0};
    state.missionTimeS = 1234567;
    state.objects[0].ownPath = "somewhere else";
    ASSERT_FALSE(saveStateOnExit(state).has_value());

    EXPECT_EQ(readText(dir / "last_view.cfg"), "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");
    EXPECT_EQ(readText(dir / "time.cfg"), "1.23457e+06");
    EXPECT_EQ(state.objects[0].ownPath, dir / "Objects/Sun.cfg");
    SimObject ship;
    ASSERT_TRUE(readObjectFile(ship, dir / "Objects/Ship.cfg", dir.path()));
    EXPECT_EQ(ship.actingForceKN.x, 0.0f);
    EXPECT_EQ(ship.actingForceKN.y, 0.0f);
    EXPECT_EQ(ship.positionKm.x, 42.0f);
    EXPECT_EQ(ship.ownPath, dir / "Objects/Ship.cfg");
    SimObject earth;
    ASSERT_TRUE(readObjectFile(earth, dir / "Objects/Earth.cfg", dir.path()));
    EXPECT_NEAR(earth.velocityKmPerS.z, -29.75f, 0.05f);  // the computed velocity is now stored
    EXPECT_TRUE(testdata::listFiles(dir / "Objects") ==
                (std::vector<std::string>{"Earth.cfg", "Ship.cfg", "Sun.cfg"}));

    // A second start continues from the saved state.
    SimState next = liveState(dir);
    ASSERT_FALSE(loadStartupState(next).has_value());
    EXPECT_EQ(next.missionTimeS, 1234570.0f);
    EXPECT_EQ(next.observer().positionKm.x, 42.0f);
}

TEST(Startup, SaveOnExitWritesNothingWhenItMustNot) {
    auto snapshot = [](const TempDataDir& dir) {
        return readText(dir / "Objects/Ship.cfg") + readText(dir / "time.cfg") +
               std::to_string(exists(dir / "last_view.cfg"));
    };
    for (int variant = 0; variant < 3; ++variant) {
        TempDataDir dir;
        writeStandardLive(dir);
        SimState state = liveState(dir);
        ASSERT_FALSE(loadStartupState(state).has_value());
        std::string before = snapshot(dir);
        state.observer().actingForceKN = {100, 0, 0};
        state.missionTimeS = 99;
        if (variant == 0) state.runMode = 0;
        if (variant == 1) state.surfaceProximity = 1;
        if (variant == 2) state.flags.restorePromptShown = 1;
        EXPECT_FALSE(saveStateOnExit(state).has_value());
        EXPECT_EQ(state.observer().actingForceKN.x, 0.0f) << variant;  // zeroed in every mode
        EXPECT_EQ(snapshot(dir), before) << variant;
    }
}

TEST(Startup, SaveOnExitFailureReplacesNoFileOfTheSet) {
    TempDataDir dir;
    writeStandardLive(dir);
    SimState state = liveState(dir);
    ASSERT_FALSE(loadStartupState(state).has_value());
    writeText(dir / "last_view.cfg", "0 1 0 0\n-1 0 0 0\n0 0 1 0\n0 0 0 1\n");  // the save writes another
    const std::string viewBefore = readText(dir / "last_view.cfg");
    const std::string sunBefore = readText(dir / "Objects/Sun.cfg");
    const std::string shipBefore = readText(dir / "Objects/Ship.cfg");
    // Earth's file cannot be replaced: a directory stands in its place.
    std::filesystem::remove(dir / "Objects/Earth.cfg");
    std::filesystem::create_directories(dir / "Objects/Earth.cfg");
    state.missionTimeS = 500;
    state.observer().positionKm = {7, 7, 7};
    state.objects[0].positionKm = {1, 2, 3};
    auto failed = saveStateOnExit(state);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->path, dir / "Objects/Earth.cfg");
    EXPECT_EQ(failed->reason, "Is a directory");
    // Before the failing file and after it alike, every file keeps the previous save.
    EXPECT_EQ(readText(dir / "last_view.cfg"), viewBefore);
    EXPECT_EQ(readText(dir / "Objects/Sun.cfg"), sunBefore);
    EXPECT_EQ(readText(dir / "Objects/Ship.cfg"), shipBefore);
    EXPECT_EQ(readText(dir / "time.cfg"), "1234.5");
    EXPECT_FALSE(exists(dir / "pending_renames.journal"));
    for (const std::string& name : testdata::listFiles(dir / "Objects")) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST(Startup, DeliveredDataLoadsAndRoundTrips) {
    TempDataDir dir;
    std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(), std::filesystem::copy_options::recursive);
    SimState state = liveState(dir);
    auto e = loadStartupState(state);
    ASSERT_FALSE(e.has_value()) << e->path << ": " << e->message;
    ASSERT_FALSE(state.objects.empty());
    EXPECT_NE(state.observer().isObserver, 0);
    fillSceneState(state);
    EXPECT_GE(state.starCount, 1);

    // The delivered object files are in the writer's own form: rewriting them changes no byte.
    for (size_t i = 0; i < state.configEntries.size(); ++i) {
        const std::string path = dir / ("Objects/" + state.configEntries[i]);
        SimObject o;
        ASSERT_TRUE(readObjectFile(o, path, dir.path())) << path;
        const std::string before = readText(path);
        ASSERT_TRUE(writeObjectFile(o, dir.path()));
        EXPECT_EQ(readText(path), before) << path;
    }
    // The template is a complete object file too.
    SimObject templ;
    ASSERT_TRUE(readObjectFile(templ, dir / "CfgTemplate.cfg", dir.path()));
    EXPECT_EQ(templ.ownPath, kNaPath);
    Mat4f view;
    ASSERT_TRUE(readLastView(dir / "last_view.cfg", view));
    const std::string viewBefore = readText(dir / "last_view.cfg");
    ASSERT_TRUE(writeLastView(dir / "last_view.cfg", view));
    EXPECT_EQ(readText(dir / "last_view.cfg"), viewBefore);
}
