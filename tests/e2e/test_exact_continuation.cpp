// Exact continuation end to end: a flight cut by Esc and a restart continues bit for bit from the
// exact state record; a keyboard flight recorded with F5 replays bit for bit from the side file;
// edited, damaged or missing extra files fall back to what the object files and the recording
// file alone give, without an error and without touching a file; a replay that departs from its
// recording names the first frame that did.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "image_load.h"
#include "simulator_runs.h"
#include "state_digest.h"

using testdata::TempDataDir;
namespace fs = std::filesystem;

namespace {

// 400 frames of 0.05 s near Earth in the shipped configuration: turns with a raised torque level,
// thrust raised and fired across the cut at frame 200, an energy restore near Earth, a jump with
// a longer jump distance, a roll across the cut, F8, align, and backward thrust.
const char* const kFlight =
    "0 key W down\n0 key Up down\n20 key W up\n20 key S down\n40 key S up\n40 key Up up\n"
    "50 key U down\n50 key R down\n90 key A down\n91 key A up\n120 key U up\n"
    "150 key P down\n160 key P up\n170 key Q down\n171 key Q up\n180 key X down\n230 key X up\n"
    "260 key R up\n300 key F8 down\n300 key F8 up\n320 key Space down\n321 key Space up\n"
    "330 key T down\n380 key T up\n";

// The script's events of frames [from, to), renumbered from 0; keys held at from are pressed at 0.
std::string scriptPart(const std::string& script, int from, int to) {
    std::istringstream in(script);
    std::string line, out;
    std::map<std::string, bool> held;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int frame = 0;
        std::string kind, key, action;
        words >> frame >> kind >> key >> action;
        if (frame < from) held[key] = action == "down";
        else if (frame < to) out += std::to_string(frame - from) + " " + kind + " " + key + " " + action + "\n";
    }
    std::string pressed;
    for (const auto& [key, down] : held)
        if (down) pressed += "0 key " + key + " down\n";
    return pressed + out;
}

// The trace's rows of frames [from, to), with the frame renumbered from 0.
std::vector<std::string> traceRows(const std::string& path, long from = 0, long to = 1L << 40) {
    std::istringstream in(testdata::readText(path));
    std::string line;
    std::vector<std::string> rows;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        long frame = std::stol(line.substr(0, line.find(',')));
        if (frame >= from && frame < to) rows.push_back(std::to_string(frame - from) + line.substr(line.find(',')));
    }
    return rows;
}

testrun::RunResult runLive(const std::string& dir, const std::string& script, int frames,
                           const std::string& trace) {
    testdata::writeText(dir + "script.txt", script);
    return e2e::runCorvane(dir, {"--no-render", "--fixed-dt", "0.05", "--frames", std::to_string(frames),
                                 "--input", dir + "script.txt", "--trace", trace});
}

testrun::RunResult runReplay(const std::string& dir, const std::string& trace) {
    return e2e::runCorvane(dir, {"--no-render", "--trace", trace}, "0");
}

// Every regular file under dir, relative path -> contents.
std::map<std::string, std::string> filesUnder(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = testdata::readText(e.path().string());
    return files;
}

// The side file with the polled keys of its frame line `frame` widened by keys (a bit mask), its end
// line's digest renewed so that it still loads: a recorded flight that a replay cannot repeat.
std::string withKeysAdded(const std::string& side, int frame, uint32_t keys) {
    std::string edited = side;
    size_t at = 0;
    for (int k = 0; k <= frame; ++k) at = edited.find("\nf ", at) + 1;
    for (int field = 0; field < 3; ++field) at = edited.find(' ', at) + 1;  // f, time, control word
    char word[9];
    std::snprintf(word, sizeof word, "%08x", static_cast<uint32_t>(std::stoul(edited.substr(at, 8), nullptr, 16)) | keys);
    edited.replace(at, 8, word);
    const size_t end = edited.rfind("end ");
    edited.replace(edited.rfind(' ') + 1, 16, formatDigest(digestBytes(std::string_view(edited).substr(0, end))));
    return edited;
}

