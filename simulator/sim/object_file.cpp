// Reading and writing object files. The file is read once into memory; items are taken by
// position, the writer's layout is fixed so that the launcher and the simulator read each other's.
#include "object_file.h"

#include <string_view>
#include <vector>

#include "file_error.h"
#include "float_format.h"
#include "text_file.h"

namespace {

constexpr std::array<const char*, kObjectItemCount> kLabels = {
    "Item 0. configuration file = ",
    "Item 1. mass [kg]",
    "Item 2. position.x [km]",
    "Item 3. position.y [km]",
    "Item 4. position.z [km]",
    "Item 5. velocity.x [km/s]",
    "Item 6. velocity.y [km/s]",
    "Item 7. velocity.z [km/s]",
    "Item 8. orbital relationship",
    "Item 9. orbital position_1.x [km]",
    "Item 10. orbital position_1.y [km]",
    "Item 11. orbital position_1.z [km]",
    "Item 12. orbital position_2.x [km]",
    "Item 13. orbital position_2.y [km]",
    "Item 14. orbital position_2.z [km]",
    "Item 15. mesh file = ",
    "Item 16. texture file = ",
    "Item 17. tilt of axis [rad]",
    "Item 18. angular velocity [rad/s]",
    "Item 19. rot. angle [rad]",
    "Item 20. equatorial radius [km]",
    "Item 21. polar radius [km]",
    "Item 22. ring",
    "Item 23. ring texture file = ",
    "Item 24. inner ring radius [km]",
    "Item 25. outer ring radius [km]",
    "Item 26. star",
    "Item 27. planet",
    "Item 28. observer",
    "Item 29. light color red",
    "Item 30. light color green",
    "Item 31. light color blue",
    "Item 32. light intensity",
    "Item 33. pitch dot [rad/s]",
    "Item 34. yaw dot [rad/s]",
    "Item 35. roll dot [rad/s]",
    "Item 36. pitch [rad]",
    "Item 37. yaw [rad]",
    "Item 38. roll [rad]",
    "Item 39. force direction fw.x",
    "Item 40. force direction fw.y",
    "Item 41. force direction fw.z",
    "Item 42. force direction up.x",
    "Item 43. force direction up.y",
    "Item 44. force direction up.z",
    "Item 45. force direction rt.x",
    "Item 46. force direction rt.y",
    "Item 47. force direction rt.z",
    "Item 48. ang. acceleration factor",
    "Item 49. nom. ang. acceleration [rad/s^2]",
    "Item 50. force factor",
    "Item 51. nom. fw force [kg km/s^2 or kN]",
    "Item 52. nom. up force [kg km/s^2 or kN]",
    "Item 53. nom. rt force [kg km/s^2 or kN]",
    "Item 54. acting force fw [kg km/s^2 or kN]",
    "Item 55. acting force up [kg km/s^2 or kN]",
    "Item 56. acting force rt [kg km/s^2 or kN]",
    "Item 57. energy [kJ]",
    "Item 58. small jump distance factor",
    "Item 59. big jump distance factor",
    "Item 60. jump distance [km]",
};

constexpr int kTerminator = -999;

// The float items other than vectors, by item number.
float* floatItem(SimObject& o, int item) {
    switch (item) {
        case 1: return &o.massKg;
        case 17: return &o.tiltRad;
        case 18: return &o.spinRate;
        case 19: return &o.spinAngleRad;
        case 20: return &o.equatorialRadiusKm;
        case 21: return &o.polarRadiusKm;
        case 24: return &o.innerRingRadiusKm;
        case 25: return &o.outerRingRadiusKm;
        case 29: return &o.lightRed;
        case 30: return &o.lightGreen;
        case 31: return &o.lightBlue;
        case 32: return &o.lightIntensity;
        case 48: return &o.angularAccelFactor;
        case 49: return &o.torqueLevel;
        case 50: return &o.forceFactorKNPerS;
        case 57: return &o.energyKJ;
        case 58: return &o.smallJumpFactorKmPerS;
        case 59: return &o.bigJumpFactorKmPerS;
        case 60: return &o.jumpDistanceKm;
        default: break;
    }
    // Vector items: first item number of each three-component group.
    struct Group {
        int firstItem;
        Vec3f SimObject::*field;
    };
    static constexpr Group kGroups[] = {
        {2, &SimObject::positionKm},          {5, &SimObject::velocityKmPerS},
        {9, &SimObject::orbitalPosition1Km},  {12, &SimObject::orbitalPosition2Km},
        {33, &SimObject::ratesRadPerFrame},   {36, &SimObject::anglesRad},
        {39, &SimObject::forwardDirection},   {42, &SimObject::upDirection},
        {45, &SimObject::rightDirection},     {51, &SimObject::nominalForceKN},
        {54, &SimObject::actingForceKN},
    };
    for (const Group& g : kGroups) {
        if (item >= g.firstItem && item < g.firstItem + 3) {
            Vec3f& v = o.*(g.field);
            int k = item - g.firstItem;
            return k == 0 ? &v.x : (k == 1 ? &v.y : &v.z);
        }
    }
    return nullptr;
}

int32_t* flagItem(SimObject& o, int item) {
    switch (item) {
        case 22: return &o.hasRing;
        case 26: return &o.isStar;
        case 27: return &o.isPlanet;
        case 28: return &o.isObserver;
        default: return nullptr;
    }
}

std::string* pathItem(SimObject& o, int item) {
    switch (item) {
        case 0: return &o.ownPath;
        case 15: return &o.meshPath;
        case 16: return &o.texturePath;
        case 23: return &o.ringTexturePath;
        default: return nullptr;
    }
}

// The value of an item line: from two characters after the first "=" to the end of the line.
// The line end is already removed, so a last line without one keeps its last character.
std::string_view itemValue(std::string_view line, size_t equals) {
    size_t start = equals + 2;
    return start <= line.size() ? line.substr(start) : std::string_view();
}

void setItem(SimObject& o, int item, std::string_view value, const std::string& dataDir) {
    if (std::string* path = pathItem(o, item)) {
        *path = value == "na" ? kNaPath : dataDir + std::string(value);
    } else if (int32_t* flag = flagItem(o, item)) {
        *flag = parseFlagItem(value);
    } else if (item == 8) {
        o.orbitedObject = parseIntItem(value);
    } else if (float* f = floatItem(o, item)) {
        *f = parseFloatItem(value);
    }
}

std::string lineReason(size_t lineIndex, const char* what) {
    return "line " + std::to_string(lineIndex + 1) + ": " + what;
}

// Path value as written: without the data directory it was read with.
std::string relativePath(const std::string& path, const std::string& dataDir) {
    if (path == kNaPath) return path;
    if (path.size() >= dataDir.size() && path.compare(0, dataDir.size(), dataDir) == 0)
        return path.substr(dataDir.size());
    return path;
}

std::string itemText(SimObject& o, int item, const std::string& dataDir) {
    if (std::string* path = pathItem(o, item)) return relativePath(*path, dataDir);
    if (int32_t* flag = flagItem(o, item)) return formatInt(*flag);
    if (item == 8) return formatInt(o.orbitedObject);
    return formatFloat(*floatItem(o, item));
}

}  // namespace

