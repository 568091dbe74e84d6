// The map's geometry: the view plane, the hierarchy of orbits and their paths.
#include "system_map.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "integrator.h"
#include "two_body_orbit.h"
#include "vec3d.h"

namespace {

bool given(float v) { return v != kNaFloat && std::isfinite(v); }
bool given(Vec3f v) { return given(v.x) && given(v.y) && given(v.z); }

// The view: u toward the vernal equinox (world +z) within the plane, w 90 degrees ahead of it in
// the sense the system turns. The world frame's axes are left-handed (x = -Y, y = Z, z = X of the
// equatorial frame), so the cross product of world coordinates points to the south of the motion;
// the pole and the second axis take that into account.
struct ViewPlane {
    Vec3d u{0, 0, 1}, w{-1, 0, 0};
    MapPoint project(Vec3d p) const { return {dot(p, u), dot(p, w)}; }
};

ViewPlane viewPlane(const std::vector<SimObject>& objects, size_t count) {
    double mass = 0;
    Vec3d centre, drift;
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
    Vec3d spin;
    for (size_t i = 0; i < count; ++i) {
        const SimObject& o = objects[i];
        if (!given(o.massKg) || !given(o.positionKm) || !given(o.velocityKmPerS)) continue;
        spin = spin + cross(widen(o.positionKm) - centre, widen(o.velocityKmPerS) - drift) * o.massKg;
    }
    const Vec3d pole = normalized(spin) * -1.0;  // north of the motion in the world frame
    if (length(pole) == 0) return plane;
    Vec3d u = Vec3d{0, 0, 1} - pole * pole.z;
    if (length(u) < 1e-6) u = Vec3d{-1, 0, 0} - pole * -pole.x;
    plane.u = normalized(u);
    plane.w = cross(pole, plane.u) * -1.0;
    return plane;
}

// The conic through a relative state under gm, as points relative to the focus: the two-body
// module gives the directions of periapsis and of the point a quarter turn on, and the conic's
// polar equation the distances.
std::vector<Vec3d> conicPath(Vec3d r, Vec3d v, double gm, bool& bound, double& apoapsisKm) {
    std::vector<Vec3d> path;
    const double r0 = length(r);
    bound = false;
    apoapsisKm = r0;
    if (r0 <= 0 || gm <= 0 || length(cross(r, v)) <= 0) return path;
    OrbitElements elements = elementsFromState({r, v}, gm);
    const double e = elements.eccentricity;
    if (!std::isfinite(elements.semiMajorAxisKm) || std::abs(1 - e) < 1e-12) return path;  // parabola
    elements.trueAnomalyRad = 0;
    const Vec3d periapsisDir = normalized(stateFromElements(elements, gm).positionKm);
    elements.trueAnomalyRad = M_PI / 2;
    const double p = length(stateFromElements(elements, gm).positionKm);  // the semi-latus rectum
    const Vec3d ahead = normalized(stateFromElements(elements, gm).positionKm);
    auto at = [&](double nu) { return (periapsisDir * std::cos(nu) + ahead * std::sin(nu)) * (p / (1 + e * std::cos(nu))); };
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
    if (!state.setupFailure.empty()) {
        // The simulator's message names the file; here its reason is the news.
        const size_t reason = state.setupFailure.rfind("\n\n");
        map.failure = "The simulator will stop at the start, " +
                      (reason == std::string::npos ? state.setupFailure : state.setupFailure.substr(reason + 2)) +
                      " Objects from there on are not shown.";
    }
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
        placed[i] = b.placed = i < count && given(o.positionKm);
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
        const Vec3d here = widen(objects[i].positionKm);
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
            const Vec3d r = here - widen(p.positionKm);
            const double m = map.bodies[static_cast<size_t>(parent)].massKg;
            b.distanceKm = length(r);
            influenceKm[i] = m > 0 ? length(r) * std::pow(b.massKg / m, 0.4) : 0;
            if (given(objects[i].velocityKmPerS) && given(p.velocityKmPerS)) {
                const Vec3d v = widen(objects[i].velocityKmPerS) - widen(p.velocityKmPerS);
                const double gm = kGravityKm3PerKgS2 * (m + b.massKg);
                std::vector<Vec3d> path = conicPath(r, v, gm, b.bound, b.apoapsisKm);
                b.orbit.reserve(path.size());
                for (const Vec3d& q : path) b.orbit.push_back(plane.project(q));
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
