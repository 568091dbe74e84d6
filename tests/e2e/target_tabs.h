// Scripted target choice for end-to-end runs: how many Tab presses from the start make a body the
// target, and the script lines of those presses.
#pragma once

#include <string>

#include "startup.h"
#include "target_navigation.h"

namespace e2e {

// Tab presses from the start that make the body named name (its object file name.cfg) the target.
inline int tabsTo(const std::string& dataDir, const std::string& name) {
    SimState s;
    s.runMode = 1;
    s.dataDirectory = dataDir;
    if (loadStartupState(s)) return -1;
    fillSceneState(s);
    for (int tabs = 1; tabs < static_cast<int>(s.objects.size()); ++tabs) {
        cycleTarget(s, +1);
        if (s.configEntries[static_cast<size_t>(s.nav.target)] == name + ".cfg") return tabs;
    }
    return -1;
}

// Script lines of count Tab presses, one a frame from firstFrame on.
inline std::string tabPresses(int firstFrame, int count) {
    std::string lines;
    for (int frame = firstFrame; frame < firstFrame + count; ++frame)
        lines += std::to_string(frame) + " key Tab down\n" + std::to_string(frame) + " key Tab up\n";
    return lines;
}

}  // namespace e2e
