// Sheet 1 of the object wizard: where the object starts. Not orbiting: a position and a velocity
// (CCfgObsPosNoOrb, CCfgPltPosNoOrb, CCfgStrPosNoOrb). Orbiting: two points of its orbit, from
// which the simulator sets up a circular-orbit velocity (CCfgObsPos, CCfgPltPos, CCfgStrPos).
#pragma once

#include "cfg_wizard_page.h"

class CCfgPosNoOrbPage : public CCfgWizardPage {
    Q_OBJECT
public:
    // noun: "observer", "planet" or "star".
    CCfgPosNoOrbPage(const QString& noun, const WizardSetup& setup);
    void collect(WizardValues& values) const override;

protected:
    void fill(const WizardValues& values) override;
};

class CCfgPosPage : public CCfgWizardPage {
    Q_OBJECT
public:
    CCfgPosPage(const QString& noun, const WizardSetup& setup);
    void collect(WizardValues& values) const override;

protected:
    void fill(const WizardValues& values) override;
};

class CCfgObsPosNoOrb : public CCfgPosNoOrbPage {
public:
    explicit CCfgObsPosNoOrb(const WizardSetup& s) : CCfgPosNoOrbPage("observer", s) {}
};
class CCfgPltPosNoOrb : public CCfgPosNoOrbPage {
public:
    explicit CCfgPltPosNoOrb(const WizardSetup& s) : CCfgPosNoOrbPage("planet", s) {}
};
class CCfgStrPosNoOrb : public CCfgPosNoOrbPage {
public:
    explicit CCfgStrPosNoOrb(const WizardSetup& s) : CCfgPosNoOrbPage("star", s) {}
};
class CCfgObsPos : public CCfgPosPage {
public:
    explicit CCfgObsPos(const WizardSetup& s) : CCfgPosPage("observer", s) {}
};
class CCfgPltPos : public CCfgPosPage {
public:
    explicit CCfgPltPos(const WizardSetup& s) : CCfgPosPage("planet", s) {}
};
class CCfgStrPos : public CCfgPosPage {
public:
    explicit CCfgStrPos(const WizardSetup& s) : CCfgPosPage("star", s) {}
};
