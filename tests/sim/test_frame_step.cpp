// Tests of the simulation step: its order and hooks, time, spin, energy drain, one-shot latches,
// surface proximity, the replay frame advance with snapshot loads, and the CSV trace.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frame_step.h"
#include "object_file.h"
#include "ship_controls.h"
#include "trace_writer.h"
#include "view_files.h"

namespace fs = std::filesystem;

namespace {

SimObject makeBody(float massKg, Vec3f posKm, float radiusKm = 0) {
    SimObject o;
    o.massKg = massKg;
    o.positionKm = posKm;
    o.equatorialRadiusKm = radiusKm;
    o.polarRadiusKm = radiusKm;
    return o;
}

SimState makeState(std::vector<SimObject> bodies, int runMode = 1) {
    SimState state;
    state.runMode = runMode;
    SimObject ship;
    ship.isObserver = 1;
    ship.massKg = 1000;
    ship.torqueLevel = 0.005f;
    ship.forwardDirection = {0, 0, 1};
    ship.upDirection = {0, 1, 0};
    ship.rightDirection = {1, 0, 0};
    ship.energyKJ = 1e6f;
    state.objects = std::move(bodies);
    state.objects.push_back(ship);
    state.energyKJ = ship.energyKJ;
    state.integrator.setUp(state.objects);
    updateCamera(state);
    return state;
}

struct RecordingHooks : FrameStepHooks {
    std::vector<std::string> calls;
    void recordStep(SimState&, float) override { calls.push_back("record"); }
    void placeBodies(const SimState&, float) override { calls.push_back("place"); }
    void composeHud(const SimState&) override { calls.push_back("hud"); }
    void setLights(const SimState&) override { calls.push_back("lights"); }
    void sortDrawOrder(const SimState&) override { calls.push_back("sort"); }
    void takeSnapshot(SimState&) override { calls.push_back("snapshot"); }
};

TEST(FrameStep, HooksRunInOrderAndTimeAndGravityAdvance) {
    SimState s = makeState({makeBody(5.97e24f, {0, 0, 0}, 6000)});
    s.observer().positionKm = {0, 0, 1e6f};
    s.integrator.setUp(s.objects);
    s.keyState.keys[KeyCode::Space] = 0x80;
    s.keyState.keys[0x41] = 0x80;  // F7
    RecordingHooks hooks;
    EXPECT_FALSE(stepSimulation(s, {0.5f, true}, hooks).has_value());
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"snapshot", "record", "place", "hud", "lights",
                                                      "sort"}));
    EXPECT_EQ(s.missionTimeS, 0.5f);
    EXPECT_LT(s.observer().velocityKmPerS.z, 0.0f);  // falling toward the body
    EXPECT_EQ(s.objects[0].positionKm.z, 0.0f);      // the observer attracts nothing
    // Replay mode has no recording step.
    SimState r = makeState({}, 0);
    r.replay.frameTimesS = {0.25f};
    r.replay.controlWords = {0};
    r.replay.lastFrameIndex = 0;
    hooks.calls.clear();
    stepSimulation(r, {}, hooks);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"place", "hud", "lights", "sort"}));
    EXPECT_EQ(r.missionTimeS, 0.25f);
}

TEST(FrameStep, ZeroFrameTimeStillTurnsTheShip) {
    SimObject planet = makeBody(5.97e24f, {0, 0, 0}, 6000);
    planet.meshPath = "/data/Media/Models/planet.x";
    planet.spinRate = 0.25f;
    planet.spinAngleRad = 1.0f;
    SimState s = makeState({planet});
    s.observer().positionKm = {0, 0, 1e6f};
    s.observer().velocityKmPerS = {0, 3, 0};
    s.integrator.setUp(s.objects);
    s.rotationRates = {0.01f, 0, 0};
    s.missionTimeS = 7;
    FrameStepHooks none;
    stepSimulation(s, {0.0f, true}, none);
    EXPECT_EQ(s.observer().positionKm.z, 1e6f);
    EXPECT_EQ(s.observer().velocityKmPerS.y, 3.0f);
    EXPECT_EQ(s.objects[0].spinAngleRad, 1.0f);
    EXPECT_EQ(s.missionTimeS, 7.0f);
    EXPECT_EQ(s.energyKJ, 1e6f);
    EXPECT_EQ(s.accumulatedAngles.x, 0.01f);
    EXPECT_FALSE(s.orientation == Mat4f::identity());

    // With time the meshed body spins (a quarter turn per second here); one without a mesh not.
    s.objects[0].spinAngleRad = 0;
    SimState t = s;
    t.objects[0].meshPath = kNaPath;
    stepSimulation(s, {1.0f, true}, none);
    stepSimulation(t, {1.0f, true}, none);
    EXPECT_NEAR(s.objects[0].spinAngleRad, 1.5707964f, 1e-6f);
    EXPECT_EQ(t.objects[0].spinAngleRad, 0.0f);
    s.objects[0].spinRate = -0.75f;
    stepSimulation(s, {2.0f, true}, none);  // -1.5 turns from a quarter: the sign is kept
    EXPECT_NEAR(s.objects[0].spinAngleRad, -1.5707964f, 1e-5f);
}

