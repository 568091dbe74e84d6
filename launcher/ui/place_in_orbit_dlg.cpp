// The place-in-orbit dialog: parent, elements, start, and a summary that follows every change.
#include "place_in_orbit_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <numbers>

#include "help_page.h"
#include "integrator.h"
#include "readable_units.h"
#include "validation_message.h"

namespace {

constexpr double kRadPerDeg = std::numbers::pi / 180;

QLineEdit* numberEdit(const char* name, const QString& text) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setMinimumWidth(90);
    return edit;
}

}  // namespace

CPlaceInOrbitDlg::CPlaceInOrbitDlg(OrbitListView list, int ownRefNo, int parentRefNo, double objectMassKg,
                                   QWidget* parent)
    : CLauncherDialog(parent), m_list(std::move(list)), m_objectMassKg(objectMassKg) {
    setWindowTitle("Place in orbit");
    setModal(true);

    auto* parentFrame = new QGroupBox("Object to be orbited");
    decorateFrame(parentFrame);
    m_parent = new QComboBox;
    m_parent->setObjectName("parent");
    for (size_t i = 0; i < m_list.names.size(); ++i) {
        const int refNo = static_cast<int>(i) + 1;
        if (refNo == ownRefNo) continue;
        m_parent->addItem(QString("%1 (Ref-No %2)").arg(QString::fromStdString(m_list.names[i])).arg(refNo), refNo);
    }
    const int offered = m_parent->findData(parentRefNo);
    if (offered >= 0) m_parent->setCurrentIndex(offered);
    m_plane = new QLabel;
    m_plane->setObjectName("plane");
    m_plane->setWordWrap(true);
    auto* parentLayout = new QVBoxLayout(parentFrame);
    parentLayout->addWidget(m_parent);
    parentLayout->addWidget(m_plane);

    auto* orbitFrame = new QGroupBox("Orbit");
    decorateFrame(orbitFrame);
    auto* grid = new QGridLayout(orbitFrame);
    m_byPeriapsis = new QRadioButton("Periapsis altitude");
    auto* bySemiMajorAxis = new QRadioButton("Semi-major axis");
    m_byPeriapsis->setChecked(true);
    auto* sizeGroup = new QButtonGroup(this);
    sizeGroup->addButton(m_byPeriapsis);
    sizeGroup->addButton(bySemiMajorAxis);
    auto* sizeChoice = new QHBoxLayout;
    sizeChoice->addWidget(m_byPeriapsis);
    sizeChoice->addWidget(bySemiMajorAxis);
    grid->addLayout(sizeChoice, 0, 0, 1, 3);
    m_size = numberEdit("size", "400");
    m_unit = new QComboBox;
    m_unit->setObjectName("unit");
    m_unit->addItems({"km", "AU"});
    grid->addWidget(new QLabel("Distance"), 1, 0);
    grid->addWidget(m_size, 1, 1);
    grid->addWidget(m_unit, 1, 2);
    m_eccentricity = numberEdit("eccentricity", "0");
    grid->addWidget(new QLabel("Eccentricity"), 2, 0);
    grid->addWidget(m_eccentricity, 2, 1);
    grid->addWidget(new QLabel("(0 to below 1)"), 2, 2);
    m_inclination = numberEdit("inclination", "0");
    m_node = numberEdit("node", "0");
    m_periapsisArgument = numberEdit("periapsisArgument", "0");
    grid->addWidget(new QLabel("Inclination"), 3, 0);
    grid->addWidget(m_inclination, 3, 1);
    grid->addWidget(new QLabel("degrees"), 3, 2);
    grid->addWidget(new QLabel("Longitude of the ascending node"), 4, 0);
    grid->addWidget(m_node, 4, 1);
    grid->addWidget(new QLabel("degrees"), 4, 2);
    grid->addWidget(new QLabel("Argument of periapsis"), 5, 0);
    grid->addWidget(m_periapsisArgument, 5, 1);
    grid->addWidget(new QLabel("degrees"), 5, 2);

    auto* startFrame = new QGroupBox("Start");
    decorateFrame(startFrame);
    auto* startLayout = new QGridLayout(startFrame);
    m_atPeriapsis = new QRadioButton("At periapsis");
    auto* atAnomaly = new QRadioButton("At true anomaly");
    m_atPeriapsis->setChecked(true);
    auto* startGroup = new QButtonGroup(this);
    startGroup->addButton(m_atPeriapsis);
    startGroup->addButton(atAnomaly);
    m_trueAnomaly = numberEdit("trueAnomaly", "0");
    m_trueAnomaly->setEnabled(false);
    startLayout->addWidget(m_atPeriapsis, 0, 0);
    startLayout->addWidget(atAnomaly, 1, 0);
    startLayout->addWidget(m_trueAnomaly, 1, 1);
    startLayout->addWidget(new QLabel("degrees"), 1, 2);

    m_summary = new QLabel;
    m_summary->setObjectName("summary");
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_summary->setMinimumWidth(dialogUnits(228, 0).width());
    auto* summaryFrame = new QGroupBox("The orbit placed");
    auto* summaryLayout = new QVBoxLayout(summaryFrame);
    summaryLayout->addWidget(m_summary);

    m_place = new QPushButton("Place");
    m_place->setObjectName("place");
    m_place->setDefault(true);
    auto* quit = new QPushButton("Quit");
    auto* help = new QPushButton("Help");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_place);
    buttons->addWidget(quit);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parentFrame);
    layout->addWidget(orbitFrame);
    layout->addWidget(startFrame);
    layout->addWidget(summaryFrame);
    layout->addLayout(buttons);

    connect(m_parent, &QComboBox::currentIndexChanged, this, &CPlaceInOrbitDlg::parentChanged);
    for (QLineEdit* edit : {m_size, m_eccentricity, m_inclination, m_node, m_periapsisArgument, m_trueAnomaly})
        connect(edit, &QLineEdit::textChanged, this, &CPlaceInOrbitDlg::update);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &CPlaceInOrbitDlg::update);
    connect(m_byPeriapsis, &QRadioButton::toggled, this, &CPlaceInOrbitDlg::update);
    connect(m_atPeriapsis, &QRadioButton::toggled, this, [this](bool atPeriapsis) {
        m_trueAnomaly->setEnabled(!atPeriapsis);
        update();
    });
    connect(m_place, &QPushButton::clicked, this, &CPlaceInOrbitDlg::accept);
    connect(quit, &QPushButton::clicked, this, &CPlaceInOrbitDlg::reject);
    connect(help, &QPushButton::clicked, this, [this] { openHelpPage(m_context.specOrbitHelp); });
    parentChanged();
}

