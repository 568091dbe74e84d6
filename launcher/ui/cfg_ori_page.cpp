// The orbit preview of the last page.
#include "cfg_ori_page.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "orbit_map_preview.h"
#include "system_map_view.h"

CCfgOriPage::CCfgOriPage(const QString& noun, const WizardSetup& setup) : CCfgWizardPage(noun, 3, setup) {}

void CCfgOriPage::addOrbitPreview() {
    if (!m_setup.orbiting) return;
    QGroupBox* frame = addFrame("Orbit at the start of the simulation");
    m_preview = new QLabel;
    m_preview->setObjectName("orbitPreview");
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setWordWrap(true);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(m_preview);
    m_map = makeOrbitMap();
    layout->addWidget(m_map, 1);
}

void CCfgOriPage::initializePage() {
    CCfgWizardPage::initializePage();
    refreshOrbitPreview();
}

void CCfgOriPage::refreshOrbitPreview() {
    if (!m_preview || !m_source) return;
    const WizardValues values = m_source();
    const SimObject candidate = simObjectFromValues(values);
    m_preview->setText(candidateOrbitText(m_setup.list, candidate, values.orbitedRefNo));
    showCandidateOrbit(m_map, m_setup.list, candidate, values.orbitedRefNo, values.name);
}

QString CCfgOriPage::orbitPreviewText() const { return m_preview ? m_preview->text() : QString(); }
