// The configuration manager's map window: the selected objects as the simulator will start them,
// seen from above the system's plane. It stays open beside the manager: the row chosen in the
// list is highlighted on the map, and a body clicked on the map chooses its row in the list.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class SystemMapView;

class SystemMapDlg : public QDialog {
    Q_OBJECT
public:
    explicit SystemMapDlg(QWidget* parent = nullptr);

    // Reads the objects of the list anew (names in list order) and shows them, keeping the view.
    void showList(const std::vector<std::string>& names, const std::string& dataDirectory);
    // Highlights row (0-based; -1 for none) and says what it circles.
    void chooseRow(int row);
    SystemMapView* view() const { return m_view; }
    QString chosenText() const;

signals:
    void rowChosen(int row);

private:
    void describeChosen();

    SystemMapView* m_view = nullptr;
    QLabel* m_chosen = nullptr;
    QPushButton* m_neighbourhood = nullptr;
};
