// The star's last page.
#include "cfg_str_ori_page.h"

#include <QGridLayout>
#include <QGroupBox>

CCfgStrOri::CCfgStrOri(const WizardSetup& setup) : CCfgOriPage("star", setup) {
    auto* light = new QGridLayout(addFrame("Light"));
    addNumber(light, 0, 1166, "Intensity relative to sun", "(0 ... 1)", false, 0, 1);
    addNumber(light, 1, 1167, "Red color component", "(0 ... 255)", true, 0, 255);
    addNumber(light, 2, 1168, "Green color component", "(0 ... 255)", true, 0, 255);
    addNumber(light, 3, 1165, "Blue color component", "(0 ... 255)", true, 0, 255);
    auto* grid = new QGridLayout(addFrame("Star"));
    addChoice(grid, 0, 1171, "Star mesh");
    addChoice(grid, 1, 1170, "Star texture");
    addChoice(grid, 2, 1169, "Star name");
    addOrbitPreview();
}

void CCfgStrOri::prepareNew() {
    setChoices(1171, meshChoices(m_setup.dataDirectory), "");
    setChoices(1170, textureChoices(m_setup.dataDirectory, "Textures"), "");
    setChoices(1169, objectNameChoices(m_setup.dataDirectory, "Item 26."), "");
}

void CCfgStrOri::collect(WizardValues& v) const {
    v.look.intensity = number(1166);
    v.look.red = integer(1167);
    v.look.green = integer(1168);
    v.look.blue = integer(1165);
    v.look.mesh = choice(1171);
    v.look.texture = choice(1170);
    v.name = choice(1169);
    keepUntouched(v, {{{1166}, 32}, {{1167}, 29}, {{1168}, 30}, {{1165}, 31}});
}

void CCfgStrOri::fill(const WizardValues& v) {
    setNumber(1166, v.look.intensity);
    setNumber(1167, v.look.red);
    setNumber(1168, v.look.green);
    setNumber(1165, v.look.blue);
    setChoices(1171, meshChoices(m_setup.dataDirectory), v.look.mesh);
    setChoices(1170, textureChoices(m_setup.dataDirectory, "Textures"), v.look.texture);
    setChoices(1169, objectNameChoices(m_setup.dataDirectory, "Item 26."), v.name);
}
