// The configuration manager's commands: loading, appending, dragging, removing and deleting, the
// openers of the wizard and the orbit dialog, and Save and Quit with their rules.
#include <QComboBox>
#include <algorithm>
#include <cstdlib>

#include "cfg_manager_dlg.h"
#include "config_file.h"
#include "configuration_lines.h"
#include "data_files.h"
#include "dialog_openers.h"
#include "error_dlg.h"
#include "fatal_exit.h"
#include "help_page.h"
#include "launch_rules.h"
#include "message_dlg.h"
#include "object_item.h"
#include "selection_file.h"
#include "warning_dlg.h"

namespace {

const QString kAreYouSure = "\n\nAre you sure?\n\nThe deletion will be permanent.";

// A path longer than any the system can open (a damaged line of megabytes) is shown cut short:
// a wrapped label lays out its whole text several times, which takes seconds for megabytes.
std::string shownPath(const std::string& path) {
    constexpr size_t kLongestPath = 4096;  // PATH_MAX: a longer name is never a file
    constexpr size_t kShownChars = 200;
    if (path.size() <= kLongestPath) return path;
    return path.substr(0, kShownChars) + "... (" + std::to_string(path.size()) + " characters)";
}

void removeComboEntry(QComboBox* combo, const QString& text) {
    int index = combo->findText(text);
    if (index >= 0) combo->removeItem(index);
    combo->setEditText("");
}

}  // namespace

void CCfgManagerDlg::loadConfiguration() {
    const std::string& dir = m_context.dataDirectory;
    const std::string path = dir + "Configurations/" + configurationName().toStdString() + ".cfg";
    std::optional<std::vector<std::string>> lines = readConfigurationLines(path);
    if (!lines) exitCouldNotOpen(path);

    std::vector<SelectedRow> rows;
    for (const std::string& line : *lines) {
        const std::string object = dir + "Objects/" + line;
        // A name that leaves Objects/ ("../time.cfg") is as unavailable as a missing file.
        if (!isSafePathName(line) || !isRegularFile(object)) {
            askWarning(QString::fromStdString("\nThe file\n\n" + shownPath(object) +
                                              "\n\nis not available. This might result in "
                                              "unpredictable behaviour."),
                       this);
            continue;
        }
        ObjectFacts facts = readFactsOrExit(object, dir);
        rows.push_back({upToFirstDot(line), "", facts.orbits, facts.loadedType});
    }
    renumber(rows);
    setSelectedRows(std::move(rows));
}

void CCfgManagerDlg::selectConfiguration() {
    if (!nameUsable(configurationName(), true)) return;
    loadConfiguration();
}

void CCfgManagerDlg::deleteConfiguration() {
    const QString name = configurationName();
    if (!nameUsable(name, true) || !askWarning(kAreYouSure, this)) return;
    if (!deleteFile(m_context.dataDirectory + "Configurations/" + name.toStdString() + ".cfg")) return;
    removeComboEntry(m_configurationCombo, name);
    m_configurationDeleted = true;
}

void CCfgManagerDlg::appendObjects() {
    std::vector<int> selection = m_selectedList->selectedRowIndices();
    for (int index : m_availableList->selectedRowIndices()) {
        const std::string& name = m_available[index].name;
        ObjectFacts facts = readFactsOrExit(objectPath(name), m_context.dataDirectory);
        m_selected.push_back({name, std::to_string(m_selected.size() + 1), facts.orbits,
                              facts.appendedType});
        selection.push_back(static_cast<int>(m_selected.size()) - 1);
    }
    showSelectedRows(selection);
    m_availableList->clearSelection();
}

void CCfgManagerDlg::dropRows(ObjectListView::Role source, std::vector<int> rows, int dropRow) {
    std::vector<int> inserted;
    if (source == ObjectListView::Role::Available) {
        std::vector<SelectedRow> newRows;
        for (int index : rows) {
            if (index < 0 || index >= static_cast<int>(m_available.size())) continue;
            const AvailableRow& row = m_available[index];
            ObjectFacts facts = readFactsOrExit(objectPath(row.name), m_context.dataDirectory);
            newRows.push_back({row.name, "", facts.orbits, row.type});
        }
        inserted = insertRows(m_selected, dropRow, newRows);
    } else {
        std::vector<SelectedRow> kept = m_selected;
        std::vector<int> orbitsChanged;
        inserted = moveRowsKeepingOrbits(kept, rows, dropRow, orbitsChanged);
        if (orbitsChanged.empty() ||
            !askWarning("\nThe moved objects orbit, or are orbited by, other objects.\n\n"
                        "OK keeps every object's orbit and rewrites the orbit references;\n"
                        "Quit moves the rows and leaves the references as they are.",
                        this)) {
            inserted = moveRows(m_selected, rows, dropRow);
        } else {
            m_selected = std::move(kept);
            // The simulator reads the orbit from the object file: it follows the list.
            for (int index : orbitsChanged) {
                const std::string path = objectPath(m_selected[index].name);
                if (writeObjectItem(path, "Item 8.", m_selected[index].orbits, m_context.dataDirectory) != ItemStatus::Ok)
                    showError(QString::fromStdString("\n\nCould not write file " + path +
                                                     "; its orbit reference was not changed."),
                              this);
            }
        }
    }
    showSelectedRows(inserted);
}

