// The text that shows a user the orbit the simulator will start an object on: the figures of
// core's prediction, or why there is none.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "starting_state.h"

// What the list looks like around the object: the selected rows' names in order, so that
// Ref-No k is names[k - 1].
struct OrbitListView {
    std::vector<std::string> names;
    std::string dataDirectory;
};

QString orbitPreviewText(const OrbitPrediction& prediction, const std::string& primaryName);

// The prediction for candidate orbiting Ref-No orbitedRefNo of list, as text.
QString candidateOrbitText(const OrbitListView& list, const SimObject& candidate, int orbitedRefNo);
