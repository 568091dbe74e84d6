// The map's geometry: the view plane, the hierarchy of orbits and their paths.
#include "system_map.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "integrator.h"

namespace {

struct V3 {
    double x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double length(V3 a) { return std::sqrt(dot(a, a)); }
V3 unit(V3 a) {
    const double l = length(a);
    return l > 0 ? a * (1.0 / l) : V3{};
}
V3 widen(Vec3f v) { return {v.x, v.y, v.z}; }

bool given(float v) { return v != kNaFloat && std::isfinite(v); }
bool given(Vec3f v) { return given(v.x) && given(v.y) && given(v.z); }

// The view: u toward the vernal equinox (world +z) within the plane, w 90 degrees ahead of it in
// the sense the system turns. The world frame's axes are left-handed (x = -Y, y = Z, z = X of the
// equatorial frame), so the cross product of world coordinates points to the south of the motion;
// the pole and the second axis take that into account.
struct ViewPlane {
    V3 u{0, 0, 1}, w{-1, 0, 0};
    MapPoint project(V3 p) const { return {dot(p, u), dot(p, w)}; }
};

ViewPlane viewPlane(const std::vector<SimObject>& objects, size_t count) {
    double mass = 0;
    V3 centre, drift;
    for (size_t i = 0; i < count; ++i) {
        const SimObject& o = objects[i];
        if (!given(o.massKg) || !given(o.positionKm) || !given(o.velocityKmPerS)) continue;
        mass += o.massKg;
        centre = centre + widen(o.positionKm) * o.massKg;
        drift = drift + widen(o.velocityKmPerS) * o.massKg;
    }
    ViewPlane plane;
    if (mass <= 0) return plane;
    centre = centre * (1.0 / mass);
    drift = drift * (1.0 / mass);
    V3 spin;
    for (size_t i = 0; i < count; ++i) {
        const SimObject& o = objects[i];
        if (!given(o.massKg) || !given(o.positionKm) || !given(o.velocityKmPerS)) continue;
        spin = spin + cross(widen(o.positionKm) - centre, widen(o.velocityKmPerS) - drift) * o.massKg;
    }
    const V3 pole = unit(spin) * -1.0;  // north of the motion in the world frame
    if (length(pole) == 0) return plane;
    V3 u = V3{0, 0, 1} - pole * pole.z;
    if (length(u) < 1e-6) u = V3{-1, 0, 0} - pole * -pole.x;
    plane.u = unit(u);
    plane.w = cross(pole, plane.u) * -1.0;
    return plane;
}

// The conic through a relative state under gm, as points relative to the focus.
std::vector<V3> conicPath(V3 r, V3 v, double gm, bool& bound, double& apoapsisKm) {
    std::vector<V3> path;
    const double r0 = length(r);
    const V3 h = cross(r, v);
    const double h2 = dot(h, h);
    bound = false;
    apoapsisKm = r0;
    if (r0 <= 0 || gm <= 0 || h2 <= 0) return path;
    const V3 eVector = cross(v, h) * (1.0 / gm) - r * (1.0 / r0);
    const double e = length(eVector);
    const double p = h2 / gm;
    const V3 periapsisDir = e > 1e-9 ? eVector * (1.0 / e) : r * (1.0 / r0);
    const V3 ahead = unit(cross(h, periapsisDir));
    auto at = [&](double nu) {
        const double radius = p / (1 + e * std::cos(nu));
        return (periapsisDir * std::cos(nu) + ahead * std::sin(nu)) * radius;
    };
    if (e < 1) {
        bound = true;
        apoapsisKm = p / (1 - e);
        path.reserve(kMapOrbitPoints);
        for (int k = 0; k < kMapOrbitPoints; ++k) path.push_back(at(2 * M_PI * k / kMapOrbitPoints));
        return path;
    }
    // An open path: the part nearer than ten times the start distance.
    const double farthest = std::max(10 * r0, p);
    const double nuMax = std::acos(std::clamp((p / farthest - 1) / e, -1.0, 1.0));
    const int n = kMapOrbitPoints / 2;
    for (int k = 0; k <= n; ++k) path.push_back(at(-nuMax + 2 * nuMax * k / n));
    return path;
}

int kindOf(const SimObject& o) {
    if (o.isStar == 1) return 1;
    if (o.isPlanet == 1) return 2;
    if (o.isObserver == 1) return 3;
    return 0;
}

}  // namespace

SystemMap buildSystemMap(const StartingState& state, const std::vector<std::string>& names) {
    SystemMap map;
    const std::vector<SimObject>& objects = state.objects;
    const size_t count = std::min(state.finalCount, objects.size());
    map.failure = state.setupFailure;
    map.bodies.resize(objects.size());
    std::vector<bool> placed(objects.size(), false);
    const ViewPlane plane = viewPlane(objects, count);
    for (size_t i = 0; i < objects.size(); ++i) {
        MapBody& b = map.bodies[i];
        const SimObject& o = objects[i];
        b.name = i < names.size() ? names[i] : std::string();
        b.kind = kindOf(o);
        b.massKg = given(o.massKg) && o.massKg > 0 ? o.massKg : 0;
        b.radiusKm = given(o.equatorialRadiusKm) && o.equatorialRadiusKm > 0 ? o.equatorialRadiusKm : 0;
        placed[i] = i < count && given(o.positionKm);
        if (placed[i]) b.place = plane.project(widen(o.positionKm));
    }

    // Heaviest first: each object circles the smallest sphere of influence that holds it, unless
    // its Item 8 names the object it circles.
    std::vector<size_t> order(objects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return map.bodies[a].massKg > map.bodies[b].massKg; });
    std::vector<double> influenceKm(objects.size(), 0);
    std::vector<size_t> done;
    done.reserve(objects.size());
    for (size_t i : order) {
        if (!placed[i]) continue;
        MapBody& b = map.bodies[i];
        const V3 here = widen(objects[i].positionKm);
        int parent = -1;
        if (std::optional<size_t> named = orbitedIndex(objects[i], i, objects.size()); named && placed[*named]) {
            parent = static_cast<int>(*named);
            b.orbitsByItem8 = true;
        } else {
            double smallest = std::numeric_limits<double>::infinity();
            for (size_t j : done) {
                const double reach = influenceKm[j];
                if (reach <= 0 || (parent >= 0 && reach >= smallest)) continue;
                if (length(here - widen(objects[j].positionKm)) < reach) {
                    smallest = reach;
                    parent = static_cast<int>(j);
                }
            }
        }
        if (map.centre < 0) map.centre = static_cast<int>(i);
        if (parent < 0) {
            influenceKm[i] = std::numeric_limits<double>::infinity();
        } else {
            b.parent = parent;
            const SimObject& p = objects[static_cast<size_t>(parent)];
            const V3 r = here - widen(p.positionKm);
            const double m = map.bodies[static_cast<size_t>(parent)].massKg;
            b.distanceKm = length(r);
            influenceKm[i] = m > 0 ? length(r) * std::pow(b.massKg / m, 0.4) : 0;
            if (given(objects[i].velocityKmPerS) && given(p.velocityKmPerS)) {
                const V3 v = widen(objects[i].velocityKmPerS) - widen(p.velocityKmPerS);
                const double gm = kGravityKm3PerKgS2 * (m + b.massKg);
                std::vector<V3> path = conicPath(r, v, gm, b.bound, b.apoapsisKm);
                b.orbit.reserve(path.size());
                for (const V3& q : path) b.orbit.push_back(plane.project(q));
            } else {
                b.apoapsisKm = length(r);
            }
        }
        done.push_back(i);
    }
    return map;
}

