// The configuration manager's layout, its opening, the 60 ms tick and the showing of its lists.
#include "cfg_manager_dlg.h"

#include <QButtonGroup>
#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "data_files.h"
#include "fatal_exit.h"
#include "launch_rules.h"
#include "message_dlg.h"
#include "selection_file.h"

namespace {

QComboBox* makeNameCombo(const char* objectName) {
    auto* combo = new QComboBox;
    combo->setObjectName(objectName);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(24);
    return combo;
}

void sortCombo(QComboBox* combo) { combo->model()->sort(0); }

}  // namespace

CCfgManagerDlg::CCfgManagerDlg(QWidget* parent) : CLauncherDialog(parent) {
    setWindowTitle("Configuration manager");
    buildLayout();
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CCfgManagerDlg::updateControls);
    m_timer->start(kTickMs);
    m_configurationDeleted = false;
    m_planetRadio->setChecked(true);
    m_orbitingCheck->setChecked(true);
    fillAtOpening();
    updateControls();
}

void CCfgManagerDlg::buildLayout() {
    auto button = [this](const QString& caption, const char* name, void (CCfgManagerDlg::*slot)()) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setAutoDefault(false);
        // At least 50 dialog units wide, and never narrower than its caption.
        b->setMinimumWidth(std::max(dialogUnits(50, 0).width(), b->sizeHint().width()));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto frame = [this](const QString& caption, FrameTile tile) {
        auto* f = new QGroupBox(caption);
        decorateFrame(f, tile);
        return f;
    };

    // Step 1: the configuration's name.
    QGroupBox* step1 = frame("Step 1: Select a system configuration from the list or name a new one",
                             FrameTile::Tile32);
    m_configurationCombo = makeNameCombo("configurationName");
    m_selectButton = button("Select", "selectButton", &CCfgManagerDlg::selectConfiguration);
    m_deleteConfigurationButton =
        button("Delete", "deleteConfigurationButton", &CCfgManagerDlg::deleteConfiguration);
    auto* step1Layout = new QHBoxLayout(step1);
    step1Layout->addWidget(m_configurationCombo, 1);
    step1Layout->addWidget(m_selectButton);
    step1Layout->addWidget(m_deleteConfigurationButton);

    // Step 2: the two lists, the new-object choices and the list commands.
    QGroupBox* step2 = frame("Step 2: Create new objects from scratch, add objects to the selected "
                             "system, and configure the selected objects",
                             FrameTile::Tile32);
    QGroupBox* availableFrame = frame("Available objects", FrameTile::Tile64);
    m_availableList = new ObjectListView(ObjectListView::Role::Available, {"Name", "Type"});
    m_availableList->setObjectName("availableList");
    m_availableList->setMinimumSize(dialogUnits(150, 110));
    (new QVBoxLayout(availableFrame))->addWidget(m_availableList);

    QGroupBox* newObjectFrame = frame("", FrameTile::Tile32);
    m_starRadio = new QRadioButton("Star");
    m_planetRadio = new QRadioButton("Planet");
    m_observerRadio = new QRadioButton("Observer");
    auto* typeGroup = new QButtonGroup(this);
    typeGroup->addButton(m_starRadio, 0);
    typeGroup->addButton(m_planetRadio, 1);
    typeGroup->addButton(m_observerRadio, 2);
    m_orbitingCheck = new QCheckBox("Object is orbiting");
    m_orbitingCheck->setObjectName("orbitingCheck");
    m_createButton = button("Create new object", "createButton", &CCfgManagerDlg::createNewObject);
    auto* newObjectLayout = new QGridLayout(newObjectFrame);
    newObjectLayout->addWidget(m_starRadio, 0, 0);
    newObjectLayout->addWidget(m_planetRadio, 0, 1);
    newObjectLayout->addWidget(m_observerRadio, 0, 2);
    newObjectLayout->addWidget(m_orbitingCheck, 1, 0, 1, 2);
    newObjectLayout->addWidget(m_createButton, 1, 2);

    auto* left = new QVBoxLayout;
    left->addWidget(availableFrame, 1);
    left->addWidget(newObjectFrame);

    m_appendButton = button("Append ->", "appendButton", &CCfgManagerDlg::appendObjects);
    m_deleteObjectsButton = button("Delete", "deleteObjectsButton", &CCfgManagerDlg::deleteObjects);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(m_appendButton);
    middle->addSpacing(dialogUnits(0, 10).height());
    middle->addWidget(m_deleteObjectsButton);
    middle->addStretch(2);

    QGroupBox* selectedFrame = frame("Selected objects", FrameTile::Tile64);
    m_selectedList = new ObjectListView(ObjectListView::Role::Selected,
                                        {"Name", "Ref-No", "orbits Ref-No", "Type"});
    m_selectedList->setObjectName("selectedList");
    m_selectedList->setMinimumSize(dialogUnits(230, 110));
    (new QVBoxLayout(selectedFrame))->addWidget(m_selectedList);
    connect(m_selectedList, &ObjectListView::rowsDropped, this, &CCfgManagerDlg::dropRows);

    QGroupBox* listCommands = frame("", FrameTile::Tile32);
    m_checkButton = button("Check consistency", "checkButton", &CCfgManagerDlg::checkConsistency);
    m_removeButton = button("Remove from list", "removeButton", &CCfgManagerDlg::removeFromList);
    m_changeOrbitButton = button("Change orbit", "changeOrbitButton", &CCfgManagerDlg::changeOrbit);
    m_configureButton = button("Configure object", "configureButton", &CCfgManagerDlg::configureObject);
    auto* commandsLayout = new QGridLayout(listCommands);
    commandsLayout->addWidget(m_checkButton, 0, 0);
    commandsLayout->addWidget(m_removeButton, 0, 1);
    commandsLayout->addWidget(m_changeOrbitButton, 1, 0);
    commandsLayout->addWidget(m_configureButton, 1, 1);
    m_mapButton = button("Map of the system...", "mapButton", &CCfgManagerDlg::showSystemMap);
    m_setDateButton = button("Set date...", "setDateButton", &CCfgManagerDlg::setDate);
    commandsLayout->addWidget(m_mapButton, 2, 0);
    commandsLayout->addWidget(m_setDateButton, 2, 1);
    connect(m_selectedList, &QTreeWidget::itemSelectionChanged, this, &CCfgManagerDlg::followListChoice);

    auto* right = new QVBoxLayout;
    right->addWidget(selectedFrame, 1);
    right->addWidget(listCommands);

    auto* step2Layout = new QHBoxLayout(step2);
    step2Layout->addLayout(left, 2);
    step2Layout->addLayout(middle);
    step2Layout->addLayout(right, 3);

    // Step 3: recording and screenshot titles.
    QGroupBox* step3 = frame(
        "Step 3: Select titles for recordings and screenshots from the lists or add new titles",
        FrameTile::Tile32);
    QGroupBox* recordings = frame("Recordings", FrameTile::Tile64);
    m_recordingCombo = makeNameCombo("recordingTitle");
    m_deleteRecordingButton = button("Delete", "deleteRecordingButton", &CCfgManagerDlg::deleteRecording);
    auto* recordingsLayout = new QHBoxLayout(recordings);
    recordingsLayout->addWidget(m_recordingCombo, 1);
    recordingsLayout->addWidget(m_deleteRecordingButton);
    QGroupBox* screenshots = frame("Screenshots", FrameTile::Tile64);
    m_screenshotCombo = makeNameCombo("screenshotTitle");
    m_deleteScreenshotsButton =
        button("Delete", "deleteScreenshotsButton", &CCfgManagerDlg::deleteScreenshots);
    auto* screenshotsLayout = new QHBoxLayout(screenshots);
    screenshotsLayout->addWidget(m_screenshotCombo, 1);
    screenshotsLayout->addWidget(m_deleteScreenshotsButton);
    auto* step3Layout = new QHBoxLayout(step3);
    step3Layout->addWidget(recordings, 1);
    step3Layout->addWidget(screenshots, 1);

    // Step 4: save, help, quit.
    QGroupBox* step4 = frame(
        "Step4: Save the selected objects list, the recordings title, and the screenshots title",
        FrameTile::Tile32);
    m_saveButton = button("Save", "saveButton", &CCfgManagerDlg::save);
    m_saveButton->setDefault(true);
    m_helpButton = button("Help", "helpButton", &CCfgManagerDlg::openHelp);
    m_quitButton = button("Quit", "quitButton", &CCfgManagerDlg::quit);
    auto* step4Layout = new QHBoxLayout(step4);
    step4Layout->addStretch(1);
    step4Layout->addWidget(m_saveButton);
    step4Layout->addSpacing(dialogUnits(20, 0).width());
    step4Layout->addWidget(m_helpButton);
    step4Layout->addSpacing(dialogUnits(20, 0).width());
    step4Layout->addWidget(m_quitButton);
    step4Layout->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(step1);
    layout->addWidget(step2, 1);
    layout->addWidget(step3);
    layout->addWidget(step4);
}

