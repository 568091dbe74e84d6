// Finite-state checks over the object items, the orientation and the mission time.
#include "state_check.h"

#include <cmath>

#include "exact_state.h"
#include "object_file.h"

namespace {

std::string itemName(int item) {
    return std::string("\"").append(objectItemLabels()[static_cast<size_t>(item)]).append("\"");
}

// Whether every float of every object is finite, in one pass cheap enough for every frame: x * 0 is
// 0 for a finite x and NaN otherwise, so a single sum answers for all of them. The object's float
// fields include every float item, so only a false answer needs the item-by-item search.
bool allObjectFloatsFinite(const std::vector<SimObject>& objects) {
    float sum = 0;
    for (const SimObject& o : objects)
        for (const float* f : objectFloatFields(o)) sum += *f * 0.0f;
    return sum == 0.0f;
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
    const size_t objectsToSearch = allObjectFloatsFinite(state.objects) ? 0 : state.objects.size();
    for (size_t i = 0; i < objectsToSearch; ++i) {
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
