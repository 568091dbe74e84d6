// CCfgManagerDlg: the configuration manager. The user names or picks a configuration, assembles
// its ordered list of selected objects from the available object files (by "Append ->" or by
// dragging), edits objects and orbits, picks the recording and screenshot titles, and saves all of
// it as the configuration file and the three selection files. The list rules live in core
// (cfg_lists.h); this dialog shows the rows and runs the commands.
#pragma once

#include <QString>
#include <vector>

#include "cfg_lists.h"
#include "launcher_dialog.h"
#include "object_list_view.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTimer;
class SystemMapDlg;

class CCfgManagerDlg : public CLauncherDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 60;

    explicit CCfgManagerDlg(QWidget* parent = nullptr);

    // The lists as data. The setters show the rows at once; selection is given by row index.
    const std::vector<AvailableRow>& availableRows() const { return m_available; }
    const std::vector<SelectedRow>& selectedRows() const { return m_selected; }
    void setAvailableRows(std::vector<AvailableRow> rows, const std::vector<int>& selection = {});
    void setSelectedRows(std::vector<SelectedRow> rows, const std::vector<int>& selection = {});
    ObjectListView* availableList() const { return m_availableList; }
    ObjectListView* selectedList() const { return m_selectedList; }

    // Dialog data, as the controls hold it now.
    QString configurationName() const;
    QString recordingTitle() const;
    QString screenshotTitle() const;
    int newObjectType() const;  // 0 star, 1 planet, 2 observer, -1 none chosen
    bool newObjectOrbiting() const;
    bool configurationDeleted() const { return m_configurationDeleted; }

    // The consistency check's switches and its last outcome.
    bool showSuccess() const { return m_showSuccess; }
    bool saving() const { return m_saving; }
    bool lastCheckResult() const { return m_lastCheckResult; }
    void setLastCheckResult(bool consistent) { m_lastCheckResult = consistent; }

    // Commands, as their buttons run them.
    void selectConfiguration();
    void deleteConfiguration();
    void appendObjects();
    void deleteObjects();
    void createNewObject();
    void configureObject();
    void changeOrbit();
    void removeFromList();
    void checkConsistency();
    void deleteRecording();
    void deleteScreenshots();
    void save();
    void quit();
    void openHelp();
    // Additions: the map window beside the manager, and the date of the delivered solar system.
    void showSystemMap();
    void setDate();
    SystemMapDlg* systemMap() const { return m_mapDlg; }

    // The 60 ms tick: enables the commands that apply and keeps the observer last.
    void updateControls();

    void reject() override;  // the close box and Esc leave as "Quit" does

private:
    void buildLayout();
    void fillAtOpening();
    void loadConfiguration();
    void dropRows(ObjectListView::Role source, std::vector<int> rows, int dropRow);
    void showAvailableRows(const std::vector<int>& selection);
    void showSelectedRows(const std::vector<int>& selection);
    bool checkList(bool showSuccess, bool saving);
    bool nameUsable(const QString& name, bool report);
    std::string objectPath(const std::string& name) const;
    bool writeSelection(const std::string& fileName, const QString& name);
    void refreshSystemMap();
    void followListChoice();

    std::vector<AvailableRow> m_available;
    std::vector<SelectedRow> m_selected;
    bool m_configurationDeleted = false;
    bool m_showSuccess = true;
    bool m_saving = false;
    bool m_lastCheckResult = false;

    QTimer* m_timer = nullptr;
    QComboBox* m_configurationCombo = nullptr;
    QComboBox* m_recordingCombo = nullptr;
    QComboBox* m_screenshotCombo = nullptr;
    QPushButton* m_selectButton = nullptr;
    QPushButton* m_deleteConfigurationButton = nullptr;
    ObjectListView* m_availableList = nullptr;
    ObjectListView* m_selectedList = nullptr;
    QRadioButton* m_starRadio = nullptr;
    QRadioButton* m_planetRadio = nullptr;
    QRadioButton* m_observerRadio = nullptr;
    QCheckBox* m_orbitingCheck = nullptr;
    QPushButton* m_createButton = nullptr;
    QPushButton* m_appendButton = nullptr;
    QPushButton* m_deleteObjectsButton = nullptr;
    QPushButton* m_checkButton = nullptr;
    QPushButton* m_removeButton = nullptr;
    QPushButton* m_changeOrbitButton = nullptr;
    QPushButton* m_configureButton = nullptr;
    QPushButton* m_deleteRecordingButton = nullptr;
    QPushButton* m_deleteScreenshotsButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_quitButton = nullptr;
    QPushButton* m_mapButton = nullptr;
    QPushButton* m_setDateButton = nullptr;
    SystemMapDlg* m_mapDlg = nullptr;
};
