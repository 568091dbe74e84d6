// Writing the wizard's object file and updating the manager's rows.
#include "object_wizard_output.h"

#include <algorithm>
#include <cstdio>

#include "object_item.h"
#include "text_file.h"

namespace {

// Replaces the value of the first item line holding label, as writeObjectItem does in a file.
bool replaceItem(std::vector<TextLine>& lines, const std::string& label, std::string value,
                 const std::string& dataDirectory) {
    if (isFileNameItem(label) && value != "na" && !dataDirectory.empty() &&
        value.compare(0, dataDirectory.size(), dataDirectory) == 0)
        value.erase(0, dataDirectory.size());
    for (TextLine& line : lines) {
        size_t start = 0;
        const ItemLineKind kind = classifyItemLine(line.text, label, &start);
        if (kind == ItemLineKind::Other) continue;
        if (kind == ItemLineKind::LabelWithoutValue) return false;
        std::string head = line.text.substr(0, start);
        if (head.back() == '=') head += ' ';
        line.text = head + value;
        return true;
    }
    return false;
}

}  // namespace

TemplateWriteStatus writeObjectFromTemplate(const std::string& dataDirectory,
                                            const std::string& objectPath,
                                            const std::vector<std::pair<std::string, std::string>>& writes,
                                            std::string* missingLabel) {
    std::string contents;
    if (!readWholeFile(dataDirectory + "CfgTemplate.cfg", contents))
        return TemplateWriteStatus::TemplateUnreadable;
    std::vector<TextLine> lines = splitLines(contents);
    for (const auto& [label, value] : writes) {
        if (value.find_first_of("\r\n") != std::string::npos ||
            !replaceItem(lines, label, value, dataDirectory)) {
            if (missingLabel) *missingLabel = label;
            return TemplateWriteStatus::ItemMissing;
        }
    }
    std::string out;
    for (const TextLine& line : lines) {
        out += line.text;
        if (line.hadLineEnd) out += '\n';
    }
    return writeFileAtomically(objectPath, out) ? TemplateWriteStatus::Ok : TemplateWriteStatus::WriteFailed;
}

bool resetObserverState(const std::string& dataDirectory) {
    std::remove((dataDirectory + "last_view.cfg").c_str());
    const std::string time = dataDirectory + "time.cfg";
    std::string old;
    if (!readWholeFile(time, old)) return true;  // only an existing time.cfg is reset
    return writeFileAtomically(time, "0");
}

void updateListsAfterWizard(std::vector<AvailableRow>& available, std::vector<SelectedRow>& selected,
                            bool newObject, const std::string& name, const std::string& type,
                            int orbitedRefNo) {
    const std::string orbits = orbitedRefNo > 0 ? std::to_string(orbitedRefNo) : kNoOrbit;
    const int availableIndex = findRow(available, name);
    if (newObject) {
        const int selectedIndex = findRow(selected, name);
        if (selectedIndex >= 0) selected[static_cast<size_t>(selectedIndex)].orbits = orbits;
        if (availableIndex >= 0) available[static_cast<size_t>(availableIndex)].type = type;
        else available.push_back({name, type});
        return;
    }
    if (availableIndex < 0) available.push_back({name, type});
    if (findRow(selected, name) < 0)
        selected.push_back({name, std::to_string(selected.size() + 1), orbits, type});
}
