// One object of the star system (a star, a planet or the observer ship) as held in memory:
// the 61 items of its object file in their in-memory form. Render data lives in the renderer.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "math3d.h"

// "na" markers: how an item that is not given is held in memory.
constexpr float kNaFloat = std::numeric_limits<float>::max();  // 3.4028235e38
constexpr int32_t kNaInt = std::numeric_limits<int32_t>::max();  // 2147483647, Item 8 only
inline const std::string kNaPath = "na";

class SimObject {
public:
    SimObject() = default;
    SimObject(const SimObject&) = default;
    SimObject& operator=(const SimObject&) = default;
    virtual ~SimObject() = default;

    // Paths: the data directory followed by the item's relative value, or "na".
    std::string texturePath = kNaPath;    // Item 16
    std::string meshPath = kNaPath;       // Item 15
    float spinRate = 0;                   // Item 18: spin angle advance per second / 2 pi
    float spinAngleRad = 0;               // Item 19
    float tiltRad = 0;                    // Item 17
    float polarRadiusKm = 0;              // Item 21
    float equatorialRadiusKm = 0;         // Item 20
    int32_t orbitedObject = kNaInt;       // Item 8: 1-based configuration position, kNaInt = none
    Vec3f orbitalPosition1Km;             // Items 9-11, world frame
    Vec3f orbitalPosition2Km;             // Items 12-14, world frame
    Vec3f anglesRad;                      // Items 36-38: pitch, yaw, roll in [0, 2 pi)
    Vec3f ratesRadPerFrame;               // Items 33-35: pitch, yaw, roll rates (angle per frame)
    Vec3f forwardDirection;               // Items 39-41: forward thruster direction, world frame
    Vec3f upDirection;                    // Items 42-44
    Vec3f rightDirection;                 // Items 45-47
    float forceFactorKNPerS = 0;          // Item 50: rate of the thrust level controls
    float angularAccelFactor = 0;         // Item 48: rate of the torque level control, rad/s^2 per s
    Vec3f nominalForceKN;                 // Items 51-53: forward, up, right thrust levels
    Vec3f actingForceKN;                  // Items 54-56: forward, up, right thrust acting now (signed)
    float torqueLevel = 0;                // Item 49: nominal angular acceleration, rad/s^2
    float energyKJ = 0;                   // Item 57
    float jumpDistanceKm = 0;             // Item 60
    float bigJumpFactorKmPerS = 0;        // Item 59
    float smallJumpFactorKmPerS = 0;      // Item 58
    std::string ownPath;                  // Item 0: full path of the file last read or to be written
    float massKg = 0;                     // Item 1
    Vec3f positionKm;                     // Items 2-4, world frame
    Vec3f velocityKmPerS;                 // Items 5-7; x == kNaFloat: velocity from the orbit
    int32_t hasRing = 0;                  // Item 22
    float innerRingRadiusKm = 0;          // Item 24
    float outerRingRadiusKm = 0;          // Item 25
    std::string ringTexturePath = kNaPath;  // Item 23
    int32_t isObserver = 0;               // Item 28
    int32_t isPlanet = 0;                 // Item 27
    int32_t isStar = 0;                   // Item 26
    float lightRed = 0, lightGreen = 0, lightBlue = 0;  // Items 29-31
    float lightIntensity = 0;             // Item 32
    std::string dataDirectory;            // copy of the data directory path, ends in "/"

    bool hasMesh() const { return meshPath != kNaPath; }
};
