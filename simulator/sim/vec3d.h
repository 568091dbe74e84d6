// The one double-precision 3-vector of the simulator and the launcher: relative states, orbits,
// navigation figures and plans. Components are in whatever frame and unit the caller names;
// cross() is the component formula (a.y*b.z - a.z*b.y, ...), as for Vec3f, so in the world's
// left-handed axes it gives the left-handed product.
#pragma once

#include <cmath>

#include "math3d.h"

struct Vec3d {
    double x = 0, y = 0, z = 0;

    Vec3d& operator+=(Vec3d b) { x += b.x, y += b.y, z += b.z; return *this; }
    Vec3d& operator-=(Vec3d b) { x -= b.x, y -= b.y, z -= b.z; return *this; }
    Vec3d& operator*=(double s) { x *= s, y *= s, z *= s; return *this; }
    bool operator==(const Vec3d&) const = default;
};

inline Vec3d operator+(Vec3d a, Vec3d b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3d operator-(Vec3d a, Vec3d b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3d operator-(Vec3d a) { return {-a.x, -a.y, -a.z}; }
inline Vec3d operator*(Vec3d a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3d operator*(double s, Vec3d a) { return a * s; }
inline Vec3d operator/(Vec3d a, double s) { return {a.x / s, a.y / s, a.z / s}; }
inline double dot(Vec3d a, Vec3d b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double length(Vec3d a) { return std::sqrt(dot(a, a)); }
inline Vec3d cross(Vec3d a, Vec3d b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// Unit vector; a zero vector stays zero.
inline Vec3d normalized(Vec3d a) {
    const double len = length(a);
    return len > 0 ? a * (1.0 / len) : Vec3d{};
}
inline Vec3d widen(Vec3f v) { return {v.x, v.y, v.z}; }
inline Vec3f narrow(Vec3d v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}
