// RK4 gravity integrator: state set-up, the four-stage step, and the pair-once gravity sum
// (pair_gravity.h) on one thread or two. Compiled without FMA contraction.
#include "integrator.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>


float relativisticFactor(Vec3f v) {
    float speedSquared = v.x * v.x + v.y * v.y + v.z * v.z;
    if (std::sqrt(speedSquared) >= kLimitSpeedKmPerS) return 0.0f;
    constexpr double kLimitSquared = 299972.0 * 299972.0;
    double q = 1.0 - static_cast<double>(speedSquared) / kLimitSquared;
    return q > 0 ? static_cast<float>(std::sqrt(q)) : 0.0f;
}

namespace {

inline void cpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Segment state word: the generation in the upper bits, who claimed and who finished below.
constexpr uint64_t kClaimedByWorker = 1, kClaimedByMain = 2, kDoneByWorker = 4, kDoneByMain = 8;

}  // namespace

// The second thread. The segments of a gravity sum are claimed by both threads from the front;
// the worker writes into buffers of its own. When the main thread runs out of unclaimed segments
// it does not wait for a segment the worker still holds: it computes that segment too, into its
// own buffer, and whichever finishes first wins (the other gives up at its next row). A worker
// that the system does not schedule in time therefore never makes a sum slower than the main
// thread alone. Both compute a segment the same way, so the winner never changes a result. The
// worker spins briefly between the stages of a step and sleeps between frames.
struct IntegratorState::Worker {
    Worker() : thread([this] { run(); }) {}
    ~Worker() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stop.store(true);
            generation.fetch_add(1);
        }
        wake.notify_one();
        thread.join();
    }

    // Sums the segments rows[s]..rows[s+1] on both threads; mainOut[s] and workerOut[s] are the
    // two buffers of segment s. Afterwards fromWorker[s] tells which one holds the result.
    void run(PairKernel k, const PairInputs& in, const std::vector<size_t>& rows,
             const PairOutput* mainOut, const PairOutput* workerOut, bool* fromWorker,
             bool* coincidence) {
        const size_t segments = rows.size() - 1;
        const uint64_t g = generation.load(std::memory_order_relaxed) + 1;
        for (size_t s = 0; s < segments; ++s) {
            state[s].store(g << 8, std::memory_order_relaxed);
            workerHit[s] = false;
            workerOutputs[s] = workerOut[s];
        }
        kernel.store(k, std::memory_order_relaxed);
        px.store(in.px, std::memory_order_relaxed);
        py.store(in.py, std::memory_order_relaxed);
        pz.store(in.pz, std::memory_order_relaxed);
        gm.store(in.gm, std::memory_order_relaxed);
        count.store(in.count, std::memory_order_relaxed);
        lightBlocks.store(in.lightBlocks, std::memory_order_relaxed);
        segmentRows.store(rows.data(), std::memory_order_relaxed);
        segmentCount.store(segments, std::memory_order_relaxed);
        generation.store(g, std::memory_order_release);  // publishes the task
        if (sleeping.load()) {
            std::lock_guard<std::mutex> lock(mutex);
            wake.notify_one();
        }
        bool mainHit = false;
        // Unclaimed segments first.
        for (size_t s = 0; s < segments; ++s) {
            uint64_t expected = g << 8;
            if (!state[s].compare_exchange_strong(expected, (g << 8) | kClaimedByMain)) continue;
            k(in, rows[s], rows[s + 1], mainOut[s], nullptr, g, 0, false, &mainHit);
            state[s].fetch_or(kDoneByMain, std::memory_order_release);
        }
        // Then the ones the worker holds and has not finished: race it.
        for (size_t s = 0; s < segments; ++s) {
            uint64_t seen = state[s].load(std::memory_order_acquire);
            if ((seen & (kDoneByWorker | kDoneByMain)) != 0) continue;
            if (!state[s].compare_exchange_strong(seen, seen | kClaimedByMain)) continue;
            bool hit = false;
            if (k(in, rows[s], rows[s + 1], mainOut[s], &state[s], g, kDoneByWorker, false, &hit)) {
                uint64_t now = state[s].load(std::memory_order_acquire);
                while ((now & kDoneByWorker) == 0 &&
                       !state[s].compare_exchange_weak(now, now | kDoneByMain)) {
                }
                if ((now & kDoneByWorker) == 0) mainHit = mainHit || hit;
            }
        }
        for (size_t s = 0; s < segments; ++s) {
            // Every segment is finished by now: a worker claim that the main thread could not
            // join had been completed.
            uint64_t seen = state[s].load(std::memory_order_acquire);
            while ((seen & (kDoneByWorker | kDoneByMain)) == 0) {
                cpuRelax();
                seen = state[s].load(std::memory_order_acquire);
            }
            fromWorker[s] = (seen & kDoneByWorker) != 0;
            if (fromWorker[s] && workerHit[s]) mainHit = true;
        }
        if (mainHit) *coincidence = true;
    }

    // Claims and computes segments of generation g until none is left.
    void work(uint64_t g) {
        const size_t segments = segmentCount.load(std::memory_order_relaxed);
        for (size_t s = 0; s < segments && s < kMostPairSegments; ++s) {
            uint64_t expected = g << 8;
            if (!state[s].compare_exchange_strong(expected, (g << 8) | kClaimedByWorker)) {
                if ((expected >> 8) != g) return;  // a newer task: this one is over
                continue;
            }
            const PairInputs in{px.load(std::memory_order_relaxed), py.load(std::memory_order_relaxed),
                                pz.load(std::memory_order_relaxed), gm.load(std::memory_order_relaxed),
                                count.load(std::memory_order_relaxed),
                                lightBlocks.load(std::memory_order_relaxed)};
            const size_t* rows = segmentRows.load(std::memory_order_relaxed);
            bool hit = false;
            if (!kernel.load(std::memory_order_relaxed)(in, rows[s], rows[s + 1], workerOutputs[s],
                                                        &state[s], g, kDoneByMain, false, &hit))
                continue;
            workerHit[s] = hit;
            uint64_t now = state[s].load(std::memory_order_relaxed);
            while ((now >> 8) == g && (now & kDoneByMain) == 0 &&
                   !state[s].compare_exchange_weak(now, now | kDoneByWorker,
                                                   std::memory_order_acq_rel)) {
            }
        }
    }

    void run() {
        uint64_t seen = 0;
        for (;;) {
            auto spinStart = std::chrono::steady_clock::now();
            unsigned spins = 0;
            while (generation.load(std::memory_order_acquire) == seen) {
                cpuRelax();
                if ((++spins & 255u) == 0 &&
                    std::chrono::steady_clock::now() - spinStart > std::chrono::microseconds(300)) {
                    std::unique_lock<std::mutex> lock(mutex);
                    sleeping.store(true);
                    wake.wait(lock, [&] { return generation.load() != seen; });
                    sleeping.store(false);
                }
            }
            if (stop.load()) return;
            seen = generation.load(std::memory_order_acquire);
            work(seen);
        }
    }

    std::atomic<PairKernel> kernel{nullptr};
    std::atomic<const double*> px{nullptr}, py{nullptr}, pz{nullptr}, gm{nullptr};
    std::atomic<size_t> count{0}, segmentCount{0};
    std::atomic<const uint8_t*> lightBlocks{nullptr};
    std::atomic<const size_t*> segmentRows{nullptr};
    std::atomic<uint64_t> state[kMostPairSegments] = {};
    PairOutput workerOutputs[kMostPairSegments] = {};  // written before the generation is published
    bool workerHit[kMostPairSegments] = {};
    std::atomic<uint64_t> generation{0};
    std::atomic<bool> sleeping{false};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable wake;
    std::thread thread;  // last: starts after the other members exist
};

