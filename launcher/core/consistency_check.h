// The consistency check of the configuration manager's selected list: can the simulator start
// this list? Each rule that fails writes its reason code, so the reason reported is that of the
// last failing rule in evaluation order. Each object file is read once per check.
#pragma once

#include <string>
#include <utility>
#include <vector>

// One row of the selected list as the check sees it.
struct CheckRow {
    std::string name;    // object file name without ".cfg"
    std::string refNo;   // position counted from 1, as text
    std::string orbits;  // Ref-No of the orbited object, or "none"
};

enum CheckReason {
    kListConsistent = 0,
    kListEmpty = 1,
    kFirstObjectOrbits = 2,
    kLastNotObserver = 3,
    kObserverAboveLast = 4,
    kDuplicateName = 5,
    kOrbitsObjectBelow = 6,
    kObjectFileMissing = 7,
    kRingTextureMissing = 8,
    kRingRadiusUndefined = 9,
    kRingDoesNotFit = 10,
    kInitialConditionsUndefined = 11,
    kObjectsColliding = 12,
    kOrbitsItself = 13,
};

struct CheckOutcome {
    int reason = kListConsistent;
    std::vector<std::string> mediaNotes;     // one per missing mesh, texture or ring texture
    std::vector<std::string> physicalNotes;  // Hill sphere, Roche limit, periapsis, orbit set-up
    // Rows (0-based) that orbit an object not listed above them, each with the row it names (or
    // the row count when that Ref-No is not in the list), and a note naming both objects.
    std::vector<std::pair<size_t, size_t>> orbitOrderFailures;
    std::vector<std::string> orbitOrderNotes;
};

// The reason text of a code (1 to 13); empty for 0.
std::string checkReasonText(int reason);

// Runs every rule over rows, whose files are dataDirectory + "Objects/" + name + ".cfg".
// A row whose object file cannot be read gets code 7 (and is left out of the rules that need its
// items) rather than ending the program, so an unsaved list is never lost over a vanished file.
CheckOutcome checkSelectedObjects(const std::vector<CheckRow>& rows, const std::string& dataDirectory);

// The closing message: "\n\nThe 'Selected objects'-list seems to be OK." for a consistent list
// (empty unless showSuccess), else the inconsistency sentence, with "The configuration has not
// been saved." directly after the reason when saving.
std::string checkOutcomeText(int reason, bool showSuccess, bool saving);

// The media note for one file.
std::string missingMediaNote(const std::string& mediaPath, const std::string& objectPath);

// True when path names a regular file.
bool mediaFileExists(const std::string& path);
