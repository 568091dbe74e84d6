#include "about_dlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "artwork.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CLauncherDialog(parent) {
    setWindowTitle("About Celestrix");
    auto* icon = new QLabel;
    icon->setPixmap(launcherIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* frame = new QGroupBox;
    decorateFrame(frame);
    auto* text = new QLabel(
        "Celestrix 1.0\n\n"
        "A space-flight and orbital-mechanics simulator:\n"
        "the launcher celestrix and the simulator corvane.\n\n"
        "Free software under the GNU General Public License,\n"
        "version 3 or later.");
    text->setAlignment(Qt::AlignCenter);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(text);

    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(frame, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}
