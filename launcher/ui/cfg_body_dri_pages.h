// Sheet 2 of a planet (CCfgPltDri) or star (CCfgStrDri): mass, radii, rotation and tilt.
#pragma once

#include "cfg_wizard_page.h"

class CCfgBodyDriPage : public CCfgWizardPage {
    Q_OBJECT
public:
    CCfgBodyDriPage(const QString& noun, const WizardSetup& setup);
    void collect(WizardValues& values) const override;

protected:
    void fill(const WizardValues& values) override;
};

class CCfgPltDri : public CCfgBodyDriPage {
public:
    explicit CCfgPltDri(const WizardSetup& s) : CCfgBodyDriPage("planet", s) {}
};
class CCfgStrDri : public CCfgBodyDriPage {
public:
    explicit CCfgStrDri(const WizardSetup& s) : CCfgBodyDriPage("star", s) {}
};
