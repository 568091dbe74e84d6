// Stand-in for the orbit dialog until it exists: it changes nothing.
#include "cfg_manager_dlg.h"
#include "dialog_openers.h"
#include "message_dlg.h"

OrbitAnswer openOrbitDialog(CCfgManagerDlg& manager, int orbitedRefNo) {
    showMessage("\n\nThe orbit dialog is not yet available.", &manager);
    return OrbitAnswer{OrbitAnswer::kQuit, orbitedRefNo};
}
