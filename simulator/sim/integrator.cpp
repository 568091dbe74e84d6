// RK4 gravity integrator: state set-up, the four-stage step, and the gravity sum kernels
// (scalar, AVX2, AVX-512) with an optional second thread. Compiled without FMA contraction.
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

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#pragma GCC diagnostic ignored "-Wpsabi"

float relativisticFactor(Vec3f v) {
    float speedSquared = v.x * v.x + v.y * v.y + v.z * v.z;
    if (std::sqrt(speedSquared) >= kLimitSpeedKmPerS) return 0.0f;
    constexpr double kLimitSquared = 299972.0 * 299972.0;
    double q = 1.0 - static_cast<double>(speedSquared) / kLimitSquared;
    return q > 0 ? static_cast<float>(std::sqrt(q)) : 0.0f;
}

namespace {

// Gravity of the bodies [0, bodyCount) on the targets [begin, end), W targets per vector. Each
// target sums its sources in ascending order, each term (G m_k) / (d2 * sqrt(d2)) * delta with
// correctly rounded operations only, so every vector width gives the scalar result bit for bit.
// A target's own slot adds +0, which leaves a sum that starts at +0 unchanged. A zero distance to
// another body makes the target's three components the coincidence result.
template <class V, class M, int W, class Sqrt>
inline __attribute__((always_inline)) void accelerationBlocks(
    const double* px, const double* py, const double* pz, const double* gm, size_t bodyCount,
    double* ax, double* ay, double* az, size_t begin, size_t end, Sqrt vsqrt) {
    V laneIndex;
    for (int l = 0; l < W; ++l) laneIndex[l] = l;
    for (size_t i0 = begin; i0 < end; i0 += W) {
        V tx, ty, tz;
        std::memcpy(&tx, px + i0, sizeof(V));
        std::memcpy(&ty, py + i0, sizeof(V));
        std::memcpy(&tz, pz + i0, sizeof(V));
        V sx{}, sy{}, sz{};
        M hit{};
        // Vectors go by reference (the square root too): clang refuses a wide vector passed or
        // returned by value between functions not compiled for the same instruction set.
        auto term = [&](size_t k, const M& notSelf) __attribute__((always_inline)) {
            V dx = px[k] - tx;
            V dy = py[k] - ty;
            V dz = pz[k] - tz;
            V d2 = dz * dz + dy * dy + dx * dx;
            V root;
            vsqrt(d2, root);
            V f = gm[k] / (d2 * root);
            hit |= (d2 == 0.0) & notSelf;
            V zero{};
            sx = sx + (notSelf ? f * dx : zero);
            sy = sy + (notSelf ? f * dy : zero);
            sz = sz + (notSelf ? f * dz : zero);
        };
        size_t selfBegin = std::min(i0, bodyCount);
        size_t selfEnd = std::min(i0 + W, bodyCount);
        M all = ~M{};
        for (size_t k = 0; k < selfBegin; ++k) term(k, all);
        for (size_t k = selfBegin; k < selfEnd; ++k)
            term(k, laneIndex != static_cast<double>(k - i0));
        for (size_t k = selfEnd; k < bodyCount; ++k) term(k, all);
        V big = V{} + kCoincidenceResult;
        sx = hit ? big : sx;
        sy = hit ? big : sy;
        sz = hit ? big : sz;
        std::memcpy(ax + i0, &sx, sizeof(V));
        std::memcpy(ay + i0, &sy, sizeof(V));
        std::memcpy(az + i0, &sz, sizeof(V));
    }
}

using Kernel = void (*)(const double*, const double*, const double*, const double*, size_t,
                        double*, double*, double*, size_t, size_t);

void accelerationsScalar(const double* px, const double* py, const double* pz, const double* gm,
                         size_t bodyCount, double* ax, double* ay, double* az, size_t begin,
                         size_t end) {
    for (size_t i = begin; i < end; ++i) {
        double sx = 0, sy = 0, sz = 0;
        bool hit = false;
        for (size_t k = 0; k < bodyCount && !hit; ++k) {
            if (k == i) continue;
            double dx = px[k] - px[i];
            double dy = py[k] - py[i];
            double dz = pz[k] - pz[i];
            double d2 = dz * dz + dy * dy + dx * dx;
            if (d2 == 0) {
                hit = true;
                break;
            }
            double f = gm[k] / (d2 * std::sqrt(d2));
            sx = sx + f * dx;
            sy = sy + f * dy;
            sz = sz + f * dz;
        }
        ax[i] = hit ? kCoincidenceResult : sx;
        ay[i] = hit ? kCoincidenceResult : sy;
        az[i] = hit ? kCoincidenceResult : sz;
    }
}

#if defined(__x86_64__) || defined(__i386__)
#define CELESTRIX_X86 1
__attribute__((target("avx2"))) void accelerationsAvx2(const double* px, const double* py,
                                                        const double* pz, const double* gm,
                                                        size_t bodyCount, double* ax, double* ay,
                                                        double* az, size_t begin, size_t end) {
    typedef double V __attribute__((vector_size(32)));
    typedef int64_t M __attribute__((vector_size(32)));
    accelerationBlocks<V, M, 4>(px, py, pz, gm, bodyCount, ax, ay, az, begin, end,
                                [](const V& x, V& root) __attribute__((target("avx2"))) {
                                    root = reinterpret_cast<V>(_mm256_sqrt_pd(x));
                                });
}

__attribute__((target("avx512f"))) void accelerationsAvx512(const double* px, const double* py,
                                                             const double* pz, const double* gm,
                                                             size_t bodyCount, double* ax,
                                                             double* ay, double* az, size_t begin,
                                                             size_t end) {
    typedef double V __attribute__((vector_size(64)));
    typedef int64_t M __attribute__((vector_size(64)));
    accelerationBlocks<V, M, 8>(px, py, pz, gm, bodyCount, ax, ay, az, begin, end,
                                [](const V& x, V& root) __attribute__((target("avx512f"))) {
                                    root = reinterpret_cast<V>(_mm512_mask_sqrt_pd(x, 0xFF, x));
                                });
}
#endif

IntegratorPath bestPath() {
#ifdef CELESTRIX_X86
    if (__builtin_cpu_supports("avx512f")) return IntegratorPath::Avx512;
    if (__builtin_cpu_supports("avx2")) return IntegratorPath::Avx2;
#endif
    return IntegratorPath::Scalar;
}

Kernel kernelFor(IntegratorPath path) {
    switch (path) {
#ifdef CELESTRIX_X86
        case IntegratorPath::Avx512: return accelerationsAvx512;
        case IntegratorPath::Avx2: return accelerationsAvx2;
#endif
        default: return accelerationsScalar;
    }
}

inline void cpuRelax() {
#ifdef CELESTRIX_X86
    __builtin_ia32_pause();
#endif
}

constexpr size_t kLaneBlock = 8;  // widest vector; arrays are padded and split to multiples of it

}  // namespace

