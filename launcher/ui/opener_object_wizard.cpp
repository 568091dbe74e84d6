// Stand-in for the object wizard until it exists.
#include "cfg_manager_dlg.h"
#include "dialog_openers.h"
#include "message_dlg.h"

void openObjectWizard(CCfgManagerDlg& manager, const ObjectWizardRequest&) {
    showMessage("\n\nThe object wizard is not yet available.", &manager);
}
