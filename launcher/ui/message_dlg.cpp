#include "message_dlg.h"

#include <QPushButton>

#include "artwork.h"

CMessageDlg::CMessageDlg(const QString& text, QWidget* parent)
    : CMessageDialogBase("Celestrix message", text, messagePicture(), QSize(215, 60), parent) {
    addButton("Close", kFirstButton)->setDefault(true);
}

int showMessage(const QString& text, QWidget* parent) {
    CMessageDlg dlg(text, parent);
    return dlg.exec();
}
