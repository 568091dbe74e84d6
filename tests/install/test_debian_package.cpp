// The Debian package: built with CPack from this build, it depends on the package of every
// shared library the simulator links, every dependency exists on this Debian, and unpacked into a
// scratch root its simulator runs from the data it installed.
#include <gtest/gtest.h>

#include <set>

#include "install_support.h"
#include "test_data_dir.h"

namespace fs = std::filesystem;
using namespace install_test;
using testdata::TempDataDir;

namespace {

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

// Package names of a Depends field: alternatives and version constraints dropped.
std::set<std::string> dependencyNames(const std::string& depends) {
    std::set<std::string> names;
    std::string name;
    bool inVersion = false;
    for (char c : depends + ",") {
        if (c == '(') inVersion = true;
        if (c == ')') inVersion = false;
        if (inVersion || c == ' ' || c == ')') continue;
        if (c == ',' || c == '|') {
            if (!name.empty()) names.insert(name);
            name.clear();
        } else {
            name += c;
        }
    }
    return names;
}

// The Debian package that holds the shared library soname as the dynamic linker finds it.
std::string packageOfLibrary(const std::string& soname) {
    testrun::RunResult r = shell("path=$(ldconfig -p | awk -v l=" + quote(soname) +
                                 " '$1 == l { print $NF; exit }'); [ -n \"$path\" ] || exit 3; "
                                 "dpkg -S \"$path\" 2>/dev/null || dpkg -S \"$(readlink -f \"$path\")\" 2>/dev/null || "
                                 "dpkg -S \"/usr$path\" 2>/dev/null || dpkg -S \"${path#/usr}\"");
    if (r.exitCode != 0) return {};
    std::string package = firstLine(r.out);
    return package.substr(0, package.find_first_of(":,"));
}

class DebianPackage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDataDir;
        testrun::RunResult r =
            testrun::run(CPACK_COMMAND_PATH, {"--config", kBinaryDir + "CPackConfig.cmake", "-B", *dir_ / "out"}, kBinaryDir);
        buildLog_ = r.out + r.err;
        for (const auto& e : fs::directory_iterator(*dir_ / "out"))
            if (e.path().extension() == ".deb") debs_.push_back(e.path().string());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(debs_.size(), 1u) << buildLog_; }

    static std::string field(const std::string& name) {
        testrun::RunResult r = shell("dpkg-deb -f " + quote(debs_[0]) + " " + name);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return firstLine(r.out);
    }

    static TempDataDir* dir_;
    static std::vector<std::string> debs_;
    static std::string buildLog_;
};
TempDataDir* DebianPackage::dir_ = nullptr;
std::vector<std::string> DebianPackage::debs_;
std::string DebianPackage::buildLog_;

TEST_F(DebianPackage, IsNamedAndDescribedForDebian) {
    const std::string arch = firstLine(shell("dpkg --print-architecture").out);
    // A native package: the project's version, and release notes that name that version.
    EXPECT_EQ(fs::path(debs_[0]).filename(), "celestrix_" + kVersion + "_" + arch + ".deb");
    EXPECT_EQ(field("Package"), "celestrix");
    EXPECT_EQ(field("Version"), kVersion);
    EXPECT_EQ(field("Section"), "science");
    testrun::RunResult notes = shell("dpkg-parsechangelog -l " + quote(kSourceDir + "packaging/changelog") + " -S Version");
    EXPECT_EQ(firstLine(notes.out), kVersion) << notes.err;

    testrun::RunResult list = shell("dpkg-deb -c " + quote(debs_[0]));
    ASSERT_EQ(list.exitCode, 0) << list.err;
    for (std::string entry : {"./usr/bin/corvane", "./usr/share/celestrix/configfile.cfg",
                              "./usr/share/celestrix/Help/HTML/tutorial.html", "./usr/share/man/man6/corvane.6.gz",
                              "./usr/share/doc/celestrix/copyright", "./usr/share/doc/celestrix/changelog.gz"})
        EXPECT_NE(list.out.find(" " + entry + "\n"), std::string::npos) << entry;
    EXPECT_EQ(list.out.find(" ./usr/bin/celestrix\n") != std::string::npos, kHasLauncher);
    EXPECT_EQ(list.out.find(".desktop\n") != std::string::npos, kHasLauncher);
}

