// CAboutDlg: the launch pad's about box.
#pragma once

#include "launcher_dialog.h"

class CAboutDlg : public CLauncherDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
