// The launcher's reaction to a file it cannot do without: the message in CErrorDlg (and on
// standard error), then the end of the process with exit code -1. Also the item and selection
// reads that end the launcher that way when their file cannot be opened.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "object_facts.h"

constexpr int kLauncherFatalExitCode = 255;  // -1 as a process exit status

// Shows text with CErrorDlg, writes it to standard error and ends the launcher.
[[noreturn]] void exitWithError(const QString& text);

// "\n\nCould not open file " + path, then exit.
[[noreturn]] void exitCouldNotOpen(const std::string& path);
// "\n\nCould not process file " + path, then the reason on a line of its own (found by looking at
// the path when none is given), then exit.
[[noreturn]] void exitCouldNotProcess(const std::string& path, const std::string& reason = {});

// How the process ends; tests replace it (for instance by a throwing function) to observe the
// exit code without losing the test program. The replacement must not return.
void setLauncherExitFunction(std::function<void(int)> exitFunction);

// readObjectItem that ends the launcher when the file cannot be opened; an item the file lacks
// reads as "na" (not given).
std::string readItemOrExit(const std::string& objectPath, std::string_view label,
                           const std::string& dataDirectory);
// readObjectFacts that ends the launcher when the file cannot be opened.
ObjectFacts readFactsOrExit(const std::string& objectPath, const std::string& dataDirectory);
// readSelectionLine that ends the launcher with "Could not open file" when the file cannot be read.
std::string readSelectionOrExit(const std::string& path);
