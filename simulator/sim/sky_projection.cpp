// Projection of the bodies' directions and discs onto the screen, and picking.
#include "sky_projection.h"

#include <cmath>

bool projectDirection(const SimState& state, Vec3f direction, int widthPx, int heightPx, float& x,
                      float& y) {
    // The camera's rotation part turns world directions into the camera's axes (left-handed,
    // +z forward); the projection is the scene's perspective.
    Vec3f c = transformNormal(direction, state.camera);
    if (!(c.z > 0) || widthPx <= 0 || heightPx <= 0) return false;
    const float aspect = static_cast<float>(widthPx) / static_cast<float>(heightPx);
    const float ys = 1.0f / std::tan(state.fieldOfViewRad * 0.5f);
    const float nx = c.x * ys / aspect / c.z;
    const float ny = c.y * ys / c.z;
    x = (nx + 1.0f) * 0.5f * static_cast<float>(widthPx);
    y = (1.0f - ny) * 0.5f * static_cast<float>(heightPx);
    return std::isfinite(x) && std::isfinite(y);
}

void placeBodiesOnScreen(const SimState& state, int widthPx, int heightPx, std::vector<BodyOnScreen>& out) {
    const size_t n = state.objects.empty() ? 0 : state.objects.size() - 1;
    out.resize(n);
    const Vec3f eye = state.observer().positionKm;
    const float pxPerTan = 0.5f * static_cast<float>(heightPx) / std::tan(state.fieldOfViewRad * 0.5f);
    for (size_t i = 0; i < n; ++i) {
        const SimObject& body = state.objects[i];
        BodyOnScreen& s = out[i];
        s.body = static_cast<int>(i);
        Vec3f p = body.positionKm - eye;
        float d = length(p);
        float r = body.equatorialRadiusKm;
        s.surfaceDistanceKm = d - r;
        s.inFront = projectDirection(state, p, widthPx, heightPx, s.x, s.y);
        // The scene draws the body with its vertical offset shortened by polar / equatorial radius.
        Vec3f drawn = p;
        if (r > 0) drawn.y *= body.polarRadiusKm / r;
        s.discInFront = projectDirection(state, drawn, widthPx, heightPx, s.discX, s.discY);
        float sine = d > 0 ? r / d : 1.0f;
        s.discRadiusPx = sine >= 1.0f ? 1e9f : pxPerTan * sine / std::sqrt(1.0f - sine * sine);
    }
}

int pickBody(const std::vector<BodyOnScreen>& bodies, float x, float y) {
    int best = -1;
    float bestDistance = 0;
    for (const BodyOnScreen& s : bodies) {
        bool onMarker = s.marked() && std::hypot(s.x - x, s.y - y) <= kMarkerPickRadiusPx;
        bool onDisc = s.discInFront && std::hypot(s.discX - x, s.discY - y) <= s.discRadiusPx;
        if (!onMarker && !onDisc) continue;
        if (best < 0 || s.surfaceDistanceKm < bestDistance) {
            best = s.body;
            bestDistance = s.surfaceDistanceKm;
        }
    }
    return best;
}
