// Finding, reading and replacing one item line of an object file.
#include "object_item.h"

#include <algorithm>

#include "text_file.h"

namespace {

constexpr std::string_view kNotAvailable = "na";

}  // namespace

ItemLineKind classifyItemLine(std::string_view line, std::string_view label, size_t* valueStart) {
    if (line.empty() || line.front() == '#') return ItemLineKind::Other;
    const size_t at = line.find(label);
    if (at == std::string_view::npos) return ItemLineKind::Other;
    const size_t eq = line.rfind('=');
    if (eq == std::string_view::npos) return ItemLineKind::LabelWithoutValue;
    if (at > eq) return ItemLineKind::Other;  // the label is only quoted in the value
    if (valueStart) *valueStart = std::min(eq + 2, line.size());
    return ItemLineKind::Item;
}

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
        size_t start = 0;
        const ItemLineKind kind = classifyItemLine(line.text, label, &start);
        if (kind == ItemLineKind::Other) continue;
        if (kind == ItemLineKind::LabelWithoutValue) return result;
        result.status = ItemStatus::Ok;
        result.value = line.text.substr(start);
        if (isFileNameItem(label) && result.value != kNotAvailable)
            result.value = dataDirectory + result.value;
        return result;
    }
    return result;
}

ItemStatus replaceObjectItemInText(std::string& contents, std::string_view label,
                                  const std::string& newValue, const std::string& dataDirectory) {
    // A line end would split the line; an "=" would move the value's start on the next read.
    if (newValue.find_first_of("\r\n=") != std::string::npos) return ItemStatus::BadValue;
    std::string value = newValue;
    // Only a value that really begins with the data directory loses it; anything else is kept
    // whole rather than cut blindly by length.
    if (isFileNameItem(label) && value != kNotAvailable && !dataDirectory.empty() &&
        value.compare(0, dataDirectory.size(), dataDirectory) == 0)
        value.erase(0, dataDirectory.size());

    // The old value's bytes are replaced in place, so the rest of the file stays byte for byte.
    for (size_t lineStart = 0; lineStart < contents.size();) {
        const size_t newline = contents.find('\n', lineStart);
        const size_t next = newline == std::string::npos ? contents.size() : newline + 1;
        const std::string_view line = stripLineEnd(std::string_view(contents).substr(lineStart, next - lineStart));
        size_t start = 0;
        const ItemLineKind kind = classifyItemLine(line, label, &start);
        if (kind == ItemLineKind::LabelWithoutValue) return ItemStatus::NoSuchItem;
        if (kind == ItemLineKind::Item) {
            // "...=" at the very end of the line: keep the "= " shape.
            if (line.back() == '=') value.insert(0, 1, ' ');
            contents.replace(lineStart + start, line.size() - start, value);
            return ItemStatus::Ok;
        }
        lineStart = next;
    }
    return ItemStatus::NoSuchItem;
}

ItemStatus writeObjectItem(const std::string& objectPath, std::string_view label,
                           const std::string& newValue, const std::string& dataDirectory) {
    if (newValue.find_first_of("\r\n=") != std::string::npos) return ItemStatus::BadValue;
    std::string contents;
    if (!readWholeFile(objectPath, contents)) return ItemStatus::CannotOpen;
    const ItemStatus status = replaceObjectItemInText(contents, label, newValue, dataDirectory);
    if (status != ItemStatus::Ok) return status;
    return writeFileAtomically(objectPath, contents) ? ItemStatus::Ok : ItemStatus::WriteFailed;
}
