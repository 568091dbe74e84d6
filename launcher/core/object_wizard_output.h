// What "Done" in the object wizard changes on disk and in the configuration manager's lists:
// the object file made anew from CfgTemplate.cfg with the wizard's item values (written in one
// atomic replacement), the observer's reset of the saved view and time, and the list rows.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cfg_lists.h"

enum class TemplateWriteStatus { Ok, TemplateUnreadable, ItemMissing, WriteFailed };

// Fills a copy of dataDirectory + "CfgTemplate.cfg" with writes (label, value; file names with the
// data directory in front) and replaces objectPath with it at once. Every write finds the first
// item line holding its label, as writeObjectItem does. missingLabel names an item the template
// lacks.
TemplateWriteStatus writeObjectFromTemplate(const std::string& dataDirectory,
                                            const std::string& objectPath,
                                            const std::vector<std::pair<std::string, std::string>>& writes,
                                            std::string* missingLabel = nullptr);

// The observer's "Done": deletes last_view.cfg and resets an existing time.cfg to "0".
// False when time.cfg exists and cannot be rewritten.
bool resetObserverState(const std::string& dataDirectory);

// The rows after "Done", compared by name. New mode: a selected row of that name gets the orbit;
// the available row of that name gets the type, or a new available row is appended. Existing mode:
// an available row and a selected row (Ref-No = its position, the orbit, the type) are appended
// when none bears the name.
void updateListsAfterWizard(std::vector<AvailableRow>& available, std::vector<SelectedRow>& selected,
                            bool newObject, const std::string& name, const std::string& type,
                            int orbitedRefNo);
