// Sheet 3 of the observer (CCfgObsOri): mass, energy, jump distance and its factors, and name.
#pragma once

#include "cfg_ori_page.h"

class CCfgObsOri : public CCfgOriPage {
    Q_OBJECT
public:
    explicit CCfgObsOri(const WizardSetup& setup);
    void collect(WizardValues& values) const override;

protected:
    void prepareNew() override;
    void fill(const WizardValues& values) override;
};
