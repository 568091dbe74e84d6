// The launch pad: layout, menu, OpenGL check and the two launches.
#include "launch_pad_dlg.h"

#include <QAction>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "about_dlg.h"
#include "artwork.h"
#include "cfg_manager_dlg.h"
#include "dialog_openers.h"
#include "error_dlg.h"
#include "fatal_exit.h"
#include "help_page.h"
#include "launch_rules.h"
#include "message_dlg.h"
#include "selection_line.h"
#include "simulator_process.h"
#include "warning_dlg.h"

namespace {

// Where "Upgrade to OpenGL 3.3" leads: a setting of the installation, $CELESTRIX_UPGRADE_URL.
QString upgradePageAddress() {
    QString address = qEnvironmentVariable("CELESTRIX_UPGRADE_URL");
    return address.isEmpty() ? QStringLiteral("https://docs.mesa3d.org/download.html") : address;
}

}  // namespace

CLaunchPadDlg::CLaunchPadDlg(QWidget* parent) : CLauncherDialog(parent) {
    setWindowTitle("Celestrix launch pad");
    buildLayout();
    buildMenu();
    checkOpenGl();
}

void CLaunchPadDlg::buildLayout() {
    auto* picture = new QLabel;
    picture->setObjectName("launchPadPicture");
    // The picture fills its 217 x 158 dialog-unit place, cut rather than stretched.
    const QSize place = dialogUnits(217, 158);
    QPixmap scaled = launchPadPicture().scaled(place, Qt::KeepAspectRatioByExpanding,
                                               Qt::SmoothTransformation);
    picture->setPixmap(scaled.copy((scaled.width() - place.width()) / 2,
                                   (scaled.height() - place.height()) / 2, place.width(),
                                   place.height()));
    picture->setFixedSize(place);

    auto makeButton = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setMinimumSize(dialogUnits(106, 15).expandedTo(b->sizeHint()));
        b->setAutoDefault(false);
        return b;
    };
    m_managerButton = makeButton("Configuration manager", "configurationManagerButton");
    m_managerButton->setDefault(true);
    m_exploreButton = makeButton("Explore solar system", "exploreButton");
    m_replayButton = makeButton("Replay recording", "replayButton");
    m_upgradeButton = makeButton("", "upgradeButton");
    m_helpButton = makeButton("&Help", "helpButton");
    m_quitButton = makeButton("Quit", "quitButton");

    connect(m_managerButton, &QPushButton::clicked, this, &CLaunchPadDlg::openConfigurationManager);
    connect(m_exploreButton, &QPushButton::clicked, this, &CLaunchPadDlg::launchLive);
    connect(m_replayButton, &QPushButton::clicked, this, &CLaunchPadDlg::launchReplay);
    connect(m_upgradeButton, &QPushButton::clicked, this, &CLaunchPadDlg::openUpgradePage);
    connect(m_helpButton, &QPushButton::clicked, this, &CLaunchPadDlg::openHelp);
    connect(m_quitButton, &QPushButton::clicked, this, &QDialog::reject);

    auto frameOf = [this](QPushButton* a, QPushButton* b, QPushButton* c) {
        auto* frame = new QGroupBox;
        decorateFrame(frame);
        auto* layout = new QVBoxLayout(frame);
        layout->setSpacing(dialogUnits(0, 8).height());
        for (QPushButton* button : {a, b, c}) layout->addWidget(button);
        return frame;
    };
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(frameOf(m_managerButton, m_exploreButton, m_replayButton));
    buttons->addSpacing(dialogUnits(0, 8).height());
    buttons->addWidget(frameOf(m_upgradeButton, m_helpButton, m_quitButton));
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(dialogUnits(15, 10).width(), dialogUnits(15, 10).height(),
                               dialogUnits(15, 10).width(), dialogUnits(15, 10).height());
    layout->setSpacing(dialogUnits(18, 0).width());
    layout->addWidget(picture);
    layout->addLayout(buttons);
}

