#include "error_dlg.h"

#include <QPushButton>

#include "artwork.h"

CErrorDlg::CErrorDlg(const QString& text, QWidget* parent)
    : CMessageDialogBase("Celestrix error", text, errorPicture(), QSize(215, 65), parent) {
    addButton("Close", kFirstButton)->setDefault(true);
    centreButtons();
}

int showError(const QString& text, QWidget* parent) {
    CErrorDlg dlg(text, parent);
    return dlg.exec();
}
