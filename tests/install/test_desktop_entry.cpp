// The launcher's menu entry, icons and software catalogue entry: valid for the desktop's tools
// and consistent with each other and with the files they name.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "install_support.h"
#include "test_data_dir.h"

using namespace install_test;

namespace {

const std::string kDesktopFile = kSourceDir + "packaging/" + kAppId + ".desktop";
const std::string kMetainfo = kBinaryDir + "packaging/" + kAppId + ".metainfo.xml";

std::map<std::string, std::string> desktopKeys() {
    std::map<std::string, std::string> keys;
    std::istringstream in(testdata::readText(kDesktopFile));
    for (std::string line; std::getline(in, line);) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

// The text of the first element <tag ...>text</tag> of an XML document.
std::string elementText(const std::string& xml, const std::string& tag) {
    std::smatch m;
    if (!std::regex_search(xml, m, std::regex("<" + tag + "(\\s[^>]*)?>([^<]*)</" + tag + ">"))) return {};
    return m[2];
}

std::string attribute(const std::string& xml, const std::string& tag, const std::string& name) {
    std::smatch m;
    if (!std::regex_search(xml, m, std::regex("<" + tag + "\\s[^>]*\\b" + name + "=\"([^\"]*)\""))) return {};
    return m[1];
}

TEST(DesktopEntry, IsValidAndStartsTheLauncherWithAnIconAtEveryUsualSize) {
    testrun::RunResult r = shell("desktop-file-validate " + quote(kDesktopFile));
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out + r.err, "") << "hints or warnings";

    auto keys = desktopKeys();
    EXPECT_EQ(keys["Type"], "Application");
    EXPECT_EQ(keys["Exec"], "celestrix");
    EXPECT_EQ(keys["Terminal"], "false");
    const std::string icon = keys["Icon"];
    ASSERT_EQ(icon, "celestrix");
    for (uint32_t size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        const std::string dims = std::to_string(size) + "x" + std::to_string(size);
        PngHeader png = readPngHeader(kSourceDir + "packaging/icons/hicolor/" + dims + "/apps/" + icon + ".png");
        ASSERT_TRUE(png.valid) << dims;
        EXPECT_EQ(png.width, size);
        EXPECT_EQ(png.height, size);
        EXPECT_EQ(png.colourType, 6) << dims << ": an icon needs an alpha channel";
    }
    const std::string svg = testdata::readText(kSourceDir + "packaging/icons/hicolor/scalable/apps/" + icon + ".svg");
    EXPECT_NE(svg.find("<svg "), std::string::npos);
}

TEST(DesktopEntry, IconsAreExactlyWhatTheirScriptDraws) {
    testdata::TempDataDir dir;
    testrun::RunResult r = shell("python3 " + quote(kSourceDir + "tools/make_desktop_icons.py") + " --out " + quote(dir.path()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string stored = kSourceDir + "packaging/icons/hicolor/";
    ASSERT_EQ(filesUnder(dir.path()), filesUnder(stored));
    for (const std::string& file : filesUnder(stored))
        EXPECT_TRUE(testdata::readText(dir / file) == testdata::readText(stored + file)) << file;
}

TEST(CatalogueEntry, IsValidAndMatchesTheMenuEntryTheScreenshotAndTheVersion) {
    testrun::RunResult r = shell("appstreamcli validate --no-net " + quote(kMetainfo));
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;

    const std::string xml = testdata::readText(kMetainfo);
    EXPECT_EQ(elementText(xml, "id"), kAppId);
    EXPECT_EQ(elementText(xml, "launchable"), kAppId + ".desktop");
    EXPECT_EQ(attribute(xml, "release", "version"), kVersion);

    // The screenshot the entry points at is the one stored here, at the size the entry states.
    const std::string url = elementText(xml, "image");
    const std::string stored = "packaging/screenshots/flight.png";
    ASSERT_GE(url.size(), stored.size());
    EXPECT_EQ(url.substr(url.size() - stored.size()), stored);
    PngHeader png = readPngHeader(kSourceDir + stored);
    ASSERT_TRUE(png.valid);
    EXPECT_EQ(std::to_string(png.width), attribute(xml, "image", "width"));
    EXPECT_EQ(std::to_string(png.height), attribute(xml, "image", "height"));
    EXPECT_GE(png.width, 1000u);
}

}  // namespace
