// The RK4 gravity step written out literally, as the baseline that the benchmark times and the
// tests compare against: six pointer arrays to six-double blocks, every slope component computed
// on its own, (d^2)^1.5 through std::pow.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "integrator.h"
#include "sim_object.h"

class LiteralIntegrator {
public:
    explicit LiteralIntegrator(const std::vector<SimObject>& objects) : objects_(objects) {
        n_ = objects.size();
        for (auto* arr : {&y_, &w_, &k1_, &k2_, &k3_, &k4_}) {
            arr->resize(n_);
            for (auto& block : *arr) block = std::make_unique<double[]>(6);
        }
        Vec3f origin = objects.back().positionKm;
        for (size_t i = 0; i < n_; ++i) {
            const SimObject& o = objects[i];
            double* b = y_[i].get();
            b[0] = double(o.positionKm.x) - origin.x;
            b[1] = o.velocityKmPerS.x;
            b[2] = double(o.positionKm.y) - origin.y;
            b[3] = o.velocityKmPerS.y;
            b[4] = double(o.positionKm.z) - origin.z;
            b[5] = o.velocityKmPerS.z;
        }
    }

    void step(double h) {
        double r = relativisticFactor(objects_.back().velocityKmPerS);
        for (size_t i = 0; i < n_; ++i)
            for (int j = 0; j < 6; ++j) w_[i][j] = y_[i][j];
        evaluate(k1_, r);
        for (size_t i = 0; i < n_; ++i)
            for (int j = 0; j < 6; ++j) w_[i][j] = y_[i][j] + h / 2 * k1_[i][j];
        evaluate(k2_, r);
        for (size_t i = 0; i < n_; ++i)
            for (int j = 0; j < 6; ++j) w_[i][j] = y_[i][j] + h / 2 * k2_[i][j];
        evaluate(k3_, r);
        for (size_t i = 0; i < n_; ++i)
            for (int j = 0; j < 6; ++j) w_[i][j] = y_[i][j] + h * k3_[i][j];
        evaluate(k4_, r);
        for (size_t i = 0; i < n_; ++i)
            for (int j = 0; j < 6; ++j)
                y_[i][j] = y_[i][j] + h * 0.16666666666666666 *
                                          ((k2_[i][j] + k3_[i][j]) * 2 + k1_[i][j] + k4_[i][j]);
    }

    double value(size_t i, int j) const { return y_[i][j]; }

private:
    using Blocks = std::vector<std::unique_ptr<double[]>>;

    double slope(size_t i, int j, double r) const {
        if (j % 2 == 0) return w_[i][j + 1];
        double result = 0;
        for (size_t k = 0; k + 1 < n_; ++k) {
            if (k == i) continue;
            double d2 = (w_[i][4] - w_[k][4]) * (w_[i][4] - w_[k][4]) +
                        (w_[i][2] - w_[k][2]) * (w_[i][2] - w_[k][2]) +
                        (w_[i][0] - w_[k][0]) * (w_[i][0] - w_[k][0]);
            if (d2 == 0) return kCoincidenceResult;
            result += kGravityKm3PerKgS2 * double(objects_[k].massKg) / std::pow(d2, 1.5) *
                      (w_[k][j - 1] - w_[i][j - 1]);
        }
        if (i == n_ - 1) {
            const SimObject& s = objects_.back();
            auto axis = [j](Vec3f v) { return double(j == 1 ? v.x : j == 3 ? v.y : v.z); };
            result += r *
                      (double(s.actingForceKN.x) * axis(s.forwardDirection) +
                       double(s.actingForceKN.y) * axis(s.upDirection) +
                       double(s.actingForceKN.z) * axis(s.rightDirection)) /
                      double(s.massKg);
        }
        return result;
    }

    void evaluate(Blocks& k, double r) {
        for (size_t i = 0; i < n_; ++i)
            for (int j = 0; j < 6; ++j) k[i][j] = slope(i, j, r);
    }

    const std::vector<SimObject>& objects_;
    size_t n_ = 0;
    Blocks y_, w_, k1_, k2_, k3_, k4_;
};
