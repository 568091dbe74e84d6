// The consistency check as the configuration manager runs it: the rules of core over the
// manager's selected rows, then the notes and the closing message in the launcher's dialogs.
#pragma once

#include <string>
#include <vector>

#include "consistency_check.h"

class QWidget;

// Shows the notes (one message, or one scrollable message for several), then the success text
// when showSuccess or the failure text (with the saving sentence when saving). True when the
// list is consistent. rowsAtFault, when given, receives the rows (0-based) of the objects an
// orbit-order failure concerns.
bool runCheckWithMessages(const std::vector<CheckRow>& rows, const std::string& dataDirectory,
                          bool showSuccess, bool saving, QWidget* parent,
                          std::vector<int>* rowsAtFault = nullptr);
