// The date dialog: one date-and-time field, then core's rewrite of the object files.
#include "set_date_dlg.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "error_dlg.h"
#include "message_dlg.h"
#include "solar_system_date.h"

SetDateDlg::SetDateDlg(const std::string& dataDirectory, QWidget* parent)
    : QDialog(parent), m_dataDirectory(dataDirectory) {
    setWindowTitle("Set date");
    setObjectName("setDateDialog");
    auto* text = new QLabel(
        "The Sun, the planets and the Moon are given their places and motions of this date "
        "(UTC, 1900 to 2100). The observer keeps its place relative to Earth, and every other "
        "object stays with the body that pulls hardest on it. Mission time starts at 0.\n\n"
        "This rewrites the object files in Objects/, which every configuration shares; "
        "the restore of the default configuration brings back the year 2000.");
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);

    m_edit = new QDateTimeEdit;
    m_edit->setObjectName("dateEdit");
    m_edit->setTimeSpec(Qt::UTC);
    m_edit->setDisplayFormat("yyyy-MM-dd HH:mm 'UTC'");
    m_edit->setCalendarPopup(true);
    m_edit->setMinimumDateTime(QDateTime(QDate(kFirstSettableYear, 1, 1), QTime(0, 0), Qt::UTC));
    m_edit->setMaximumDateTime(QDateTime(QDate(kLastSettableYear, 12, 31), QTime(23, 59), Qt::UTC));
    // Start from the world's present date.
    const UtcDateTime now = readMissionDate(m_dataDirectory);
    m_edit->setDateTime(QDateTime(QDate(now.year, now.month, now.day), QTime(now.hour, now.minute), Qt::UTC));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText("Set date");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (apply()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

bool SetDateDlg::apply() {
    const QDateTime chosen = m_edit->dateTime().toUTC();
    const QString iso = chosen.toString("yyyy-MM-ddTHH:mm");
    std::string error;
    std::optional<UtcDateTime> date = parseMissionDate(iso.toStdString(), error);
    if (!date) {
        showError(QString::fromStdString("\n\n" + error), this);
        return false;
    }
    const SetDateResult result = setSolarSystemDate(m_dataDirectory, *date);
    if (!result.ok) {
        showError(QString::fromStdString("\n\n" + result.error), this);
        return false;
    }
    showMessage(QString::fromStdString("\n\nThe solar system now stands at " + calendarText(*date) + "."), this);
    return true;
}

bool runSetDate(const std::string& dataDirectory, QWidget* parent) {
    SetDateDlg dialog(dataDirectory, parent);
    return dialog.exec() == QDialog::Accepted;
}
