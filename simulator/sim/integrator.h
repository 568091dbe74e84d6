// RK4 integration of the mutual gravity of all objects plus the observer's thrust.
//
// State: per object six doubles (x - origin.x, vx, y - origin.y, vy, z - origin.z, vz) in km and
// km/s, relative to an origin at the observer's position at the last set-up. The observer (last
// object) is attracted by every body and attracts nothing. Masses, forces, thruster directions and
// the velocity for the relativistic factor are read from the objects at every step; positions and
// velocities come only from this state, which persists between frames. Owned by SimState; sized
// once at set-up, never allocates during step().
//
// The state is held as structure-of-arrays. The gravity sum visits every pair once (pair_gravity.h)
// on eight-lane vectors (portable, AVX2 or AVX-512, chosen at run time) and, for large systems, on
// two threads; every path and thread count performs the same operations in the same order, so all
// give bitwise identical results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "math3d.h"
#include "pair_gravity.h"
#include "sim_object.h"

// Gravitational constant: the float nearest 6.672e-20 km^3 kg^-1 s^-2, widened to double.
constexpr double kGravityKm3PerKgS2 = static_cast<double>(6.672e-20f);
constexpr float kLimitSpeedKmPerS = 299972.0f;
// Acceleration component reported when two objects occupy the same integrator position.
constexpr double kCoincidenceResult = 1.7976931348623157e308;

// Relativistic factor of a velocity: sqrt(1 - v^2 / c^2) with the squared speed held as a float,
// 0 at or above the limit speed.
float relativisticFactor(Vec3f velocityKmPerS);

class IntegratorState {
public:
    IntegratorState();
    ~IntegratorState();
    // Copies take the state and settings; each instance runs its own worker thread.
    IntegratorState(const IntegratorState& other);
    IntegratorState& operator=(const IntegratorState& other);

    // origin := observer position; every object's state from its float position and velocity.
    void setUp(const std::vector<SimObject>& objects);
    // One RK4 step of h seconds.
    void step(double hS, const std::vector<SimObject>& objects);
    // y[i][j] plus the origin for the position components j = 0, 2, 4.
    double readBack(size_t i, int j) const;

    // Exact continuation: component j (0..5) of every object's state, relative to the origin.
    const double* rawComponent(int j) const { return slot(kYPx + j); }
    // setUp(objects), then origin and state exactly as given (raw[j * count + i]); a raw array of
    // the wrong size leaves the plain set-up.
    void restoreRaw(const std::vector<SimObject>& objects, Vec3f exactOrigin,
                    const std::vector<double>& raw);

    Vec3f origin;  // km, observer position at the last set-up
    size_t count() const { return count_; }
    // Real time of a step as recently measured (smoothed over a few), 0 before the first.
    double recentStepCostS() const { return recentStepCostS_; }

    // Kernel selection: Auto takes the widest the processor supports. A path the processor lacks
    // falls back to Auto's choice.
    void setPath(IntegratorPath path) { requestedPath_ = path; }
    IntegratorPath activePath() const;
    static bool pathSupported(IntegratorPath path);
    // Threads for the gravity sum: 0 = automatic (two for large systems), 1 or 2 = forced.
    void setThreadCount(int threads) { requestedThreads_ = threads; }
    // Leaves out the pulls between two objects that are both marked light (one flag per object;
    // empty: every pull counts). Only whole blocks of light objects are left out of each other, so
    // a light object that shares a block with a heavier one keeps all its pulls. For predictions:
    // the live run always sums every pair.
    void leaveOutPullsAmongLight(const std::vector<bool>& light);
    static constexpr size_t kTwoThreadMinCount = 64;
    // Names the arithmetic of the step; a recording made with another cannot be replayed bit
    // for bit.
    static constexpr const char* kArithmetic = "pair-once-fma-2";

private:
    struct Worker;
    // Array slots inside storage_, each paddedCount_ doubles.
    enum Slot : int {
        kYPx, kYVx, kYPy, kYVy, kYPz, kYVz,  // state, j = 0..5
        kWPx, kWVx, kWPy, kWVy, kWPz, kWVz,  // work state
        kK1, kK2 = kK1 + 6, kK3 = kK2 + 6, kK4 = kK3 + 6,  // slopes, six arrays each
        kGm = kK4 + 6,                     // G * mass of each body (sources)
        kSlotCount
    };
    double* slot(int s) { return storage_.data() + static_cast<size_t>(s) * paddedCount_; }
    const double* slot(int s) const {
        return storage_.data() + static_cast<size_t>(s) * paddedCount_;
    }
    // k := f(w) for the state arrays starting at slot wBase (y or w) into slope slots kBase.
    void slope(int wBase, int kBase);
    // a := gravity at the positions p, on one or two threads.
    void pairSum(const double* px, const double* py, const double* pz, double* ax, double* ay,
                 double* az);
    void markCoincidences(const double* px, const double* py, const double* pz, double* ax,
                          double* ay, double* az) const;
    PairOutput segmentBuffer(size_t owner, size_t segment);  // owner 0: main thread, 1: worker
    bool usesTwoThreads() const;

    size_t count_ = 0;
    size_t paddedCount_ = 0;
    std::vector<double> storage_;
    std::vector<size_t> segmentRows_;   // the work split (pair_gravity.h)
    std::vector<double> pairBuffers_;   // per thread and segment: three padded arrays
    double observerThrust_[3] = {0, 0, 0};  // km/s^2 added to the observer's acceleration
    IntegratorPath requestedPath_ = IntegratorPath::Auto;
    int requestedThreads_ = 0;
    std::vector<uint8_t> lightBlocks_;  // per block: only light objects (empty: none left out)
    double recentStepCostS_ = 0;
    std::unique_ptr<Worker> worker_;
};
