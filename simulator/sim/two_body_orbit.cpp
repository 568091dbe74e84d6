// Kepler elements and states, computed in a right-handed frame built on the reference plane.
#include "two_body_orbit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Below this eccentricity the periapsis direction is noise: the anomaly counts from the node.
constexpr double kCircularEccentricity = 1e-11;

// The world's left-handed axes (x 18 h, y north, z 0 h) as right-handed equatorial coordinates
// (X 0 h, Y 6 h, Z north) and back. Every product below is taken in right-handed coordinates.
Vec3d toRightHanded(Vec3d w) { return {w.z, -w.x, w.y}; }
Vec3d toWorld(Vec3d r) { return {-r.y, r.z, r.x}; }

struct PlaneBasis {
    Vec3d e1, e2, e3;  // zero direction, 90 degrees east of it, north; right-handed coordinates
};

PlaneBasis basisOf(const ReferencePlane& plane) {
    PlaneBasis b;
    b.e3 = normalized(toRightHanded(plane.northWorld));
    b.e1 = normalized(toRightHanded(plane.zeroDirectionWorld));
    b.e2 = cross(b.e3, b.e1);
    return b;
}

Vec3d intoPlane(const PlaneBasis& b, Vec3d world) {
    const Vec3d r = toRightHanded(world);
    return {dot(r, b.e1), dot(r, b.e2), dot(r, b.e3)};
}

Vec3d outOfPlane(const PlaneBasis& b, Vec3d p) { return toWorld(b.e1 * p.x + b.e2 * p.y + b.e3 * p.z); }

