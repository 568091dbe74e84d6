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
    const int ownRefNo = chosen.empty() ? 0 : chosen.front() + 1;
    CCfgOrbitDlg dlg(orbitedRefNo, true, object, list, &manager, ownRefNo);
    const int result = dlg.exec();
    OrbitAnswer answer{result, dlg.orbitedRefNo(), {}};
    if (const std::optional<PlaceInOrbitChoice>& placed = dlg.placement())
        answer.placedItems = placementItemWrites(placed->placement, placed->parentRefNo);
    return answer;
}
