// The two kinds of first page.
#include "cfg_position_pages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace {

QString capitalised(const QString& noun) { return noun.left(1).toUpper() + noun.mid(1); }

}  // namespace

CCfgPosNoOrbPage::CCfgPosNoOrbPage(const QString& noun, const WizardSetup& setup)
    : CCfgWizardPage(noun, 1, setup) {
    QGroupBox* initial = addFrame("Initial values");
    auto* inner = new QVBoxLayout(initial);
    auto* position = new QGridLayout(addFrame(capitalised(noun) + " position", inner));
    addSkyFields(position, 0, 1101, 1104, 1107, 1125);
    auto* velocity = new QGridLayout(addFrame(capitalised(noun) + " velocity", inner));
    addNumber(velocity, 0, 1102, "d x/d t", "km/s");
    addNumber(velocity, 1, 1105, "d y/d t", "km/s");
    addNumber(velocity, 2, 1108, "d z/d t", "km/s");
}

void CCfgPosNoOrbPage::collect(WizardValues& v) const {
    v.start.first = sky(1101, 1104, 1107, 1125);
    v.start.firstKm = unchangedSinceFill({1101, 1104, 1107, 1125}) ? m_setup.fileValues.start.firstKm : std::nullopt;
    v.start.vx = number(1102);
    v.start.vy = number(1105);
    v.start.vz = number(1108);
}

void CCfgPosNoOrbPage::fill(const WizardValues& v) {
    setSky(1101, 1104, 1107, 1125, v.start.first);
    setNumber(1102, v.start.vx);
    setNumber(1105, v.start.vy);
    setNumber(1108, v.start.vz);
}

CCfgPosPage::CCfgPosPage(const QString& noun, const WizardSetup& setup) : CCfgWizardPage(noun, 1, setup) {
    QGroupBox* positions = addFrame("Orbital positions");
    auto* inner = new QVBoxLayout(positions);
    auto* first = new QGridLayout(addFrame("Initial " + noun + " position", inner));
    addSkyFields(first, 0, 1101, 1104, 1107, 1125);
    auto* second = new QGridLayout(addFrame("Second " + noun + " position", inner));
    addSkyFields(second, 0, 1103, 1106, 1110, 1129);
}

void CCfgPosPage::collect(WizardValues& v) const {
    v.start.first = sky(1101, 1104, 1107, 1125);
    v.start.second = sky(1103, 1106, 1110, 1129);
    v.start.firstKm = unchangedSinceFill({1101, 1104, 1107, 1125}) ? m_setup.fileValues.start.firstKm : std::nullopt;
    v.start.secondKm = unchangedSinceFill({1103, 1106, 1110, 1129}) ? m_setup.fileValues.start.secondKm : std::nullopt;
}

void CCfgPosPage::fill(const WizardValues& v) {
    setSky(1101, 1104, 1107, 1125, v.start.first);
    setSky(1103, 1106, 1110, 1129, v.start.second);
}
