// The shape the three message dialogs share: a picture on the left, a framed, centred multi-line
// text on the right, and their buttons below. Result 1 for the first button; 2 for "Quit" or for
// closing the window.
#pragma once

#include <QString>

#include "launcher_dialog.h"

class QLabel;
class QPushButton;
class QPixmap;

class CMessageDialogBase : public CLauncherDialog {
    Q_OBJECT
public:
    static constexpr int kFirstButton = 1;
    static constexpr int kQuitOrClosed = 2;

    QString text() const;

protected:
    // textUnits: the text control's size in dialog units; the caller then adds its buttons.
    CMessageDialogBase(const QString& caption, const QString& text, const QPixmap& picture,
                       QSize textUnits, QWidget* parent);
    QPushButton* addButton(const QString& caption, int result);
    // Centres the buttons added so far instead of keeping them at the right.
    void centreButtons();
    void reject() override;  // the close box answers as "Quit" does

private:
    QLabel* m_text = nullptr;
    class QHBoxLayout* m_buttons = nullptr;
};
