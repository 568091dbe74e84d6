// Item-level access to one object file, as every launcher dialog uses it: find the line that holds
// an item's label, read or replace the value after its "= ". Failures are values here; the dialogs
// turn them into their messages.
#pragma once

#include <string>
#include <string_view>

// What became of one item access.
enum class ItemStatus {
    Ok,
    CannotOpen,   // the file is missing or unreadable
    NoSuchItem,   // no item line carries the label (or it has no "=")
    BadValue,     // a new value holding a line end would break the file's line structure
    WriteFailed,  // the new file could not be written; the old one is untouched
};

struct ItemRead {
    ItemStatus status = ItemStatus::CannotOpen;
    std::string value;  // valid when status is Ok
};

// Item labels are "Item 0." to "Item 60.": the text that begins the item's line.
std::string objectItemLabel(int item);

// True for the file-name items (Items 0, 15, 16 and 23), whose values are relative to the data
// directory in the file and absolute in the launcher.
bool isFileNameItem(std::string_view label);

// Reads the value of the first item line containing label: the text from two characters after the
// line's last "=" to the line end. A file-name item other than "na" comes back with dataDirectory
// in front. Comment lines ("#" first) are never taken for item lines.
ItemRead readObjectItem(const std::string& objectPath, std::string_view label,
                        const std::string& dataDirectory);

// Replaces the value of the first item line containing label; label, description and "= " stay.
// A file-name item loses a leading dataDirectory. The file is replaced atomically (temporary file
// beside it, then rename), so a failure leaves the previous file whole.
ItemStatus writeObjectItem(const std::string& objectPath, std::string_view label,
                           const std::string& newValue, const std::string& dataDirectory);