double wrapTwoPi(double angle) {
    const double a = std::fmod(angle, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

}  // namespace

double OrbitElements::periapsisKm() const { return semiMajorAxisKm * (1 - eccentricity); }

double OrbitElements::apoapsisKm() const {
    return bound() ? semiMajorAxisKm * (1 + eccentricity) : std::numeric_limits<double>::infinity();
}

double OrbitElements::periodS(double gm) const {
    if (!bound() || !(gm > 0)) return 0;
    return kTwoPi * std::sqrt(semiMajorAxisKm * semiMajorAxisKm * semiMajorAxisKm / gm);
}

ReferencePlane celestialEquatorPlane() { return {}; }

ReferencePlane eclipticPlane() {
    const double obliquity = 23.4392911 * std::numbers::pi / 180;
    return {toWorld({0, -std::sin(obliquity), std::cos(obliquity)}), {0, 0, 1}};
}

ReferencePlane equatorPlaneOfPole(Vec3d poleWorld) {
    const Vec3d north = normalized(toRightHanded(poleWorld));
    Vec3d node = cross({0, 0, 1}, north);
    node = length(node) > 1e-12 ? normalized(node) : Vec3d{1, 0, 0};
    return {toWorld(north), toWorld(node)};
}

OrbitElements elementsFromState(const RelativeState& state, double gm, const ReferencePlane& plane) {
    const PlaneBasis basis = basisOf(plane);
    const Vec3d r = intoPlane(basis, state.positionKm);
    const Vec3d v = intoPlane(basis, state.velocityKmPerS);
    OrbitElements el;
    const double rLen = length(r), v2 = dot(v, v);
    const Vec3d h = cross(r, v);
    const double hLen = length(h);
    if (!(rLen > 0) || !(gm > 0)) {
        el.eccentricity = 1;
        return el;
    }
    const double energy = 0.5 * v2 - gm / rLen;
    el.semiMajorAxisKm = energy != 0 ? -gm / (2 * energy) : std::numeric_limits<double>::infinity();
    if (!(hLen > 0)) {
        el.eccentricity = 1;
        return el;
    }
    const Vec3d w = h / hLen;
    el.inclinationRad = std::acos(std::clamp(w.z, -1.0, 1.0));
    const Vec3d n{-h.y, h.x, 0};
    const double nLen = length(n);
    const Vec3d node = nLen > 1e-12 * hLen ? n / nLen : Vec3d{1, 0, 0};
    el.ascendingNodeRad = nLen > 1e-12 * hLen ? wrapTwoPi(std::atan2(node.y, node.x)) : 0.0;

    const Vec3d eVec = (r * (v2 - gm / rLen) - v * dot(r, v)) / gm;
    el.eccentricity = length(eVec);
    const Vec3d p = el.eccentricity > kCircularEccentricity ? eVec / el.eccentricity : node;
    el.argumentOfPeriapsisRad = wrapTwoPi(std::atan2(dot(cross(node, p), w), dot(node, p)));
    const Vec3d q = cross(w, p);
    el.trueAnomalyRad = std::atan2(dot(r, q), dot(r, p));
    return el;
}

RelativeState stateFromElements(const OrbitElements& el, double gm, const ReferencePlane& plane) {
    const double e = el.eccentricity;
    const double semiLatusRectumKm = el.semiMajorAxisKm * (1 - e * e);
    const double cosNu = std::cos(el.trueAnomalyRad), sinNu = std::sin(el.trueAnomalyRad);
    const double rLen = semiLatusRectumKm / (1 + e * cosNu);
    const double vScale = std::sqrt(gm / semiLatusRectumKm);

    const double ci = std::cos(el.inclinationRad), si = std::sin(el.inclinationRad);
    const double cO = std::cos(el.ascendingNodeRad), sO = std::sin(el.ascendingNodeRad);
    const Vec3d node{cO, sO, 0};
    const Vec3d w{si * sO, -si * cO, ci};
    const Vec3d m = cross(w, node);
    const double cw = std::cos(el.argumentOfPeriapsisRad), sw = std::sin(el.argumentOfPeriapsisRad);
    const Vec3d p = node * cw + m * sw;
    const Vec3d q = node * -sw + m * cw;

    const PlaneBasis basis = basisOf(plane);
    return {outOfPlane(basis, p * (rLen * cosNu) + q * (rLen * sinNu)),
            outOfPlane(basis, p * (-vScale * sinNu) + q * (vScale * (e + cosNu)))};
}

double stumpffC(double z) {
    if (z > 1e-8) return (1 - std::cos(std::sqrt(z))) / z;
    if (z < -1e-8) return (std::cosh(std::sqrt(-z)) - 1) / -z;
    return 0.5 - z / 24;
}
double stumpffS(double z) {
    if (z > 1e-8) {
        const double s = std::sqrt(z);
        return (s - std::sin(s)) / (s * s * s);
    }
    if (z < -1e-8) {
        const double s = std::sqrt(-z);
        return (std::sinh(s) - s) / (s * s * s);
    }
    return 1.0 / 6 - z / 120;
}

RelativeState propagateKepler(const RelativeState& state, double gm, double dtS) {
    const Vec3d r0 = state.positionKm, v0 = state.velocityKmPerS;
    const double r0n = length(r0);
    if (!(r0n > 0) || !(gm > 0) || dtS == 0) return state;
    const double sqrtMu = std::sqrt(gm);
    const double vr0 = dot(r0, v0) / r0n;
    const double alpha = 2 / r0n - dot(v0, v0) / gm;  // 1 / semi-major axis
    double dt = dtS;
    if (alpha > 0) {
        // Whole periods change nothing: a shorter interval keeps the iteration well started.
        const double period = kTwoPi / (sqrtMu * alpha * std::sqrt(alpha));
        dt = std::remainder(dt, period);
    }
    double chi = alpha > 0 ? sqrtMu * alpha * dt : std::copysign(std::sqrt(std::abs(1 / alpha)), dt) *
                                                       std::log1p(std::abs(dt) * sqrtMu / r0n);
    if (!std::isfinite(chi)) chi = sqrtMu * dt / r0n;
    double z = 0, c = 0.5, s = 1.0 / 6;
    for (int i = 0; i < 60; ++i) {
        z = alpha * chi * chi;
        c = stumpffC(z);
        s = stumpffS(z);
        const double f = r0n * vr0 / sqrtMu * chi * chi * c + (1 - alpha * r0n) * chi * chi * chi * s +
                         r0n * chi - sqrtMu * dt;
        const double df = r0n * vr0 / sqrtMu * chi * (1 - z * s) + (1 - alpha * r0n) * chi * chi * c + r0n;
        const double step = f / df;
        chi -= step;
        if (std::abs(step) < 1e-12 * std::max(1.0, std::abs(chi))) break;
    }
    z = alpha * chi * chi;
    c = stumpffC(z);
    s = stumpffS(z);
    const double f = 1 - chi * chi / r0n * c;
    const double g = dt - chi * chi * chi / sqrtMu * s;
    const Vec3d r = r0 * f + v0 * g;
    const double rn = length(r);
    const double fDot = sqrtMu / (rn * r0n) * (alpha * chi * chi * chi * s - chi);
    const double gDot = 1 - chi * chi / rn * c;
    return {r, r0 * fDot + v0 * gDot};
}