const std::array<const char*, kObjectItemCount>& objectItemLabels() { return kLabels; }

float* objectFloatItem(SimObject& obj, int item) { return floatItem(obj, item); }
const float* objectFloatItem(const SimObject& obj, int item) {
    return floatItem(const_cast<SimObject&>(obj), item);  // the pointer handed back is const again
}

bool isPathItem(int item) { return item == 0 || item == 15 || item == 16 || item == 23; }

bool readObjectFile(SimObject& obj, const std::string& fullPath, const std::string& dataDir,
                    std::string* reason) {
    std::string contents;
    std::string readReason;
    if (!readWholeFile(fullPath, contents, &readReason)) {
        if (reason) *reason = std::move(readReason);
        return false;
    }
    return parseObjectFile(obj, contents, dataDir, reason);
}

bool parseObjectFile(SimObject& obj, std::string_view contents, const std::string& dataDir,
                     std::string* reason) {
    auto fail = [&](std::string why) {
        if (reason) *reason = std::move(why);
        return false;
    };
    std::vector<TextLine> lines = splitLines(contents);

    // Item lines up to the terminator; comment lines may stand anywhere before it.
    std::vector<std::pair<size_t, std::string_view>> items;  // line index, text
    bool terminated = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view text = lines[i].text;
        if (!text.empty() && text.front() == '#') continue;
        bool hasDigits = false;
        if (parseLeadingInt(text, &hasDigits) == kTerminator && hasDigits) {
            terminated = true;
            break;
        }
        items.emplace_back(i, text);
        if (items.size() > static_cast<size_t>(kMaxFileLines))
            return fail("more than " + std::to_string(kMaxFileLines) + " item lines");
    }
    if (!terminated) return fail("no terminator line \"-999\"");
    if (items.size() < static_cast<size_t>(kObjectItemCount))
        return fail("only " + std::to_string(items.size()) + " item lines, 61 needed");

    SimObject result = obj;
    result.dataDirectory = dataDir;
    for (int item = 0; item < kObjectItemCount; ++item) {
        auto [lineIndex, text] = items[static_cast<size_t>(item)];
        size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            return fail(lineReason(lineIndex, "item line without \"=\""));
        std::string_view value = itemValue(text, equals);
        // A number beyond the float range would make the whole state non-finite on the first step.
        if (value != "na" && floatItem(result, item) && !leadingFloatIsFinite(value))
            return fail(lineReason(lineIndex, std::string("\"")
                                                  .append(kLabels[static_cast<size_t>(item)])
                                                  .append("\" is not a finite number")
                                                  .c_str()));
        setItem(result, item, value, dataDir);
    }
    // Item lines beyond the 61st were counted above and are otherwise ignored.
    obj = std::move(result);
    return true;
}