IntegratorState::IntegratorState() = default;
IntegratorState::~IntegratorState() = default;

IntegratorState::IntegratorState(const IntegratorState& other)
    : origin(other.origin),
      count_(other.count_),
      paddedCount_(other.paddedCount_),
      storage_(other.storage_),
      requestedPath_(other.requestedPath_),
      requestedThreads_(other.requestedThreads_),
      lightBlocks_(other.lightBlocks_) {}

IntegratorState& IntegratorState::operator=(const IntegratorState& other) {
    if (this != &other) {
        worker_.reset();  // it may still read the arrays that the copy replaces
        origin = other.origin;
        count_ = other.count_;
        paddedCount_ = other.paddedCount_;
        storage_ = other.storage_;
        requestedPath_ = other.requestedPath_;
        requestedThreads_ = other.requestedThreads_;
        lightBlocks_ = other.lightBlocks_;
    }
    return *this;
}

bool IntegratorState::pathSupported(IntegratorPath path) { return integratorPathSupported(path); }

IntegratorPath IntegratorState::activePath() const {
    if (requestedPath_ != IntegratorPath::Auto && pathSupported(requestedPath_))
        return requestedPath_;
    return bestIntegratorPath();
}

void IntegratorState::setUp(const std::vector<SimObject>& objects) {
    if (objects.size() != count_) {
        worker_.reset();  // before the arrays it may read move
        recentStepCostS_ = 0;
        lightBlocks_.clear();  // the flags belonged to other objects
    }
    count_ = objects.size();
    if (count_ == 0) return;
    paddedCount_ = (count_ + kPairBlock - 1) / kPairBlock * kPairBlock;
    storage_.assign(static_cast<size_t>(kSlotCount) * paddedCount_, 0.0);
    origin = objects.back().positionKm;
    for (size_t i = 0; i < count_; ++i) {
        const SimObject& o = objects[i];
        slot(kYPx)[i] = static_cast<double>(o.positionKm.x) - static_cast<double>(origin.x);
        slot(kYVx)[i] = o.velocityKmPerS.x;
        slot(kYPy)[i] = static_cast<double>(o.positionKm.y) - static_cast<double>(origin.y);
        slot(kYVy)[i] = o.velocityKmPerS.y;
        slot(kYPz)[i] = static_cast<double>(o.positionKm.z) - static_cast<double>(origin.z);
        slot(kYVz)[i] = o.velocityKmPerS.z;
    }
}