TEST(FrameStep, EnergyDrainAndTheLimitSpeed) {
    SimState s = makeState({});
    SimObject& ship = s.observer();
    ship.nominalForceKN = {3, 4, 0};
    ship.velocityKmPerS = {10, 0, 0};
    s.integrator.setUp(s.objects);
    s.latches[kForwardThrusterForward] = 1;
    s.latches[kUpThrusterUp] = 1;
    FrameStepHooks none;
    stepSimulation(s, {0.5f, true}, none);
    float r = relativisticFactor({10, 0, 0});
    EXPECT_EQ(s.energyKJ, 1e6f - r * 10.0f * 5.0f * 0.5f);
    EXPECT_EQ(ship.energyKJ, s.energyKJ);
    EXPECT_GT(ship.velocityKmPerS.z, 0.0f);  // thrust along forward

    // At the limit speed thrust does nothing and nothing drains.
    ship.velocityKmPerS = {299972.0f, 0, 0};
    ship.positionKm = {};
    s.integrator.setUp(s.objects);
    float before = s.energyKJ;
    stepSimulation(s, {0.5f, true}, none);
    EXPECT_EQ(s.energyKJ, before);
    EXPECT_EQ(ship.velocityKmPerS.y, 0.0f);
    EXPECT_EQ(ship.velocityKmPerS.z, 0.0f);
    EXPECT_EQ(ship.velocityKmPerS.x, 299972.0f);
}

TEST(FrameStep, JumpAtLowEnergyEndsTheFrameAtZero) {
    SimState s = makeState({});
    s.observer().jumpDistanceKm = 1e9f;
    s.observer().energyKJ = 5e9f;
    s.energyKJ = 5e9f;
    s.keyState.keys[KeyCode::Q] = 0x80;
    FrameStepHooks none;
    stepSimulation(s, {0.01f, true}, none);
    EXPECT_EQ(s.energyKJ, 0.0f);
    EXPECT_EQ(s.observer().energyKJ, 0.0f);
    EXPECT_EQ(s.observer().positionKm.z, 1e9f);
}

TEST(FrameStep, OneShotLatchesClearAndAlignUsesTheCamera) {
    SimState s = makeState({});
    s.latches[kAlign] = 1;
    s.latches[kRestoreEnergy] = 1;
    s.latches[kPanic] = 1;
    s.latches[kForwardThrustUp] = 1;
    s.rotationRates = {0, 0.5f, 0};
    s.orientation = rotationY(0.7f);
    FrameStepHooks none;
    stepSimulation(s, {0.01f, true}, none);
    EXPECT_EQ(s.latches[kAlign], 0);
    EXPECT_EQ(s.latches[kRestoreEnergy], 0);
    EXPECT_EQ(s.latches[kPanic], 0);
    EXPECT_EQ(s.latches[kForwardThrustUp], 1);
    EXPECT_EQ(s.rotationRates.y, 0.0f);
    // Forward := third column of the camera (the inverse orientation's third column).
    Mat4f inv = inverse(s.orientation);
    EXPECT_EQ(s.observer().forwardDirection.x, inv.m[0][2]);
    EXPECT_EQ(s.observer().forwardDirection.z, inv.m[2][2]);
    EXPECT_EQ(s.observer().rightDirection.x, inv.m[0][0]);

    // A keyboard read failure skips the control step: held keys do nothing, the ship still turns
    // by its rates, a firing thruster keeps firing.
    s.rotationRates = {0.1f, 0, 0};
    s.observer().actingForceKN = {5, 0, 0};
    s.keyState.keys[KeyCode::W] = 0x80;
    float pitch = s.accumulatedAngles.x;
    stepSimulation(s, {0.01f, false}, none);
    EXPECT_EQ(s.rotationRates.x, 0.1f);
    EXPECT_EQ(s.accumulatedAngles.x, pitch + 0.1f);
    EXPECT_EQ(s.observer().actingForceKN.x, 5.0f);
}

TEST(FrameStep, SurfaceProximityAtExactly1500Km) {
    FrameStepHooks none;
    SimState s = makeState({makeBody(0, {0, 0, 1000 + 1500}, 1000)});
    stepSimulation(s, {0.0f, true}, none);
    EXPECT_EQ(s.surfaceProximity, 1);
    s = makeState({makeBody(0, {0, 0, 1000 + 1501}, 1000)});
    stepSimulation(s, {0.0f, true}, none);
    EXPECT_EQ(s.surfaceProximity, 0);
    s = makeState({});
    s.surfaceProximity = 1;
    stepSimulation(s, {0.0f, true}, none);  // no body: untouched
    EXPECT_EQ(s.surfaceProximity, 1);
}