QLineEdit* CPlaceInOrbitDlg::field(const char* name) const { return findChild<QLineEdit*>(name); }

void CPlaceInOrbitDlg::parentChanged() {
    m_parentState.reset();
    m_parentFailure.clear();
    const QString name = m_parent->currentText();
    if (m_parent->count() == 0) {
        m_parentFailure = "there is no other object in the 'Selected objects'-list.";
    } else {
        std::string failure;
        m_parentState = parentAtStart(m_list.names, m_list.dataDirectory, m_parent->currentData().toInt(), failure);
        m_parentFailure = QString::fromStdString(failure);
    }
    if (!m_parentState) {
        m_plane->setText("");
    } else if (measuredAgainstEcliptic(*m_parentState)) {
        m_plane->setText("The angles are measured against the ecliptic (the object orbits a star); "
                         "the node longitude from the vernal equinox.");
    } else {
        m_plane->setText(QString("The angles are measured against the equator of %1; the node longitude from "
                                 "where that equator rises through the celestial equator.")
                             .arg(name.left(name.lastIndexOf(" (Ref-No"))));
    }
    update();
}

std::optional<OrbitRequest> CPlaceInOrbitDlg::request(QString& problem, QLineEdit*& atFault) const {
    struct Field {
        QLineEdit* edit;
        double low, high;
    };
    const bool anomaly = !m_atPeriapsis->isChecked();
    const std::vector<Field> fields = {{m_size, 1, 0},   {m_eccentricity, 0, 1},      {m_inclination, 0, 180},
                                       {m_node, 0, 360}, {m_periapsisArgument, 0, 360}, {m_trueAnomaly, -360, 360}};
    std::vector<double> values;
    for (const Field& f : fields) {
        if (f.edit == m_trueAnomaly && !anomaly) {
            values.push_back(0);
            continue;
        }
        std::optional<double> value = readField(f.edit->text(), false, f.low, f.high, problem);
        if (!value) {
            atFault = f.edit;
            return std::nullopt;
        }
        values.push_back(*value);
    }
    if (!m_parentState) {
        problem = "No orbit to place: " + m_parentFailure;
        return std::nullopt;
    }
    OrbitRequest r;
    r.objectMassKg = m_objectMassKg;
    OrbitElements& e = r.elements;
    const double km = values[0] * (m_unit->currentIndex() == 1 ? kAstronomicalUnitKm : 1.0);
    e.eccentricity = values[1];
    e.semiMajorAxisKm = m_byPeriapsis->isChecked()
                            ? semiMajorAxisFromPeriapsisAltitude(km, e.eccentricity, m_parentState->equatorialRadiusKm)
                            : km;
    e.inclinationRad = values[2] * kRadPerDeg;
    e.ascendingNodeRad = values[3] * kRadPerDeg;
    e.argumentOfPeriapsisRad = values[4] * kRadPerDeg;
    e.trueAnomalyRad = values[5] * kRadPerDeg;
    if (std::optional<std::string> why = placementProblem(r, *m_parentState)) {
        problem = "No orbit to place: " + QString::fromStdString(*why);
        atFault = m_size;
        return std::nullopt;
    }
    return r;
}

