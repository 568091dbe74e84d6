// The object wizard for the configuration manager: its rows and data directory in, its updated
// rows back after "Done".
#include "cfg_manager_dlg.h"
#include "cfg_object_wizard.h"
#include "dialog_openers.h"
#include "error_dlg.h"
#include "launch_rules.h"

void openObjectWizard(CCfgManagerDlg& manager, const ObjectWizardRequest& request) {
    WizardSetup setup;
    setup.newObject = request.newObject;
    setup.type = wizardTypeFromName(request.type);
    setup.orbiting = request.orbiting;
    setup.orbitedRefNo = request.orbitedRefNo;
    setup.suggestedParentRefNo = request.suggestedParentRefNo;
    setup.objectPath = request.objectPath;
    setup.dataDirectory = manager.context().dataDirectory;
    setup.list.dataDirectory = setup.dataDirectory;
    for (const SelectedRow& row : manager.selectedRows()) setup.list.names.push_back(row.name);
    if (!setup.newObject) {
        // A file gone since the list was built is reported; the unsaved list stays.
        if (!pathExists(setup.objectPath)) {
            showError(QString::fromStdString("\n\nCould not open file " + setup.objectPath), &manager);
            return;
        }
        setup.fileValues = valuesFromObjectFile(setup.objectPath, setup.dataDirectory, setup.type,
                                                setup.orbiting, setup.orbitedRefNo);
    }
    std::vector<AvailableRow> available = manager.availableRows();
    std::vector<SelectedRow> selected = manager.selectedRows();
    if (runObjectWizard(setup, available, selected, &manager)) {
        manager.setAvailableRows(std::move(available));
        manager.setSelectedRows(std::move(selected));
    }
}
