// "Set date...": the configuration manager's choice of the date the delivered solar system stands
// at (UTC, 1900 to 2100). On "Set date" the Sun, the planets and the Moon get their places of that
// date, every other object stays with the body it is bound to, and mission time starts at 0.
#pragma once

#include <QDialog>
#include <string>

class QDateTimeEdit;

class SetDateDlg : public QDialog {
    Q_OBJECT
public:
    explicit SetDateDlg(const std::string& dataDirectory, QWidget* parent = nullptr);

    QDateTimeEdit* dateEdit() const { return m_edit; }
    // Writes the date; false (after saying why) when it could not.
    bool apply();

private:
    std::string m_dataDirectory;
    QDateTimeEdit* m_edit = nullptr;
};

// Runs the dialog over parent; true when a date was set.
bool runSetDate(const std::string& dataDirectory, QWidget* parent);
