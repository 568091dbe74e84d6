// A second launcher start asks the running launcher, over a local socket in the user's runtime
// directory, to bring its window to the front. The running launcher listens for that request.
#pragma once

#include <string>

class QObject;

// The socket's path, beside the launcher's lock file.
std::string raiseSocketPath();

// In the launcher that holds the lock: listens for raise requests for as long as owner lives and
// answers each by bringing the launch pad, and any dialog open above it, to the front.
void listenForRaiseRequests(QObject* owner);

// In a second launcher: asks the running one to come forward. Writes nothing; false when no
// launcher answered.
bool askRunningLauncherToRaise();
