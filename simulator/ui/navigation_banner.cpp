// Navigation figures as words.
#include "navigation_banner.h"

#include <cstdio>

std::string durationText(double s) {
    char buf[48];
    if (s >= 1e9) {
        std::snprintf(buf, sizeof buf, "%.2e d", s / 86400.0);
        return buf;
    }
    const long long t = static_cast<long long>(s > 0 ? s : 0);
    std::snprintf(buf, sizeof buf, "%lld d %02lld:%02lld:%02lld", t / 86400, t / 3600 % 24, t / 60 % 60, t % 60);
    return buf;
}

std::string surfaceDistanceText(double km) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.4e km above surface", km);
    return buf;
}

std::string approachSourceText(const NavigationFigures& f) {
    switch (f.approach) {
        case ApproachSource::PredictedPath:
            if (f.pathAgeS > 60) return "predicted path, " + durationText(f.pathAgeS) + " old";
            return "predicted path";
        case ApproachSource::StraightCourse:
            return "straight course";
        case ApproachSource::None:
            break;
    }
    return "";
}

std::vector<std::string> navigationBannerLines(const NavigationFigures& f, const std::string& name) {
    if (f.target < 0) return {};
    char centre[48];
    std::snprintf(centre, sizeof centre, "%.4e km from centre", f.centreDistanceKm);
    std::vector<std::string> lines{name + ": " + surfaceDistanceText(f.surfaceDistanceKm) + ", " + centre};
    if (f.approach == ApproachSource::None) {
        lines.push_back("Receding: no closer approach ahead");
    } else {
        const std::string where = f.closestSurfaceKm < 0 ? std::string("the course meets the surface")
                                                         : surfaceDistanceText(f.closestSurfaceKm);
        lines.push_back("Closest approach in " + durationText(f.closestInS) + ": " + where);
        lines.push_back("on the " + approachSourceText(f));
    }
    return lines;
}
