// The rules of the consistency check, in their evaluation order. Every object file is read into
// an ObjectItemSnapshot once; the rules then look items up in memory, which keeps the collision
// pass over all pairs of a 1000-row list fast and gives the same outcome as reading per item.
#include "consistency_check.h"

#include <array>
#include <cmath>
#include <optional>
#include <sys/stat.h>

#include "float_format.h"
#include "object_file.h"
#include "object_item_snapshot.h"
#include "physical_limits.h"
#include "starting_state.h"
#include "text_file.h"

namespace {

const std::array<const char*, 14> kReasonTexts = {
    "",
    "the list is empty. ",
    "the first object in the list cannot orbit any other object.",
    "the last object in the list must be of type 'observer'.",
    "there is an object of type 'observer' listed above the last object.",
    "it contains at least two objects with the same name.",
    "object A cannot orbit object B if object B is not listed above object A.",
    "at least one element from the 'Selected objects'-list is not available.",
    "a ring texture file is not available.",
    "at least one ring radius is not defined.",
    "planetary and ring radii do not fit.",
    "the initial conditions (position or velocity) for at least one object are ill defined.",
    "at least two objects are initially colliding.",
    "at least one object seems to be orbiting itself.",
};

constexpr const char* kNa = "na";

// The items of one row that the rules read, taken from its file once.
struct RowItems {
    bool readable = false;
    bool simulatorReadable = false;  // the simulator's reader accepts the file
    SimObject object;                // as the simulator reads it, when it does
    std::string path;
    std::array<std::string, 29> item;  // "Item 0." to "Item 28." as read
    float x = 0, y = 0, z = 0, polarRadius = 0;  // the collision pass's single-precision values
};

// A number item as the rules read it: "na" counts as 0.
float numberOrZero(const std::string& value) { return value == kNa ? 0.0f : parseLeadingFloat(value); }

RowItems readRow(const CheckRow& row, const std::string& dataDirectory) {
    RowItems r;
    r.path = dataDirectory + "Objects/" + row.name + ".cfg";
    std::string contents;
    r.readable = readWholeFile(r.path, contents);
    if (!r.readable) return r;
    ObjectItemSnapshot snapshot;
    snapshot.loadText(contents, dataDirectory);
    r.simulatorReadable = parseObjectFile(r.object, contents, dataDirectory);
    for (int i = 0; i <= 28; ++i) r.item[i] = snapshot.item("Item " + std::to_string(i) + ".");
    r.x = numberOrZero(r.item[2]);
    r.y = numberOrZero(r.item[3]);
    r.z = numberOrZero(r.item[4]);
    r.polarRadius = numberOrZero(r.item[21]);
    return r;
}

void checkObserverPlacement(const std::vector<RowItems>& items, int& reason) {
    const size_t n = items.size();
    for (size_t i = 0; i < n; ++i) {
        const bool observer = items[i].readable && items[i].item[28] == "1";
        if (i + 1 == n && !observer) reason = kLastNotObserver;
        if (i + 1 != n && observer) reason = kObserverAboveLast;
    }
}

void checkRowItems(const RowItems& r, int& reason) {
    if (!r.readable) {
        reason = kObjectFileMissing;
        return;
    }
    const auto& it = r.item;
    if (it[22] == "1") {
        if (it[23] == kNa) reason = kRingTextureMissing;
        if (it[24] == kNa || it[25] == kNa) reason = kRingRadiusUndefined;
        const float planet = numberOrZero(it[20]);
        const float inner = numberOrZero(it[24]);
        const float outer = numberOrZero(it[25]);
        if (!(inner > planet && outer > inner)) reason = kRingDoesNotFit;
    }
    if (it[2] == kNa || it[3] == kNa || it[4] == kNa) reason = kInitialConditionsUndefined;
    if (it[8] != kNa) {
        if (it[9] == kNa || it[10] == kNa || it[11] == kNa) reason = kInitialConditionsUndefined;
    } else if (it[5] == kNa || it[6] == kNa || it[7] == kNa) {
        reason = kInitialConditionsUndefined;
    }
}

bool anyCollision(const std::vector<RowItems>& items) {
    for (size_t a = 0; a < items.size(); ++a) {
        if (!items[a].readable) continue;
        for (size_t b = a + 1; b < items.size(); ++b) {
            if (!items[b].readable) continue;
            const float dx = items[a].x - items[b].x;
            const float dy = items[a].y - items[b].y;
            const float dz = items[a].z - items[b].z;
            if (std::sqrt(dx * dx + dy * dy + dz * dz) <= items[a].polarRadius + items[b].polarRadius)
                return true;
        }
    }
    return false;
}

void collectMediaNotes(const std::vector<RowItems>& items, std::vector<std::string>& notes) {
    for (const RowItems& r : items) {
        if (!r.readable) continue;
        for (int i : {15, 16, 23}) {
            const std::string& value = r.item[i];
            if (value != kNa && !mediaFileExists(value)) notes.push_back(missingMediaNote(value, r.path));
        }
    }
}

std::vector<std::string> collectPhysicalNotes(const std::vector<CheckRow>& rows,
                                              const std::vector<RowItems>& items) {
    std::vector<std::string> names;
    std::vector<SimObject> objects;
    for (size_t i = 0; i < rows.size(); ++i) {
        // A file the simulator cannot read is the rules' business, not a physical question.
        if (!items[i].simulatorReadable) return {};
        names.push_back(rows[i].name);
        objects.push_back(items[i].object);
    }
    return physicalNotes(startingState(std::move(objects)), names);
}

// Names the row and the object it orbits, so that the user sees which two the reason means.
void noteOrbitOrder(const std::vector<CheckRow>& rows, size_t row, CheckOutcome& out) {
    const CheckRow& a = rows[row];
    const int orbited = parseLeadingInt(a.orbits);
    const bool listed = orbited >= 1 && static_cast<size_t>(orbited) <= rows.size();
    const size_t b = listed ? static_cast<size_t>(orbited) - 1 : rows.size();
    out.orbitOrderFailures.emplace_back(row, b);
    std::string note = "\nNote: " + a.name + " (Ref-No " + a.refNo + ") orbits ";
    if (!listed) note += "Ref-No " + a.orbits + ", which is not in the list.";
    else if (b == row) note += "itself.";
    else note += rows[b].name + " (Ref-No " + rows[b].refNo + "), which is not listed above it.";
    out.orbitOrderNotes.push_back(note);
}

}  // namespace

