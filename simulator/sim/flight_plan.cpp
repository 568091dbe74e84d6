// Burn nodes, the orbital frame they are given in, and what a burn costs.
#include "flight_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "integrator.h"

OrbitalFrame orbitalFrame(const RelativeState& s) {
    OrbitalFrame f;
    f.prograde = normalized(s.velocityKmPerS);
    f.normal = normalized(cross(s.positionKm, s.velocityKmPerS));
    // Outward, square to the velocity: the position less its part along the velocity.
    f.radial = normalized(s.positionKm - f.prograde * dot(s.positionKm, f.prograde));
    return f;
}

Vec3d worldDeltaV(const OrbitalFrame& f, Vec3d p) { return f.prograde * p.x + f.normal * p.y + f.radial * p.z; }

Vec3d plannedDeltaV(const OrbitalFrame& f, Vec3d w) {
    return {dot(w, f.prograde), dot(w, f.normal), dot(w, f.radial)};
}

double pairGm(const std::vector<SimObject>& objects, size_t body, size_t ship) {
    return kGravityKm3PerKgS2 * (static_cast<double>(objects[body].massKg) + objects[ship].massKg);
}

RelativeState relativeState(const std::vector<SimObject>& objects, size_t of, size_t about) {
    return {widen(objects[of].positionKm) - widen(objects[about].positionKm),
            widen(objects[of].velocityKmPerS) - widen(objects[about].velocityKmPerS)};
}

void FlightPlan::sortNodes() {
    const BurnNode* keep = selected >= 0 ? &nodes[static_cast<size_t>(selected)] : nullptr;
    const double keepTime = keep ? keep->timeS : 0;
    std::stable_sort(nodes.begin(), nodes.end(), [](const BurnNode& a, const BurnNode& b) { return a.timeS < b.timeS; });
    if (!keep) return;
    for (size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].timeS == keepTime) selected = static_cast<int>(i);
}

void FlightPlan::insertNode(double timeS, int primary) {
    BurnNode node;
    node.timeS = timeS;
    node.primary = primary;
    nodes.push_back(node);
    selected = static_cast<int>(nodes.size()) - 1;
    sortNodes();
}

void FlightPlan::deleteSelected() {
    if (selected < 0 || selected >= static_cast<int>(nodes.size())) return;
    nodes.erase(nodes.begin() + selected);
    if (selected >= static_cast<int>(nodes.size())) selected = static_cast<int>(nodes.size()) - 1;
}

void FlightPlan::moveSelected(double byS) {
    if (selected < 0 || selected >= static_cast<int>(nodes.size())) return;
    nodes[static_cast<size_t>(selected)].timeS += byS;
    sortNodes();
}

void FlightPlan::changeSelected(Vec3d by) {
    if (selected < 0 || selected >= static_cast<int>(nodes.size())) return;
    BurnNode& node = nodes[static_cast<size_t>(selected)];
    node.deltaVKmPerS += by;
    node.kind = NodeKind::Fixed;  // a hand-changed node is flown as it stands
}

void FlightPlan::popFront() {
    if (nodes.empty()) return;
    nodes.erase(nodes.begin());
    selected = nodes.empty() ? -1 : std::max(0, selected - 1);
}

BurnCost burnCost(const SimObject& ship, double deltaV, double energyKJ) {
    BurnCost cost;
    const double force = ship.nominalForceKN.x;
    const double mass = ship.massKg;
    cost.noThrust = !(force > 0) || !(mass > 0);
    if (cost.noThrust) return cost;
    cost.durationS = deltaV * mass / force;
    cost.energyKJ = length(widen(ship.velocityKmPerS)) * force * cost.durationS;
    cost.energyShort = cost.energyKJ > energyKJ;
    return cost;
}

std::string burnShortfall(const SimObject& ship, double deltaV, double energyKJ) {
    const BurnCost cost = burnCost(ship, deltaV, energyKJ);
    if (cost.noThrust) return "; no forward thrust to fly it";
    if (cost.energyShort) return "; the energy store cannot deliver it";
    return "";
}

std::string planShortfall(const SimObject& ship, const std::vector<BurnNode>& nodes, double nowS, double energyKJ) {
    double total = 0;
    for (const BurnNode& node : nodes) total += length(node.deltaVKmPerS);
    std::string why = burnShortfall(ship, total, energyKJ);
    if (!why.empty()) return why;
    double lastEndS = nowS;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const double half = burnCost(ship, length(nodes[i].deltaVKmPerS), energyKJ).durationS / 2;
        const std::string burn = "burn " + std::to_string(i + 1);
        if (nodes[i].timeS - half < lastEndS)
            return "; the thrust is too low: " + burn + " lasts " + spanText(2 * half) +
                   (i == 0 ? " and would have to start before now" : " and would overlap the one before");
        lastEndS = nodes[i].timeS + half;
    }
    return "";
}

std::string spanText(double seconds) {
    char text[64];
    const double s = std::abs(seconds);
    const char* sign = seconds < 0 ? "-" : "";
    if (s < 60)
        std::snprintf(text, sizeof text, "%s%.0f s", sign, s);
    else if (s < 3600)
        std::snprintf(text, sizeof text, "%s%d min %02d s", sign, static_cast<int>(s / 60), static_cast<int>(s) % 60);
    else if (s < 86400)
        std::snprintf(text, sizeof text, "%s%d h %02d min", sign, static_cast<int>(s / 3600),
                      static_cast<int>(s / 60) % 60);
    else
        std::snprintf(text, sizeof text, "%s%d d %d h", sign, static_cast<int>(s / 86400),
                      static_cast<int>(s / 3600) % 24);
    return text;
}
