// The planet's last page.
#include "cfg_plt_ori_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

CCfgPltOri::CCfgPltOri(const WizardSetup& setup) : CCfgOriPage("planet", setup) {
    auto* ringGrid = new QGridLayout(addFrame("Planetary ring"));
    m_ring = new QCheckBox("Planet has a ring");
    m_ring->setObjectName("ring1066");
    ringGrid->addWidget(m_ring, 0, 0, 1, 3);
    addNumber(ringGrid, 1, 1067, "Inner ring radius", "km");
    addNumber(ringGrid, 2, 1162, "Outer ring radius", "km");
    addChoice(ringGrid, 3, 1161, "Ring texture");
    auto* grid = new QGridLayout(addFrame("Planet"));
    addChoice(grid, 0, 1163, "Planet mesh");
    addChoice(grid, 1, 1164, "Planet texture");
    addChoice(grid, 2, 1173, "Planet name");
    addOrbitPreview();
    ringToggled(false);
    connect(m_ring, &QCheckBox::toggled, this, &CCfgPltOri::ringToggled);
}

void CCfgPltOri::ringToggled(bool on) {
    numberField(1067)->setEnabled(on);
    numberField(1162)->setEnabled(on);
    choiceField(1161)->setEnabled(on);
    if (on) {
        const LookValues& file = m_setup.fileValues.look;
        const bool fromFile = !m_setup.newObject;
        setChoices(1161, textureChoices(m_setup.dataDirectory, "Ring Textures"),
                   fromFile ? file.ringTexture : "");
        if (fromFile) {
            setNumber(1067, file.innerRingKm);
            setNumber(1162, file.outerRingKm);
        }
    } else {
        // Zero rather than blank, so that a planet without a ring still passes its page.
        numberField(1067)->setText("0");
        numberField(1162)->setText("0");
        choiceField(1161)->clear();
        choiceField(1161)->setCurrentText("");
    }
}

void CCfgPltOri::prepareNew() {
    setChoices(1163, meshChoices(m_setup.dataDirectory), "");
    setChoices(1164, textureChoices(m_setup.dataDirectory, "Textures"), "");
    setChoices(1173, objectNameChoices(m_setup.dataDirectory, "Item 27."), "");
}

void CCfgPltOri::collect(WizardValues& v) const {
    v.look.ring = m_ring->isChecked();
    v.look.innerRingKm = number(1067);
    v.look.outerRingKm = number(1162);
    v.look.ringTexture = choice(1161);
    v.look.mesh = choice(1163);
    v.look.texture = choice(1164);
    v.name = choice(1173);
    if (v.look.ring) keepUntouched(v, {{{1067}, 24}, {{1162}, 25}});
}

void CCfgPltOri::fill(const WizardValues& v) {
    setChoices(1163, meshChoices(m_setup.dataDirectory), v.look.mesh);
    setChoices(1164, textureChoices(m_setup.dataDirectory, "Textures"), v.look.texture);
    setChoices(1173, objectNameChoices(m_setup.dataDirectory, "Item 27."), v.name);
    m_ring->setChecked(v.look.ring);
}
