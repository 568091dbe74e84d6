// The exact state record and the exact replay side file, read back in process: a record resumes
// the very state that wrote it, a side file loads for its own recording, and every cut or edited
// copy of either is refused as a whole (or, if an edit happens to keep it valid, gives the same
// result), never half applied; the state digest changes with any one value it covers.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "exact_replay_file.h"
#include "exact_replay_recorder.h"
#include "exact_state_record.h"
#include "frame_step.h"
#include "mangled_text.h"
#include "recording_file.h"
#include "recording_step.h"
#include "startup.h"
#include "state_digest.h"
#include "test_data_dir.h"

using testdata::TempDataDir;

namespace {

void writeData(const std::string& dir) {
    SimObject ship = testdata::minimalObserver();
    ship.velocityKmPerS = {0.1f, 0.2f, 11.0f};
    ship.nominalForceKN = {300, 0, 0};
    testdata::writeLiveDataDir(dir, {{"Star", testdata::minimalStar()}, {"Ship", ship}});
}

SimState loaded(const std::string& dir) {
    SimState s;
    s.runMode = 1;
    s.dataDirectory = dir;
    EXPECT_FALSE(loadStartupState(s).has_value());
    fillSceneState(s);
    return s;
}

// Pitches, fires forward and records from the second frame on; the recording is closed at the end.
class RecordingHooks : public FrameStepHooks {
public:
    explicit RecordingHooks(ExactReplayRecorder& recorder) : recorder_(recorder) {}
    void recordStep(SimState& s, float h) override {
        EXPECT_FALSE(recording.run(s, h).has_value());
        recorder_.afterRecordingStep(s, recording.isOpen(), recording.sequenceNumber());
    }
    RecordingStep recording;

private:
    ExactReplayRecorder& recorder_;
};

void fly(SimState& s, int frames, ExactReplayRecorder& recorder, RecordingHooks& hooks) {
    s.keyState.keys[KeyCode::W] = 0x80;
    s.keyState.keys[KeyCode::R] = 0x80;
    for (int f = 0; f < frames; ++f) {
        s.flags.recordingOn = f >= 1 ? 1 : 0;
        FrameInput in;
        in.elapsedS = 0.25f;
        recorder.beforeFrame(s, in.elapsedS, true);
        ASSERT_FALSE(stepSimulation(s, in, hooks).has_value());
        recorder.afterFrame(s);
    }
}

}  // namespace

TEST(ExactStateRecord, ResumesTheSavedStateAndRefusesEveryDamagedCopy) {
    TempDataDir dir;
    writeData(dir.path());
    SimState s = loaded(dir.path());
    ExactReplayRecorder recorder;
    RecordingHooks hooks(recorder);
    fly(s, 12, recorder, hooks);
    std::vector<FileToWrite> savedFiles;
    ASSERT_FALSE(saveStateOnExit(s, &savedFiles).has_value());
    ASSERT_TRUE(writeExactStateRecord(s, savedFiles));
    const uint64_t saved = digestSimState(s);
    const std::string record = testdata::readText(dir / kExactStateRecordName);

    SimState resumed = loaded(dir.path());
    const uint64_t fromFiles = digestSimState(resumed);
    ASSERT_NE(fromFiles, saved);  // six digits lose something
    ASSERT_TRUE(resumeFromExactStateRecord(resumed));
    EXPECT_EQ(digestSimState(resumed), saved);

    for (const std::string& variant : testdata::mangledVariants(record, 15, 300)) {
        testdata::writeText(dir / kExactStateRecordName, variant);
        SimState t = loaded(dir.path());
        bool used = resumeFromExactStateRecord(t);
        EXPECT_EQ(digestSimState(t), used ? saved : fromFiles) << variant.size();
    }
}