void CLaunchPadDlg::buildMenu() {
    auto* bar = new QMenuBar(this);
    QMenu* info = bar->addMenu("&Info");
    m_restoreAction = info->addAction("Restore default configuration ...");
    QAction* about = info->addAction("About Celestrix ...");
    info->addSeparator();
    QAction* quit = info->addAction("Quit ... \t Alt+F4");
    connect(m_restoreAction, &QAction::triggered, this, &CLaunchPadDlg::restoreDefaults);
    connect(about, &QAction::triggered, this, &CLaunchPadDlg::showAbout);
    connect(quit, &QAction::triggered, this, &QDialog::reject);
    layout()->setMenuBar(bar);

    // An X desktop's window menu takes no entries from the program, so the two entries a window
    // menu would get are offered on the launch pad's own context menu instead.
    m_windowMenuRestoreAction = new QAction("Restore default configuration...", this);
    auto* windowMenuAbout = new QAction("&About Celestrix...", this);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    connect(m_windowMenuRestoreAction, &QAction::triggered, this, &CLaunchPadDlg::restoreDefaults);
    connect(windowMenuAbout, &QAction::triggered, this, &CLaunchPadDlg::showAbout);
    addActions({separator, m_windowMenuRestoreAction, windowMenuAbout});
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CLaunchPadDlg::checkOpenGl() {
    std::optional<int> code = probeOpenGlVersion(m_context);
    m_openGlSufficient = isOpenGlSufficient(code);
    if (m_openGlSufficient) return;
    showMessage(QString::fromStdString(openGlVersionSentence(code) + "\n\nPlease upgrade to OpenGL 3.3."),
                this);
    m_exploreButton->setEnabled(false);
    m_replayButton->setEnabled(false);
    m_restoreAction->setEnabled(false);
    m_windowMenuRestoreAction->setEnabled(false);
    QFont bold = m_upgradeButton->font();
    bold.setBold(true);
    m_upgradeButton->setFont(bold);
    m_upgradeButton->setText("Upgrade to OpenGL 3.3");
}

void CLaunchPadDlg::openConfigurationManager() {
    CCfgManagerDlg manager(this);
    manager.exec();
}

void CLaunchPadDlg::launchLive() {
    const std::string& dir = m_context.dataDirectory;
    const std::string movieFile = dir + "moviefile.cfg";
    std::optional<std::string> title = readSelectionLine(movieFile);
    if (!title) exitCouldNotOpen(movieFile);
    if (pathExists(dir + "Recordings/" + *title) &&
        !askWarning("\nThe selected recording title already exists.\n"
                    "Its content will be destroyed when you do a\n"
                    "new recording using that name.\n\n Do you want to continue?",
                    this))
        return;

    const std::string configFile = dir + "configfile.cfg";
    std::optional<std::string> name = readSelectionLine(configFile);
    if (!name) exitCouldNotProcess(configFile);
    const std::string configuration = dir + "Configurations/" + *name + ".cfg";
    std::optional<int> count = countConfigurationEntries(configuration, m_context.objectLimit);
    if (!count) exitCouldNotProcess(configuration);
    if (*count > m_context.objectLimit) {
        showError(QString("You have exceeded the maximum number of objects which is %1.")
                      .arg(m_context.objectLimit),
                  this);
        return;
    }
    startSimulator(kLiveMode);
}

void CLaunchPadDlg::launchReplay() {
    const std::string movieFile = m_context.dataDirectory + "moviefile.cfg";
    std::optional<std::string> title = readSelectionLine(movieFile);
    if (!title) exitCouldNotProcess(movieFile);
    if (title->empty()) {
        showError("\n\nYou must name exactly one replay title.\n"
                  "Please return to the 'Configuration manager'.",
                  this);
        return;
    }
    startSimulator(kReplayMode);
}

void CLaunchPadDlg::startSimulator(char mode) {
    m_context.simulatorArgument = simulatorArgument(m_context.dataDirectory, mode);
    runSimulatorAndWait(m_context);
}

void CLaunchPadDlg::openHelp() { openHelpPage(m_context.launchPadHelp); }

void CLaunchPadDlg::openUpgradePage() {
    if (m_openGlSufficient) return;
    QDesktopServices::openUrl(QUrl(upgradePageAddress()));
}

void CLaunchPadDlg::showAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CLaunchPadDlg::restoreDefaults() {
    if (!m_openGlSufficient) return;
    runDefaultRestore(*this);
}