void IntegratorState::leaveOutPullsAmongLight(const std::vector<bool>& light) {
    lightBlocks_.clear();
    if (light.size() != count_ || std::find(light.begin(), light.end(), true) == light.end()) return;
    lightBlocks_.assign(paddedCount_ / kPairBlock, 1);
    for (size_t i = 0; i < count_; ++i)
        if (!light[i]) lightBlocks_[i / kPairBlock] = 0;
}

bool IntegratorState::usesTwoThreads() const {
    return requestedThreads_ == 2 ||
           (requestedThreads_ == 0 && count_ >= kTwoThreadMinCount &&
            std::thread::hardware_concurrency() >= 2);
}

void IntegratorState::restoreRaw(const std::vector<SimObject>& objects, Vec3f exactOrigin,
                                 const std::vector<double>& raw) {
    setUp(objects);
    if (count_ == 0 || raw.size() != 6 * count_) return;
    origin = exactOrigin;
    for (int j = 0; j < 6; ++j)
        std::memcpy(slot(kYPx + j), raw.data() + static_cast<size_t>(j) * count_, count_ * sizeof(double));
}

double IntegratorState::readBack(size_t i, int j) const {
    double value = slot(kYPx + j)[i];
    switch (j) {
        case 0: return value + static_cast<double>(origin.x);
        case 2: return value + static_cast<double>(origin.y);
        case 4: return value + static_cast<double>(origin.z);
        default: return value;
    }
}

PairOutput IntegratorState::segmentBuffer(size_t owner, size_t segment) {
    double* base = pairBuffers_.data() + (owner * kMostPairSegments + segment) * 3 * paddedCount_;
    return {base, base + paddedCount_, base + 2 * paddedCount_};
}

void IntegratorState::pairSum(const double* px, const double* py, const double* pz, double* ax,
                              double* ay, double* az) {
    if (segmentRows_.empty() || segmentRows_.back() != paddedCount_ / kPairBlock) {
        segmentRows_ = pairSegmentRows(count_);
        pairBuffers_.assign(2 * kMostPairSegments * 3 * paddedCount_, 0.0);
    }
    const size_t segments = segmentRows_.size() - 1;
    const PairInputs in{px, py, pz, slot(kGm), count_, lightBlocks_.empty() ? nullptr : lightBlocks_.data()};
    const PairKernel kernel = pairKernelFor(activePath());
    bool fromWorker[kMostPairSegments] = {};
    bool coincidence = false;
    auto sumSegments = [&](bool careful) {
        if (!careful && usesTwoThreads()) {
            if (!worker_) worker_ = std::make_unique<Worker>();
            PairOutput mainOut[kMostPairSegments], workerOut[kMostPairSegments];
            for (size_t s = 0; s < segments; ++s) {
                mainOut[s] = segmentBuffer(0, s);
                workerOut[s] = segmentBuffer(1, s);
            }
            worker_->run(kernel, in, segmentRows_, mainOut, workerOut, fromWorker, &coincidence);
            return;
        }
        for (size_t s = 0; s < segments; ++s) {
            kernel(in, segmentRows_[s], segmentRows_[s + 1], segmentBuffer(0, s), nullptr, 0, 0,
                   careful, &coincidence);
            fromWorker[s] = false;
        }
    };
    // The segments' buffers in segment order.
    auto addSegments = [&] {
        std::fill(ax, ax + count_, 0.0);
        std::fill(ay, ay + count_, 0.0);
        std::fill(az, az + count_, 0.0);
        for (size_t s = 0; s < segments; ++s) {
            const PairOutput b = segmentBuffer(fromWorker[s] ? 1 : 0, s);
            for (size_t i = segmentRows_[s] * kPairBlock; i < count_; ++i) {
                ax[i] = ax[i] + b.x[i];
                ay[i] = ay[i] + b.y[i];
                az[i] = az[i] + b.z[i];
            }
        }
    };
    sumSegments(false);
    addSegments();
    bool finite = true;
    for (size_t i = 0; i < count_; ++i) finite = finite && ax[i] == ax[i] && ay[i] == ay[i] && az[i] == az[i];
    if (!finite || coincidence) {
        // Two objects met (or the state is no longer finite): the careful sum leaves such pairs
        // out, then every object that shares its position with a body gets the coincidence result.
        coincidence = false;
        sumSegments(true);
        addSegments();
        if (coincidence) markCoincidences(px, py, pz, ax, ay, az);
    }
}