TEST(ExactReplayFile, LoadsForItsRecordingOnlyAndRefusesEveryDamagedCopy) {
    TempDataDir dir;
    writeData(dir.path());
    SimState s = loaded(dir.path());
    ExactReplayRecorder recorder;
    RecordingHooks hooks(recorder);
    fly(s, 10, recorder, hooks);
    hooks.recording.close();
    recorder.afterRecordingClosed(s);

    const std::string vcr = dir / "Recordings/Flight/Flight.vcr";
    const std::string side = exactReplayPath(vcr);
    std::vector<std::string> lines;
    ASSERT_TRUE(readRecordingLines(vcr, lines));
    ReplayTables tables;
    std::string firstDir;
    ASSERT_TRUE(parseRecording(lines, dir.path(), tables, firstDir));
    std::vector<ExactSequence> sequences;
    std::string reason;
    ASSERT_TRUE(loadExactReplay(side, vcr, tables, 2, sequences, &reason)) << reason;
    ASSERT_EQ(sequences.size(), 1u);
    EXPECT_EQ(sequences[0].frames.size(), 9u);  // frames 1-9; the recording file has 10 frame lines
    EXPECT_EQ(tables.frameTimesS.size(), 10u);
    EXPECT_FALSE(loadExactReplay(side, vcr, tables, 3, sequences, &reason));  // other object count

    const std::string text = testdata::readText(side);
    for (const std::string& variant : testdata::mangledVariants(text, 16, 300)) {
        testdata::writeText(side, variant);
        std::vector<ExactSequence> got;
        if (loadExactReplay(side, vcr, tables, 2, got)) {
            ASSERT_EQ(got.size(), 1u);
            ASSERT_EQ(got[0].frames.size(), 9u);
            for (size_t f = 0; f < 9; ++f)
                EXPECT_EQ(got[0].frames[f].stateDigest, sequences[0].frames[f].stateDigest);
        }
    }
}

TEST(StateDigest, ChangesWhenAnyOneFieldChangesByOneUnitInTheLastPlace) {
    TempDataDir dir;
    writeData(dir.path());
    SimState base = loaded(dir.path());
    ExactReplayRecorder recorder;
    RecordingHooks hooks(recorder);
    fly(base, 3, recorder, hooks);  // turning and burning: rates, angles and forces are not zero
    const auto up = [](float& v) { v = std::nextafter(v, INFINITY); };
    std::vector<std::pair<std::string, std::function<void(SimState&)>>> edits = {
        {"mission time", [&](SimState& s) { up(s.missionTimeS); }},
        {"running energy", [&](SimState& s) { up(s.energyKJ); }},
        {"surface proximity", [](SimState& s) { s.surfaceProximity ^= 1; }},
    };
    for (int k = 0; k < 3; ++k) {
        const std::string axis(1, "xyz"[k]);
        const auto of = [k](Vec3f& v) -> float& { return k == 0 ? v.x : k == 1 ? v.y : v.z; };
        edits.push_back({"rotation rate " + axis, [=](SimState& s) { up(of(s.rotationRates)); }});
        edits.push_back({"accumulated angle " + axis, [=](SimState& s) { up(of(s.accumulatedAngles)); }});
        edits.push_back({"integrator origin " + axis, [=](SimState& s) { up(of(s.integrator.origin)); }});
    }
    for (int k = 0; k < 16; ++k)
        edits.push_back({"orientation " + std::to_string(k), [=](SimState& s) { up(s.orientation.m[k / 4][k % 4]); }});
    for (size_t k = 0; k < kObjectFloatFieldCount; ++k)
        edits.push_back({"observer float " + std::to_string(k),
                         [=](SimState& s) { up(*objectFloatFields(s.observer())[k]); }});
    for (size_t i = 0; i < base.objects.size(); ++i) {
        // The observer's spin angle is one of its float items above.
        if (i + 1 < base.objects.size())
            edits.push_back({"spin angle of " + std::to_string(i), [=](SimState& s) { up(s.objects[i].spinAngleRad); }});
        for (int j = 0; j < 6; ++j)
            edits.push_back({"integrator " + std::to_string(i) + "," + std::to_string(j), [=](SimState& s) {
                                 const size_t n = s.integrator.count();
                                 std::vector<double> raw(6 * n);
                                 for (int c = 0; c < 6; ++c)
                                     std::copy_n(s.integrator.rawComponent(c), n, raw.begin() + c * n);
                                 double& v = raw[static_cast<size_t>(j) * n + i];
                                 v = std::nextafter(v, INFINITY);
                                 s.integrator.restoreRaw(s.objects, s.integrator.origin, raw);
                             }});
    }
    const uint64_t unchanged = digestSimState(base);
    EXPECT_EQ(digestSimState(SimState(base)), unchanged);
    std::set<uint64_t> digests{unchanged};
    for (const auto& [name, edit] : edits) {
        SimState s = base;
        edit(s);
        EXPECT_NE(digestSimState(s), unchanged) << name;
        digests.insert(digestSimState(s));
    }
    EXPECT_EQ(digests.size(), edits.size() + 1) << "two edits gave one digest";
}
