// The orbit dialog for the manager's first selected row, with the selected list for its preview.
#include "cfg_manager_dlg.h"
#include "cfg_orbit_dlg.h"
#include "dialog_openers.h"
#include "object_file.h"

OrbitAnswer openOrbitDialog(CCfgManagerDlg& manager, int orbitedRefNo) {
    OrbitListView list{{}, manager.context().dataDirectory};
    for (const SelectedRow& row : manager.selectedRows()) list.names.push_back(row.name);
    std::optional<SimObject> object;
    const std::vector<int> chosen = manager.selectedList()->selectedRowIndices();
    if (!chosen.empty()) {
        SimObject read;
        const std::string path = list.dataDirectory + "Objects/" +
                                 manager.selectedRows()[static_cast<size_t>(chosen.front())].name + ".cfg";
        if (readObjectFile(read, path, list.dataDirectory)) object = read;
    }
    CCfgOrbitDlg dlg(orbitedRefNo, true, object, list, &manager);
    const int result = dlg.exec();
    return OrbitAnswer{result, dlg.orbitedRefNo()};
}
