// The configuration manager's two lists as plain data, and the rules that change them: Ref-No
// numbering, the observer-last rule, insertion at a drop position, moves within the list and
// removal. The dialog shows these rows; it decides nothing about them itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

inline const std::string kTypeStar = "Star";
inline const std::string kTypePlanet = "Planet";
inline const std::string kTypeObserver = "Observer";
inline const std::string kTypeNone = "none";
inline const std::string kNoOrbit = "none";  // "orbits Ref-No" of an object that orbits nothing

struct AvailableRow {
    std::string name;  // object file name without its extension
    std::string type;
};

struct SelectedRow {
    std::string name;
    std::string refNo;   // position counted from 1, as text
    std::string orbits;  // Ref-No of the orbited object, or "none"
    std::string type;
};

// "na" (not given) is shown as "none"; every other value as it stands.
std::string shownOrbit(const std::string& item8);

// The type as a loaded configuration shows it: the first of the star, planet and observer flags
// that is "1" wins; none of them gives "none".
std::string typeWhenLoaded(bool star, bool planet, bool observer);
// The type as "Append ->" gives it: the flags are taken in the same order but a later "1"
// replaces an earlier one; none of them gives an empty type.
std::string typeWhenAppended(bool star, bool planet, bool observer);

// Rewrites every Ref-No as the row's position counted from 1.
void renumber(std::vector<SelectedRow>& rows);

// When an observer stands above the last row and the last row is no observer, moves the first
// observer row to the end (its orbit and type kept; other rows' orbits unchanged) and renumbers.
// Returns the index the moved row came from.
std::optional<int> keepObserverLast(std::vector<SelectedRow>& rows);

// Inserts newRows before dropIndex (or at the end when dropIndex is -1 or past the end) and
// renumbers. Returns the indices of the inserted rows.
std::vector<int> insertRows(std::vector<SelectedRow>& rows, int dropIndex,
                            const std::vector<SelectedRow>& newRows);

// Takes the rows at indices out and re-inserts them, in their list order, before the row that was
// at dropIndex (the position moving up by one for each taken-out row above it), or at the end for
// -1. Orbits and types travel with the rows. Returns the rows' new indices.
std::vector<int> moveRows(std::vector<SelectedRow>& rows, std::vector<int> indices, int dropIndex);

// moveRows, then each row's "orbits Ref-No" rewritten to the new Ref-No of the object it named
// before, so every object keeps its parent. orbitsChanged receives the rows whose orbit changed;
// empty when the move changes no object's orbit.
std::vector<int> moveRowsKeepingOrbits(std::vector<SelectedRow>& rows, std::vector<int> indices, int dropIndex,
                                       std::vector<int>& orbitsChanged);

// Removes the rows at indices and renumbers; the remaining rows' orbits are not adjusted.
void removeRows(std::vector<SelectedRow>& rows, std::vector<int> indices);

// Index of the first row bearing name, or -1.
int findRow(const std::vector<SelectedRow>& rows, const std::string& name);
int findRow(const std::vector<AvailableRow>& rows, const std::string& name);

// Maps a row index through keepObserverLast's move of the row from movedFrom to the end.
int indexAfterObserverMove(int index, int movedFrom, int rowCount);