void CCfgManagerDlg::removeFromList() {
    removeRows(m_selected, m_selectedList->selectedRowIndices());
    showSelectedRows({});
}

void CCfgManagerDlg::deleteObjects() {
    if (!askWarning("\nAre you sure? The deletion will be permanent.\n\n"
                    "After you click OK, you must remove the deleted objects from all "
                    "configurations before leaving the configuration manager.\n",
                    this))
        return;
    std::vector<std::string> deleted;
    for (int index : m_availableList->selectedRowIndices())
        if (deleteFile(objectPath(m_available[index].name))) deleted.push_back(m_available[index].name);
    auto wasDeleted = [&](const std::string& name) {
        return std::find(deleted.begin(), deleted.end(), name) != deleted.end();
    };
    std::erase_if(m_available, [&](const AvailableRow& r) { return wasDeleted(r.name); });
    std::erase_if(m_selected, [&](const SelectedRow& r) { return wasDeleted(r.name); });
    renumber(m_selected);
    showAvailableRows({});
    showSelectedRows({});
}

void CCfgManagerDlg::deleteRecording() {
    const QString title = recordingTitle();
    if (!nameUsable(title, true) || !askWarning(kAreYouSure, this)) return;
    if (!::deleteRecording(m_context.dataDirectory, title.toStdString())) return;
    removeComboEntry(m_recordingCombo, title);
}

void CCfgManagerDlg::deleteScreenshots() {
    const QString title = screenshotTitle();
    if (!nameUsable(title, true) || !askWarning(kAreYouSure, this)) return;
    if (!deleteScreenshotSet(m_context.dataDirectory, title.toStdString())) return;
    removeComboEntry(m_screenshotCombo, title);
}

void CCfgManagerDlg::createNewObject() {
    static const char* const kTypes[] = {"Star", "Planet", "Observer"};
    const int type = newObjectType();
    if (type < 0 || type > 2) exitWithError("\n\nUnable to determine the type of object.");
    ObjectWizardRequest request;
    request.newObject = true;
    request.type = kTypes[type];
    request.orbiting = newObjectOrbiting();
    request.orbitedRefNo = request.orbiting ? 1 : 0;
    // A row chosen in the selected list is the likely parent of the new object.
    const std::vector<int> chosen = m_selectedList->selectedRowIndices();
    if (chosen.size() == 1) request.suggestedParentRefNo = chosen.front() + 1;
    openObjectWizard(*this, request);
}

void CCfgManagerDlg::configureObject() {
    std::vector<int> chosen = m_selectedList->selectedRowIndices();
    if (chosen.empty()) return;
    const SelectedRow row = m_selected[chosen.front()];
    if (row.type != kTypeStar && row.type != kTypePlanet && row.type != kTypeObserver)
        exitWithError(QString::fromStdString("\n\nUnable to determine the type of object " +
                                             row.name + "."));
    ObjectWizardRequest request;
    request.newObject = false;
    request.type = row.type;
    request.orbiting = row.orbits != kNoOrbit;
    request.orbitedRefNo = request.orbiting ? std::atoi(row.orbits.c_str()) : 0;
    request.objectPath = objectPath(row.name);
    openObjectWizard(*this, request);
}

