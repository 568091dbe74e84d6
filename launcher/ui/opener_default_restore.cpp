// Stand-in for the default-configuration restore until it exists.
#include "dialog_openers.h"
#include "launch_pad_dlg.h"
#include "message_dlg.h"

void runDefaultRestore(CLaunchPadDlg& launchPad) {
    showMessage("\n\nRestoring the default configuration is not yet available.", &launchPad);
}