TEST_F(DebianPackage, PassesDebiansPackageChecker) {
    testrun::RunResult r = shell("lintian --fail-on error,warning " + quote(debs_[0]));
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out.find("\nE: "), std::string::npos) << r.out;
}

TEST_F(DebianPackage, DependsOnThePackageOfEveryLinkedLibraryAndOnlyOnPackagesThatExist) {
    const std::set<std::string> depends = dependencyNames(field("Depends"));
    std::vector<std::string> programs = {kBinaryDir + "corvane"};
    if (kHasLauncher) programs.push_back(kBinaryDir + "celestrix");
    for (const std::string& program : programs) {
        testrun::RunResult needed = shell("objdump -p " + quote(program) + " | awk '$1 == \"NEEDED\" { print $2 }'");
        ASSERT_EQ(needed.exitCode, 0) << needed.err;
        const std::vector<std::string> libraries = splitLines(needed.out);
        ASSERT_FALSE(libraries.empty()) << program;
        for (const std::string& library : libraries) {
            const std::string package = packageOfLibrary(library);
            ASSERT_FALSE(package.empty()) << "no package holds " << library;
            EXPECT_TRUE(depends.count(package)) << program << " links " << library << " of " << package;
        }
    }
    // Loaded without being linked: OpenGL through libepoxy, and a face for the heads-up text.
    for (const char* runtime : {"libgl1", "libegl1", "fonts-dejavu-core"}) {
        EXPECT_TRUE(depends.count(runtime)) << runtime;
    }
    if (kHasLauncher) {
        EXPECT_TRUE(depends.count("qt6-qpa-plugins"));
    }
    // Each dependency is installed here, or at least known to apt.
    std::string names;
    for (const std::string& package : depends) names += " " + quote(package);
    std::set<std::string> known;
    for (const std::string& line :
         splitLines(shell("dpkg-query -W -f '${db:Status-Abbrev} ${Package}\\n'" + names + " 2>/dev/null").out)) {
        if (line.rfind("ii ", 0) == 0) known.insert(line.substr(line.rfind(' ') + 1));
    }
    for (const std::string& package : depends) {
        if (!known.count(package)) {
            EXPECT_EQ(shell("apt-cache show " + quote(package) + " >/dev/null 2>&1").exitCode, 0)
                << package << " is not a package of this Debian";
        }
    }
}

TEST_F(DebianPackage, UnpackedItsSimulatorRunsFromItsOwnData) {
    const std::string root = *dir_ / "root";
    testrun::RunResult r = shell("dpkg -x " + quote(debs_[0]) + " " + quote(root));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string corvane = root + "/usr/bin/corvane";
    const auto before = snapshot(root);

    r = testrun::run(corvane, {"--version"}, root);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(firstLine(r.out), "corvane (Celestrix) " + kVersion);
    // Stripped for the package, yet a working program.
    EXPECT_EQ(shell("file -b " + quote(corvane)).out.find("not stripped"), std::string::npos);

    const std::string data = *dir_ / "user/celestrix/";
    copyTree(root + "/usr/share/celestrix", data);
    r = testrun::run(corvane, {"--no-render", "--fixed-dt", "0.05", "--frames", "40", data + "|1"}, data);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    if (kHasLauncher) {
        r = testrun::run(root + "/usr/bin/celestrix", {"--version"}, data, {"QT_QPA_PLATFORM=offscreen"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
    EXPECT_EQ(snapshot(root), before);
}

}  // namespace
