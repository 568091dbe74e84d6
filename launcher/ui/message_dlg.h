// CMessageDlg: "Celestrix message", acknowledged with "Close".
#pragma once

#include "message_dialog_base.h"

class CMessageDlg : public CMessageDialogBase {
    Q_OBJECT
public:
    explicit CMessageDlg(const QString& text, QWidget* parent = nullptr);
};

int showMessage(const QString& text, QWidget* parent = nullptr);
