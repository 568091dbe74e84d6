// The default-configuration restore from the launch pad's menu.
#include "default_restore_run.h"
#include "dialog_openers.h"
#include "launch_pad_dlg.h"

void runDefaultRestore(CLaunchPadDlg& launchPad) {
    runDefaultRestoreWithMessages(launchPad.context().dataDirectory, &launchPad);
}