std::map<std::string, std::string> savedState(const std::string& dir) {
    std::map<std::string, std::string> files = filesUnder(dir + "Objects");
    for (const char* name : {"last_view.cfg", "time.cfg", "exact_state.rec"})
        files[name] = testdata::readText(dir + name);
    return files;
}

class ExactResume : public ::testing::Test {
protected:
    // The flight in one go (A), and its first half (B) ready for the second.
    void SetUp() override {
        e2e::copyShippedData(a_.path());
        e2e::copyShippedData(b_.path());
        ASSERT_EQ(runLive(a_.path(), kFlight, 400, a_ / "trace.csv").exitCode, 0);
        ASSERT_EQ(runLive(b_.path(), scriptPart(kFlight, 0, 200), 200, b_ / "trace.csv").exitCode, 0);
        ASSERT_TRUE(testdata::exists(b_ / "exact_state.rec"));
    }
    // The second half in dir (a copy of B's state).
    testrun::RunResult secondHalf(const std::string& dir) {
        return runLive(dir, scriptPart(kFlight, 200, 400), 200, dir + "trace2.csv");
    }
    static void copyState(const std::string& from, const std::string& to) {
        fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    TempDataDir a_, b_;
};

}  // namespace

TEST_F(ExactResume, SplitFlightEqualsTheFlightInOneGo) {
    // Without the record the second half starts from the six-digit values: the check below sees it.
    TempDataDir c;
    copyState(b_.path(), c.path());
    fs::remove(c / "exact_state.rec");
    ASSERT_EQ(secondHalf(c.path()).exitCode, 0);
    EXPECT_NE(traceRows(c / "trace2.csv"), traceRows(a_ / "trace.csv", 200, 400));

    testrun::RunResult r = secondHalf(b_.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::vector<std::string> split = traceRows(b_ / "trace2.csv");
    ASSERT_EQ(split.size(), 200u * 11);
    EXPECT_EQ(split, traceRows(a_ / "trace.csv", 200, 400));
    EXPECT_EQ(savedState(b_.path()), savedState(a_.path()));
}

TEST_F(ExactResume, EditedObjectFileMakesTheSecondHalfStartFromItsFiles) {
    TempDataDir plain;
    copyState(b_.path(), plain.path());
    fs::remove(plain / "exact_state.rec");
    // The same edit in both: a comment line added to Mars, as a person might.
    for (const std::string& dir : {b_.path(), plain.path()})
        testdata::writeText(dir + "Objects/Mars.cfg", "# checked\n" + testdata::readText(dir + "Objects/Mars.cfg"));
    testrun::RunResult r = secondHalf(b_.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(secondHalf(plain.path()).exitCode, 0);
    EXPECT_EQ(traceRows(b_ / "trace2.csv"), traceRows(plain / "trace2.csv"));
    EXPECT_NE(traceRows(b_ / "trace2.csv"), traceRows(a_ / "trace.csv", 200, 400));
}

TEST_F(ExactResume, DamagedOrForeignRecordsAreIgnored) {
    TempDataDir plain;
    copyState(b_.path(), plain.path());
    fs::remove(plain / "exact_state.rec");
    ASSERT_EQ(secondHalf(plain.path()).exitCode, 0);
    const std::vector<std::string> fromFiles = traceRows(plain / "trace2.csv");

    const std::string record = testdata::readText(b_ / "exact_state.rec");
    std::string edited = record;
    edited[record.size() / 2] = edited[record.size() / 2] == '0' ? '1' : '0';  // a changed hex digit
    std::string otherConfiguration = record;
    otherConfiguration.replace(otherConfiguration.find("Default Configuration"), 7, "Private");
    std::map<std::string, std::string> variants = {
        {"truncated", record.substr(0, record.size() / 3)},
        {"without its last line end", record.substr(0, record.size() - 1)},
        {"edited", edited},
        {"of another configuration", otherConfiguration},
        {"empty", ""},
        {"binary", std::string("\0\xff\n\x01check 0\n", 12)},
    };
    for (const auto& [name, text] : variants) {
        SCOPED_TRACE(name);
        TempDataDir d;
        copyState(b_.path(), d.path());
        testdata::writeText(d / "exact_state.rec", text);
        testrun::RunResult r = secondHalf(d.path());
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(traceRows(d / "trace2.csv"), fromFiles);
    }
}

TEST(ExactReplay, KeyboardFlightReplaysBitForBitAndWithoutItsSideFileAsBefore) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    testrun::RunResult r = runLive(dir.path(), std::string("0 key F5 down\n0 key F5 up\n") + kFlight, 400,
                                   dir / "live.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string recording = dir / "Recordings/My Recording/";
    ASSERT_TRUE(testdata::exists(recording + "My Recording.vcx"));
    const std::map<std::string, std::string> recorded = filesUnder(recording);

    r = runReplay(dir.path(), dir / "replay.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Exact replay: all 400 frames matched.\n");
    EXPECT_EQ(traceRows(dir / "replay.csv"), traceRows(dir / "live.csv"));
    EXPECT_EQ(filesUnder(recording), recorded);

    // Without the side file: the recording file alone, one frame per frame line (401), and the
    // keyboard's flight is not in it.
    fs::remove(recording + "My Recording.vcx");
    r = runReplay(dir.path(), dir / "plain.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    std::vector<std::string> plain = traceRows(dir / "plain.csv");
    EXPECT_EQ(plain.size(), 401u * 11);
    EXPECT_NE(plain, traceRows(dir / "live.csv"));
}

TEST(ExactReplay, TwoSequencesEachStartFromTheirExactState) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    std::string script = std::string("0 key F5 down\n0 key F5 up\n100 key F5 down\n100 key F5 up\n") +
                         "150 key F5 down\n150 key F5 up\n" + kFlight;
    ASSERT_EQ(runLive(dir.path(), script, 250, dir / "live.csv").exitCode, 0);
    testrun::RunResult r = runReplay(dir.path(), dir / "replay.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Exact replay: all 200 frames matched.\n");
    std::vector<std::string> replay = traceRows(dir / "replay.csv");
    std::vector<std::string> expected = traceRows(dir / "live.csv", 0, 100);
    // The second sequence's frames follow as frames 100.. of the replay.
    for (std::string row : traceRows(dir / "live.csv", 150, 250)) {
        long frame = std::stol(row.substr(0, row.find(','))) + 100;
        expected.push_back(std::to_string(frame) + row.substr(row.find(',')));
    }
    EXPECT_EQ(replay, expected);
}

TEST(ExactReplay, DamagedSideFilesFallBackToTheRecordingFile) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    ASSERT_EQ(runLive(dir.path(), std::string("0 key F5 down\n0 key F5 up\n") + kFlight, 120, dir / "live.csv")
                  .exitCode, 0);
    const std::string recording = dir / "Recordings/My Recording/";
    const std::string side = testdata::readText(recording + "My Recording.vcx");
    const std::string vcr = testdata::readText(recording + "My Recording.vcr");
    fs::remove(recording + "My Recording.vcx");
    ASSERT_EQ(runReplay(dir.path(), dir / "plain.csv").exitCode, 0);
    const std::vector<std::string> plain = traceRows(dir / "plain.csv");

    std::string edited = side;
    size_t frameLine = edited.find("\nf ") + 3;
    edited[frameLine] = edited[frameLine] == '3' ? '4' : '3';  // another frame time
    std::string withoutEnd = side.substr(0, side.rfind("end "));
    std::string otherVcr = vcr;
    otherVcr.replace(otherVcr.find(":0\n"), 3, ":1\n");  // a frame line's control word changed
    struct Variant {
        std::string side, vcr;
    };
    std::map<std::string, Variant> variants = {
        {"truncated", {side.substr(0, side.size() / 2), vcr}},
        {"edited", {edited, vcr}},
        {"without its end line", {withoutEnd, vcr}},
        {"of another recording file", {side, otherVcr}},
        {"binary", {std::string("\0\xff\nend 1 x y\n", 14), vcr}},
    };
    for (const auto& [name, v] : variants) {
        SCOPED_TRACE(name);
        testdata::writeText(recording + "My Recording.vcx", v.side);
        testdata::writeText(recording + "My Recording.vcr", v.vcr);
        const std::map<std::string, std::string> before = filesUnder(recording);
        testrun::RunResult r = runReplay(dir.path(), dir / "replay.csv");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("is not used"), std::string::npos) << r.err;
        EXPECT_EQ(filesUnder(recording), before);
        if (v.vcr == vcr) {
            EXPECT_EQ(traceRows(dir / "replay.csv"), plain);
        }
    }

    // Q (jump) pressed in frame 60 only in the side file: it loads (the keys are its own), the replay
    // repeats the flight up to frame 59, jumps in frame 60 and names that frame.
    testdata::writeText(recording + "My Recording.vcr", vcr);
    testdata::writeText(recording + "My Recording.vcx", withKeysAdded(side, 60, 1u << 25));
    testrun::RunResult r = runReplay(dir.path(), dir / "diverged.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Exact replay: frame 60 is the first of 120 frames that diverged.\n");
    EXPECT_EQ(traceRows(dir / "diverged.csv", 0, 60), traceRows(dir / "live.csv", 0, 60));
    EXPECT_NE(traceRows(dir / "diverged.csv", 60, 61), traceRows(dir / "live.csv", 60, 61));
}

