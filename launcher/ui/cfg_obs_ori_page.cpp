// The observer's last page.
#include "cfg_obs_ori_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

CCfgObsOri::CCfgObsOri(const WizardSetup& setup) : CCfgOriPage("observer", setup) {
    auto* grid = new QGridLayout(addFrame("Observer"));
    QLineEdit* mass = addNumber(grid, 0, 1144, "Mass", "kg", false, 0, 1000);
    addNumber(grid, 1, 1067, "Available energy", "TJ", false, 0, 100);
    addNumber(grid, 2, 1154, "Jump distance", "x 10^6 km", false, 0, 1000);
    addNumber(grid, 3, 1151, "Slow adjustment factor", "x 10^4", false, 0, 10);
    addNumber(grid, 4, 1152, "Fast adjustment factor", "x 10^6", false, 0, 10);
    addChoice(grid, 5, 1153, "Observer name");
    addOrbitPreview();
    connect(mass, &QLineEdit::textChanged, this, &CCfgObsOri::refreshOrbitPreview);
}

void CCfgObsOri::prepareNew() {
    setChoices(1153, objectNameChoices(m_setup.dataDirectory, "Item 28."), "");
}

void CCfgObsOri::collect(WizardValues& v) const {
    v.observer.massKg = number(1144);
    v.observer.energyTJ = number(1067);
    v.observer.jumpMillionKm = number(1154);
    v.observer.slowFactor = number(1151);
    v.observer.fastFactor = number(1152);
    v.name = choice(1153);
    keepUntouched(v, {{{1144}, 1}, {{1067}, 57}, {{1154}, 60}, {{1151}, 58}, {{1152}, 59}});
}

void CCfgObsOri::fill(const WizardValues& v) {
    setNumber(1144, v.observer.massKg);
    setNumber(1067, v.observer.energyTJ);
    setNumber(1154, v.observer.jumpMillionKm);
    setNumber(1151, v.observer.slowFactor);
    setNumber(1152, v.observer.fastFactor);
    setChoices(1153, objectNameChoices(m_setup.dataDirectory, "Item 28."), v.name);
}
