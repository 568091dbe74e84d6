// CLaunchPadDlg: the launcher's main window. Opens the configuration manager, starts the
// simulator live or in replay, opens help, and offers the restore, the about box and quit from its
// "&Info" menu. It checks the OpenGL version once as it opens.
#pragma once

#include <optional>

#include "launcher_dialog.h"

class QAction;
class QPushButton;

class CLaunchPadDlg : public CLauncherDialog {
    Q_OBJECT
public:
    explicit CLaunchPadDlg(QWidget* parent = nullptr);

    bool openGlSufficient() const { return m_openGlSufficient; }

    void openConfigurationManager();
    void launchLive();
    void launchReplay();
    void openHelp();
    void openUpgradePage();
    void showAbout();
    void restoreDefaults();

private:
    void buildLayout();
    void buildMenu();
    void checkOpenGl();
    void startSimulator(char mode);

    bool m_openGlSufficient = false;
    QPushButton* m_managerButton = nullptr;
    QPushButton* m_exploreButton = nullptr;
    QPushButton* m_replayButton = nullptr;
    QPushButton* m_upgradeButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_quitButton = nullptr;
    QAction* m_restoreAction = nullptr;            // "&Info" menu
    QAction* m_windowMenuRestoreAction = nullptr;  // context menu, in place of the window menu
};
