// The configuration manager's consistency check: its selected rows through the check and its
// messages, with the manager's two switches.
#include "cfg_manager_dlg.h"
#include "consistency_check_run.h"
#include "dialog_openers.h"

bool runConsistencyCheck(CCfgManagerDlg& manager) {
    std::vector<CheckRow> rows;
    for (const SelectedRow& row : manager.selectedRows()) rows.push_back({row.name, row.refNo, row.orbits});
    std::vector<int> atFault;
    const bool consistent = runCheckWithMessages(rows, manager.context().dataDirectory,
                                                 manager.showSuccess(), manager.saving(), &manager, &atFault);
    // The rows an orbit-order failure concerns are chosen in the list, so the user finds them.
    if (!atFault.empty()) manager.selectedList()->selectRows(atFault);
    manager.setLastCheckResult(consistent);
    return consistent;
}
