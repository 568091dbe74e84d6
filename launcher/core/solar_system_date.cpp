// The planetary theories at a date, and the rewrite of the object files.
#include "solar_system_date.h"

#include <erfa.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <vector>

#include "float_format.h"
#include "object_item.h"
#include "object_item_snapshot.h"
#include "sim_object.h"
#include "text_file.h"

namespace {

constexpr double kAuKm = 149597870.7;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kTwoPi = 6.283185307179586;
// The simulator's G is 0.035 % below the true one: every velocity is scaled by sqrt(G_sim / G_true)
// so that each orbit keeps its size, shape and orientation (the motion runs that much slower).
constexpr double kGSim = 6.672e-20;
constexpr double kGTrue = 6.6743e-20;

struct Body {
    const char* name;
    int plan94;  // planet number of plan94, 0 for the Sun, Earth and the Moon
    double gmKm3PerS2;
};

// GM of the JPL DE440 constants, from which the delivered masses were made (GM / G_true).
constexpr Body kBodies[] = {
    {"Sun", 0, 1.32712440041e11}, {"Mercury", 1, 22031.868},    {"Venus", 2, 324858.592},
    {"Earth", 0, 398600.435},     {"Moon", 0, 4902.800},        {"Mars", 4, 42828.375},
    {"Jupiter", 5, 126712764.1},  {"Saturn", 6, 37940584.8},    {"Uranus", 7, 5794556.4},
    {"Neptune", 8, 6836527.1},
};


// J2000 mean equator and equinox (x to the equinox, z to the pole) to the world frame.
Vec3d toWorld(const double v[3], double scale) { return {-v[1] * scale, v[2] * scale, v[0] * scale}; }

BodyState fromErfa(double pv[2][3]) {
    return {toWorld(pv[0], kAuKm), toWorld(pv[1], kAuKm / kSecondsPerDay)};
}

// Two-part Julian dates (TT, and UTC standing in for UT1) of a UTC instant.
struct JulianDates {
    double tt1 = 0, tt2 = 0, utc1 = 0, utc2 = 0;
};

JulianDates julianDates(const UtcDateTime& utc) {
    JulianDates jd;
    eraDtf2d("UTC", utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second, &jd.utc1, &jd.utc2);
    double tai1 = 0, tai2 = 0;
    // Before 1960 there is no UTC: ERFA then takes TAI - UTC as 0 (a few tens of seconds off).
    eraUtctai(jd.utc1, jd.utc2, &tai1, &tai2);
    eraTaitt(tai1, tai2, &jd.tt1, &jd.tt2);
    return jd;
}

std::string number(double v) { return formatFloat(static_cast<float>(v)); }

bool given(float v) { return v != kNaFloat && std::isfinite(v); }

// One object file as the rewrite sees it.
struct ObjectText {
    std::string path;
    std::string contents;
    ObjectItemSnapshot items;
    float value(int item) const { return parseFloatItem(items.item(objectItemLabel(item))); }
    bool vectorGiven(int first) const { return given(value(first)) && given(value(first + 1)) && given(value(first + 2)); }
    Vec3d vector(int first) const { return {value(first), value(first + 1), value(first + 2)}; }
};

bool replaceVector(ObjectText& object, int first, const Vec3d& v, const std::string& dataDirectory) {
    const double components[] = {v.x, v.y, v.z};
    for (int k = 0; k < 3; ++k)
        if (replaceObjectItemInText(object.contents, objectItemLabel(first + k), number(components[k]),
                                    dataDirectory) != ItemStatus::Ok)
            return false;
    return true;
}

}  // namespace

const std::array<const char*, 10>& deliveredBodyNames() {
    static const std::array<const char*, 10> names = {"Sun",  "Mercury", "Venus",  "Earth",  "Moon",
                                                      "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"};
    return names;
}

std::map<std::string, BodyState> solarSystemAt(const UtcDateTime& utc) {
    const JulianDates jd = julianDates(utc);
    std::map<std::string, BodyState> helio;  // relative to the Sun's centre, true velocities
    double pv[2][3];
    double pvb[2][3];
    for (const Body& b : kBodies) {
        if (b.plan94 == 0) continue;
        eraPlan94(jd.tt1, jd.tt2, b.plan94, pv);
        helio[b.name] = fromErfa(pv);
    }
    eraEpv00(jd.tt1, jd.tt2, pv, pvb);
    helio["Earth"] = fromErfa(pv);
    helio["Sun"] = BodyState{};
    eraMoon98(jd.tt1, jd.tt2, pv);
    const BodyState moonFromEarth = fromErfa(pv);
    helio["Moon"] = {helio["Earth"].positionKm + moonFromEarth.positionKm,
                     helio["Earth"].velocityKmPerS + moonFromEarth.velocityKmPerS};

    // Origin at Earth's centre; velocities relative to the centre of mass, which then stays at rest.
    Vec3d momentum{};
    double totalMass = 0;
    for (const Body& b : kBodies) {
        momentum = momentum + helio[b.name].velocityKmPerS * b.gmKm3PerS2;
        totalMass += b.gmKm3PerS2;
    }
    const Vec3d centreVelocity = momentum * (1.0 / totalMass);
    const Vec3d origin = helio["Earth"].positionKm;
    const double velocityScale = std::sqrt(kGSim / kGTrue);
    std::map<std::string, BodyState> world;
    for (const auto& [name, state] : helio)
        world[name] = {state.positionKm - origin, (state.velocityKmPerS - centreVelocity) * velocityScale};
    return world;
}

