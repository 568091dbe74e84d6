// CCfgObject: the object wizard. Three pages by type (position, drives or physical parameters,
// look or ship), "Quit", "Help" and "Done". After "Done" the object file is made anew from
// CfgTemplate.cfg with the entered values and the configuration manager's lists are updated.
#pragma once

#include <QWizard>
#include <array>
#include <functional>
#include <vector>

#include "cfg_lists.h"
#include "cfg_wizard_page.h"

class CCfgOriPage;

// What "Done" came to: the file written, or refused (nothing written), with the name at fault or
// for another reason (the overwrite question declined, the template or the file unusable).
enum class FinishOutcome { Written, NameRefused, Refused };

class CCfgObject : public QWizard {
    Q_OBJECT
public:
    CCfgObject(const WizardSetup& setup, QWidget* parent = nullptr);

    // Run by "Done" once the pages are valid. A refusal keeps the wizard open with every field as
    // the user left it, on the name when that was at fault.
    void setFinisher(std::function<FinishOutcome(const WizardValues&)> finish) { m_finish = std::move(finish); }
    void accept() override;
    // The name field of the last sheet.
    QWidget* nameField() const;

    // The record as the three pages hold it now.
    WizardValues values() const;
    CCfgWizardPage* sheet(int number) const { return m_sheets[static_cast<size_t>(number - 1)]; }
    CCfgOriPage* lastSheet() const;

private:
    WizardSetup m_setup;
    std::function<FinishOutcome(const WizardValues&)> m_finish;
    std::array<CCfgWizardPage*, 3> m_sheets{};
};

// The type names of the manager's lists for a wizard type, and back ("Planet" for anything else).
std::string wizardTypeName(WizardObjectType type);
WizardObjectType wizardTypeFromName(const std::string& name);

// Runs the wizard modally. On "Done" writes the object file (asking before it replaces one),
// resets the saved view and time for an observer, and updates the rows; a refusal returns to the
// wizard. True when the file was written.
bool runObjectWizard(const WizardSetup& setup, std::vector<AvailableRow>& available,
                     std::vector<SelectedRow>& selected, QWidget* parent);