// The second thread. A gravity sum is cut into chunks of targets that both threads claim from a
// shared ticket (generation in the high half, next chunk in the low half), so a worker that the
// system does not schedule in time simply leaves its share to the main thread. Every target is
// computed independently, so who computes which chunk does not change any result. The worker
// spins briefly between the stages of a step and sleeps between frames.
struct IntegratorState::Worker {
    Worker() : thread([this] { run(); }) {}
    ~Worker() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stop.store(true);
            ticket.fetch_add(uint64_t{1} << 32);
        }
        wake.notify_one();
        thread.join();
    }

    // Runs kernel over [0, end) in chunks on both threads; returns when all chunks are done.
    void run(Kernel k, const double* x, const double* y, const double* z, const double* masses,
             size_t bodies, double* outX, double* outY, double* outZ, size_t end, size_t chunk) {
        kernel.store(k, std::memory_order_relaxed);
        px.store(x, std::memory_order_relaxed);
        py.store(y, std::memory_order_relaxed);
        pz.store(z, std::memory_order_relaxed);
        gm.store(masses, std::memory_order_relaxed);
        bodyCount.store(bodies, std::memory_order_relaxed);
        ax.store(outX, std::memory_order_relaxed);
        ay.store(outY, std::memory_order_relaxed);
        az.store(outZ, std::memory_order_relaxed);
        targetEnd.store(end, std::memory_order_relaxed);
        chunkSize.store(chunk, std::memory_order_relaxed);
        uint32_t chunks = static_cast<uint32_t>((end + chunk - 1) / chunk);
        chunkCount.store(chunks, std::memory_order_relaxed);
        chunksDone.store(0, std::memory_order_relaxed);
        uint64_t generation = (ticket.load(std::memory_order_relaxed) >> 32) + 1;
        ticket.store(generation << 32, std::memory_order_release);  // publishes the task
        if (sleeping.load()) {
            std::lock_guard<std::mutex> lock(mutex);
            wake.notify_one();
        }
        work(static_cast<uint32_t>(generation));
        unsigned spins = 0;
        while (chunksDone.load(std::memory_order_acquire) != chunks) {
            if (++spins < 2000)
                cpuRelax();
            else
                std::this_thread::yield();
        }
    }

    // Claims and computes chunks of the given generation until none is left.
    void work(uint32_t generation) {
        for (;;) {
            uint64_t t = ticket.load(std::memory_order_acquire);
            if ((t >> 32) != generation) return;
            uint32_t index = static_cast<uint32_t>(t);
            if (index >= chunkCount.load(std::memory_order_relaxed)) return;
            // Read the task before claiming; a failed claim discards what was read.
            Kernel k = kernel.load(std::memory_order_relaxed);
            size_t chunk = chunkSize.load(std::memory_order_relaxed);
            size_t end = targetEnd.load(std::memory_order_relaxed);
            const double* x = px.load(std::memory_order_relaxed);
            const double* y = py.load(std::memory_order_relaxed);
            const double* z = pz.load(std::memory_order_relaxed);
            const double* masses = gm.load(std::memory_order_relaxed);
            size_t bodies = bodyCount.load(std::memory_order_relaxed);
            double* outX = ax.load(std::memory_order_relaxed);
            double* outY = ay.load(std::memory_order_relaxed);
            double* outZ = az.load(std::memory_order_relaxed);
            if (!ticket.compare_exchange_weak(t, t + 1, std::memory_order_acq_rel)) continue;
            size_t begin = index * chunk;
            k(x, y, z, masses, bodies, outX, outY, outZ, begin, std::min(begin + chunk, end));
            chunksDone.fetch_add(1, std::memory_order_release);
        }
    }

    void run() {
        uint32_t seen = 0;
        for (;;) {
            auto spinStart = std::chrono::steady_clock::now();
            unsigned spins = 0;
            auto generation = [&] {
                return static_cast<uint32_t>(ticket.load(std::memory_order_acquire) >> 32);
            };
            while (generation() == seen) {
                cpuRelax();
                if ((++spins & 255u) == 0 &&
                    std::chrono::steady_clock::now() - spinStart > std::chrono::microseconds(300)) {
                    std::unique_lock<std::mutex> lock(mutex);
                    sleeping.store(true);
                    wake.wait(lock, [&] { return generation() != seen; });
                    sleeping.store(false);
                }
            }
            if (stop.load()) return;
            seen = generation();
            work(seen);
        }
    }

    std::atomic<Kernel> kernel{nullptr};
    std::atomic<const double*> px{nullptr}, py{nullptr}, pz{nullptr}, gm{nullptr};
    std::atomic<double*> ax{nullptr}, ay{nullptr}, az{nullptr};
    std::atomic<size_t> bodyCount{0}, targetEnd{0}, chunkSize{0};
    std::atomic<uint32_t> chunkCount{0};
    std::atomic<uint32_t> chunksDone{0};
    std::atomic<uint64_t> ticket{0};
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
      requestedThreads_(other.requestedThreads_) {}

