#include "warning_dlg.h"

#include <QPushButton>

#include "artwork.h"

CWarningDlg::CWarningDlg(const QString& text, QWidget* parent)
    : CMessageDialogBase("Celestrix warning", text, warningPicture(), QSize(205, 70), parent) {
    QPushButton* ok = addButton("OK", kOk);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    addButton("Quit", kQuit)->setAutoDefault(false);
}

bool askWarning(const QString& text, QWidget* parent) {
    CWarningDlg dlg(text, parent);
    return dlg.exec() == CWarningDlg::kOk;
}
