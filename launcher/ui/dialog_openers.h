// Entry points from the launch pad and the configuration manager into the dialogs that work on
// their data: the consistency check, the object wizard, the orbit dialog and the default restore.
// Each is defined in a file of its own, so that a dialog can replace its entry point alone.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CCfgManagerDlg;
class CLaunchPadDlg;

// The check of the manager's selected list. It reads manager.showSuccess() and manager.saving(),
// shows its messages, records the outcome with manager.setLastCheckResult() and returns true when
// the list is consistent.
bool runConsistencyCheck(CCfgManagerDlg& manager);

// What the manager hands the object wizard.
struct ObjectWizardRequest {
    bool newObject = true;      // "Configure new object"; else "Configure existing object"
    std::string type;           // "Star", "Planet" or "Observer"
    bool orbiting = false;      // the first page is the orbiting one
    int orbitedRefNo = 0;       // 0 for none
    std::string objectPath;     // existing mode: data directory + "Objects/" + name + ".cfg"
    int suggestedParentRefNo = 0;  // offered first by "Place in orbit..." (0: the orbited Ref-No)
};
// Runs the wizard modally; on "Done" it writes the object file and updates the manager's lists.
void openObjectWizard(CCfgManagerDlg& manager, const ObjectWizardRequest& request);

// The orbit dialog's answer: result 1 ("Save && Continue"), 1174 ("Save && Quit") or 2 (Quit),
// and the Ref-No entered (0 for none).
struct OrbitAnswer {
    static constexpr int kSaveAndContinue = 1;
    static constexpr int kSaveAndQuit = 1174;
    static constexpr int kQuit = 2;
    int result = kQuit;
    int orbitedRefNo = 0;
    // After "Place in orbit...": the items that put the object on the placed orbit.
    std::vector<std::pair<std::string, std::string>> placedItems;
};
OrbitAnswer openOrbitDialog(CCfgManagerDlg& manager, int orbitedRefNo);

// The default-configuration restore, from the launch pad's menu.
void runDefaultRestore(CLaunchPadDlg& launchPad);