void CCfgManagerDlg::fillAtOpening() {
    const std::string& dir = m_context.dataDirectory;

    // Titles: the selected one first, then every other entry of its directory.
    auto fillTitles = [&](QComboBox* combo, const char* selectionFile, const char* folder) {
        std::string title = readSelectionOrExit(dir + selectionFile);
        combo->addItem(QString::fromStdString(title));
        for (const std::string& entry : directoryEntries(dir + folder))
            if (entry != title) combo->addItem(QString::fromStdString(entry));
        sortCombo(combo);
        combo->setEditText(QString::fromStdString(title));
    };
    fillTitles(m_recordingCombo, "moviefile.cfg", "Recordings");
    fillTitles(m_screenshotCombo, "screenshotfile.cfg", "Screenshots");

    std::string name = readSelectionOrExit(dir + "configfile.cfg");
    for (const std::string& entry : directoryEntries(dir + "Configurations"))
        m_configurationCombo->addItem(QString::fromStdString(withoutExtension(entry)));
    sortCombo(m_configurationCombo);
    m_configurationCombo->setEditText(QString::fromStdString(name));

    // Object files only: a stray file of another kind in Objects/ is no object to offer.
    for (const std::string& entry : fileEntries(dir + "Objects")) {
        if (entry.size() < 5 || entry.compare(entry.size() - 4, 4, ".cfg") != 0) continue;
        ObjectFacts facts = readFactsOrExit(dir + "Objects/" + entry, dir);
        m_available.push_back({withoutExtension(entry), facts.loadedType});
    }
    showAvailableRows({});

    loadConfiguration();
}

