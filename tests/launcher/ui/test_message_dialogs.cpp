// The three message dialogs: captions, texts, buttons and their results.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "error_dlg.h"
#include "launcher_fixture.h"
#include "message_dlg.h"
#include "warning_dlg.h"

namespace {

// Shows dlg modally and clicks the button with the given caption (or closes the window when the
// caption is empty); returns the dialog's result.
int answer(CMessageDialogBase& dlg, const QString& caption) {
    QTimer::singleShot(0, &dlg, [&] {
        if (caption.isEmpty()) {
            dlg.close();
            return;
        }
        for (QPushButton* b : dlg.findChildren<QPushButton*>())
            if (b->text() == caption) b->click();
    });
    return dlg.exec();
}

QStringList buttonCaptions(const QDialog& dlg) {
    QStringList out;
    for (QPushButton* b : dlg.findChildren<QPushButton*>()) out << b->text();
    return out;
}

// The dialogs take their data directory from the current one and make its folders there, so
// they run in a copy of the data directory rather than in the build tree.
using MessageDialogs = launchertest::LauncherTest;

}  // namespace

TEST_F(MessageDialogs, CaptionsButtonsAndResults) {
    CErrorDlg error("\n\nCould not open file x");
    EXPECT_EQ(error.windowTitle(), "Celestrix error");
    EXPECT_EQ(error.text(), "\n\nCould not open file x");
    EXPECT_EQ(buttonCaptions(error), QStringList{"Close"});
    EXPECT_EQ(answer(error, "Close"), 1);

    CMessageDlg message("\n\nhello");
    EXPECT_EQ(message.windowTitle(), "Celestrix message");
    EXPECT_EQ(buttonCaptions(message), QStringList{"Close"});
    EXPECT_EQ(answer(message, "Close"), 1);

    CWarningDlg warning("\n\nAre you sure?");
    EXPECT_EQ(warning.windowTitle(), "Celestrix warning");
    EXPECT_EQ(buttonCaptions(warning), (QStringList{"OK", "Quit"}));
    EXPECT_EQ(answer(warning, "OK"), 1);
    CWarningDlg warning2("\n\nAre you sure?");
    EXPECT_EQ(answer(warning2, "Quit"), 2);
    CWarningDlg warning3("\n\nAre you sure?");
    EXPECT_EQ(answer(warning3, ""), 2);  // the close box refuses, as "Quit" does
}
