// Compact views of the configuration manager's rows for assertions.
#pragma once

#include <string>
#include <vector>

#include "cfg_manager_dlg.h"

namespace launchertest {

// "name ref orbits type" per selected row, as the list shows them.
inline std::vector<std::string> shownSelectedRows(const CCfgManagerDlg& dlg) {
    std::vector<std::string> out;
    const ObjectListView* list = dlg.selectedList();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        out.push_back((item->text(0) + " " + item->text(1) + " " + item->text(2) + " " + item->text(3))
                          .toStdString());
    }
    return out;
}

inline std::vector<std::string> selectedNames(const CCfgManagerDlg& dlg) {
    std::vector<std::string> out;
    for (const SelectedRow& row : dlg.selectedRows()) out.push_back(row.name);
    return out;
}

inline int availableIndex(const CCfgManagerDlg& dlg, const std::string& name) {
    return findRow(dlg.availableRows(), name);
}

}  // namespace launchertest
