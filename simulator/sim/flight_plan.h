// Flight plans: burn nodes on the ship's path, each a change of velocity at a mission time, given
// in the ship's orbital frame about the body it orbits (prograde, normal, radial). The plan edits
// the nodes (new, delete, move, change) and works out what a burn costs: its duration at the
// forward thrust and the energy it drains.
#pragma once

#include <string>
#include <vector>

#include "sim_object.h"
#include "two_body_orbit.h"
#include "vec3d.h"

// How a node's change of velocity is found when the ship flies it.
enum class NodeKind {
    Fixed,        // as planned (prograde, normal, radial)
    Circularise,  // recomputed from the ship's real orbit at the burn: a circular orbit there
    Correction,   // a mid-course correction, worked out from the ship's real path when it is next
};

struct BurnNode {
    double timeS = 0;        // mission time of the burn's middle
    Vec3d deltaVKmPerS;      // x prograde, y normal, z radial (outward)
    NodeKind kind = NodeKind::Fixed;
    int primary = -1;        // the body whose orbital frame the node uses
};

// The ship's orbital frame about a body: unit vectors in world axes.
struct OrbitalFrame {
    Vec3d prograde, normal, radial;
};
OrbitalFrame orbitalFrame(const RelativeState& shipAboutBody);
Vec3d worldDeltaV(const OrbitalFrame& frame, Vec3d planned);
Vec3d plannedDeltaV(const OrbitalFrame& frame, Vec3d world);

// G (M + m) of body and ship, and the ship's state relative to body, from the float items.
double pairGm(const std::vector<SimObject>& objects, size_t body, size_t ship);
RelativeState relativeState(const std::vector<SimObject>& objects, size_t of, size_t about);

// The steps of the node keys: keypad 8/2, 4/6, 7/9 change the velocity by these (Shift: finer);
// Page Up / Down move a node by a fraction of the orbit's period (or a fixed time when unbound).
constexpr double kNodeStepKmPerS = 0.01;
constexpr double kNodeFineStepKmPerS = 0.001;
constexpr double kNodeMoveFraction = 1.0 / 72.0;
constexpr double kNodeMoveUnboundS = 600.0;

struct FlightPlan {
    std::vector<BurnNode> nodes;  // in time order
    int selected = -1;            // the node the keys change, -1 for none
    std::string typedAltitude;    // digits typed so far for an orbit change (km)
    double chosenAltitudeKm = -1; // the last altitude confirmed with Enter, -1 for none
    std::string summary;          // what the last transfer request found, or why nothing
    int transferTarget = -1;      // the body a transfer plan aims for (its corrections), -1 none
    double transferAltitudeKm = 0;  // the closest approach it aims for

    const BurnNode* next() const { return nodes.empty() ? nullptr : &nodes.front(); }
    void sortNodes();
    // A new node at timeS (no change of velocity yet), selected.
    void insertNode(double timeS, int primary);
    void deleteSelected();
    void moveSelected(double byS);
    void changeSelected(Vec3d byKmPerS);
    // Removes the first node (flown or abandoned); the selection follows.
    void popFront();
};

// What a burn asks of the ship at its forward thrust level: the duration, the energy drained
// (thrust times speed times time, as the frame step drains it) and whether the store holds it.
struct BurnCost {
    double durationS = 0;
    double energyKJ = 0;
    bool noThrust = false;       // the forward thrust level is 0
    bool energyShort = false;    // the store holds less than the burn drains
};
BurnCost burnCost(const SimObject& ship, double deltaVKmPerS, double energyKJ);

// "" when the ship can fly burns of this total, else why not ("; no forward thrust to fly it").
std::string burnShortfall(const SimObject& ship, double deltaVKmPerS, double energyKJ);

// The same for a whole plan before it is flown, adding where the forward thrust is too low for
// the burns as planned: a burn (centred on its node) that would have to start before nowS, or
// two burns that would overlap.
std::string planShortfall(const SimObject& ship, const std::vector<BurnNode>& nodes, double nowS, double energyKJ);

// "2 h 14 min", "4 d 6 h", "35 s" for a time span.
std::string spanText(double seconds);
