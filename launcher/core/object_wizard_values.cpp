// Filling the wizard from a file and the item values it writes.
#include "object_wizard_values.h"

#include <cmath>
#include <cstdio>

#include "float_format.h"
#include "object_item_snapshot.h"

namespace {

constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.295776f;
// Item 18 counts turns per second (the simulator turns a body by 2 pi x Item 18 radians each
// second), so one turn per second is 360 degrees x 86400 seconds a day.
constexpr double kTurnsPerSToDegPerDay = 360.0 * 86400.0;

// A number item for a field: "na" (not given) shows as 0.
float fieldNumber(const std::string& value) {
    if (value == "na") return 0;
    const float v = parseLeadingFloat(value);
    return std::isfinite(v) ? v : 0;
}

CartesianKm cartesian(const ObjectItemSnapshot& s, int firstItem) {
    return {fieldNumber(s.item("Item " + std::to_string(firstItem) + ".")),
            fieldNumber(s.item("Item " + std::to_string(firstItem + 1) + ".")),
            fieldNumber(s.item("Item " + std::to_string(firstItem + 2) + "."))};
}

float smallAsZero(float v) { return std::fabs(v) < 0.001f ? 0.0f : v; }

// The pages' file-name values ("na" is no file).
std::string fileChoice(const std::string& value) { return value == "na" ? "" : fileNamePart(value, false); }

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::string wizardNumber(double value) { return formatted("%14.7e", value); }
std::string wizardColour(double value) { return formatted("%14.7f", value); }

std::string fileNamePart(const std::string& path, bool stripExtension) {
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (stripExtension) {
        size_t dot = name.rfind('.');
        if (dot != std::string::npos) name.erase(dot);
    }
    return name;
}

int WizardValues::orbitReference() const {
    if (orbiting) return orbitedRefNo;
    return start.placedSecondKm ? orbitedRefNo : 0;
}

WizardValues valuesFromObjectFile(const std::string& objectPath, const std::string& dataDirectory,
                                  WizardObjectType type, bool orbiting, int orbitedRefNo) {
    WizardValues v;
    v.type = type;
    v.orbiting = orbiting;
    v.orbitedRefNo = orbitedRefNo;
    ObjectItemSnapshot s;
    s.load(objectPath, dataDirectory);
    auto number = [&](int item) { return fieldNumber(s.item("Item " + std::to_string(item) + ".")); };
    for (int item = 0; item <= 60; ++item) v.fileItems[item] = s.item("Item " + std::to_string(item) + ".");

    if (orbiting) {
        v.start.firstKm = cartesian(s, 9);
        v.start.secondKm = cartesian(s, 12);
        v.start.first = cartesianToSky(*v.start.firstKm);
        v.start.second = cartesianToSky(*v.start.secondKm);
        // An object placed in orbit still at its first point keeps the velocity it was given.
        const bool atFirstPoint = v.fileItems[2] == v.fileItems[9] && v.fileItems[3] == v.fileItems[10] &&
                                  v.fileItems[4] == v.fileItems[11];
        if (atFirstPoint && v.fileItems[5] != "na" && v.fileItems[6] != "na" && v.fileItems[7] != "na")
            v.start.placedVelocityKm = cartesian(s, 5);
    } else {
        v.start.firstKm = cartesian(s, 2);
        v.start.first = cartesianToSky(*v.start.firstKm);
        v.start.vx = smallAsZero(number(5));
        v.start.vy = smallAsZero(number(6));
        v.start.vz = smallAsZero(number(7));
    }
    v.name = fileChoice(s.item("Item 0."));
    v.name = fileNamePart(v.name, true);

    if (type == WizardObjectType::Observer) {
        ObserverValues& o = v.observer;
        o.forceFactor = number(50);
        o.forceForwardKN = number(51);
        o.forceRightKN = number(53);
        o.forceUpKN = number(52);
        o.torque = number(49);
        o.torqueFactor = number(48);
        o.energyTJ = number(57) * 1e-9f;
        o.jumpMillionKm = number(60) * 1e-6f;
        o.slowFactor = number(58) * 0.0001f;
        o.fastFactor = number(59) * 1e-6f;
        o.massKg = number(1);
        return v;
    }
    BodyValues& b = v.body;
    b.angularVelocityDegPerDay = static_cast<float>(number(18) * kTurnsPerSToDegPerDay);
    b.rotationDeg = number(19) * kRadToDeg;
    b.equatorialRadiusKm = number(20);
    b.polarRadiusKm = number(21);
    b.tiltDeg = number(17) * kRadToDeg;
    splitMantissaExponent(number(1), b.massMantissa, b.massExponent);
    LookValues& l = v.look;
    l.mesh = fileChoice(s.item("Item 15."));
    l.texture = fileChoice(s.item("Item 16."));
    if (type == WizardObjectType::Planet) {
        // The ring's values are offered whenever the user sets the ring, even for a file without one.
        l.ring = s.item("Item 22.") == "1";
        l.innerRingKm = number(24);
        l.outerRingKm = number(25);
        l.ringTexture = fileChoice(s.item("Item 23."));
    } else {
        // The fraction is dropped: 0.7843137 * 255 = 199.99999 shows as 199.
        l.red = static_cast<int>(number(29) * 255);
        l.green = static_cast<int>(number(30) * 255);
        l.blue = static_cast<int>(number(31) * 255);
        l.intensity = number(32) * 0.1f;
    }
    return v;
}

std::vector<std::pair<std::string, std::string>> objectItemWrites(const WizardValues& v,
                                                                  const std::string& dataDirectory) {
    std::vector<std::pair<std::string, std::string>> w;
    auto put = [&](int item, const std::string& value) {
        auto kept = v.keptItems.find(item);
        w.emplace_back("Item " + std::to_string(item) + ".", kept != v.keptItems.end() ? kept->second : value);
    };
    const bool observer = v.type == WizardObjectType::Observer;
    const bool planet = v.type == WizardObjectType::Planet;
    const bool star = v.type == WizardObjectType::Star;
    put(26, star ? "1" : "0");
    put(27, planet ? "1" : "0");
    put(28, observer ? "1" : "0");
    if (v.orbitReference() > 0) put(8, std::to_string(v.orbitReference()));
    if (observer) {
        for (int item : {33, 34, 35, 36, 37, 38, 39, 40, 42, 44, 46, 47}) put(item, "0");
        for (int item : {41, 43, 45}) put(item, "1");
        for (int item : {54, 55, 56}) put(item, "0");
    }
    put(22, planet && v.look.ring ? "1" : "0");

    const CartesianKm first = v.start.firstKm.value_or(skyToCartesian(v.start.first));
    put(2, wizardNumber(first.x));
    put(9, wizardNumber(first.x));
    put(3, wizardNumber(first.y));
    put(10, wizardNumber(first.y));
    put(4, wizardNumber(first.z));
    put(11, wizardNumber(first.z));
    if (v.orbiting) {
        const CartesianKm second = v.start.secondKm.value_or(skyToCartesian(v.start.second));
        put(12, wizardNumber(second.x));
        put(13, wizardNumber(second.y));
        put(14, wizardNumber(second.z));
        if (const std::optional<CartesianKm>& placed = v.start.placedVelocityKm) {
            put(5, wizardNumber(placed->x));
            put(6, wizardNumber(placed->y));
            put(7, wizardNumber(placed->z));
        } else {
            for (int item : {5, 6, 7}) put(item, "na");
        }
    } else {
        put(5, wizardNumber(v.start.vx));
        put(6, wizardNumber(v.start.vy));
        put(7, wizardNumber(v.start.vz));
        if (const std::optional<CartesianKm>& second = v.start.placedSecondKm) {
            put(12, wizardNumber(second->x));
            put(13, wizardNumber(second->y));
            put(14, wizardNumber(second->z));
        }
    }

    if (observer) {
        put(1, wizardNumber(v.observer.massKg));
    } else {
        const BodyValues& b = v.body;
        put(18, wizardNumber(b.angularVelocityDegPerDay / kTurnsPerSToDegPerDay));
        put(20, wizardNumber(b.equatorialRadiusKm));
        put(21, wizardNumber(b.polarRadiusKm));
        put(19, wizardNumber(b.rotationDeg * kDegToRad));
        put(17, wizardNumber(b.tiltDeg * kDegToRad));
        put(1, wizardNumber(fromMantissaExponent(b.massMantissa, b.massExponent)));
    }
    if (planet && v.look.ring) {
        put(24, wizardNumber(v.look.innerRingKm));
        put(25, wizardNumber(v.look.outerRingKm));
        put(23, dataDirectory + "Media/Ring Textures/" + v.look.ringTexture);
    }
    if (star) {
        put(29, wizardColour(v.look.red / 255.0f));
        put(30, wizardColour(v.look.green / 255.0f));
        put(31, wizardColour(v.look.blue / 255.0f));
        put(32, wizardNumber(v.look.intensity * 10));
    }
    if (!observer) {
        put(15, dataDirectory + "Media/Models/" + v.look.mesh);
        put(16, dataDirectory + "Media/Textures/" + v.look.texture);
    }
    if (observer) {
        const ObserverValues& o = v.observer;
        put(50, wizardNumber(o.forceFactor));
        put(51, wizardNumber(o.forceForwardKN));
        put(53, wizardNumber(o.forceRightKN));
        put(52, wizardNumber(o.forceUpKN));
        put(49, wizardNumber(o.torque));
        put(48, wizardNumber(o.torqueFactor));
        put(57, wizardNumber(o.energyTJ * 1e9f));
        put(60, wizardNumber(o.jumpMillionKm * 1e6f));
        put(58, wizardNumber(o.slowFactor * 1e4f));
        put(59, wizardNumber(o.fastFactor * 1e6f));
    }
    put(0, dataDirectory + "Objects/" + v.name + ".cfg");
    return w;
}

SimObject simObjectFromValues(const WizardValues& v) {
    SimObject o;
    // Each value as the file would hold it after "%14.7e" and the simulator's reader.
    auto asWritten = [](float value) { return parseLeadingFloat(wizardNumber(value)); };
    const CartesianKm first = v.start.firstKm.value_or(skyToCartesian(v.start.first));
    o.positionKm = {asWritten(first.x), asWritten(first.y), asWritten(first.z)};
    o.orbitalPosition1Km = o.positionKm;
    if (v.orbiting) {
        const CartesianKm second = v.start.secondKm.value_or(skyToCartesian(v.start.second));
        o.orbitalPosition2Km = {asWritten(second.x), asWritten(second.y), asWritten(second.z)};
        const std::optional<CartesianKm>& placed = v.start.placedVelocityKm;
        o.velocityKmPerS = placed ? Vec3f{asWritten(placed->x), asWritten(placed->y), asWritten(placed->z)}
                                  : Vec3f{kNaFloat, kNaFloat, kNaFloat};
    } else {
        o.velocityKmPerS = {asWritten(v.start.vx), asWritten(v.start.vy), asWritten(v.start.vz)};
    }
    if (v.orbitReference() > 0) o.orbitedObject = v.orbitReference();
    if (v.type == WizardObjectType::Observer) {
        o.massKg = asWritten(v.observer.massKg);
    } else {
        o.massKg = asWritten(fromMantissaExponent(v.body.massMantissa, v.body.massExponent));
        o.equatorialRadiusKm = asWritten(v.body.equatorialRadiusKm);
        o.polarRadiusKm = asWritten(v.body.polarRadiusKm);
    }
    return o;
}
