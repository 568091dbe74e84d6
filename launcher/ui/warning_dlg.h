// CWarningDlg: the launcher's yes/no question, "Celestrix warning". Result 1 for "OK", 2 for "Quit"
// or for closing the window; callers treat 2 as a refusal.
#pragma once

#include "message_dialog_base.h"

class CWarningDlg : public CMessageDialogBase {
    Q_OBJECT
public:
    static constexpr int kOk = 1;
    static constexpr int kQuit = 2;
    explicit CWarningDlg(const QString& text, QWidget* parent = nullptr);
};

// True when the user answered "OK".
bool askWarning(const QString& text, QWidget* parent = nullptr);
