// Item lookup in a file read once.
#include "object_item_snapshot.h"

#include <algorithm>

#include "object_item.h"
#include "text_file.h"

bool ObjectItemSnapshot::load(const std::string& objectPath, const std::string& dataDirectory) {
    std::string contents;
    const bool read = readWholeFile(objectPath, contents);
    loadText(read ? contents : std::string(), dataDirectory);
    return read;
}

void ObjectItemSnapshot::loadText(std::string_view contents, const std::string& dataDirectory) {
    m_itemLines.clear();
    m_dataDirectory = dataDirectory;
    for (TextLine& line : splitLines(contents))
        if (!line.text.empty() && line.text.front() != '#') m_itemLines.push_back(std::move(line.text));
}

std::string ObjectItemSnapshot::item(std::string_view label) const {
    for (const std::string& line : m_itemLines) {
        size_t start = 0;
        const ItemLineKind kind = classifyItemLine(line, label, &start);
        if (kind == ItemLineKind::Other) continue;
        if (kind == ItemLineKind::LabelWithoutValue) return "na";
        std::string value = line.substr(start);
        if (isFileNameItem(label) && value != "na") value = m_dataDirectory + value;
        return value;
    }
    return "na";
}
