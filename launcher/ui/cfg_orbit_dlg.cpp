// The orbit dialog: field validation on every change, the save-and-quit rule, the preview.
#include "cfg_orbit_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "help_page.h"
#include "orbit_map_preview.h"
#include "system_map_view.h"
#include "validation_message.h"

CCfgOrbitDlg::CCfgOrbitDlg(int orbitedRefNo, bool allowSaveAndQuit, std::optional<SimObject> object,
                           OrbitListView list, QWidget* parent, int ownRefNo)
    : CLauncherDialog(parent), m_refNo(orbitedRefNo), m_ownRefNo(ownRefNo), m_object(std::move(object)),
      m_list(std::move(list)) {
    setWindowTitle("Specify orbit");
    setModal(true);

    auto* frame = new QGroupBox("Enter the reference number of the object to be orbited or 0 (none)");
    decorateFrame(frame);
    m_edit = new QLineEdit(QString::number(m_refNo));
    m_edit->setObjectName("refNo");
    m_edit->setFixedWidth(dialogUnits(30, 0).width() + 8);
    m_saveAndQuit = new QPushButton("Save && Quit");
    auto* saveAndContinue = new QPushButton("Save && Continue");
    saveAndContinue->setDefault(true);
    auto* quit = new QPushButton("Quit");
    auto* help = new QPushButton("Help");
    auto* place = new QPushButton("Place in orbit...");
    place->setObjectName("placeInOrbit");

    auto* frameLayout = new QGridLayout(frame);
    frameLayout->addWidget(m_edit, 0, 0, 2, 1, Qt::AlignCenter);
    frameLayout->addWidget(m_saveAndQuit, 0, 1);
    frameLayout->addWidget(saveAndContinue, 1, 1);
    frameLayout->setColumnStretch(0, 1);

    m_preview = new QLabel;
    m_preview->setObjectName("orbitPreview");
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setWordWrap(true);
    m_preview->setMinimumWidth(dialogUnits(228, 0).width());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(place);
    buttons->addStretch(1);
    buttons->addWidget(quit);
    buttons->addStretch(1);
    buttons->addWidget(help);

    auto* previewFrame = new QGroupBox("Orbit at the start of the simulation");
    auto* previewLayout = new QVBoxLayout(previewFrame);
    previewLayout->addWidget(m_preview);
    m_map = makeOrbitMap();
    previewLayout->addWidget(m_map, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(previewFrame, 1);
    layout->addLayout(buttons);

    m_saveAndQuit->setEnabled(allowSaveAndQuit);
    connect(m_edit, &QLineEdit::textChanged, this, &CCfgOrbitDlg::onTextChanged);
    connect(m_saveAndQuit, &QPushButton::clicked, this, &CCfgOrbitDlg::saveAndQuit);
    connect(saveAndContinue, &QPushButton::clicked, this, &CCfgOrbitDlg::saveAndContinue);
    connect(quit, &QPushButton::clicked, this, [this] { done(kQuit); });
    connect(help, &QPushButton::clicked, this, [this] { openHelpPage(m_context.specOrbitHelp); });
    connect(place, &QPushButton::clicked, this, &CCfgOrbitDlg::placeInOrbit);
    place->setEnabled(m_object.has_value());
    updatePreview();
}

void CCfgOrbitDlg::reject() { done(kQuit); }

QString CCfgOrbitDlg::previewText() const { return m_preview->text(); }

void CCfgOrbitDlg::onTextChanged(const QString& text) {
    QString message;
    std::optional<double> value = readField(text, true, 0, kMaxRefNo, message);
    if (!value) {
        showValidationMessage(message, this);
        return;
    }
    const int refNo = static_cast<int>(*value);
    // Switching between orbiting and not orbiting needs the wizard's other first page.
    if ((m_refNo == 0) != (refNo == 0)) m_saveAndQuit->setEnabled(false);
    m_refNo = refNo;
    // A placement belongs to the object it was made about.
    if (m_placement && m_placement->parentRefNo != refNo) {
        m_placement.reset();
        m_placedObject.reset();
    }
    updatePreview();
}

void CCfgOrbitDlg::saveAndContinue() {
    QString message;
    std::optional<double> value = readField(m_edit->text(), true, 0, kMaxRefNo, message);
    if (!value) {
        showValidationMessage(message, this);
        return;
    }
    m_refNo = static_cast<int>(*value);
    done(kSaveAndContinue);
}

void CCfgOrbitDlg::saveAndQuit() {
    QString message;
    std::optional<double> value = readField(m_edit->text(), true, 0, kMaxRefNo, message);
    if (value) m_refNo = static_cast<int>(*value);
    else showValidationMessage(message, this);  // the last valid number stands
    done(kSaveAndQuit);
}

void CCfgOrbitDlg::updatePreview() {
    if (!m_object) {
        m_preview->setText("No orbit to show: the object file cannot be read.");
        return;
    }
    const SimObject& shown = m_placedObject ? *m_placedObject : *m_object;
    m_preview->setText(candidateOrbitText(m_list, shown, m_refNo));
    showCandidateOrbit(m_map, m_list, shown, m_refNo, "");
}

void CCfgOrbitDlg::placeInOrbit() {
    if (!m_object) return;
    // Only the Ref-Nos this dialog accepts are offered as parents.
    OrbitListView offered = m_list;
    if (offered.names.size() > static_cast<size_t>(kMaxRefNo)) offered.names.resize(kMaxRefNo);
    CPlaceInOrbitDlg dlg(offered, m_ownRefNo, m_refNo > 0 ? m_refNo : 1, m_object->massKg, this);
    if (dlg.exec() != QDialog::Accepted || !dlg.choice()) return;
    applyPlacement(*dlg.choice());
}

void CCfgOrbitDlg::applyPlacement(const PlaceInOrbitChoice& choice) {
    if (!m_object) return;
    m_edit->setText(QString::number(choice.parentRefNo));
    SimObject placed = *m_object;
    const OrbitPlacement& p = choice.placement;
    placed.positionKm = narrow(p.firstPointKm);
    placed.orbitalPosition1Km = placed.positionKm;
    placed.orbitalPosition2Km = narrow(p.secondPointKm);
    placed.velocityKmPerS = p.velocityKmPerS ? narrow(*p.velocityKmPerS) : Vec3f{kNaFloat, kNaFloat, kNaFloat};
    m_placement = choice;
    m_placedObject = placed;
    // The placement writes every item the first page would: storing it alone is complete.
    m_saveAndQuit->setEnabled(true);
    updatePreview();
}
