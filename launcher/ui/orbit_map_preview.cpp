// The preview map: built from the same starting state as the preview's figures.
#include "orbit_map_preview.h"

#include <filesystem>

#include "system_map.h"
#include "system_map_view.h"

SystemMapView* makeOrbitMap() {
    auto* map = new SystemMapView;
    map->setObjectName("orbitMap");
    map->setMinimumSize(320, 220);
    return map;
}

void showCandidateOrbit(SystemMapView* map, const OrbitListView& list, const SimObject& candidate,
                        int orbitedRefNo, const std::string& candidateName) {
    std::string name = candidateName;
    if (name.empty() && candidate.ownPath != kNaPath) name = std::filesystem::path(candidate.ownPath).stem().string();
    if (name.empty()) name = "(this object)";
    map->setMap(candidateSystemMap(list.names, list.dataDirectory, candidate, orbitedRefNo, name), false);
    const int last = static_cast<int>(map->map().bodies.size()) - 1;
    map->setHighlighted(last);
    if (last > 0) map->showNeighbourhood(map->map().bodies[static_cast<size_t>(last)].placed ? orbitedRefNo - 1 : last);
}
