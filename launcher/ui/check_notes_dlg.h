// CCheckNotesDlg: the consistency check's notes gathered in one scrollable message, so that a list
// with many missing media files or physical remarks asks for one acknowledgement, not one each.
#pragma once

#include <QString>
#include <QStringList>

#include "launcher_dialog.h"

class QPlainTextEdit;

class CCheckNotesDlg : public CLauncherDialog {
    Q_OBJECT
public:
    explicit CCheckNotesDlg(const QStringList& notes, QWidget* parent = nullptr);
    QString text() const;

private:
    QPlainTextEdit* m_notes = nullptr;
};

// One note: CMessageDlg with its text, as for any message. Several: one CCheckNotesDlg.
void showCheckNotes(const QStringList& notes, QWidget* parent);