void CCfgManagerDlg::changeOrbit() {
    std::vector<int> chosen = m_selectedList->selectedRowIndices();
    if (chosen.empty()) return;
    const int index = chosen.front();
    const SelectedRow row = m_selected[index];
    OrbitAnswer answer =
        openOrbitDialog(*this, row.orbits == kNoOrbit ? 0 : std::atoi(row.orbits.c_str()));
    if (answer.result != OrbitAnswer::kSaveAndContinue && answer.result != OrbitAnswer::kSaveAndQuit)
        return;

    const std::string path = objectPath(row.name);
    const std::string value = answer.orbitedRefNo == 0 ? "na" : std::to_string(answer.orbitedRefNo);
    std::vector<std::pair<std::string, std::string>> writes = {{"Item 8.", value}};
    writes.insert(writes.end(), answer.placedItems.begin(), answer.placedItems.end());
    for (const auto& [label, itemValue] : writes) {
        switch (writeObjectItem(path, label, itemValue, m_context.dataDirectory)) {
            case ItemStatus::Ok: break;
            case ItemStatus::CannotOpen: exitCouldNotOpen(path);
            case ItemStatus::NoSuchItem:
                showError(QString::fromStdString("\n\nThe file " + path + " holds no " + label +
                                                 "; the orbit was not changed."),
                          this);
                return;
            default:
                showError(QString::fromStdString("\n\nCould not write file " + path +
                                                 "; the orbit was not changed."),
                          this);
                return;
        }
    }
    // The row may have moved while the dialog was open; find it again by name.
    int current = findRow(m_selected, row.name);
    if (current >= 0) {
        m_selected[current].orbits = shownOrbit(value);
        showSelectedRows({current});
    }
    if (answer.result == OrbitAnswer::kSaveAndContinue) configureObject();
}

bool CCfgManagerDlg::checkList(bool showSuccess, bool saving) {
    m_showSuccess = showSuccess;
    m_saving = saving;
    bool consistent = runConsistencyCheck(*this);
    m_showSuccess = true;
    m_saving = false;
    return consistent;
}

void CCfgManagerDlg::checkConsistency() { checkList(true, false); }

bool CCfgManagerDlg::writeSelection(const std::string& fileName, const QString& name) {
    const std::string path = m_context.dataDirectory + fileName;
    if (writeSelectionFile(path, name.toStdString())) return true;
    showError(QString::fromStdString("\n\nCould not write file " + path), this);
    return false;
}

void CCfgManagerDlg::save() {
    const std::string& dir = m_context.dataDirectory;
    if (!checkList(false, true)) return;

    const QString name = configurationName();
    if (name.isEmpty()) {
        showMessage("\n\nYou must select or name a configuration before saving.", this);
        return;
    }
    if (!nameUsable(name, true)) return;
    const std::string configuration = dir + "Configurations/" + name.toStdString() + ".cfg";
    if (pathExists(configuration) &&
        !askWarning("\nYou have selected the name of an existing\n"
                    "configuration which will be replaced by\n"
                    "the new setup.\n\nDo you want to continue?",
                    this))
        return;
    if (!writeSelection("configfile.cfg", name)) return;
    std::vector<std::string> entries;
    for (const SelectedRow& row : m_selected) entries.push_back(row.name + ".cfg");
    if (!writeConfigurationFile(configuration, entries)) {
        showError(QString::fromStdString("\n\nCould not write file " + configuration), this);
        return;
    }

    const QString title = recordingTitle();
    if (title.isEmpty()) {
        showMessage("\n\nYou must select or name a recordings title before saving.", this);
        return;
    }
    if (!nameUsable(title, true)) return;
    if (pathExists(dir + "Recordings/" + title.toStdString()) &&
        !askWarning("\nYou have selected the title of an existing recording.\n"
                    "Its content will be destroyed when you do a\n"
                    "new recording using that name.\n\nDo you want to continue?",
                    this))
        return;
    if (!writeSelection("moviefile.cfg", title)) return;

    const QString shots = screenshotTitle();
    if (shots.isEmpty()) {
        showMessage("\n\nYou must select or name a screenshots title before saving.", this);
        return;
    }
    if (!nameUsable(shots, true)) return;
    if (!writeSelection("screenshotfile.cfg", shots)) return;
    m_configurationDeleted = false;
    done(QDialog::Accepted);
}

void CCfgManagerDlg::quit() {
    if (configurationName().isEmpty()) {
        showMessage("\n\nYou must select or name a configuration before leaving the configuration "
                    "manager.",
                    this);
        return;
    }
    if (m_configurationDeleted) {
        showMessage("\n\nYou must save the configuration before leaving the configuration manager "
                    "because you have deleted the old configuration.",
                    this);
        return;
    }
    if (!checkList(false, false) &&
        !askWarning("\n\nIf you quit before fixing the inconsistency,\nthe simulation might behave "
                    "unpredictably.\n\nContinue?",
                    this))
        return;
    done(QDialog::Rejected);
}

void CCfgManagerDlg::reject() { quit(); }

void CCfgManagerDlg::openHelp() { openHelpPage(m_context.cfgManagerHelp); }