void CPlaceInOrbitDlg::update() {
    QString problem;
    QLineEdit* atFault = nullptr;
    std::optional<OrbitRequest> r = request(problem, atFault);
    m_place->setEnabled(r.has_value());
    if (!r) {
        m_summary->setText(problem);
        return;
    }
    const OrbitElements& e = r->elements;
    const double gm = kGravityKm3PerKgS2 * (m_parentState->massKg + m_objectMassKg);
    const OrbitPlacement placed = placeInOrbit(*r, *m_parentState);
    const double radius = m_parentState->equatorialRadiusKm;
    QStringList lines;
    lines << QString::fromStdString("Semi-major axis: " + readableDistance(e.semiMajorAxisKm));
    lines << QString::fromStdString("Periapsis altitude: " + readableDistance(e.periapsisKm() - radius));
    lines << QString::fromStdString("Apoapsis altitude: " + readableDistance(e.apoapsisKm() - radius));
    lines << QString::fromStdString("Period: " + readableDuration(e.periodS(gm)));
    lines << (placed.velocityKmPerS ? "The object starts from its position and velocity, and the object to be "
                                      "orbited is named as its orbit reference."
                                    : "The object starts from its two orbital positions about the object to be "
                                      "orbited.");
    m_summary->setText(lines.join('\n'));
}

void CPlaceInOrbitDlg::accept() {
    QString problem;
    QLineEdit* atFault = nullptr;
    std::optional<OrbitRequest> r = request(problem, atFault);
    if (!r) {
        if (atFault) {
            atFault->setFocus();
            atFault->selectAll();
        }
        showValidationMessage(problem, this);
        return;
    }
    m_choice = PlaceInOrbitChoice{m_parent->currentData().toInt(), placeInOrbit(*r, *m_parentState)};
    QDialog::accept();
}