TEST(ExactStart, JumpInTheFirstFrameGoesAlongTheLoadedView) {
    TempDataDir dir;
    SimObject ship = testdata::minimalObserver();  // 1e8 km out on +x, jump distance 1e5 km
    SimObject star = testdata::minimalStar();
    star.massKg = 0;  // no gravity: the jump alone moves the ship
    testdata::writeLiveDataDir(dir.path(), {{"Star", star}, {"Ship", ship}});
    // Turned a quarter about y: the view's forward axis is +x.
    testdata::writeText(dir / "last_view.cfg", "0 0 -1 0\n0 1 0 0\n1 0 0 0\n0 0 0 1\n");
    testrun::RunResult r = runLive(dir.path(), "0 key Q down\n1 key Q up\n", 1, dir / "trace.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> rows = traceRows(dir / "trace.csv");
    ASSERT_EQ(rows.size(), 2u);
    double x = 0, y = 0, z = 0;
    ASSERT_EQ(std::sscanf(rows[1].c_str(), "%*d,%*g,%*d,%lg,%lg,%lg", &x, &y, &z), 3);
    EXPECT_NEAR(x, 1e8 + 1e5, 1) << rows[1];
    EXPECT_NEAR(y, 0, 1);
    EXPECT_NEAR(z, 0, 1);
}

TEST(ExactReplay, HeadlessReplayExportsEveryKthFrameAsAPicture) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    ASSERT_EQ(runLive(dir.path(), std::string("0 key F5 down\n0 key F5 up\n") + kFlight, 10, dir / "live.csv")
                  .exitCode, 0);
    testrun::RunResult r = e2e::runCorvane(
        dir.path(), {"--headless", "--windowed", "--size", "320x240", "--export", dir / "frames", "--every", "4",
                     "--trace", dir / "replay.csv"}, "0");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Exact replay: all 10 frames matched.\n");
    EXPECT_EQ(traceRows(dir / "replay.csv"), traceRows(dir / "live.csv"));  // drawing changes nothing
    EXPECT_EQ(testdata::listFiles(dir / "frames"),
              (std::vector<std::string>{"frame_000000.png", "frame_000004.png", "frame_000008.png"}));
    std::optional<Image> picture = loadImageFile(dir / "frames/frame_000008.png");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 320);
    EXPECT_EQ(picture->height, 240);
    EXPECT_TRUE(std::any_of(picture->rgba.begin(), picture->rgba.end(), [](uint8_t v) { return v > 64; }));

    // Drawn frames are needed, and --every only goes with --export.
    EXPECT_NE(e2e::runCorvane(dir.path(), {"--no-render", "--export", dir / "frames"}, "0").exitCode, 0);
    EXPECT_NE(e2e::runCorvane(dir.path(), {"--headless", "--every", "2"}, "0").exitCode, 0);
}