double earthSpinAngleRad(const UtcDateTime& utc) {
    const JulianDates jd = julianDates(utc);
    return std::fmod(-eraGmst06(jd.utc1, jd.utc2, jd.tt1, jd.tt2), kTwoPi);
}

double moonSpinAngleRad(const BodyState& earth, const BodyState& moon) {
    const Vec3d toEarth = earth.positionKm - moon.positionKm;
    double ra = std::atan2(-toEarth.x, toEarth.z);
    if (ra < 0) ra += kTwoPi;
    return std::fmod(-ra, kTwoPi);
}

SetDateResult setSolarSystemDate(const std::string& dataDirectory, const UtcDateTime& utc) {
    namespace fs = std::filesystem;
    SetDateResult result;
    const std::string objectsDir = dataDirectory + "Objects/";

    // Every object file, read once.
    std::vector<ObjectText> objects;
    std::error_code ec;
    for (fs::directory_iterator it(objectsDir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec) || it->path().extension() != ".cfg") continue;
        ObjectText object;
        object.path = it->path().string();
        if (!readWholeFile(object.path, object.contents)) continue;  // left as it is
        object.items.loadText(object.contents, dataDirectory);
        objects.push_back(std::move(object));
    }
    if (ec) {
        result.error = "The folder " + objectsDir + " cannot be read.";
        return result;
    }

    const std::map<std::string, BodyState> now = solarSystemAt(utc);
    std::map<std::string, BodyState> before;  // the delivered bodies as their files hold them
    std::map<std::string, double> gm;
    for (const Body& b : kBodies) gm[b.name] = b.gmKm3PerS2;
    auto deliveredName = [&](const ObjectText& o) -> std::optional<std::string> {
        const std::string stem = fs::path(o.path).stem().string();
        if (gm.count(stem)) return stem;
        return std::nullopt;
    };
    for (const ObjectText& o : objects) {
        std::optional<std::string> name = deliveredName(o);
        if (!name) continue;
        if (!o.vectorGiven(2) || !o.vectorGiven(5)) {
            result.error = "The position or velocity in " + o.path + " is not given.";
            return result;
        }
        before[*name] = {o.vector(2), o.vector(5)};
    }
    if (!before.count("Earth")) {
        result.error = "The file " + objectsDir + "Earth.cfg is missing: the date is set relative to Earth.";
        return result;
    }

    // The delivered body that pulls hardest on a place, of those whose files exist.
    auto dominant = [&](const Vec3d& place) {
        std::string best;
        double bestPull = -1;
        for (const auto& [name, state] : before) {
            const double r2 = dot(place - state.positionKm, place - state.positionKm);
            const double pull = r2 > 0 ? gm[name] / r2 : INFINITY;
            if (pull > bestPull) bestPull = pull, best = name;
        }
        return best;
    };

    for (ObjectText& o : objects) {
        bool ok = true;
        if (std::optional<std::string> name = deliveredName(o)) {
            const BodyState& s = now.at(*name);
            ok = replaceVector(o, 2, s.positionKm, dataDirectory) &&
                 replaceVector(o, 5, s.velocityKmPerS, dataDirectory) &&
                 replaceVector(o, 9, s.positionKm, dataDirectory);
            if (ok && (*name == "Earth" || *name == "Moon")) {
                const double spin = *name == "Earth" ? earthSpinAngleRad(utc)
                                                     : moonSpinAngleRad(now.at("Earth"), now.at("Moon"));
                ok = replaceObjectItemInText(o.contents, objectItemLabel(19), number(spin), dataDirectory) ==
                     ItemStatus::Ok;
            }
            ++result.bodiesMoved;
        } else {
            // Where the simulator will start it: at P1 when its velocity comes from its orbit.
            const bool velocityGiven = given(o.value(5));
            const int placeItem = velocityGiven ? 2 : 9;
            if (!o.vectorGiven(placeItem)) continue;
            const std::string ref = dominant(o.vector(placeItem));
            const Vec3d shift = now.at(ref).positionKm - before.at(ref).positionKm;
            const Vec3d drift = now.at(ref).velocityKmPerS - before.at(ref).velocityKmPerS;
            for (int first : {2, 9, 12})
                if (ok && o.vectorGiven(first)) ok = replaceVector(o, first, o.vector(first) + shift, dataDirectory);
            if (ok && velocityGiven && o.vectorGiven(5)) ok = replaceVector(o, 5, o.vector(5) + drift, dataDirectory);
            ++result.objectsCarried;
        }
        if (!ok) {
            result.error = "The file " + o.path + " lacks a position or velocity item.";
            return result;
        }
    }

    for (const ObjectText& o : objects) {
        if (!writeFileAtomically(o.path, o.contents)) {
            result.error = "The file " + o.path + " cannot be written.";
            return result;
        }
    }
    if (!writeFileAtomically(dataDirectory + "time.cfg", "0")) {
        result.error = "The file " + dataDirectory + "time.cfg cannot be written.";
        return result;
    }
    if (!writeMissionDate(dataDirectory, utc)) {
        result.error = "The file " + dataDirectory + kMissionDateFile + " cannot be written.";
        return result;
    }
    result.ok = true;
    return result;
}