class ReplayFrames : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("celestrix_replay_" + std::to_string(getpid()) +
                "_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(dir_ / "Seq2");
        dataDir_ = dir_.string() + "/";
    }
    void TearDown() override { fs::remove_all(dir_); }

    SimState replayState() {
        SimState s = makeState({makeBody(1e20f, {100, 0, 0}, 10)}, 0);
        s.dataDirectory = dataDir_;
        s.configEntries = {"body.cfg", "ship.cfg"};
        s.replay.frameTimesS = {0.1f, 0.2f, 0.3f};
        s.replay.controlWords = {1 << kForwardThrusterForward, 1 << kPitchDown, 0};
        s.replay.lastFrameIndex = 2;
        s.replay.sequenceFirstFrame = {0, 2};
        s.replay.sequenceDirs = {dataDir_ + "Seq1/", dataDir_ + "Seq2/"};
        return s;
    }

    fs::path dir_;
    std::string dataDir_;
};

TEST_F(ReplayFrames, CursorLatchesFinishedFlagAndSnapshotLoad) {
    SimState s = replayState();
    // The second sequence's snapshot: the body moved, the observer items carry rates and angles.
    SimObject snapBody = s.objects[0];
    snapBody.positionKm = {5000, 6000, 7000};
    snapBody.ownPath = dataDir_ + "Seq2/body.cfg";
    ASSERT_TRUE(writeObjectFile(snapBody, dataDir_));
    ASSERT_TRUE(writeLastView(dataDir_ + "Seq2/last_view.cfg", rotationZ(0.4f)));
    s.observer().ratesRadPerFrame = {0.01f, 0.02f, 0.03f};

    float h = -1;
    ASSERT_FALSE(advanceReplayFrame(s, h).has_value());
    EXPECT_EQ(h, 0.1f);
    EXPECT_EQ(s.latches[kForwardThrusterForward], 1);
    EXPECT_EQ(s.replay.cursor, 1);
    EXPECT_EQ(s.replay.finished, 0);
    EXPECT_EQ(s.replay.currentSequence, 1);

    ASSERT_FALSE(advanceReplayFrame(s, h).has_value());  // cursor reaches sequence 2: load
    EXPECT_EQ(h, 0.2f);
    EXPECT_EQ(s.latches[kForwardThrusterForward], 0);
    EXPECT_EQ(s.latches[kPitchDown], 1);
    EXPECT_EQ(s.replay.currentSequence, 2);
    EXPECT_EQ(s.objects[0].positionKm.x, 5000.0f);
    EXPECT_EQ(s.integrator.readBack(0, 0), 5000.0);
    EXPECT_EQ(s.rotationRates.z, 0.03f);
    EXPECT_NEAR(s.orientation.m[0][1], std::sin(0.4f), 1e-5f);

    ASSERT_FALSE(advanceReplayFrame(s, h).has_value());
    EXPECT_EQ(h, 0.3f);
    EXPECT_EQ(s.replay.finished, 1);
    // Nothing beyond the last line is read.
    ASSERT_FALSE(advanceReplayFrame(s, h).has_value());
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(s.replay.cursor, 3);
}

TEST_F(ReplayFrames, MissingSnapshotIsReportedAndChangesNothing) {
    SimState s = replayState();
    FrameStepHooks none;
    ASSERT_FALSE(stepSimulation(s, {}, none).has_value());
    Vec3f before = s.objects[0].positionKm;
    auto failed = stepSimulation(s, {}, none);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(*failed, dataDir_ + "Seq2/body.cfg");
    EXPECT_EQ(s.objects[0].positionKm.x, before.x);
    EXPECT_EQ(s.replay.currentSequence, 1);
}

TEST(TraceWriter, HeaderRowsAndAtomicClose) {
    fs::path path = fs::temp_directory_path() / "celestrix_trace_test.csv";
    fs::remove(path);
    SimState s = makeState({makeBody(1e20f, {1, 2, 3})});
    s.observer().positionKm = {0.1f, 0, 0};
    s.integrator.setUp(s.objects);
    TraceWriter trace;
    ASSERT_TRUE(trace.open(path.string()));
    trace.writeFrame(0, 0.25f, s.integrator);
    trace.writeFrame(1, 0.5f, s.integrator);
    EXPECT_FALSE(fs::exists(path));  // in place only once complete
    ASSERT_TRUE(trace.close());
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::string expected =
        "frame,time,index,x,y,z,vx,vy,vz\n"
        "0,0.25,0,1,2,3,0,0,0\n"
        "0,0.25,1,0.10000000149011612,0,0,0,0,0\n"
        "1,0.5,0,1,2,3,0,0,0\n"
        "1,0.5,1,0.10000000149011612,0,0,0,0,0\n";
    EXPECT_EQ(text.str(), expected);
    fs::remove(path);

    TraceWriter bad;
    std::string reason;
    EXPECT_FALSE(bad.open("/nonexistent-dir/trace.csv", &reason));
    EXPECT_NE(reason.find("/nonexistent-dir/"), std::string::npos);
}

}  // namespace
