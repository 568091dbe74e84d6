// Sheet 3 of a star (CCfgStrOri): its light, mesh, texture and name.
#pragma once

#include "cfg_ori_page.h"

class CCfgStrOri : public CCfgOriPage {
    Q_OBJECT
public:
    explicit CCfgStrOri(const WizardSetup& setup);
    void collect(WizardValues& values) const override;

protected:
    void prepareNew() override;
    void fill(const WizardValues& values) override;
};