IntegratorState& IntegratorState::operator=(const IntegratorState& other) {
    if (this != &other) {
        origin = other.origin;
        count_ = other.count_;
        paddedCount_ = other.paddedCount_;
        storage_ = other.storage_;
        requestedPath_ = other.requestedPath_;
        requestedThreads_ = other.requestedThreads_;
    }
    return *this;
}

bool IntegratorState::pathSupported(IntegratorPath path) {
    switch (path) {
        case IntegratorPath::Auto:
        case IntegratorPath::Scalar: return true;
#ifdef CELESTRIX_X86
        case IntegratorPath::Avx2: return __builtin_cpu_supports("avx2");
        case IntegratorPath::Avx512: return __builtin_cpu_supports("avx512f");
#endif
        default: return false;
    }
}

IntegratorPath IntegratorState::activePath() const {
    if (requestedPath_ != IntegratorPath::Auto && pathSupported(requestedPath_))
        return requestedPath_;
    return bestPath();
}

void IntegratorState::setUp(const std::vector<SimObject>& objects) {
    count_ = objects.size();
    if (count_ == 0) return;
    paddedCount_ = (count_ + kLaneBlock - 1) / kLaneBlock * kLaneBlock;
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
    bool twoThreads = requestedThreads_ == 2 ||
                      (requestedThreads_ == 0 && count_ >= kTwoThreadMinCount &&
                       std::thread::hardware_concurrency() >= 2);
    if (twoThreads && !worker_) worker_ = std::make_unique<Worker>();
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

void IntegratorState::accelerations(const double* px, const double* py, const double* pz,
                                    double* ax, double* ay, double* az, size_t begin,
                                    size_t end) const {
    kernelFor(activePath())(px, py, pz, slot(kGm), count_ - 1, ax, ay, az, begin, end);
}

void IntegratorState::slope(int wBase, int kBase) {
    // Position slopes are the velocities.
    for (int axis = 0; axis < 3; ++axis)
        std::memcpy(slot(kBase + 2 * axis), slot(wBase + 2 * axis + 1), count_ * sizeof(double));
    const double* px = slot(wBase + 0);
    const double* py = slot(wBase + 2);
    const double* pz = slot(wBase + 4);
    double* ax = slot(kBase + 1);
    double* ay = slot(kBase + 3);
    double* az = slot(kBase + 5);

    bool twoThreads = requestedThreads_ == 2 ||
                      (requestedThreads_ == 0 && count_ >= kTwoThreadMinCount);
    if (twoThreads && !worker_) twoThreads = false;
    if (twoThreads) {
        // About sixteen chunks, whole lane blocks each.
        size_t chunk = std::max(kLaneBlock, (count_ / 16 + kLaneBlock - 1) / kLaneBlock * kLaneBlock);
        worker_->run(kernelFor(activePath()), px, py, pz, slot(kGm), count_ - 1, ax, ay, az,
                     paddedCount_, chunk);
    } else {
        accelerations(px, py, pz, ax, ay, az, 0, paddedCount_);
    }

    size_t o = count_ - 1;
    double* acc[3] = {ax, ay, az};
    for (int axis = 0; axis < 3; ++axis)
        if (acc[axis][o] != kCoincidenceResult && observerThrust_[axis] != 0)
            acc[axis][o] = acc[axis][o] + observerThrust_[axis];
}

void IntegratorState::step(double h, const std::vector<SimObject>& objects) {
    if (count_ == 0 || objects.size() != count_) return;
    if (requestedThreads_ == 2 && !worker_) worker_ = std::make_unique<Worker>();

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
}
