// CErrorDlg: "Celestrix error", acknowledged with "Close".
#pragma once

#include "message_dialog_base.h"

class CErrorDlg : public CMessageDialogBase {
    Q_OBJECT
public:
    explicit CErrorDlg(const QString& text, QWidget* parent = nullptr);
};

// Shows the error text modally and returns the dialog's result.
int showError(const QString& text, QWidget* parent = nullptr);