void IntegratorState::markCoincidences(const double* px, const double* py, const double* pz,
                                       double* ax, double* ay, double* az) const {
    for (size_t i = 0; i < count_; ++i)
        for (size_t k = 0; k + 1 < count_; ++k) {
            if (k == i) continue;
            const double dx = px[k] - px[i], dy = py[k] - py[i], dz = pz[k] - pz[i];
            if (dz * dz + dy * dy + dx * dx != 0) continue;
            ax[i] = ay[i] = az[i] = kCoincidenceResult;
            break;
        }
}

void IntegratorState::slope(int wBase, int kBase) {
    // Position slopes are the velocities.
    for (int axis = 0; axis < 3; ++axis)
        std::memcpy(slot(kBase + 2 * axis), slot(wBase + 2 * axis + 1), count_ * sizeof(double));
    double* ax = slot(kBase + 1);
    double* ay = slot(kBase + 3);
    double* az = slot(kBase + 5);
    pairSum(slot(wBase + 0), slot(wBase + 2), slot(wBase + 4), ax, ay, az);

    size_t o = count_ - 1;
    double* acc[3] = {ax, ay, az};
    for (int axis = 0; axis < 3; ++axis)
        if (acc[axis][o] != kCoincidenceResult && observerThrust_[axis] != 0)
            acc[axis][o] = acc[axis][o] + observerThrust_[axis];
}

void IntegratorState::step(double h, const std::vector<SimObject>& objects) {
    if (count_ == 0 || objects.size() != count_) return;
    const auto started = std::chrono::steady_clock::now();

    double* gm = slot(kGm);
    for (size_t k = 0; k + 1 < count_; ++k)
        gm[k] = kGravityKm3PerKgS2 * static_cast<double>(objects[k].massKg);

    // Thrust acceleration of the observer, fixed for the four stages of the step.
    const SimObject& ship = objects.back();
    double r = relativisticFactor(ship.velocityKmPerS);
    double fw[3] = {ship.forwardDirection.x, ship.forwardDirection.y, ship.forwardDirection.z};
    double up[3] = {ship.upDirection.x, ship.upDirection.y, ship.upDirection.z};
    double rt[3] = {ship.rightDirection.x, ship.rightDirection.y, ship.rightDirection.z};
    double forceFw = ship.actingForceKN.x, forceUp = ship.actingForceKN.y,
           forceRt = ship.actingForceKN.z;
    for (int a = 0; a < 3; ++a) {
        double numerator = r * (forceFw * fw[a] + forceUp * up[a] + forceRt * rt[a]);
        // No thrust adds nothing, even for a massless observer.
        observerThrust_[a] = numerator == 0 ? 0.0 : numerator / static_cast<double>(ship.massKg);
    }

    const size_t n = count_;
    double* y[6];
    double* w[6];
    for (int j = 0; j < 6; ++j) {
        y[j] = slot(kYPx + j);
        w[j] = slot(kWPx + j);
    }
    auto advanceWork = [&](double factor, int kBase) {
        for (int j = 0; j < 6; ++j) {
            const double* k = slot(kBase + j);
            for (size_t i = 0; i < n; ++i) w[j][i] = y[j][i] + factor * k[i];
        }
    };

    slope(kYPx, kK1);  // w := y, k1 := f(w)
    advanceWork(h / 2, kK1);
    slope(kWPx, kK2);
    advanceWork(h / 2, kK2);
    slope(kWPx, kK3);
    advanceWork(h, kK3);
    slope(kWPx, kK4);

    const double sixth = 0.16666666666666666;
    for (int j = 0; j < 6; ++j) {
        const double* k1 = slot(kK1 + j);
        const double* k2 = slot(kK2 + j);
        const double* k3 = slot(kK3 + j);
        const double* k4 = slot(kK4 + j);
        for (size_t i = 0; i < n; ++i)
            y[j][i] = y[j][i] + h * sixth * ((k2[i] + k3[i]) * 2 + k1[i] + k4[i]);
    }
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    recentStepCostS_ = recentStepCostS_ > 0 ? 0.8 * recentStepCostS_ + 0.2 * took : took;
}
