// Messages of the consistency check.
#include "consistency_check_run.h"

#include <QStringList>
#include <algorithm>

#include "check_notes_dlg.h"
#include "error_dlg.h"
#include "message_dlg.h"

bool runCheckWithMessages(const std::vector<CheckRow>& rows, const std::string& dataDirectory,
                          bool showSuccess, bool saving, QWidget* parent, std::vector<int>* rowsAtFault) {
    const CheckOutcome outcome = checkSelectedObjects(rows, dataDirectory);
    if (rowsAtFault) {
        rowsAtFault->clear();
        for (const auto& [row, orbited] : outcome.orbitOrderFailures)
            for (size_t index : {orbited, row})
                if (index < rows.size() &&
                    std::find(rowsAtFault->begin(), rowsAtFault->end(), static_cast<int>(index)) == rowsAtFault->end())
                    rowsAtFault->push_back(static_cast<int>(index));
        std::sort(rowsAtFault->begin(), rowsAtFault->end());
    }
    QStringList notes;
    for (const std::string& note : outcome.orbitOrderNotes) notes << QString::fromStdString(note);
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
