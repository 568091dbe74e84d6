// The scene's per-frame geometry, free of any device: compressed body placement, unit scale,
// ring turn, tessellation level, star lights and the farthest-first draw order.
#pragma once

#include <vector>

#include "math3d.h"
#include "sim_state.h"

constexpr float kDisplayScale = 3.3333333e-6f;        // render units per km (1/300000)
constexpr float kBodyDisplayRadius = 2.31417f;         // render units
constexpr float kDistanceCompression = 694251.0f;      // = body display radius * 300000
constexpr float kNearPlane = 0.1f;                     // render units
constexpr float kFarPlane = 10000.0f;                  // render units
constexpr uint32_t kGlobalAmbientArgb = 0x000A0A0A;
constexpr uint32_t kClearColorArgb = 0x000000FF;

// Level of N-patch detail for a body of equatorial radius R at centre distance d:
// q = R / (d - R); q > 0.02 gives 3, q > 0.01 gives 2, otherwise 1.
int tessellationLevel(float centreDistanceKm, float equatorialRadiusKm);

// The body's position with its offset from the observer stretched by 694251 / R (and the
// vertical offset by a further P / R), so that a body drawn with the display radius is seen
// under its true angle R / d in its true direction. km-like units, before the display scale.
Vec3f compressedPositionKm(const SimObject& body, Vec3f observerKm);

// Scaling of a mesh whose equator lies at meshRadius to the display radius, its polar axis (Y)
// shortened by polar / equatorial radius.
Mat4f unitScaleMatrix(float meshRadius, float polarRadiusKm, float equatorialRadiusKm);

// spin about Y by the body's rotation angle, tilt about X, unit scale, then the translation.
Mat4f bodyWorldMatrix(const SimObject& body, Vec3f observerKm, const Mat4f& tilt, const Mat4f& unitScale);

// Mean of the unit directions of the stars among the bodies (a star at the origin adds a zero
// vector); zero vector without stars.
Vec3f meanStarDirection(const std::vector<SimObject>& objects);
// Turn of a ring about its axis so that its +Z points along body position + mean star direction.
float ringTurnRad(Vec3f bodyKm, Vec3f meanStarDirection);
// The ring's placement: turned (only when there are stars), tilted, scaled, translated.
Mat4f ringWorldMatrix(const SimObject& body, Vec3f observerKm, const Mat4f& tilt, const Mat4f& unitScale,
                      int starCount, Vec3f meanStarDir);

struct StarLight {
    int index = 0;     // light slot, 0, 1, ... in object order
    Vec3f diffuseRgb;  // light colour times intensity, red, green, blue
    Vec3f direction;   // from the star towards the observer, unit length
};
// One directional light per star among the bodies, in object order.
std::vector<StarLight> starLights(const std::vector<SimObject>& objects);

// -1 when b is nearer the observer than a, 0 when equally far, 1 otherwise.
int compareFarthestFirst(const std::vector<SimObject>& objects, int a, int b);
// Sorts the first count - 1 entries farthest first; the observer keeps the last place. A
// distance that is not a number sorts as the farthest.
void sortFarthestFirst(std::vector<int>& drawOrder, const std::vector<SimObject>& objects);
