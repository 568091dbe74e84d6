// The map window: the view, its two view buttons and a line about the chosen body.
#include "system_map_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "readable_units.h"
#include "system_map_view.h"

SystemMapDlg::SystemMapDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Map of the system");
    setObjectName("systemMapDialog");
    setModal(false);
    resize(720, 640);
    m_view = new SystemMapView;
    m_chosen = new QLabel;
    m_chosen->setObjectName("chosenBody");
    m_chosen->setTextFormat(Qt::PlainText);
    auto* fit = new QPushButton("Fit");
    fit->setObjectName("fitButton");
    fit->setToolTip("Show the whole system");
    m_neighbourhood = new QPushButton("Neighbourhood");
    m_neighbourhood->setObjectName("neighbourhoodButton");
    m_neighbourhood->setToolTip("Show the chosen body with the objects that circle it");
    auto* close = new QPushButton("Close");
    for (QPushButton* b : {fit, m_neighbourhood, close}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fit);
    buttons->addWidget(m_neighbourhood);
    buttons->addWidget(m_chosen, 1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    connect(fit, &QPushButton::clicked, m_view, &SystemMapView::fitAll);
    connect(m_neighbourhood, &QPushButton::clicked, this, [this] { m_view->showNeighbourhood(m_view->highlighted()); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_view, &SystemMapView::bodyClicked, this, [this](int index) {
        describeChosen();
        emit rowChosen(index);
    });
    describeChosen();
}

void SystemMapDlg::showList(const std::vector<std::string>& names, const std::string& dataDirectory) {
    m_view->setMap(systemMapOfList(names, dataDirectory));
    describeChosen();
}

void SystemMapDlg::chooseRow(int row) {
    m_view->setHighlighted(row);
    describeChosen();
}

QString SystemMapDlg::chosenText() const { return m_chosen->text(); }

void SystemMapDlg::describeChosen() {
    const SystemMap& map = m_view->map();
    const int i = m_view->highlighted();
    m_neighbourhood->setEnabled(i >= 0);
    if (i < 0) {
        m_chosen->setText(map.bodies.empty() ? "No objects selected." : "Click a body or choose a row to follow it.");
        return;
    }
    const MapBody& b = map.bodies[static_cast<size_t>(i)];
    std::string text = b.name + " (Ref-No " + std::to_string(i + 1) + ")";
    if (b.parent >= 0) {
        const MapBody& p = map.bodies[static_cast<size_t>(b.parent)];
        text += std::string(b.bound ? " circles " : " passes ") + p.name + " at " +
                readableDistance(b.distanceKm);
    }
    m_chosen->setText(QString::fromStdString(text));
}
