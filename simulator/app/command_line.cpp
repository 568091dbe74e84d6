// Parsing of corvane's options and of its data-directory argument.
#include "command_line.h"

#include <cerrno>
#include <cstdlib>

#include "corvane_manual.h"

namespace {

bool isBlank(const std::string& s) { return s.find_first_not_of(" \t\r\n") == std::string::npos; }

bool parseLong(const std::string& s, long long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return false;
    out = v;
    return true;
}

bool parseDouble(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(s.c_str(), &end);
    if (errno != 0 || *end != '\0') return false;
    out = v;
    return true;
}

bool parseSize(const std::string& s, int& w, int& h) {
    size_t x = s.find('x');
    long long a = 0, b = 0;
    if (x == std::string::npos || !parseLong(s.substr(0, x), a) || !parseLong(s.substr(x + 1), b))
        return false;
    if (a < 1 || b < 1 || a > 16384 || b > 16384) return false;
    w = static_cast<int>(a);
    h = static_cast<int>(b);
    return true;
}

}  // namespace

const char* commandLineUsage() { return corvane_manual::kUsage; }
const char* commandLineHelp() { return corvane_manual::kHelp; }
const char* commandLineVersion() { return corvane_manual::kVersion; }

bool splitDataArgument(const std::string& arg, std::string& dataDirectory, int& runMode) {
    size_t bar = arg.find('|');
    if (bar == std::string::npos || bar == 0) return false;
    std::string rest = arg.substr(bar + 1);
    std::string mode = rest.substr(0, rest.find('|'));
    long long value = 0;
    if (!parseLong(mode, value) || value < INT32_MIN || value > INT32_MAX) return false;
    dataDirectory = arg.substr(0, bar);
    // Every file name is appended to the directory, so it must end in a separator.
    if (dataDirectory.back() != '/') dataDirectory += '/';
    runMode = static_cast<int>(value);
    return true;
}

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error) {
    CommandLine cl;
    bool haveData = false;
    bool everyGiven = false;
    bool overlaysGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                error = std::string("option ") + name + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--windowed") {
            cl.windowed = true;
        } else if (a == "--headless") {
            cl.headless = true;
        } else if (a == "--no-render") {
            cl.noRender = true;
        } else if (a == "--probe") {
            cl.probe = true;
        } else if (a == "--help" || a == "-h") {
            cl.help = true;
        } else if (a == "--version") {
            cl.version = true;
        } else if (a == "--size") {
            const std::string* v = value("--size");
            if (!v) return std::nullopt;
            if (!parseSize(*v, cl.width, cl.height)) {
                error = "--size expects WxH with positive numbers, got \"" + *v + "\"";
                return std::nullopt;
            }
        } else if (a == "--frames") {
            const std::string* v = value("--frames");
            if (!v) return std::nullopt;
            if (!parseLong(*v, cl.frameLimit) || cl.frameLimit < 0) {
                error = "--frames expects a number of frames, got \"" + *v + "\"";
                return std::nullopt;
            }
        } else if (a == "--fixed-dt") {
            const std::string* v = value("--fixed-dt");
            if (!v) return std::nullopt;
            if (!parseDouble(*v, cl.fixedDtS) || !(cl.fixedDtS >= 0) || cl.fixedDtS > 1e6) {
                error = "--fixed-dt expects a frame time in seconds, got \"" + *v + "\"";
                return std::nullopt;
            }
        } else if (a == "--input") {
            const std::string* v = value("--input");
            if (!v) return std::nullopt;
            cl.inputPath = *v;
        } else if (a == "--trace") {
            const std::string* v = value("--trace");
            if (!v) return std::nullopt;
            cl.tracePath = *v;
        } else if (a == "--export") {
            const std::string* v = value("--export");
            if (!v) return std::nullopt;
            if (v->empty()) {
                error = "--export expects a directory";
                return std::nullopt;
            }
            cl.exportDir = *v;
        } else if (a == "--every") {
            const std::string* v = value("--every");
            if (!v) return std::nullopt;
            if (!parseLong(*v, cl.exportEvery) || cl.exportEvery < 1) {
                error = "--every expects a whole number of frames of at least 1, got \"" + *v + "\"";
                return std::nullopt;
            }
            everyGiven = true;
        } else if (a == "--export-overlays") {
            const std::string* v = value("--export-overlays");
            if (!v) return std::nullopt;
            if (*v == "all") {
                cl.exportOverlays = ExportOverlays::All;
            } else if (*v == "hud") {
                cl.exportOverlays = ExportOverlays::Hud;
            } else if (*v == "none") {
                cl.exportOverlays = ExportOverlays::None;
            } else {
                error = "--export-overlays expects all, hud or none, got \"" + *v + "\"";
                return std::nullopt;
            }
            overlaysGiven = true;
        } else if (a == "--ui-scale") {
            const std::string* v = value("--ui-scale");
            if (!v) return std::nullopt;
            long long scale = 0;
            if (!parseLong(*v, scale) || scale < 1 || scale > 3) {
                error = "--ui-scale expects 1, 2 or 3, got \"" + *v + "\"";
                return std::nullopt;
            }
            cl.uiScale = static_cast<int>(scale);
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (isBlank(a) && !haveData) {
            continue;  // the launcher passes a blank leading argument
        } else if (haveData) {
            error = "unexpected argument \"" + a + "\"";
            return std::nullopt;
        } else {
            if (!splitDataArgument(a, cl.dataDirectory, cl.runMode)) {
                error = "malformed argument \"" + a + "\": expected \"DATADIR/|MODE\"";
                return std::nullopt;
            }
            haveData = true;
        }
    }
    if (!haveData && !cl.probe && !cl.help && !cl.version) {
        error = "no data directory given";
        return std::nullopt;
    }
    if (everyGiven && cl.exportDir.empty()) {
        error = "--every needs --export";
        return std::nullopt;
    }
    if (overlaysGiven && cl.exportDir.empty()) {
        error = "--export-overlays needs --export";
        return std::nullopt;
    }
    if (!cl.exportDir.empty() && cl.noRender) {
        error = "--export needs drawn frames, which --no-render leaves out";
        return std::nullopt;
    }
    return cl;
}
