// The exact state record and the exact replay side file, read back in process: a record resumes
// the very state that wrote it, a side file loads for its own recording, and every cut or edited
// copy of either is refused as a whole (or, if an edit happens to keep it valid, gives the same
// result), never half applied; the state digest changes with any one value it covers.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <sstream>

#include "exact_replay_file.h"
#include "exact_replay_player.h"
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

// A flight of the given frames recorded with its side file into dir: the recording file, the side
// file and the recording's tables.
struct RecordedFlight {
    std::string vcr, side;
    ReplayTables tables;
};

RecordedFlight recordFlight(const TempDataDir& dir, int frames) {
    writeData(dir.path());
    SimState s = loaded(dir.path());
    ExactReplayRecorder recorder;
    RecordingHooks hooks(recorder);
    fly(s, frames, recorder, hooks);
    hooks.recording.close();
    recorder.afterRecordingClosed(s);
    RecordedFlight f;
    f.vcr = dir / "Recordings/Flight/Flight.vcr";
    f.side = exactReplayPath(f.vcr);
    std::vector<std::string> lines;
    std::string firstDir;
    EXPECT_TRUE(readRecordingLines(f.vcr, lines));
    EXPECT_TRUE(parseRecording(lines, dir.path(), f.tables, firstDir));
    return f;
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

// A side file names the integrator arithmetic that made it. One of an older file (no name: the
// first arithmetic) or of another arithmetic still loads and replays, but says that its digests
// are not compared instead of reporting frames that diverged.
TEST(ExactReplayFile, NamesItsIntegratorAndAnotherOneReplaysUnverified) {
    TempDataDir dir;
    const RecordedFlight flight = recordFlight(dir, 6);
    const std::string &vcr = flight.vcr, &side = flight.side;
    const ReplayTables& tables = flight.tables;
    const std::string text = testdata::readText(side);

    // The same file as the integrator's line says, without it, and naming another one.
    const size_t second = text.find('\n') + 1, third = text.find('\n', second) + 1;
    ASSERT_EQ(text.substr(second, third - second),
              std::string("integrator ") + IntegratorState::kArithmetic + "\n");
    auto withLine = [&](const std::string& line) {
        std::string body = text.substr(0, second) + line + text.substr(third);
        const size_t endStart = body.rfind('\n', body.size() - 2) + 1;
        std::istringstream end(body.substr(endStart));
        std::string word, count, recordingDigest;
        end >> word >> count >> recordingDigest;
        uint64_t digest = 0;
        EXPECT_TRUE(parseDigest(recordingDigest, digest));
        body.resize(endStart);
        return body + exactEndLine(std::stoi(count), digest, digestBytes(body));
    };
    struct Case {
        std::string line, madeBy;
        bool verified;
    };
    for (const Case& c : {Case{"integrator " + std::string(IntegratorState::kArithmetic) + "\n",
                               IntegratorState::kArithmetic, true},
                          Case{"", kFirstIntegratorArithmetic, false},
                          Case{"integrator per-body-float\n", "per-body-float", false}}) {
        testdata::writeText(side, withLine(c.line));
        std::vector<ExactSequence> sequences;
        std::string reason, madeBy;
        ASSERT_TRUE(loadExactReplay(side, vcr, tables, 2, sequences, &reason, &madeBy)) << reason;
        EXPECT_EQ(madeBy, c.madeBy);
        // Every digest spoiled: a verifying player reports the first frame, the other does not look.
        for (ExactFrameInput& f : sequences[0].frames) f.stateDigest ^= 1;
        ExactReplayPlayer player(sequences, madeBy);
        EXPECT_EQ(player.verifies(), c.verified);
        SimState replay = loaded(dir.path());
        replay.runMode = 0;
        replay.replay = tables;
        FrameStepHooks none;
        std::optional<std::string> summary;
        for (long long frame = 0; frame < 20 && !summary; ++frame) {
            FrameInput in;
            in.exactReplay = &player;
            ASSERT_FALSE(stepSimulation(replay, in, none).has_value());
            summary = player.afterFrame(replay, frame);
        }
        ASSERT_TRUE(summary.has_value()) << c.madeBy;
        EXPECT_EQ(summary->find("diverged") != std::string::npos, c.verified) << *summary;
        EXPECT_EQ(summary->find("without exact verification") != std::string::npos, !c.verified)
            << *summary;
    }
}

TEST(ExactReplayFile, LoadsForItsRecordingOnlyAndRefusesEveryDamagedCopy) {
    TempDataDir dir;
    const RecordedFlight flight = recordFlight(dir, 10);
    const std::string &vcr = flight.vcr, &side = flight.side;
    const ReplayTables& tables = flight.tables;
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