QString CCfgManagerDlg::configurationName() const { return m_configurationCombo->currentText(); }
QString CCfgManagerDlg::recordingTitle() const { return m_recordingCombo->currentText(); }
QString CCfgManagerDlg::screenshotTitle() const { return m_screenshotCombo->currentText(); }

int CCfgManagerDlg::newObjectType() const {
    if (m_starRadio->isChecked()) return 0;
    if (m_planetRadio->isChecked()) return 1;
    if (m_observerRadio->isChecked()) return 2;
    return -1;
}

bool CCfgManagerDlg::newObjectOrbiting() const { return m_orbitingCheck->isChecked(); }

std::string CCfgManagerDlg::objectPath(const std::string& name) const {
    return m_context.dataDirectory + "Objects/" + name + ".cfg";
}

void CCfgManagerDlg::setAvailableRows(std::vector<AvailableRow> rows, const std::vector<int>& selection) {
    m_available = std::move(rows);
    showAvailableRows(selection);
}

void CCfgManagerDlg::setSelectedRows(std::vector<SelectedRow> rows, const std::vector<int>& selection) {
    m_selected = std::move(rows);
    showSelectedRows(selection);
}

void CCfgManagerDlg::showAvailableRows(const std::vector<int>& selection) {
    m_availableList->clear();
    QList<QTreeWidgetItem*> items;
    for (const AvailableRow& row : m_available)
        items << new QTreeWidgetItem(
            QStringList{QString::fromStdString(row.name), QString::fromStdString(row.type)});
    m_availableList->addTopLevelItems(items);
    m_availableList->selectRows(selection);
}

void CCfgManagerDlg::showSelectedRows(const std::vector<int>& selection) {
    m_selectedList->clear();
    QList<QTreeWidgetItem*> items;
    for (const SelectedRow& row : m_selected)
        items << new QTreeWidgetItem(QStringList{
            QString::fromStdString(row.name), QString::fromStdString(row.refNo),
            QString::fromStdString(row.orbits), QString::fromStdString(row.type)});
    m_selectedList->addTopLevelItems(items);
    m_selectedList->selectRows(selection);
    refreshSystemMap();
}

bool CCfgManagerDlg::nameUsable(const QString& name, bool report) {
    if (isSafePathName(name.toStdString())) return true;
    if (report)
        showMessage("\n\nThe name \"" + name +
                        "\" cannot be used: a name must not be empty, begin with \".\" "
                        "or hold \"/\", \"\\\" or control characters.",
                    this);
    return false;
}

void CCfgManagerDlg::updateControls() {
    const bool anySelectedRow = !m_selected.empty();
    m_checkButton->setEnabled(anySelectedRow);
    m_saveButton->setEnabled(anySelectedRow);

    const bool availableChosen = !m_availableList->selectedRowIndices().empty();
    m_appendButton->setEnabled(availableChosen);
    m_deleteObjectsButton->setEnabled(availableChosen);

    const size_t chosen = m_selectedList->selectedRowIndices().size();
    m_removeButton->setEnabled(chosen >= 1);
    m_configureButton->setEnabled(chosen == 1);
    m_changeOrbitButton->setEnabled(chosen == 1);

    // A name that could reach outside its folder never enables a command on it.
    const std::string& dir = m_context.dataDirectory;
    auto existsBelow = [&](const QString& name, const std::string& folder, const char* suffix) {
        const std::string text = name.toStdString();
        return isSafePathName(text) && pathExists(dir + folder + text + suffix);
    };
    const bool configurationExists =
        existsBelow(configurationName(), "Configurations/", ".cfg");
    m_selectButton->setEnabled(configurationExists);
    m_deleteConfigurationButton->setEnabled(configurationExists);
    m_deleteRecordingButton->setEnabled(existsBelow(recordingTitle(), "Recordings/", ""));
    m_deleteScreenshotsButton->setEnabled(existsBelow(screenshotTitle(), "Screenshots/", ""));

    std::vector<int> selection = m_selectedList->selectedRowIndices();
    if (std::optional<int> movedFrom = keepObserverLast(m_selected)) {
        for (int& row : selection)
            row = indexAfterObserverMove(row, *movedFrom, static_cast<int>(m_selected.size()));
        showSelectedRows(selection);
    }
}
