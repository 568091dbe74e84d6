// Target choice, the turn to face the target and the jump distance to an altitude above it.
#include "target_navigation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ship_controls.h"
#include "vec3d.h"

namespace {

constexpr uint32_t kFaceRequested = 4, kJumpRequested = 8;
constexpr int kMaxRequestTarget = 0xFFE;  // 12 bits, with 0xFFF unused

int bodyCount(const SimState& state) { return static_cast<int>(state.objects.size()) - 1; }

// Rotates v about the unit axis by the angle whose cosine and sine are given (Rodrigues).
Vec3d rotate(Vec3d v, Vec3d axis, double c, double s) {
    return v * c + cross(axis, v) * s + axis * (dot(axis, v) * (1 - c));
}
Vec3d row(const Mat4f& m, int r) { return {m.m[r][0], m.m[r][1], m.m[r][2]}; }
void setRow(Mat4f& m, int r, Vec3d v) {
    m.m[r][0] = static_cast<float>(v.x);
    m.m[r][1] = static_cast<float>(v.y);
    m.m[r][2] = static_cast<float>(v.z);
}

}  // namespace

float surfaceDistanceKm(const SimState& state, int body) {
    const SimObject& b = state.objects[static_cast<size_t>(body)];
    return length(b.positionKm - state.observer().positionKm) - b.equatorialRadiusKm;
}

void cycleTarget(SimState& state, int step) {
    NavigationState& nav = state.nav;
    const int n = bodyCount(state);
    nav.altitudeRepeat = false;
    if (n <= 0) {
        nav.target = -1;
        return;
    }
    std::vector<std::pair<float, int>> order;
    order.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order.emplace_back(surfaceDistanceKm(state, i), i);
    std::sort(order.begin(), order.end());
    int rank = -1;
    for (int r = 0; r < n; ++r)
        if (order[static_cast<size_t>(r)].second == nav.target) rank = r;
    if (rank < 0)
        rank = step > 0 ? 0 : n - 1;
    else
        rank = ((rank + step) % n + n) % n;
    nav.target = order[static_cast<size_t>(rank)].second;
}

void selectTarget(SimState& state, int body) {
    state.nav.target = body >= 0 && body < bodyCount(state) ? body : -1;
    state.nav.altitudeRepeat = false;
}

void requestFaceTarget(SimState& state) {
    NavigationState& nav = state.nav;
    nav.altitudeRepeat = false;
    if (!state.isLive() || nav.target < 0 || nav.target > kMaxRequestTarget) return;
    nav.faceTargetRequest = nav.target;
}

void requestJumpToTarget(SimState& state) {
    NavigationState& nav = state.nav;
    if (!state.isLive() || nav.target < 0 || nav.target > kMaxRequestTarget) return;
    if (nav.altitudeRepeat) nav.altitudeChoice = (nav.altitudeChoice + 1) % kTargetAltitudeChoices;
    nav.altitudeRepeat = true;
    nav.jumpTargetRequest = nav.target;
    nav.jumpAltitudeChoice = nav.altitudeChoice;
}

void faceDirection(SimState& state, Vec3f direction) {
    Vec3d to = normalized(widen(direction));
    if (dot(to, to) == 0) return;
    // The orientation's rows are the ship's right, up and forward axes in world coordinates.
    Vec3d right = row(state.orientation, 0), up = row(state.orientation, 1);
    Vec3d forward = normalized(row(state.orientation, 2));
    double c = std::clamp(dot(forward, to), -1.0, 1.0);
    Vec3d axis = cross(forward, to);
    double s = std::sqrt(dot(axis, axis));
    if (s > 1e-12) {
        axis = axis * (1.0 / s);
    } else if (c < 0) {
        axis = normalized(up);  // exactly behind: half a turn about the up axis
        s = 0;
    } else {
        axis = Vec3d{0, 1, 0};
        c = 1, s = 0;
    }
    right = rotate(right, axis, c, s);
    up = rotate(up, axis, c, s);
    // Forward exactly on the target; the other axes made orthonormal to it again.
    up = normalized(up - to * dot(up, to));
    right = normalized(right - to * dot(right, to) - up * dot(right, up));
    setRow(state.orientation, 0, right);
    setRow(state.orientation, 1, up);
    setRow(state.orientation, 2, to);
    panicStop(state);
    updateCamera(state);
}

float jumpDistanceToSphere(Vec3f observerKm, Vec3f forward, Vec3f centreKm, float endRadiusKm) {
    Vec3d p = widen(centreKm) - widen(observerKm);
    Vec3d f = normalized(widen(forward));
    double along = dot(p, f);
    double miss2 = dot(p, p) - along * along;
    double r = endRadiusKm;
    double d = along;
    if (miss2 < r * r) d = along - std::sqrt(r * r - miss2);
    d = std::clamp(d, 0.0, static_cast<double>(kMaxJumpDistanceKm));
    return static_cast<float>(d);
}

void applyNavigationRequests(SimState& state) {
    NavigationState& nav = state.nav;
    const int n = bodyCount(state);
    if (nav.faceTargetRequest >= 0 && nav.faceTargetRequest < n) {
        const SimObject& body = state.objects[static_cast<size_t>(nav.faceTargetRequest)];
        faceDirection(state, body.positionKm - state.observer().positionKm);
    }
    if (nav.jumpTargetRequest >= 0 && nav.jumpTargetRequest < n) {
        const SimObject& body = state.objects[static_cast<size_t>(nav.jumpTargetRequest)];
        const int choice = std::clamp(nav.jumpAltitudeChoice, 0, kTargetAltitudeChoices - 1);
        float end = body.equatorialRadiusKm * (1.0f + kTargetAltitudeRadii[choice]);
        Vec3f forward{state.camera.m[0][2], state.camera.m[1][2], state.camera.m[2][2]};
        SimObject& ship = state.observer();
        ship.jumpDistanceKm = jumpDistanceToSphere(ship.positionKm, forward, body.positionKm, end);
    }
    nav.faceTargetRequest = -1;
    nav.jumpTargetRequest = -1;
}

uint32_t navigationRequestFlags(const NavigationState& nav) {
    uint32_t flags = 0;
    if (nav.faceTargetRequest >= 0 && nav.faceTargetRequest <= kMaxRequestTarget)
        flags |= kFaceRequested | (static_cast<uint32_t>(nav.faceTargetRequest) << 4);
    if (nav.jumpTargetRequest >= 0 && nav.jumpTargetRequest <= kMaxRequestTarget)
        flags |= kJumpRequested | (static_cast<uint32_t>(nav.jumpTargetRequest) << 16) |
                 (static_cast<uint32_t>(nav.jumpAltitudeChoice & 15) << 28);
    return flags;
}

void setNavigationRequests(NavigationState& nav, uint32_t flags) {
    nav.faceTargetRequest = (flags & kFaceRequested) ? static_cast<int>((flags >> 4) & 0xFFFu) : -1;
    nav.jumpTargetRequest = (flags & kJumpRequested) ? static_cast<int>((flags >> 16) & 0xFFFu) : -1;
    nav.jumpAltitudeChoice = static_cast<int>(flags >> 28);
}
