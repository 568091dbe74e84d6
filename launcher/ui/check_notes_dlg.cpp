// The notes message: the message dialogs' picture and frame around a scrolling list of notes.
#include "check_notes_dlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "artwork.h"
#include "message_dlg.h"

CCheckNotesDlg::CCheckNotesDlg(const QStringList& notes, QWidget* parent) : CLauncherDialog(parent) {
    setWindowTitle("Celestrix message");
    setModal(true);

    auto* picture = new QLabel;
    picture->setPixmap(messagePicture());
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* frame = new QGroupBox;
    decorateFrame(frame);
    auto* heading = new QLabel(QString("The check has %1 notes on this list:").arg(notes.size()));
    heading->setAlignment(Qt::AlignHCenter);
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName("checkNotes");
    m_notes->setReadOnly(true);
    QStringList trimmed;
    for (const QString& note : notes) trimmed << note.trimmed();
    m_notes->setPlainText(trimmed.join("\n\n"));
    m_notes->setMinimumSize(dialogUnits(215, 90));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(heading);
    frameLayout->addWidget(m_notes, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(frame, 1);

    auto* close = new QPushButton("Close");
    close->setDefault(true);
    close->setMinimumWidth(dialogUnits(50, 0).width());
    connect(close, &QPushButton::clicked, this, [this] { done(1); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

QString CCheckNotesDlg::text() const { return m_notes->toPlainText(); }

void showCheckNotes(const QStringList& notes, QWidget* parent) {
    if (notes.isEmpty()) return;
    if (notes.size() == 1) {
        showMessage(notes.front(), parent);
        return;
    }
    CCheckNotesDlg dlg(notes, parent);
    dlg.exec();
}
