// Sheet 2 of the observer (CCfgObsDri): thrusters and torque.
#pragma once

#include "cfg_wizard_page.h"

class CCfgObsDri : public CCfgWizardPage {
    Q_OBJECT
public:
    explicit CCfgObsDri(const WizardSetup& setup);
    void collect(WizardValues& values) const override;

protected:
    void fill(const WizardValues& values) override;
};
