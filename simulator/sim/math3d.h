// Small single-precision vector, matrix and quaternion helpers with the simulator's conventions:
// row vectors multiplied from the left (v' = v * M), left-handed axes, translation in row 3.
#pragma once

#include <cmath>

struct Vec3f {
    float x = 0, y = 0, z = 0;
};

inline Vec3f operator+(Vec3f a, Vec3f b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3f operator-(Vec3f a, Vec3f b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3f operator*(Vec3f a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3f a, Vec3f b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float length(Vec3f a) { return std::sqrt(dot(a, a)); }
// Right-handed component formula (a.y*b.z - a.z*b.y, ...), as the orbit set-up states it.
inline Vec3f cross(Vec3f a, Vec3f b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// Unit vector; a zero vector stays zero.
inline Vec3f normalize(Vec3f a) {
    float len = length(a);
    return len > 0 ? a * (1.0f / len) : Vec3f{};
}

struct Quatf {
    float x = 0, y = 0, z = 0, w = 1;
};

// m[row][col]; a point p maps to p * m.
struct Mat4f {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static Mat4f identity() { return {}; }
    bool operator==(const Mat4f&) const = default;
};

// a * b: b is applied after a (row-vector order).
Mat4f operator*(const Mat4f& a, const Mat4f& b);
Vec3f transformPoint(Vec3f p, const Mat4f& m);
Vec3f transformNormal(Vec3f n, const Mat4f& m);

Mat4f translation(float x, float y, float z);
Mat4f scaling(float x, float y, float z);
Mat4f rotationX(float angleRad);
Mat4f rotationY(float angleRad);
Mat4f rotationZ(float angleRad);
// General inverse; returns identity when the matrix is singular.
Mat4f inverse(const Mat4f& a);
Mat4f transpose(const Mat4f& a);

// Rotation that applies roll about z, then pitch about x, then yaw about y.
Quatf quaternionFromYawPitchRoll(float yawRad, float pitchRad, float rollRad);
Mat4f rotationFromQuaternion(const Quatf& q);

// Left-handed perspective with vertical field of view; depth maps to [0, 1].
Mat4f perspectiveFovLH(float fovYRad, float aspect, float zNear, float zFar);
