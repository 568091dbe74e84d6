// Recording files: the replay tables built from the lines, and the malformed recordings that are
// refused rather than read past their end.
#include <gtest/gtest.h>

#include "recording_file.h"
#include "test_data_dir.h"

using testdata::TempDataDir;
using testdata::writeText;

TEST(RecordingFile, TwoSequencesGiveTheTables) {
    TempDataDir dir;
    writeText(dir / "r.vcr",
              "#\r\nbegin_sequence\nRecordings/F/Sequence1/\n0.0166667:65536\n0.0166667:65536\n"
              "0.02:0\nend_sequence\n#\nstray line outside\n#\nbegin_sequence\nRecordings/F/Sequence2/\n"
              "0.5:536870928\n0.25:7\nend_sequence\n#\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(readRecordingLines(dir / "r.vcr", lines));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "#");

    ReplayTables tables;
    tables.cursor = 9;
    std::string first, reason;
    ASSERT_TRUE(parseRecording(lines, dir.path(), tables, first, &reason)) << reason;
    EXPECT_EQ(first, "Recordings/F/Sequence1/");
    ASSERT_EQ(tables.frameTimesS.size(), 5u);
    EXPECT_EQ(tables.frameTimesS[0], 0.0166667f);
    EXPECT_EQ(tables.controlWords[0], 65536);
    EXPECT_EQ(tables.frameTimesS[2], 0.02f);
    EXPECT_EQ(tables.controlWords[3], (1 << 4) | (1 << 29));
    EXPECT_EQ(tables.lastFrameIndex, 4);
    EXPECT_EQ(tables.sequenceFirstFrame, (std::vector<int>{0, 3}));
    EXPECT_EQ(tables.sequenceDirs,
              (std::vector<std::string>{dir / "Recordings/F/Sequence1/", dir / "Recordings/F/Sequence2/"}));
    EXPECT_EQ(tables.cursor, 0);
    EXPECT_EQ(tables.currentSequence, 1);
    EXPECT_EQ(tables.finished, 0);
}

TEST(RecordingFile, MalformedRecordingsAreRefused) {
    auto refused = [](std::vector<std::string> lines, const std::string& reasonPart) {
        ReplayTables tables;
        tables.lastFrameIndex = 42;
        std::string first = "keep", reason;
        EXPECT_FALSE(parseRecording(lines, "/d/", tables, first, &reason));
        EXPECT_NE(reason.find(reasonPart), std::string::npos) << reason;
        EXPECT_EQ(tables.lastFrameIndex, 42);
        EXPECT_EQ(first, "keep");
    };
    refused({}, "no \"begin_sequence\"");
    refused({"#", "0.1:1"}, "no \"begin_sequence\"");
    refused({"#", "begin_sequence"}, "line 2");
    refused({"#", "begin_sequence", "Recordings/F/Sequence1/"}, "line 2");
    refused({"begin_sequence", "Recordings/F/Sequence1/", "0.1:1", "begin_sequence", "dir/"}, "line 4");
    refused({"begin_sequence", "Recordings/F/Sequence1/", "end_sequence", "#"}, "no frame line");
    refused({"begin_sequence", "Recordings/F/Sequence1/", "0.1:1", "0.2 3"}, "line 4: frame line without");

    std::vector<std::string> lines;
    EXPECT_FALSE(readRecordingLines("/nonexistent/r.vcr", lines));
}
