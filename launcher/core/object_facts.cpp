// Reading an object's orbit and type flags. An item the file lacks counts as not given ("na").
#include "object_facts.h"

#include "cfg_lists.h"

ObjectFacts readObjectFacts(const std::string& objectPath, const std::string& dataDirectory) {
    ObjectFacts facts;
    auto item = [&](const char* label) {
        ItemRead r = readObjectItem(objectPath, label, dataDirectory);
        if (r.status == ItemStatus::CannotOpen) facts.readable = false;
        return r.status == ItemStatus::Ok ? r.value : std::string("na");
    };
    facts.readable = true;
    std::string orbit = item("Item 8.");
    bool star = item("Item 26.") == "1";
    bool planet = item("Item 27.") == "1";
    bool observer = item("Item 28.") == "1";
    facts.orbits = shownOrbit(orbit);
    facts.loadedType = typeWhenLoaded(star, planet, observer);
    facts.appendedType = typeWhenAppended(star, planet, observer);
    return facts;
}
