// Compressed placement, ring turn, tessellation level, star lights and draw order.
#include "scene_placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

int tessellationLevel(float centreDistanceKm, float equatorialRadiusKm) {
    const float q = equatorialRadiusKm / (centreDistanceKm - equatorialRadiusKm);
    if (q > 0.02f) return 3;
    if (q > 0.01f) return 2;
    return 1;
}

Vec3f compressedPositionKm(const SimObject& body, Vec3f o) {
    const float r = body.equatorialRadiusKm;
    const float e = kDistanceCompression / r;
    const Vec3f p = body.positionKm;
    return {o.x + (p.x - o.x) * e, o.y + (p.y - o.y) * (body.polarRadiusKm / r) * e, o.z + (p.z - o.z) * e};
}

Mat4f unitScaleMatrix(float meshRadius, float polarRadiusKm, float equatorialRadiusKm) {
    const float k = meshRadius > 0 ? 1.0f / meshRadius : 0.0f;
    const float flattening = equatorialRadiusKm != 0 ? polarRadiusKm / equatorialRadiusKm : 1.0f;
    return scaling(kBodyDisplayRadius * k, flattening * kBodyDisplayRadius * k, kBodyDisplayRadius * k);
}

namespace {
Mat4f displayTranslation(Vec3f compressedKm) {
    return translation(compressedKm.x * kDisplayScale, compressedKm.y * kDisplayScale,
                       compressedKm.z * kDisplayScale);
}
}  // namespace

Mat4f bodyWorldMatrix(const SimObject& body, Vec3f observerKm, const Mat4f& tilt, const Mat4f& unitScale) {
    const Mat4f work = rotationY(body.spinAngleRad) * tilt * unitScale;
    return work * displayTranslation(compressedPositionKm(body, observerKm));
}

Vec3f meanStarDirection(const std::vector<SimObject>& objects) {
    Vec3f sum;
    int stars = 0;
    for (size_t i = 0; i + 1 < objects.size(); ++i) {
        if (!objects[i].isStar) continue;
        sum = sum + normalize(objects[i].positionKm);
        ++stars;
    }
    return stars > 0 ? sum * (1.0f / static_cast<float>(stars)) : Vec3f{};
}

float ringTurnRad(Vec3f bodyKm, Vec3f meanStarDir) {
    const Vec3f d = bodyKm + meanStarDir;
    float r = length(d);
    if (r == 0) r = 1;
    const float c = std::clamp(d.z / r, -1.0f, 1.0f);
    if (d.x < 0) return -std::acos(c);
    if (d.x > 0) return std::acos(c);
    return d.z > 0 ? 0.0f : 3.1415927f;
}

Mat4f ringWorldMatrix(const SimObject& body, Vec3f observerKm, const Mat4f& tilt, const Mat4f& unitScale,
                      int starCount, Vec3f meanStarDir) {
    Mat4f work = tilt * unitScale;
    if (starCount > 0) work = rotationY(ringTurnRad(body.positionKm, meanStarDir)) * work;
    return work * displayTranslation(compressedPositionKm(body, observerKm));
}

std::vector<StarLight> starLights(const std::vector<SimObject>& objects) {
    std::vector<StarLight> lights;
    if (objects.empty()) return lights;
    const Vec3f observer = objects.back().positionKm;
    for (size_t i = 0; i + 1 < objects.size(); ++i) {
        const SimObject& star = objects[i];
        if (!star.isStar) continue;
        StarLight light;
        light.index = static_cast<int>(lights.size());
        light.diffuseRgb = {star.lightRed * star.lightIntensity, star.lightGreen * star.lightIntensity,
                            star.lightBlue * star.lightIntensity};
        light.direction = normalize(observer - star.positionKm);
        lights.push_back(light);
    }
    return lights;
}

namespace {
float squaredDistanceFromObserver(const std::vector<SimObject>& objects, int i) {
    const Vec3f d = objects[static_cast<size_t>(i)].positionKm - objects.back().positionKm;
    const float sq = dot(d, d);
    return std::isnan(sq) ? std::numeric_limits<float>::infinity() : sq;
}
}  // namespace

int compareFarthestFirst(const std::vector<SimObject>& objects, int a, int b) {
    const float da = squaredDistanceFromObserver(objects, a), db = squaredDistanceFromObserver(objects, b);
    if (db < da) return -1;
    if (db == da) return 0;
    return 1;
}

void sortFarthestFirst(std::vector<int>& drawOrder, const std::vector<SimObject>& objects) {
    if (drawOrder.size() < 2 || objects.empty()) return;
    std::sort(drawOrder.begin(), drawOrder.end() - 1,
              [&](int a, int b) { return compareFarthestFirst(objects, a, b) < 0; });
}
