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
                           OrbitListView list, QWidget* parent)
    : CLauncherDialog(parent), m_refNo(orbitedRefNo), m_object(std::move(object)),
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
    m_preview->setText(candidateOrbitText(m_list, *m_object, m_refNo));
    showCandidateOrbit(m_map, m_list, *m_object, m_refNo, "");
}
