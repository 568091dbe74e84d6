// Sky coordinates with the wizard's single-precision factors.
#include "sky_coordinates.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr float kHoursToRad = 0.2617994f;      // pi / 12
constexpr float kDegToRad = 0.017453292f;      // pi / 180
constexpr float kRadToDeg = 57.295776f;
constexpr float kRadToHours = 3.8197186f;
constexpr float kPi = 3.14159265f;

}  // namespace

float fromMantissaExponent(float mantissa, int exponent) {
    return static_cast<float>(mantissa * std::pow(10.0, exponent));
}

void splitMantissaExponent(float value, float& mantissa, int& exponent) {
    char text[64];
    std::snprintf(text, sizeof text, "%15.7e", static_cast<double>(value));
    const size_t length = std::strlen(text);
    std::string head(text, length < 11 ? length : 11);
    mantissa = std::strtof(head.c_str(), nullptr);
    exponent = length >= 3 ? std::atoi(text + length - 3) : 0;
}

CartesianKm skyToCartesian(const SkyPosition& sky) {
    const float r = fromMantissaExponent(sky.rMantissa, sky.rExponent);
    if (r == 0 && sky.raHours == 0 && sky.decDeg == 0) return {};
    const float alpha = sky.raHours * kHoursToRad;
    const float delta = sky.decDeg * kDegToRad;
    return {-r * std::cos(delta) * std::sin(alpha), r * std::sin(delta), r * std::cos(delta) * std::cos(alpha)};
}

SkyPosition cartesianToSky(const CartesianKm& p) {
    SkyPosition sky;
    const float r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    if (r == 0) return sky;
    const float delta = kPi / 2 - std::acos(p.y / r);
    float alpha = 0;
    if (p.x > 0) alpha = 2 * kPi - (kPi / 2 - std::atan(p.z / p.x));
    else if (p.x < 0) alpha = 2 * kPi - (3 * kPi / 2 - std::atan(p.z / p.x));
    else alpha = p.z <= 0 ? kPi : 2 * kPi;
    sky.decDeg = delta * kRadToDeg;
    sky.raHours = alpha * kRadToHours;
    splitMantissaExponent(r, sky.rMantissa, sky.rExponent);
    return sky;
}
