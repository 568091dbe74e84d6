// Every reader of the simulator's text files, fed with shipped files cut short at every length and
// with bytes replaced, removed and repeated at random (fixed seeds). Each read must either succeed
// or refuse with a reason; the sanitizer build turns any read past a buffer into a failure here.
#include <gtest/gtest.h>

#include "config_file.h"
#include "mangled_text.h"
#include "object_file.h"
#include "recording_file.h"
#include "script_input.h"
#include "test_data_dir.h"
#include "view_files.h"

namespace {

using testdata::TempDataDir;

std::string shipped(const std::string& relative) {
    return testdata::readText(std::string(CELESTRIX_DATA_SOURCE) + relative);
}

}  // namespace

TEST(MangledInputs, ObjectFilesAreReadOrRefusedWithAReason) {
    TempDataDir dir;
    const std::string path = dir / "Objects/Mangled.cfg";
    int refused = 0;
    for (const char* name : {"Objects/Earth.cfg", "Objects/Saturn.cfg", "Objects/Observer.cfg"}) {
        for (const std::string& text : testdata::mangledVariants(shipped(name), 17, 300)) {
            testdata::writeText(path, text);
            SimObject obj;
            std::string reason;
            if (!readObjectFile(obj, path, dir.path(), &reason)) {
                ++refused;
                EXPECT_FALSE(reason.empty());
            }
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(MangledInputs, ConfigurationsAndRecordingsAreReadOrRefused) {
    TempDataDir dir;
    const std::string path = dir / "mangled.cfg";
    for (const std::string& text : testdata::mangledVariants(shipped("Configurations/Default Configuration.cfg"), 5, 300)) {
        testdata::writeText(path, text);
        std::vector<std::string> entries;
        std::string reason;
        if (!readConfigurationFile(path, entries, &reason)) {
            EXPECT_FALSE(reason.empty());
        }
        for (const std::string& e : entries) EXPECT_EQ(e.find('\n'), std::string::npos);
    }

    const std::string recording =
        "begin_sequence\nRecordings/Flight/Snapshot 0/\n0.02:w\n0.04:1\n0.5:SPACE\nend_sequence\n"
        "begin_sequence\nRecordings/Flight/Snapshot 1/\n0.02:F4\nend_sequence\n";
    for (const std::string& text : testdata::mangledVariants(recording, 9, 400)) {
        testdata::writeText(path, text);
        std::vector<std::string> lines;
        ASSERT_TRUE(readRecordingLines(path, lines));
        ReplayTables tables;
        std::string firstDir, reason;
        if (!parseRecording(lines, dir.path(), tables, firstDir, &reason)) {
            EXPECT_FALSE(reason.empty());
        }
    }
}

TEST(MangledInputs, ViewTimeAndScriptFilesAreReadOrRefused) {
    TempDataDir dir;
    const std::string path = dir / "mangled.cfg";
    for (const std::string& text : testdata::mangledVariants(shipped("last_view.cfg"), 3, 200)) {
        testdata::writeText(path, text);
        Mat4f m;
        readLastView(path, m);
    }
    for (const std::string& text : testdata::mangledVariants("12345.5\n", 4, 100)) {
        testdata::writeText(path, text);
        float t = 0;
        readTimeFile(path, t);
    }
    const std::string script = "# flight\n0 key W down\n3 key W up\n4 key F4 down\n5 key F4 up\n6 quit\n";
    for (const std::string& text : testdata::mangledVariants(script, 8, 300)) {
        ScriptParseResult r = parseScriptInput(text, "script.txt");
        (void)r;
    }
}
