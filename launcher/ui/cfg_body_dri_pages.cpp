// Physical parameters of a star or planet.
#include "cfg_body_dri_pages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

CCfgBodyDriPage::CCfgBodyDriPage(const QString& noun, const WizardSetup& setup)
    : CCfgWizardPage(noun, 2, setup) {
    auto* grid = new QGridLayout(addFrame("Physical parameters"));
    addNumber(grid, 0, 1144, "Mass", "x 10", false, 0, 10);
    QLineEdit* exponent = addNumber(grid, 0, 1145, "", "", true, 0, 37);
    exponent->setMinimumWidth(36);
    exponent->setMaximumWidth(48);
    grid->addWidget(exponent, 0, 3);
    grid->addWidget(new QLabel("kg"), 0, 4);
    addNumber(grid, 1, 1146, "Equatorial radius", "km");
    addNumber(grid, 2, 1147, "Polar radius", "km");
    addNumber(grid, 3, 1148, "Initial rotational angle", "degrees", false, -360, 360);
    addNumber(grid, 4, 1149, "Angular velocity", "degrees/day");
    addNumber(grid, 5, 1150, "Tilt of axis", "degrees", false, -360, 360);
}

void CCfgBodyDriPage::collect(WizardValues& v) const {
    v.body.massMantissa = number(1144);
    v.body.massExponent = integer(1145);
    v.body.equatorialRadiusKm = number(1146);
    v.body.polarRadiusKm = number(1147);
    v.body.rotationDeg = number(1148);
    v.body.angularVelocityDegPerDay = number(1149);
    v.body.tiltDeg = number(1150);
    keepUntouched(v, {{{1144, 1145}, 1}, {{1146}, 20}, {{1147}, 21}, {{1148}, 19}, {{1149}, 18}, {{1150}, 17}});
}

void CCfgBodyDriPage::fill(const WizardValues& v) {
    setNumber(1144, v.body.massMantissa);
    setNumber(1145, v.body.massExponent);
    setNumber(1146, v.body.equatorialRadiusKm);
    setNumber(1147, v.body.polarRadiusKm);
    setNumber(1148, v.body.rotationDeg);
    setNumber(1149, v.body.angularVelocityDegPerDay);
    setNumber(1150, v.body.tiltDeg);
}
