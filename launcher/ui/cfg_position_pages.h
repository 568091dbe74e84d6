// Sheet 1 of the object wizard: where the object starts. Not orbiting: a position and a velocity
// (CCfgObsPosNoOrb, CCfgPltPosNoOrb, CCfgStrPosNoOrb). Orbiting: two points of its orbit, from
// which the simulator sets up a circular-orbit velocity (CCfgObsPos, CCfgPltPos, CCfgStrPos).
#pragma once

#include <optional>

#include "cfg_wizard_page.h"
#include "place_in_orbit_dlg.h"

// "Place in orbit..." on either first page: asks for the orbit and returns the choice, or nothing
// when the user quits.
std::optional<PlaceInOrbitChoice> askPlacement(QWizardPage& page, const WizardSetup& setup, int parentRefNo);

class CCfgPosNoOrbPage : public CCfgWizardPage {
    Q_OBJECT
public:
    // noun: "observer", "planet" or "star".
    CCfgPosNoOrbPage(const QString& noun, const WizardSetup& setup);
    void collect(WizardValues& values) const override;
    // Fills the position and velocity, and keeps the parent and second point for the file.
    void place(const PlaceInOrbitChoice& choice);
    void clearAll() override;  // forgets the placement too

protected:
    void fill(const WizardValues& values) override;

private:
    std::optional<PlaceInOrbitChoice> m_placed;
};

class CCfgPosPage : public CCfgWizardPage {
    Q_OBJECT
public:
    CCfgPosPage(const QString& noun, const WizardSetup& setup);
    void collect(WizardValues& values) const override;
    // Fills both orbital positions, and keeps the velocity where the points alone cannot give it.
    void place(const PlaceInOrbitChoice& choice);
    void clearAll() override;  // forgets the placement too

protected:
    void fill(const WizardValues& values) override;

private:
    std::optional<PlaceInOrbitChoice> m_placed;
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
