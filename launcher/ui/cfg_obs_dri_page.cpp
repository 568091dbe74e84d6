// The observer's drives.
#include "cfg_obs_dri_page.h"

#include <QGridLayout>
#include <QGroupBox>

CCfgObsDri::CCfgObsDri(const WizardSetup& setup) : CCfgWizardPage("observer", 2, setup) {
    auto* thrusters = new QGridLayout(addFrame("Thrusters"));
    addNumber(thrusters, 0, 1155, "Force (forward direction)", "kN", false, 0, 10000);
    addNumber(thrusters, 1, 1156, "Force (right direction)", "kN", false, 0, 10000);
    addNumber(thrusters, 2, 1157, "Force (up direction)", "kN", false, 0, 10000);
    addNumber(thrusters, 3, 1159, "Force adjustment factor", "", false, 0, 1000);
    auto* orientation = new QGridLayout(addFrame("Orientation"));
    addNumber(orientation, 0, 1158, "Torque", "Nm", false, 0, 10);
    addNumber(orientation, 1, 1160, "Torque adjustment factor", "", false, 0, 10);
}

void CCfgObsDri::collect(WizardValues& v) const {
    v.observer.forceForwardKN = number(1155);
    v.observer.forceRightKN = number(1156);
    v.observer.forceUpKN = number(1157);
    v.observer.forceFactor = number(1159);
    v.observer.torque = number(1158);
    v.observer.torqueFactor = number(1160);
    keepUntouched(v, {{{1159}, 50}, {{1155}, 51}, {{1156}, 53}, {{1157}, 52}, {{1158}, 49}, {{1160}, 48}});
}

void CCfgObsDri::fill(const WizardValues& v) {
    setNumber(1155, v.observer.forceForwardKN);
    setNumber(1156, v.observer.forceRightKN);
    setNumber(1157, v.observer.forceUpKN);
    setNumber(1159, v.observer.forceFactor);
    setNumber(1158, v.observer.torque);
    setNumber(1160, v.observer.torqueFactor);
}
