// Layout and results of the message dialogs.
#include "message_dialog_base.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

CMessageDialogBase::CMessageDialogBase(const QString& caption, const QString& text,
                                       const QPixmap& picture, QSize textUnits, QWidget* parent)
    : CLauncherDialog(parent) {
    setWindowTitle(caption);
    setModal(true);

    auto* pictureLabel = new QLabel;
    pictureLabel->setPixmap(picture);
    pictureLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* frame = new QGroupBox;
    decorateFrame(frame);
    m_text = new QLabel(text);
    m_text->setObjectName("messageText");
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setMinimumSize(dialogUnits(textUnits.width(), textUnits.height()));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_text);

    auto* top = new QHBoxLayout;
    top->addWidget(pictureLabel);
    top->addWidget(frame, 1);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(m_buttons);
}

QString CMessageDialogBase::text() const { return m_text->text(); }

QPushButton* CMessageDialogBase::addButton(const QString& caption, int result) {
    auto* button = new QPushButton(caption);
    button->setMinimumWidth(std::max(dialogUnits(50, 0).width(), button->sizeHint().width()));
    connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    m_buttons->addWidget(button);
    return button;
}

void CMessageDialogBase::centreButtons() { m_buttons->addStretch(1); }

void CMessageDialogBase::reject() { done(kQuitOrClosed); }