std::string formatObjectFile(const SimObject& obj, const std::string& dataDir) {
    static const std::string kHashes(32, '#');
    SimObject o = obj;  // item accessors take a mutable object; the copy keeps obj const
    std::string out;
    out.reserve(4096);
    auto line = [&](std::string_view text) {
        out.append(text);
        out.push_back('\n');
    };
    auto items = [&](int first, int last) {
        for (int item = first; item <= last; ++item) {
            out.append(kLabels[static_cast<size_t>(item)]);
            if (!isPathItem(item)) out.append(" = ");
            out.append(itemText(o, item, dataDir));
            out.push_back('\n');
        }
        line("#");
    };
    auto section = [&](std::string_view heading) {
        line(kHashes);
        line(heading);
        line(kHashes);
    };

    line("#");
    line("#!!! DO NOT EDIT THIS FILE MANUALLY !!!");
    line("#");
    line("#DOING SO MIGHT CAUSE UNPREDICTABLE BEHAVIOUR BECAUSE");
    line("#FILE CONSISTENCY CAN NOT BE GUARANTEED.");
    line("#");
    section("### mutual parameters");
    items(0, 1);
    items(2, 4);
    items(5, 7);
    items(8, 8);
    items(9, 11);
    items(12, 14);
    section("### planetary object parameters");
    items(15, 21);
    items(22, 25);
    items(26, 28);
    items(29, 32);
    section("### observer parameters");
    items(33, 35);
    items(36, 38);
    items(39, 41);
    items(42, 44);
    items(45, 47);
    items(48, 49);
    items(50, 53);
    items(54, 56);
    items(57, 57);
    items(58, 60);
    line("-999");
    return out;
}

std::optional<std::string> objectFileText(const SimObject& obj, const std::string& dataDir) {
    // A line end inside a path would split its item line and shift every item after it.
    for (const std::string* path : {&obj.ownPath, &obj.meshPath, &obj.texturePath, &obj.ringTexturePath})
        if (path->find_first_of("\r\n") != std::string::npos) return std::nullopt;
    return formatObjectFile(obj, dataDir);
}

bool writeObjectFile(const SimObject& obj, const std::string& dataDir) {
    std::optional<std::string> text = objectFileText(obj, dataDir);
    return text && writeFileAtomically(obj.ownPath, *text);
}
