// Opens a help page with the desktop's default handler, or, where the desktop cannot open it,
// in the launcher's own help window.
#pragma once

#include <string>

void openHelpPage(const std::string& path);
