// Finite-state checks over the object items, the orientation and the mission time.
#include "state_check.h"

#include <cmath>

#include "object_file.h"

namespace {

std::string itemName(int item) {
    return std::string("\"").append(objectItemLabels()[static_cast<size_t>(item)]).append("\"");
}

}  // namespace

std::optional<UnusableItem> findDivergingNaItem(const std::vector<SimObject>& objects) {
    for (size_t i = 0; i < objects.size(); ++i) {
        const SimObject& o = objects[i];
        std::vector<int> items = {5, 6, 7};
        if (o.isObserver != 0) items.insert(items.end(), {33, 34, 35, 54, 55, 56});
        for (int item : items)
            if (*objectFloatItem(o, item) == kNaFloat)
                return UnusableItem{i, itemName(item) + " is \"na\", but the flight needs a number there"};
    }
    return std::nullopt;
}

std::optional<std::string> findNonFiniteState(const SimState& state) {
    for (size_t i = 0; i < state.objects.size(); ++i) {
        const SimObject& o = state.objects[i];
        for (int item = 1; item < kObjectItemCount; ++item) {
            const float* f = objectFloatItem(o, item);
            if (f && !std::isfinite(*f)) {
                std::string name = i < state.configEntries.size() ? "Objects/" + state.configEntries[i] : o.ownPath;
                return name + ": " + itemName(item);
            }
        }
    }
    for (const auto& row : state.orientation.m)
        for (float v : row)
            if (!std::isfinite(v)) return std::string("last_view.cfg");
    if (!std::isfinite(state.missionTimeS)) return std::string("time.cfg");
    return std::nullopt;
}
