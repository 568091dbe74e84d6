// Messages of the consistency check.
#include "consistency_check_run.h"

#include <QStringList>

#include "check_notes_dlg.h"
#include "error_dlg.h"
#include "message_dlg.h"

bool runCheckWithMessages(const std::vector<CheckRow>& rows, const std::string& dataDirectory,
                          bool showSuccess, bool saving, QWidget* parent) {
    const CheckOutcome outcome = checkSelectedObjects(rows, dataDirectory);
    QStringList notes;
    for (const std::string& note : outcome.mediaNotes) notes << QString::fromStdString(note);
    for (const std::string& note : outcome.physicalNotes) notes << QString::fromStdString(note);
    showCheckNotes(notes, parent);

    const QString text = QString::fromStdString(checkOutcomeText(outcome.reason, showSuccess, saving));
    if (outcome.reason != kListConsistent) {
        showError(text, parent);
        return false;
    }
    if (!text.isEmpty()) showMessage(text, parent);
    return true;
}
