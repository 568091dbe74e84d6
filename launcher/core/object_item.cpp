// Finding, reading and replacing one item line of an object file.
#include "object_item.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "text_file.h"

namespace {

constexpr std::string_view kNotAvailable = "na";

// Index where the value of an item line starts (two characters after its last "="), clamped to the
// line's length; nullopt for a line without "=".
std::optional<size_t> valueStart(const std::string& line) {
    size_t eq = line.rfind('=');
    if (eq == std::string::npos) return std::nullopt;
    return std::min(eq + 2, line.size());
}

bool isItemLine(const std::string& line, std::string_view label) {
    return !line.empty() && line.front() != '#' && line.find(label) != std::string::npos;
}

}  // namespace

std::string objectItemLabel(int item) { return "Item " + std::to_string(item) + "."; }

bool isFileNameItem(std::string_view label) {
    return label == "Item 0." || label == "Item 15." || label == "Item 16." || label == "Item 23.";
}

ItemRead readObjectItem(const std::string& objectPath, std::string_view label,
                        const std::string& dataDirectory) {
    ItemRead result;
    std::string contents;
    if (!readWholeFile(objectPath, contents)) return result;
    result.status = ItemStatus::NoSuchItem;
    for (TextLine& line : splitLines(contents)) {
        if (!isItemLine(line.text, label)) continue;
        std::optional<size_t> start = valueStart(line.text);
        if (!start) return result;
        result.status = ItemStatus::Ok;
        result.value = line.text.substr(*start);
        if (isFileNameItem(label) && result.value != kNotAvailable)
            result.value = dataDirectory + result.value;
        return result;
    }
    return result;
}

ItemStatus writeObjectItem(const std::string& objectPath, std::string_view label,
                           const std::string& newValue, const std::string& dataDirectory) {
    if (newValue.find_first_of("\r\n") != std::string::npos) return ItemStatus::BadValue;
    std::string value = newValue;
    // Only a value that really begins with the data directory loses it; anything else is kept
    // whole rather than cut blindly by length.
    if (isFileNameItem(label) && value != kNotAvailable && !dataDirectory.empty() &&
        value.compare(0, dataDirectory.size(), dataDirectory) == 0)
        value.erase(0, dataDirectory.size());

    std::string contents;
    if (!readWholeFile(objectPath, contents)) return ItemStatus::CannotOpen;
    std::vector<TextLine> lines = splitLines(contents);
    bool replaced = false;
    for (TextLine& line : lines) {
        if (!isItemLine(line.text, label)) continue;
        std::optional<size_t> start = valueStart(line.text);
        if (!start) return ItemStatus::NoSuchItem;
        std::string head = line.text.substr(0, *start);
        if (head.back() == '=') head += ' ';  // "...=" at the very end: keep the "= " shape
        line.text = head + value;
        replaced = true;
        break;
    }
    if (!replaced) return ItemStatus::NoSuchItem;

    std::string out;
    out.reserve(contents.size() + value.size());
    for (const TextLine& line : lines) {
        out += line.text;
        if (line.hadLineEnd) out += '\n';
    }
    return writeFileAtomically(objectPath, out) ? ItemStatus::Ok : ItemStatus::WriteFailed;
}
