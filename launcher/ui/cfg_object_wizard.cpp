// The object wizard's pages by type, and what "Done" writes.
#include "cfg_object_wizard.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QBrush>
#include <QPalette>

#include "artwork.h"
#include "cfg_body_dri_pages.h"
#include "cfg_obs_dri_page.h"
#include "cfg_obs_ori_page.h"
#include "cfg_plt_ori_page.h"
#include "cfg_position_pages.h"
#include "cfg_str_ori_page.h"
#include "error_dlg.h"
#include "help_page.h"
#include "launcher_context.h"
#include "launch_rules.h"
#include "object_wizard_output.h"
#include "selection_file.h"
#include "warning_dlg.h"

std::string wizardTypeName(WizardObjectType type) {
    switch (type) {
        case WizardObjectType::Star: return kTypeStar;
        case WizardObjectType::Observer: return kTypeObserver;
        default: return kTypePlanet;
    }
}

WizardObjectType wizardTypeFromName(const std::string& name) {
    if (name == kTypeStar) return WizardObjectType::Star;
    if (name == kTypeObserver) return WizardObjectType::Observer;
    return WizardObjectType::Planet;
}

CCfgObject::CCfgObject(const WizardSetup& setup, QWidget* parent) : QWizard(parent), m_setup(setup) {
    setWindowTitle(m_setup.newObject ? "Configure new object" : "Configure existing object");
    setWindowIcon(launcherIcon());
    // The launcher dialogs' tiled background, behind every page.
    QPalette tiled = palette();
    tiled.setBrush(QPalette::Window, QBrush(backgroundTile64()));
    setPalette(tiled);
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::HaveHelpButton, true);
    setOption(QWizard::NoBackButtonOnStartPage, false);
    setButtonText(QWizard::CancelButton, "Quit");
    setButtonText(QWizard::HelpButton, "Help");
    setButtonText(QWizard::FinishButton, "Done");

    const bool orbiting = m_setup.orbiting;
    switch (m_setup.type) {
        case WizardObjectType::Observer:
            m_sheets = {orbiting ? static_cast<CCfgWizardPage*>(new CCfgObsPos(m_setup))
                                 : new CCfgObsPosNoOrb(m_setup),
                        new CCfgObsDri(m_setup), new CCfgObsOri(m_setup)};
            break;
        case WizardObjectType::Star:
            m_sheets = {orbiting ? static_cast<CCfgWizardPage*>(new CCfgStrPos(m_setup))
                                 : new CCfgStrPosNoOrb(m_setup),
                        new CCfgStrDri(m_setup), new CCfgStrOri(m_setup)};
            break;
        default:
            m_sheets = {orbiting ? static_cast<CCfgWizardPage*>(new CCfgPltPos(m_setup))
                                 : new CCfgPltPosNoOrb(m_setup),
                        new CCfgPltDri(m_setup), new CCfgPltOri(m_setup)};
            break;
    }
    for (CCfgWizardPage* page : m_sheets) addPage(page);
    lastSheet()->setValuesSource([this] { return values(); });
    connect(this, &QWizard::helpRequested, this, [] { openHelpPage(CLauncherContext().cfgObjectHelp); });
}

CCfgOriPage* CCfgObject::lastSheet() const { return static_cast<CCfgOriPage*>(m_sheets[2]); }

WizardValues CCfgObject::values() const {
    WizardValues v;
    v.type = m_setup.type;
    v.orbiting = m_setup.orbiting;
    v.orbitedRefNo = m_setup.orbitedRefNo;
    for (CCfgWizardPage* page : m_sheets) page->collect(v);
    return v;
}

void CCfgObject::accept() {
    // The last sheet's fields first, as the wizard checks them on "Done".
    if (!validateCurrentPage()) return;
    const FinishOutcome outcome = m_finish ? m_finish(values()) : FinishOutcome::Written;
    if (outcome == FinishOutcome::Written) {
        QWizard::accept();
        return;
    }
    if (outcome == FinishOutcome::NameRefused && nameField()) nameField()->setFocus();
}

QWidget* CCfgObject::nameField() const {
    for (int id : {1153, 1173, 1169})
        if (QWidget* field = lastSheet()->choiceField(id)) return field;
    return nullptr;
}

namespace {

FinishOutcome writeWizardObject(const WizardSetup& setup, const WizardValues& values,
                                std::vector<AvailableRow>& available, std::vector<SelectedRow>& selected,
                                QWidget* parent) {
    const std::string& dir = setup.dataDirectory;
    if (values.type == WizardObjectType::Observer && !resetObserverState(dir))
        showError(QString::fromStdString("\n\nCould not write file " + dir + "time.cfg"), parent);
    if (values.name.empty()) {
        showError("\n\nNo object name has been specified.", parent);
        return FinishOutcome::NameRefused;
    }
    if (!isSafePathName(values.name)) {
        showError(QString::fromStdString("\n\nThe object name " + values.name +
                                         " cannot be used as a file name."),
                  parent);
        return FinishOutcome::NameRefused;
    }
    const std::string path = dir + "Objects/" + values.name + ".cfg";
    if (pathExists(path) &&
        !askWarning("\n\nAre you sure?\n\nAn object by that name already exists and will be overwritten.",
                    parent))
        return FinishOutcome::NameRefused;
    std::string missing;
    switch (writeObjectFromTemplate(dir, path, objectItemWrites(values, dir), &missing)) {
        case TemplateWriteStatus::Ok: break;
        case TemplateWriteStatus::TemplateUnreadable:
            showError(QString::fromStdString("\n\nCould not process file " + dir + "CfgTemplate.cfg"), parent);
            return FinishOutcome::Refused;
        case TemplateWriteStatus::ItemMissing:
            showError(QString::fromStdString("\n\nThe file " + dir + "CfgTemplate.cfg holds no " + missing +
                                             "; the object has not been written."),
                      parent);
            return FinishOutcome::Refused;
        case TemplateWriteStatus::WriteFailed:
            showError(QString::fromStdString("\n\nCould not open file " + path), parent);
            return FinishOutcome::Refused;
    }
    updateListsAfterWizard(available, selected, setup.newObject, values.name, wizardTypeName(values.type),
                           values.orbitReference());
    return FinishOutcome::Written;
}

}  // namespace

bool runObjectWizard(const WizardSetup& setup, std::vector<AvailableRow>& available,
                     std::vector<SelectedRow>& selected, QWidget* parent) {
    CCfgObject wizard(setup, parent);
    wizard.setFinisher([&](const WizardValues& values) {
        return writeWizardObject(setup, values, available, selected, &wizard);
    });
    return wizard.exec() == QDialog::Accepted;
}
