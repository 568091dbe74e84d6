// The default restore as the launch pad runs it: the question, the copies, and the messages.
#pragma once

#include <string>

class QWidget;

// dataDirectory: the launch pad's, ending in "/".
void runDefaultRestoreWithMessages(const std::string& dataDirectory, QWidget* parent);
