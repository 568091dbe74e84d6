// RingModel: the flat textured ring of one planet, two strips with opposite normals (one seen
// from each side) and a dark quad pair standing for the planet's shadow on the ring.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "gl_device.h"
#include "math3d.h"

struct RingRadii {
    float inner = 0;  // mesh units
    float outer = 0;
};

// Ring radii in the units of the planet's mesh, whose equator lies at meshRadius (bounding
// radius minus the distance of the bounding centre from the origin).
RingRadii ringRadiiInMeshUnits(float innerRingRadiusKm, float outerRingRadiusKm, float equatorialRadiusKm,
                               float meshRadius);

// A point in the ring's plane, in ring units.
struct RingPoint {
    float x = 0, z = 0;
};

// Texture u of the six corners of a shadow strip (in strip order: outer, inner, outer, ...) for a
// ring texture that runs radially from rIn (u = 0) to rOut (u = 1): the outer corners' own radial
// coordinate, the inner ones fitted to the radial coordinate over the strip's part on the ring.
std::array<float, 6> shadowTextureU(const std::array<RingPoint, 6>& corners, float rIn, float rOut);

class RingModel {
public:
    static constexpr int kSegments = 100;
    static constexpr int kVertexCount = 404;  // two strips of 202
    static constexpr int kShadowVertexCount = 12;

    RingModel(RingRadii radii, std::string texturePath);

    // Texture (full mip chain, no colour key) and both vertex buffers. False when the texture
    // cannot be loaded.
    bool buildResources(float equatorialRadiusKm, float innerRingRadiusKm, float outerRingRadiusKm);
    void releaseResources();
    // Blended ring strips (underside with clockwise culling, upper side with counter-clockwise),
    // then the shadow quads, with clamped texture addressing; ends with clockwise culling,
    // blending off and wrap addressing.
    void draw(GlDevice& device) const;

    std::vector<VertexPnt> ringVertices() const;
    // The shadow quads from the planet's equatorial radius and the ring's radii in km.
    std::vector<VertexPnt> shadowVertices(float equatorialRadiusKm, float innerRingRadiusKm,
                                          float outerRingRadiusKm) const;

    const RingRadii& radii() const { return radii_; }
    const std::string& texturePath() const { return texturePath_; }
    Mat4f world;  // rebuilt every frame by the placement

private:
    RingRadii radii_;
    std::string texturePath_;
    GlTexture texture_;
    GlVertexBuffer ring_, shadow_;
};
