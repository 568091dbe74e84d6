// The orbit preview's map: the edited object (highlighted) and its orbit in the neighbourhood of
// the object it circles, on the same map the configuration manager shows.
#pragma once

#include <string>

#include "orbit_preview.h"

class SystemMapView;

SystemMapView* makeOrbitMap();
void showCandidateOrbit(SystemMapView* map, const OrbitListView& list, const SimObject& candidate,
                        int orbitedRefNo, const std::string& candidateName);
