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
    BadValue,     // a new value holding a line end or "=" would not read back as written
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

// How one line of an object file stands to an item label. An item line holds the label before its
// last "=" and is not a comment ("#" first); a line that holds the label only in its value (after
// the last "=") is not that item's line, so a value that quotes a label never takes over the item.
enum class ItemLineKind {
    Other,              // not a line of this item
    LabelWithoutValue,  // holds the label but no "=" at all
    Item,               // the item's line; valueStart is set
};
ItemLineKind classifyItemLine(std::string_view line, std::string_view label, size_t* valueStart = nullptr);

// Reads the value of the first item line containing label: the text from two characters after the
// line's last "=" to the line end. A file-name item other than "na" comes back with dataDirectory
// in front. Comment lines ("#" first) are never taken for item lines.
ItemRead readObjectItem(const std::string& objectPath, std::string_view label,
                        const std::string& dataDirectory);

// Replaces the value of the first item line containing label; label, description and "= " stay,
// and every other byte of the file (other lines, line ends) is kept as it was. A file-name item
// loses a leading dataDirectory. The file is replaced atomically (temporary file
// beside it, then rename), so a failure leaves the previous file whole.
ItemStatus writeObjectItem(const std::string& objectPath, std::string_view label,
                           const std::string& newValue, const std::string& dataDirectory);

// The same replacement in a file's text held in memory (Ok, BadValue or NoSuchItem), for changes
// that make every new text before writing any.
ItemStatus replaceObjectItemInText(std::string& contents, std::string_view label,
                                  const std::string& newValue, const std::string& dataDirectory);
