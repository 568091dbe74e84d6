// The words of the navigation figures, shared by the target panel and the top-centre banner so
// that both say the same: distances with what they are measured from, the closest approach ahead
// with where it comes from, durations in one form.
#pragma once

#include <string>
#include <vector>

#include "navigation_figures.h"

// "1 d 02:03:04"; beyond a few thousand days in exponent form ("1.23e+05 d").
std::string durationText(double seconds);
// "1.2345e+04 km above surface" (the same figure the panel and the marker give).
std::string surfaceDistanceText(double km);
// Where the closest approach comes from: "predicted path" (with its age when it is over a
// minute old), "straight course"; "" when receding.
std::string approachSourceText(const NavigationFigures& figures);

// The banner's lines for the target called name: its distance above the surface and from the
// centre, then the closest approach ahead and where it comes from (or that it recedes). None
// without a target.
std::vector<std::string> navigationBannerLines(const NavigationFigures& figures, const std::string& name);
