// The launcher's readers as fuzz targets: the configuration and selection lines, the item access
// of object files (read, write back, read again) and the consistency check over object files.
#include <cstdlib>

#include "config_file.h"
#include "configuration_lines.h"
#include "consistency_check.h"
#include "fuzz_input_file.h"
#include "fuzz_targets.h"
#include "object_facts.h"
#include "object_item.h"
#include "object_item_snapshot.h"
#include "selection_line.h"
#include "text_file.h"

namespace {

constexpr int kLastItem = 60;

bool holdsLineEnd(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// Both programs must agree on what a configuration lists; a selection file names one line of at
// most 259 characters.
void configurationLines(const uint8_t* data, size_t size) {
    const std::string path = asFile(data, size);
    std::optional<std::vector<std::string>> lines = readConfigurationLines(path);
    if (!lines) std::abort();  // a regular file is always readable
    for (const std::string& line : *lines)
        if (line.find('\n') != std::string::npos || isEndMarkerLine(line)) std::abort();
    std::vector<std::string> entries;
    if (readConfigurationFile(path, entries) && entries != *lines) std::abort();

    std::optional<std::string> selected = readSelectionLine(path);
    if (!selected || selected->size() > 259 || selected->find('\n') != std::string::npos) std::abort();
}

// Every item as the consistency check's snapshot sees it (one read of the file).
std::vector<std::string> allItems(const std::string& path, const std::string& dataDirectory) {
    ObjectItemSnapshot snapshot;
    if (!snapshot.load(path, dataDirectory)) std::abort();
    std::vector<std::string> items;
    for (int i = 0; i <= kLastItem; ++i) items.push_back(snapshot.item(objectItemLabel(i)));
    return items;
}

// The same value, one of them perhaps with the data directory in front (a file-name item).
bool sameValue(const std::string& a, const std::string& b, const std::string& dataDirectory) {
    return a == b || dataDirectory + a == b || a == dataDirectory + b;
}

// One item is given the value of the last line of the input (any text but a line end), as a
// dialog would write what the user typed. The file must then read that value back, every other
// line must stay as it was, and no other item may change, unless it shares the item's line.
void objectItem(const uint8_t* data, size_t size) {
    const std::string dir = scratchDirectory();
    const std::string path = dir + "item.cfg";
    putFile(path, data, size);
    const std::string before(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> itemsBefore = allItems(path, dir);

    const int item = static_cast<int>(size % (kLastItem + 1));
    const std::string label = objectItemLabel(item);
    const ItemRead readBefore = readObjectItem(path, label, dir);
    std::vector<TextLine> inputLines = splitLines(before);
    std::string value = inputLines.empty() ? std::string("na") : inputLines.back().text;
    // A file-name item is handed over absolute, as the dialogs do.
    if (isFileNameItem(label) && value != "na") value = dir + value;

    const ItemStatus status = writeObjectItem(path, label, value, dir);
    std::string after;
    if (!readWholeFile(path, after)) std::abort();
    if (status != ItemStatus::Ok) {
        if (after != before) std::abort();  // a refused write leaves the file alone
        if (status == ItemStatus::BadValue && !holdsLineEnd(value) && value.find('=') == std::string::npos)
            std::abort();
        if (status == ItemStatus::NoSuchItem && readBefore.status == ItemStatus::Ok) std::abort();
        return;
    }
    const ItemRead reread = readObjectItem(path, label, dir);
    if (reread.status != ItemStatus::Ok || reread.value != value) std::abort();

    // Only the item's own line differs.
    std::vector<TextLine> a = splitLines(before), b = splitLines(after);
    if (a.size() != b.size()) std::abort();
    int changed = 0;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].text != b[i].text || a[i].hadLineEnd != b[i].hadLineEnd) ++changed;
    if (changed > 1) std::abort();
    const std::vector<std::string> itemsAfter = allItems(path, dir);
    if (itemsAfter[static_cast<size_t>(item)] != value) std::abort();  // the snapshot agrees
    for (size_t i = 0; i < itemsAfter.size(); ++i)
        if (itemsAfter[i] != itemsBefore[i] && !sameValue(itemsAfter[i], value, dir)) std::abort();
}

// The input as two objects of a list, the second orbiting the first: the check runs every rule
// and the physical notes over them. The snapshot it reads through must see every item exactly as
// readObjectItem does, and the facts the manager shows must come from the same file.
void consistencyCheck(const uint8_t* data, size_t size) {
    const std::string dir = scratchDirectory();
    putFile(dir + "Objects/A.cfg", data, size);
    putFile(dir + "Objects/B.cfg", data, size);
    const CheckOutcome outcome = checkSelectedObjects({{"A", "1", "none"}, {"B", "2", "1"}}, dir);
    if (outcome.reason < kListConsistent || outcome.reason > kOrbitsItself) std::abort();
    if (outcome.reason != kListConsistent && checkReasonText(outcome.reason).empty()) std::abort();

    const std::string path = dir + "Objects/A.cfg";
    ObjectItemSnapshot snapshot;
    if (!snapshot.load(path, dir)) std::abort();
    // An eighth of the labels per input (which eighth follows the size), to keep the runs quick.
    for (int i = static_cast<int>(size % 8); i <= kLastItem; i += 8) {
        const std::string label = objectItemLabel(i);
        const ItemRead read = readObjectItem(path, label, dir);
        if (snapshot.item(label) != (read.status == ItemStatus::Ok ? read.value : "na")) std::abort();
    }
    const ObjectFacts facts = readObjectFacts(path, dir);
    if (!facts.readable) std::abort();
}

}  // namespace

const std::vector<FuzzTarget>& launcherFuzzTargets() {
    static const std::vector<FuzzTarget> targets = {
        {"launcher_configuration", configurationLines},
        {"launcher_object_item", objectItem},
        {"launcher_check", consistencyCheck},
    };
    return targets;
}
