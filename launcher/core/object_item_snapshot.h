// One read of an object file, after which any item is looked up in memory exactly as
// readObjectItem would find it in the file. The consistency check reads each file once this way
// instead of opening it again for every value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class ObjectItemSnapshot {
public:
    // Reads the file; false when it cannot be opened or read (the snapshot is then empty).
    bool load(const std::string& objectPath, const std::string& dataDirectory);
    // Takes the file's text already read.
    void loadText(std::string_view contents, const std::string& dataDirectory);

    // The value readObjectItem would return for label: the text from two characters after the
    // last "=" of the first item line holding the label, with the data directory in front for a
    // file-name item other than "na". An item the file lacks reads as "na" (not given).
    std::string item(std::string_view label) const;

private:
    std::vector<std::string> m_itemLines;  // lines that are neither empty nor comments
    std::string m_dataDirectory;
};
