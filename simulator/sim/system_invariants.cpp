// Total energy and angular momentum of the bodies.
#include "system_invariants.h"

#include <cmath>

SystemInvariants systemInvariants(const SimState& state) {
    SystemInvariants s;
    const IntegratorState& in = state.integrator;
    const size_t bodies = std::min(state.objects.size(), in.count());
    if (bodies < 2) return s;
    const size_t n = bodies - 1;  // the observer is last
    for (size_t i = 0; i < n; ++i) {
        const double m = state.objects[i].massKg;
        const double x = in.readBack(i, 0), y = in.readBack(i, 2), z = in.readBack(i, 4);
        const double vx = in.readBack(i, 1), vy = in.readBack(i, 3), vz = in.readBack(i, 5);
        s.energy += 0.5 * m * (vx * vx + vy * vy + vz * vz);
        s.angularMomentum[0] += m * (y * vz - z * vy);
        s.angularMomentum[1] += m * (z * vx - x * vz);
        s.angularMomentum[2] += m * (x * vy - y * vx);
        for (size_t j = i + 1; j < n; ++j) {
            // Differences of the raw components: the origin cancels and no precision is lost.
            const double dx = in.rawComponent(0)[j] - in.rawComponent(0)[i];
            const double dy = in.rawComponent(2)[j] - in.rawComponent(2)[i];
            const double dz = in.rawComponent(4)[j] - in.rawComponent(4)[i];
            const double r = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (r > 0) s.energy -= kGravityKm3PerKgS2 * m * state.objects[j].massKg / r;
        }
    }
    return s;
}

InvariantDrift invariantDrift(const SystemInvariants& a, const SystemInvariants& b) {
    InvariantDrift d;
    if (a.energy != 0) d.energy = (b.energy - a.energy) / std::fabs(a.energy);
    const double* la = a.angularMomentum;
    const double* lb = b.angularMomentum;
    const double l0 = std::sqrt(la[0] * la[0] + la[1] * la[1] + la[2] * la[2]);
    const double dl = std::sqrt((lb[0] - la[0]) * (lb[0] - la[0]) + (lb[1] - la[1]) * (lb[1] - la[1]) +
                                (lb[2] - la[2]) * (lb[2] - la[2]));
    if (l0 != 0) d.angularMomentum = dl / l0;
    return d;
}
