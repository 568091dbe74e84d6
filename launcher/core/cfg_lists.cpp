// List rules of the configuration manager.
#include "cfg_lists.h"

#include <algorithm>
#include <map>

#include "float_format.h"

std::string shownOrbit(const std::string& item8) { return item8 == "na" ? kNoOrbit : item8; }

std::string typeWhenLoaded(bool star, bool planet, bool observer) {
    if (star) return kTypeStar;
    if (planet) return kTypePlanet;
    if (observer) return kTypeObserver;
    return kTypeNone;
}

std::string typeWhenAppended(bool star, bool planet, bool observer) {
    std::string type;
    if (star) type = kTypeStar;
    if (planet) type = kTypePlanet;
    if (observer) type = kTypeObserver;
    return type;
}

void renumber(std::vector<SelectedRow>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) rows[i].refNo = std::to_string(i + 1);
}

std::optional<int> keepObserverLast(std::vector<SelectedRow>& rows) {
    const int n = static_cast<int>(rows.size());
    if (n < 2 || rows.back().type == kTypeObserver) return std::nullopt;
    auto first = std::find_if(rows.begin(), rows.end() - 1,
                              [](const SelectedRow& r) { return r.type == kTypeObserver; });
    if (first == rows.end() - 1) return std::nullopt;
    int from = static_cast<int>(first - rows.begin());
    SelectedRow moved = *first;
    rows.erase(first);
    rows.push_back(moved);
    renumber(rows);
    return from;
}

std::vector<int> insertRows(std::vector<SelectedRow>& rows, int dropIndex,
                            const std::vector<SelectedRow>& newRows) {
    int at = (dropIndex < 0 || dropIndex > static_cast<int>(rows.size()))
                 ? static_cast<int>(rows.size())
                 : dropIndex;
    rows.insert(rows.begin() + at, newRows.begin(), newRows.end());
    renumber(rows);
    std::vector<int> inserted;
    for (size_t i = 0; i < newRows.size(); ++i) inserted.push_back(at + static_cast<int>(i));
    return inserted;
}

std::vector<int> moveRows(std::vector<SelectedRow>& rows, std::vector<int> indices, int dropIndex) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    const int n = static_cast<int>(rows.size());
    indices.erase(std::remove_if(indices.begin(), indices.end(),
                                 [n](int i) { return i < 0 || i >= n; }),
                  indices.end());
    std::vector<SelectedRow> taken;
    int at = (dropIndex < 0 || dropIndex >= n) ? -1 : dropIndex;
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
        taken.insert(taken.begin(), rows[*it]);
        rows.erase(rows.begin() + *it);
        if (at >= 0 && *it < at) --at;
    }
    return insertRows(rows, at, taken);
}

std::vector<int> moveRowsKeepingOrbits(std::vector<SelectedRow>& rows, std::vector<int> indices, int dropIndex,
                                       std::vector<int>& orbitsChanged) {
    // The same move on rows that carry their old Ref-No as name gives the old-to-new numbering.
    std::vector<SelectedRow> tags(rows.size());
    for (size_t i = 0; i < tags.size(); ++i) tags[i].name = std::to_string(i + 1);
    moveRows(tags, indices, dropIndex);
    std::map<int, int> newRefNo;
    for (size_t i = 0; i < tags.size(); ++i) newRefNo[std::stoi(tags[i].name)] = static_cast<int>(i) + 1;

    std::vector<int> moved = moveRows(rows, std::move(indices), dropIndex);
    orbitsChanged.clear();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].orbits == kNoOrbit) continue;
        bool digits = false;
        auto found = newRefNo.find(parseLeadingInt(rows[i].orbits, &digits));
        if (!digits || found == newRefNo.end()) continue;  // names no row: nothing to keep
        const std::string renumbered = std::to_string(found->second);
        if (renumbered == rows[i].orbits) continue;
        rows[i].orbits = renumbered;
        orbitsChanged.push_back(static_cast<int>(i));
    }
    return moved;
}

void removeRows(std::vector<SelectedRow>& rows, std::vector<int> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (auto it = indices.rbegin(); it != indices.rend(); ++it)
        if (*it >= 0 && *it < static_cast<int>(rows.size())) rows.erase(rows.begin() + *it);
    renumber(rows);
}

int findRow(const std::vector<SelectedRow>& rows, const std::string& name) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return static_cast<int>(i);
    return -1;
}

int findRow(const std::vector<AvailableRow>& rows, const std::string& name) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return static_cast<int>(i);
    return -1;
}

int indexAfterObserverMove(int index, int movedFrom, int rowCount) {
    if (index == movedFrom) return rowCount - 1;
    return index > movedFrom ? index - 1 : index;
}
