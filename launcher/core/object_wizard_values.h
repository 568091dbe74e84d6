// What the object wizard collects for one star, planet or observer, how its pages are filled
// from an existing object file, and the item values it writes, in the user's units on the pages
// and the file's units in the file.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim_object.h"
#include "sky_coordinates.h"

enum class WizardObjectType { Star, Planet, Observer };

// Sheet 1: two orbital positions for an orbiting object, else a position and a velocity.
struct StartValues {
    SkyPosition first;       // position, or first orbital position
    SkyPosition second;      // second orbital position (orbiting only)
    float vx = 0, vy = 0, vz = 0;  // km/s (not orbiting only)
    // The file's own coordinates while the user has left a position's fields as filled, so that
    // the round trip through hours, degrees and a mantissa never moves an untouched object.
    std::optional<CartesianKm> firstKm, secondKm;
    // From "Place in orbit...": the velocity an orbiting object starts with where its two points
    // alone cannot give its orbit (written to Items 5-7 instead of "na"); and for a not-orbiting
    // object the orbit reference and second point it is placed with (Items 8 and 12-14).
    std::optional<CartesianKm> placedVelocityKm;
    std::optional<CartesianKm> placedSecondKm;
};

// Sheet 2 of a star or planet.
struct BodyValues {
    float massMantissa = 0;
    int massExponent = 0;
    float equatorialRadiusKm = 0, polarRadiusKm = 0;
    float rotationDeg = 0, angularVelocityDegPerDay = 0, tiltDeg = 0;
};

// Sheets 2 and 3 of the observer.
struct ObserverValues {
    float forceForwardKN = 0, forceRightKN = 0, forceUpKN = 0, forceFactor = 0;
    float torque = 0, torqueFactor = 0;
    float massKg = 0, energyTJ = 0, jumpMillionKm = 0, slowFactor = 0, fastFactor = 0;
};

// Sheet 3 of a planet (ring) or star (light); both have mesh, texture and name.
struct LookValues {
    bool ring = false;
    float innerRingKm = 0, outerRingKm = 0;
    std::string ringTexture;  // file name with extension
    float intensity = 0;      // 0 to 1
    int red = 0, green = 0, blue = 0;
    std::string mesh, texture;  // file names with extension
};

struct WizardValues {
    WizardObjectType type = WizardObjectType::Planet;
    bool orbiting = false;
    int orbitedRefNo = 0;
    StartValues start;
    BodyValues body;
    ObserverValues observer;
    LookValues look;
    std::string name;  // the object's name: its file is "Objects/" + name + ".cfg"

    // Existing mode: every item's text as the file holds it.
    std::map<int, std::string> fileItems;
    // Items whose fields the user left as filled: written back with the file's own text, so that
    // the unit conversions and the six digits shown never change a value the user did not touch.
    std::map<int, std::string> keptItems;

    // The Ref-No written to Item 8, 0 for none: the orbited object of an orbiting object, or the
    // parent a not-orbiting object was placed about.
    int orbitReference() const;
};

// The pages' values of an existing object file (items read as readObjectItem reads them; "na"
// shows as 0). type, orbiting and orbitedRefNo come from the caller.
WizardValues valuesFromObjectFile(const std::string& objectPath, const std::string& dataDirectory,
                                  WizardObjectType type, bool orbiting, int orbitedRefNo);

// The item writes of "Done", in order: label and value, file names with the data directory in
// front as the item access takes them.
std::vector<std::pair<std::string, std::string>> objectItemWrites(const WizardValues& values,
                                                                  const std::string& dataDirectory);

// The object as the simulator would read the file written from values (for the orbit preview).
SimObject simObjectFromValues(const WizardValues& values);

// Numbers as the wizard writes them: "%14.7e", colour components "%14.7f".
std::string wizardNumber(double value);
std::string wizardColour(double value);

// "Media/Textures/earth.jpg" -> "earth.jpg"; "Objects/Earth.cfg" -> "Earth" with stripExtension.
std::string fileNamePart(const std::string& path, bool stripExtension);
