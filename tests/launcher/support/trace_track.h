// The simulator's --trace output read back as the track of one object relative to another.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace launchertest {

struct TracePoint {
    double t;
    double x, y, z;
    double vx = 0, vy = 0, vz = 0;
};

// Positions (and velocities) of object index relative to object centre, one per traced frame.
inline std::vector<TracePoint> relativeTrack(const std::string& path, int index, int centre = 0) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);  // header
    std::vector<TracePoint> track;
    TracePoint origin{};
    while (std::getline(in, line)) {
        std::stringstream s(line);
        std::string cell;
        std::vector<double> v;
        while (std::getline(s, cell, ',')) v.push_back(std::stod(cell));
        if (v.size() < 9) continue;
        if (static_cast<int>(v[2]) == centre) origin = {v[1], v[3], v[4], v[5], v[6], v[7], v[8]};
        if (static_cast<int>(v[2]) == index)
            track.push_back({v[1], v[3] - origin.x, v[4] - origin.y, v[5] - origin.z, v[6] - origin.vx,
                             v[7] - origin.vy, v[8] - origin.vz});
    }
    return track;
}

}  // namespace launchertest
