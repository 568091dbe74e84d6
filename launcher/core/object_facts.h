// What the configuration manager shows of one object file: whom it orbits and its type, read with
// the item access (Items 8 and 26 to 28).
#pragma once

#include <string>

#include "object_item.h"

struct ObjectFacts {
    bool readable = false;   // false: the file could not be opened
    std::string orbits;      // "Item 8." as shown: "none" for "na" or a missing item
    std::string loadedType;  // type as a loaded configuration shows it
    std::string appendedType;  // type as "Append ->" gives it
};

ObjectFacts readObjectFacts(const std::string& objectPath, const std::string& dataDirectory);
