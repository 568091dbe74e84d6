// Positions as the object wizard enters them: right ascension (hours), declination (degrees) and
// distance R = mantissa x 10^exponent (km), and back. World frame: +y north, 0 h along +z, 6 h
// along -x. Single precision, as the wizard's fields hold their values.
#pragma once

#include <string>

struct SkyPosition {
    float raHours = 0;
    float decDeg = 0;
    float rMantissa = 0;  // 0 to 10
    int rExponent = 0;    // 0 to 37
};

struct CartesianKm {
    float x = 0, y = 0, z = 0;
};

// mantissa x 10^exponent in single precision.
float fromMantissaExponent(float mantissa, int exponent);
// value printed with "%15.7e" and split: the first 11 characters read as the mantissa, the last
// 3 as the exponent.
void splitMantissaExponent(float value, float& mantissa, int& exponent);

CartesianKm skyToCartesian(const SkyPosition& sky);
// The reverse, as the fields show it: 0 h right ascension comes back as 24 h.
SkyPosition cartesianToSky(const CartesianKm& position);
