// CCfgOrbitDlg: "Specify orbit". Asks for the Ref-No of the object a selected object orbits (0 for
// none). "Save && Continue" goes on into the object wizard; "Save && Quit" stores the number only,
// and is offered only while the answer stays on the same side of orbiting or not, since a change
// between the two needs the wizard's other first page. Below the question it shows the orbit the
// simulator would start the object on about the entered object.
#pragma once

#include <optional>

#include "launcher_dialog.h"
#include "orbit_preview.h"
#include "place_in_orbit_dlg.h"

class QLabel;
class QLineEdit;
class QPushButton;

class CCfgOrbitDlg : public CLauncherDialog {
    Q_OBJECT
public:
    static constexpr int kSaveAndContinue = 1;
    static constexpr int kSaveAndQuit = 1174;
    static constexpr int kQuit = 2;
    static constexpr int kMaxRefNo = 100;

    // object: the object whose orbit is asked for, as the simulator reads its file (nullopt when
    // it cannot); list: the selected list, for the preview.
    // ownRefNo: the object's own row, never offered as the parent of a placement.
    CCfgOrbitDlg(int orbitedRefNo, bool allowSaveAndQuit, std::optional<SimObject> object,
                 OrbitListView list, QWidget* parent = nullptr, int ownRefNo = 0);

    int orbitedRefNo() const { return m_refNo; }
    QLineEdit* refNoEdit() const { return m_edit; }
    QPushButton* saveAndQuitButton() const { return m_saveAndQuit; }
    QString previewText() const;
    // "Place in orbit...": the placement the Ref-No now names, if the user made one.
    const std::optional<PlaceInOrbitChoice>& placement() const { return m_placement; }
    void applyPlacement(const PlaceInOrbitChoice& choice);

    void reject() override;  // closing the window answers as "Quit" does

private:
    void onTextChanged(const QString& text);
    void saveAndContinue();
    void saveAndQuit();
    void updatePreview();
    void placeInOrbit();

    int m_refNo = 0;
    int m_ownRefNo = 0;
    std::optional<SimObject> m_object;
    std::optional<SimObject> m_placedObject;  // m_object on the placed orbit
    std::optional<PlaceInOrbitChoice> m_placement;
    OrbitListView m_list;
    class SystemMapView* m_map = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_saveAndQuit = nullptr;
    QLabel* m_preview = nullptr;
};
