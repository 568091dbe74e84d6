// Opens a help page with the desktop's default handler. A failure is not reported.
#pragma once

#include <string>

void openHelpPage(const std::string& path);
