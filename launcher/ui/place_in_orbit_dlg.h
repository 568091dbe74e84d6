// CPlaceInOrbitDlg: "Place in orbit". The user picks the object to be orbited from the selected
// list and gives the orbit by its elements about it; the dialog computes where the object starts
// (core's placement), so that the position sheets and the orbit dialog need no sky coordinates
// worked out by hand.
#pragma once

#include <optional>

#include "launcher_dialog.h"
#include "orbit_preview.h"
#include "place_in_orbit.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

struct PlaceInOrbitChoice {
    int parentRefNo = 0;
    OrbitPlacement placement;
};

class CPlaceInOrbitDlg : public CLauncherDialog {
    Q_OBJECT
public:
    // list: the selected rows; ownRefNo: the object's own row (0 when it has none), never offered
    // as parent; parentRefNo: the row offered first; objectMassKg: the object's own mass.
    CPlaceInOrbitDlg(OrbitListView list, int ownRefNo, int parentRefNo, double objectMassKg,
                     QWidget* parent = nullptr);

    // After "Place": the parent and the placement.
    const std::optional<PlaceInOrbitChoice>& choice() const { return m_choice; }

    QComboBox* parentChoice() const { return m_parent; }
    QLineEdit* field(const char* name) const;
    QLabel* summary() const { return m_summary; }

    void accept() override;

private:
    void parentChanged();
    void update();
    // The request from the fields, or nothing with the message for the field at fault.
    std::optional<OrbitRequest> request(QString& problem, QLineEdit*& atFault) const;

    OrbitListView m_list;
    double m_objectMassKg = 0;
    std::optional<OrbitParent> m_parentState;
    QString m_parentFailure;
    std::optional<PlaceInOrbitChoice> m_choice;

    QComboBox* m_parent = nullptr;
    QLabel* m_plane = nullptr;
    QRadioButton* m_byPeriapsis = nullptr;
    QLineEdit* m_size = nullptr;
    QComboBox* m_unit = nullptr;
    QLineEdit* m_eccentricity = nullptr;
    QLineEdit* m_inclination = nullptr;
    QLineEdit* m_node = nullptr;
    QLineEdit* m_periapsisArgument = nullptr;
    QRadioButton* m_atPeriapsis = nullptr;
    QLineEdit* m_trueAnomaly = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_place = nullptr;
};