SystemMap systemMapOfList(const std::vector<std::string>& names, const std::string& dataDirectory) {
    std::string unreadable;
    std::optional<std::vector<SimObject>> objects = readListObjects(names, dataDirectory, unreadable);
    if (!objects) {
        SystemMap map;
        map.failure = "The file " + unreadable + " cannot be read.";
        return map;
    }
    return buildSystemMap(startingState(std::move(*objects)), names);
}

SystemMap candidateSystemMap(const std::vector<std::string>& namesAbove, const std::string& dataDirectory,
                             SimObject candidate, int orbitedRefNo, const std::string& candidateName) {
    if (orbitedRefNo < 1 || static_cast<size_t>(orbitedRefNo) > namesAbove.size()) return {};
    std::vector<std::string> names(namesAbove.begin(), namesAbove.begin() + orbitedRefNo);
    std::string unreadable;
    std::optional<std::vector<SimObject>> objects = readListObjects(names, dataDirectory, unreadable);
    if (!objects) return {};
    candidate.orbitedObject = orbitedRefNo;
    objects->push_back(std::move(candidate));
    names.push_back(candidateName);
    return buildSystemMap(startingState(std::move(*objects)), names);
}

std::vector<int> satellitesOf(const SystemMap& map, int i) {
    std::vector<int> out;
    for (size_t k = 0; k < map.bodies.size(); ++k)
        if (map.bodies[k].parent == i) out.push_back(static_cast<int>(k));
    return out;
}
