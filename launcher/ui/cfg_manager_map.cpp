// The configuration manager's additions: the map window that follows the selected list, and
// "Set date...".
#include "cfg_manager_dlg.h"
#include "set_date_dlg.h"
#include "system_map_dlg.h"

void CCfgManagerDlg::showSystemMap() {
    if (!m_mapDlg) {
        m_mapDlg = new SystemMapDlg(this);
        connect(m_mapDlg, &SystemMapDlg::rowChosen, this,
                [this](int row) { m_selectedList->selectRows({row}); });
    }
    m_mapDlg->show();
    m_mapDlg->raise();
    refreshSystemMap();
    followListChoice();
}

void CCfgManagerDlg::refreshSystemMap() {
    if (!m_mapDlg || !m_mapDlg->isVisible()) return;
    std::vector<std::string> names;
    names.reserve(m_selected.size());
    for (const SelectedRow& row : m_selected) names.push_back(row.name);
    m_mapDlg->showList(names, m_context.dataDirectory);
}

void CCfgManagerDlg::followListChoice() {
    if (!m_mapDlg || !m_mapDlg->isVisible()) return;
    const std::vector<int> chosen = m_selectedList->selectedRowIndices();
    m_mapDlg->chooseRow(chosen.empty() ? -1 : chosen.front());
}

void CCfgManagerDlg::setDate() {
    if (runSetDate(m_context.dataDirectory, this)) refreshSystemMap();
}
