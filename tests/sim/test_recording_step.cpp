// Tests of the live recording step: the lines of the recording file, snapshot directories per
// sequence, and the removal of the previous recording of the same title.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "object_file.h"
#include "recording_step.h"

namespace fs = std::filesystem;

namespace {

class Recording : public ::testing::Test {
protected:
    void SetUp() override {
        // The process id keeps tests that ctest runs side by side apart: the fixture's address
        // alone repeats across processes (always so under AddressSanitizer).
        dir_ = fs::temp_directory_path() / ("celestrix_rec_" + std::to_string(getpid()) + "_" +
                                            std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Configurations");
        data_ = dir_.string() + "/";
        std::ofstream(dir_ / "Configurations" / "Test.cfg") << "body.cfg\nship.cfg\n-999\n";
    }
    void TearDown() override { fs::remove_all(dir_); }

    SimState makeState() {
        SimState s;
        s.runMode = 1;
        s.dataDirectory = data_;
        s.recordingTitle = "Flight";
        s.configurationPath = data_ + "Configurations/Test.cfg";
        s.configEntries = {"body.cfg", "ship.cfg"};
        SimObject body, ship;
        body.massKg = 5;
        ship.isObserver = 1;
        body.ownPath = data_ + "Objects/body.cfg";
        ship.ownPath = data_ + "Objects/ship.cfg";
        s.objects = {body, ship};
        return s;
    }

    std::string vcrText() {
        std::ifstream in(dir_ / "Recordings" / "Flight" / "Flight.vcr");
        std::stringstream t;
        t << in.rdbuf();
        return t.str();
    }

    fs::path dir_;
    std::string data_;
};

TEST_F(Recording, OneFrameThenStopGivesTheFrameLineTwice) {
    SimState s = makeState();
    RecordingStep rec;
    ASSERT_FALSE(rec.run(s, 0.0166667f).has_value());  // not recording: nothing written
    EXPECT_FALSE(fs::exists(dir_ / "Recordings"));
    s.flags.recordingOn = 1;
    s.latches[kForwardThrusterForward] = 1;
    ASSERT_FALSE(rec.run(s, 0.0166667f).has_value());
    EXPECT_TRUE(rec.isOpen());
    s.flags.recordingOn = 0;
    ASSERT_FALSE(rec.run(s, 0.02f).has_value());
    EXPECT_FALSE(rec.isOpen());
    EXPECT_EQ(vcrText(),
              "#\nbegin_sequence\nRecordings/Flight/Sequence1/\n0.0166667:65536\n"
              "0.0166667:65536\nend_sequence\n#\n");
    fs::path seq = dir_ / "Recordings" / "Flight" / "Sequence1";
    EXPECT_TRUE(fs::exists(seq / "body.cfg"));
    EXPECT_TRUE(fs::exists(seq / "ship.cfg"));
    EXPECT_TRUE(fs::exists(seq / "last_view.cfg"));
    EXPECT_TRUE(fs::exists(dir_ / "Recordings" / "Flight" / "configuration.cfg"));
    // The own paths are restored after the snapshot.
    EXPECT_EQ(s.objects[0].ownPath, data_ + "Objects/body.cfg");
    SimObject read;
    ASSERT_TRUE(readObjectFile(read, (seq / "body.cfg").string(), data_));
    EXPECT_EQ(read.massKg, 5.0f);
}

TEST_F(Recording, SequencesNumberOnAndALaterRunRemovesThem) {
    {
        SimState s = makeState();
        RecordingStep rec;
        for (int on : {1, 0, 1, 1}) {
            s.flags.recordingOn = on;
            ASSERT_FALSE(rec.run(s, 0.5f).has_value());
        }
        EXPECT_EQ(rec.sequenceNumber(), 2);
    }  // closed at destruction
    std::string text = vcrText();
    EXPECT_NE(text.find("Recordings/Flight/Sequence1/"), std::string::npos);
    EXPECT_NE(text.find("Recordings/Flight/Sequence2/\n0.5:0\n0.5:0\n0.5:0\nend_sequence\n#\n"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(dir_ / "Recordings" / "Flight" / "Sequence2" / "ship.cfg"));

    // The next run records under the same title: both old sequences go first.
    SimState s = makeState();
    RecordingStep rec;
    s.flags.recordingOn = 1;
    ASSERT_FALSE(rec.run(s, 0.25f).has_value());
    rec.close();
    EXPECT_EQ(rec.sequenceNumber(), 1);
    EXPECT_FALSE(fs::exists(dir_ / "Recordings" / "Flight" / "Sequence2"));
    EXPECT_EQ(vcrText(), "#\nbegin_sequence\nRecordings/Flight/Sequence1/\n0.25:0\n0.25:0\n"
                         "end_sequence\n#\n");
}

TEST_F(Recording, UnwritableSnapshotIsReported) {
    SimState s = makeState();
    s.flags.recordingOn = 1;
    // A plain file where the recording directory has to go: no snapshot file can be written.
    fs::create_directories(dir_ / "Recordings");
    std::ofstream(dir_ / "Recordings" / "Flight") << "in the way";
    RecordingStep rec;
    auto failed = rec.run(s, 0.5f);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(*failed, data_ + "Recordings/Flight/Sequence1/body.cfg");
    EXPECT_FALSE(rec.isOpen());
}

TEST_F(Recording, FailedCopyOfTheConfigurationDoesNotStopTheRecording) {
    SimState s = makeState();
    s.configurationPath = data_ + "Configurations/Missing.cfg";
    s.flags.recordingOn = 1;
    RecordingStep rec;
    EXPECT_FALSE(rec.run(s, 0.5f).has_value());
    EXPECT_TRUE(rec.isOpen());
    rec.close();
    EXPECT_FALSE(fs::exists(dir_ / "Recordings" / "Flight" / "configuration.cfg"));
    EXPECT_TRUE(fs::exists(dir_ / "Recordings" / "Flight" / "Sequence1" / "ship.cfg"));
    EXPECT_EQ(vcrText(), "#\nbegin_sequence\nRecordings/Flight/Sequence1/\n0.5:0\n0.5:0\nend_sequence\n#\n");
}

}  // namespace
