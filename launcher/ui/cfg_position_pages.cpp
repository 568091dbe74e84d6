// The two kinds of first page.
#include "cfg_position_pages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWizard>
#include <algorithm>
#include <functional>

#include "cfg_object_wizard.h"

namespace {

QString capitalised(const QString& noun) { return noun.left(1).toUpper() + noun.mid(1); }

CartesianKm km(Vec3d v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

// The object's own row in the list (existing mode), 0 when it has none.
int ownRefNo(const WizardSetup& setup) {
    if (setup.newObject) return 0;
    const std::string name = fileNamePart(setup.objectPath, true);
    for (size_t i = 0; i < setup.list.names.size(); ++i)
        if (setup.list.names[i] == name) return static_cast<int>(i) + 1;
    return 0;
}

// A "Place in orbit..." button and, below it, the orbit the simulator will start after a placement.
QLabel* addPlacementRow(QVBoxLayout* body, QWizardPage* page, const std::function<void()>& onClick) {
    auto* button = new QPushButton("Place in orbit...");
    button->setObjectName("placeInOrbit");
    QObject::connect(button, &QPushButton::clicked, page, onClick);
    auto* preview = new QLabel;
    preview->setObjectName("placementPreview");
    preview->setTextFormat(Qt::PlainText);
    preview->setWordWrap(true);
    preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the figures from the start, so that a placement never squeezes the fields above.
    preview->setMinimumHeight(4 * preview->fontMetrics().lineSpacing());
    auto* row = new QHBoxLayout;
    row->addWidget(button, 0, Qt::AlignTop);
    row->addWidget(preview, 1);
    body->addLayout(row);
    return preview;
}

void showPlacedOrbit(QWizardPage& page, const WizardSetup& setup, int parentRefNo) {
    auto* wizard = dynamic_cast<CCfgObject*>(page.window());
    auto* preview = page.findChild<QLabel*>("placementPreview");
    if (!wizard || !preview) return;
    // The preview's lines joined, to fit beside the button.
    QString text = candidateOrbitText(setup.list, simObjectFromValues(wizard->values()), parentRefNo);
    const qsizetype colon = text.indexOf(":\n");
    if (colon >= 0) text = text.left(colon + 1) + " " + text.mid(colon + 2).replace('\n', "; ");
    preview->setText(text);
}

// The parent offered first: the last placement's, else the row chosen in the manager, else the
// orbited object.
int offeredParent(const WizardSetup& setup, const std::optional<PlaceInOrbitChoice>& placed) {
    if (placed) return placed->parentRefNo;
    if (setup.suggestedParentRefNo > 0) return setup.suggestedParentRefNo;
    return std::max(1, setup.orbitedRefNo);
}

}  // namespace

std::optional<PlaceInOrbitChoice> askPlacement(QWizardPage& page, const WizardSetup& setup, int parentRefNo) {
    auto* wizard = dynamic_cast<CCfgObject*>(page.window());
    const double mass = wizard ? simObjectFromValues(wizard->values()).massKg : 0.0;
    CPlaceInOrbitDlg dlg(setup.list, ownRefNo(setup), parentRefNo, mass, &page);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.choice();
}

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
    addPlacementRow(body(), this, [this] {
        if (std::optional<PlaceInOrbitChoice> choice = askPlacement(*this, m_setup, offeredParent(m_setup, m_placed)))
            place(*choice);
    });
}

void CCfgPosNoOrbPage::place(const PlaceInOrbitChoice& choice) {
    m_placed = choice;
    const OrbitPlacement& p = choice.placement;
    setSky(1101, 1104, 1107, 1125, cartesianToSky(km(p.firstPointKm)));
    setNumber(1102, p.worldVelocityKmPerS.x);
    setNumber(1105, p.worldVelocityKmPerS.y);
    setNumber(1108, p.worldVelocityKmPerS.z);
    showPlacedOrbit(*this, m_setup, choice.parentRefNo);
}

void CCfgPosNoOrbPage::clearAll() {
    m_placed.reset();
    CCfgWizardPage::clearAll();
    if (auto* preview = findChild<QLabel*>("placementPreview")) preview->clear();
}

void CCfgPosNoOrbPage::collect(WizardValues& v) const {
    v.start.first = sky(1101, 1104, 1107, 1125);
    const bool kept = unchangedSinceFill({1101, 1104, 1107, 1125});
    v.start.firstKm = !kept ? std::nullopt
                      : m_placed ? std::optional<CartesianKm>(km(m_placed->placement.firstPointKm))
                                 : m_setup.fileValues.start.firstKm;
    if (m_placed) {
        v.orbitedRefNo = m_placed->parentRefNo;
        v.start.placedSecondKm = km(m_placed->placement.secondPointKm);
    }
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
    addPlacementRow(body(), this, [this] {
        if (std::optional<PlaceInOrbitChoice> choice = askPlacement(*this, m_setup, offeredParent(m_setup, m_placed)))
            place(*choice);
    });
}

void CCfgPosPage::place(const PlaceInOrbitChoice& choice) {
    m_placed = choice;
    setSky(1101, 1104, 1107, 1125, cartesianToSky(km(choice.placement.firstPointKm)));
    setSky(1103, 1106, 1110, 1129, cartesianToSky(km(choice.placement.secondPointKm)));
    showPlacedOrbit(*this, m_setup, choice.parentRefNo);
}

void CCfgPosPage::clearAll() {
    m_placed.reset();
    CCfgWizardPage::clearAll();
    if (auto* preview = findChild<QLabel*>("placementPreview")) preview->clear();
}

void CCfgPosPage::collect(WizardValues& v) const {
    v.start.first = sky(1101, 1104, 1107, 1125);
    v.start.second = sky(1103, 1106, 1110, 1129);
    const bool firstKept = unchangedSinceFill({1101, 1104, 1107, 1125});
    const bool secondKept = unchangedSinceFill({1103, 1106, 1110, 1129});
    if (m_placed) {
        const OrbitPlacement& p = m_placed->placement;
        v.orbitedRefNo = m_placed->parentRefNo;
        v.start.firstKm = firstKept ? std::optional<CartesianKm>(km(p.firstPointKm)) : std::nullopt;
        v.start.secondKm = secondKept ? std::optional<CartesianKm>(km(p.secondPointKm)) : std::nullopt;
        // The velocity belongs to the placed points only.
        if (firstKept && secondKept && p.velocityKmPerS) v.start.placedVelocityKm = km(*p.velocityKmPerS);
        return;
    }
    v.start.firstKm = firstKept ? m_setup.fileValues.start.firstKm : std::nullopt;
    v.start.secondKm = secondKept ? m_setup.fileValues.start.secondKm : std::nullopt;
    if (firstKept && secondKept) v.start.placedVelocityKm = m_setup.fileValues.start.placedVelocityKm;
}

void CCfgPosPage::fill(const WizardValues& v) {
    setSky(1101, 1104, 1107, 1125, v.start.first);
    setSky(1103, 1106, 1110, 1129, v.start.second);
}