std::string checkReasonText(int reason) {
    if (reason < 0 || reason >= static_cast<int>(kReasonTexts.size())) return {};
    return kReasonTexts[static_cast<size_t>(reason)];
}

std::string missingMediaNote(const std::string& mediaPath, const std::string& objectPath) {
    return "\nNote: The file " + mediaPath + " named in " + objectPath + " is not available.";
}

bool mediaFileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

CheckOutcome checkSelectedObjects(const std::vector<CheckRow>& rows, const std::string& dataDirectory) {
    CheckOutcome out;
    int& reason = out.reason;
    const size_t n = rows.size();
    std::vector<RowItems> items;
    items.reserve(n);
    for (const CheckRow& row : rows) items.push_back(readRow(row, dataDirectory));

    if (n == 0) reason = kListEmpty;
    if (n >= 1 && rows[0].orbits != "none") reason = kFirstObjectOrbits;
    checkObserverPlacement(items, reason);
    for (size_t a = 0; a < n; ++a)
        for (size_t b = a + 1; b < n; ++b)
            if (rows[a].name == rows[b].name) reason = kDuplicateName;
    for (size_t i = 0; i < n; ++i) {
        const CheckRow& row = rows[i];
        if (row.orbits != "none" && parseLeadingInt(row.orbits) >= parseLeadingInt(row.refNo)) {
            reason = kOrbitsObjectBelow;
            noteOrbitOrder(rows, i, out);
        }
    }
    for (const RowItems& r : items) checkRowItems(r, reason);
    if (anyCollision(items)) reason = kObjectsColliding;
    for (const CheckRow& row : rows)
        if (row.orbits == row.refNo) reason = kOrbitsItself;

    collectMediaNotes(items, out.mediaNotes);
    out.physicalNotes = collectPhysicalNotes(rows, items);
    return out;
}

std::string checkOutcomeText(int reason, bool showSuccess, bool saving) {
    if (reason == kListConsistent)
        return showSuccess ? "\n\nThe 'Selected objects'-list seems to be OK." : "";
    std::string text = "\n\nThe 'Selected objects'-list is inconsistent because " + checkReasonText(reason);
    if (saving) text += "The configuration has not been saved.";
    return text;
}
