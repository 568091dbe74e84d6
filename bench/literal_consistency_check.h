// The consistency check as a literal per-item reader would run it: every value read by opening
// and scanning the object file again (readObjectItem), the duplicate-name and collision passes
// over every ordered pair. The benchmark's baseline and the tests' reference for the outcome of
// the one-read check; media and physical notes are left out.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "consistency_check.h"
#include "float_format.h"
#include "object_item.h"

namespace literal {

// "na" when the item is missing; nullopt-like flag through ok when the file cannot be opened.
inline std::string item(const std::string& path, const char* label, const std::string& dataDir,
                        bool& ok) {
    ItemRead r = readObjectItem(path, label, dataDir);
    ok = r.status != ItemStatus::CannotOpen;
    return r.status == ItemStatus::Ok ? r.value : std::string("na");
}

inline float numberOrZero(const std::string& v) { return v == "na" ? 0.0f : parseLeadingFloat(v); }

inline int checkReason(const std::vector<CheckRow>& rows, const std::string& dataDir) {
    int reason = 0;
    const size_t n = rows.size();
    auto path = [&](size_t i) { return dataDir + "Objects/" + rows[i].name + ".cfg"; };
    bool ok = true;
    if (n == 0) reason = 1;
    if (n >= 1 && rows[0].orbits != "none") reason = 2;
    for (size_t i = 0; i < n; ++i) {
        const bool observer = item(path(i), "Item 28.", dataDir, ok) == "1" && ok;
        if (i + 1 == n && !observer) reason = 3;
        if (i + 1 != n && observer) reason = 4;
    }
    for (size_t a = 0; a < n; ++a)
        for (size_t b = 0; b < n; ++b)
            if (a != b && rows[a].name == rows[b].name) reason = 5;
    for (const CheckRow& row : rows)
        if (row.orbits != "none" && parseLeadingInt(row.orbits) >= parseLeadingInt(row.refNo)) reason = 6;
    for (size_t i = 0; i < n; ++i) {
        const std::string p = path(i);
        item(p, "Item 0.", dataDir, ok);
        if (!ok) {
            reason = 7;
            continue;
        }
        if (item(p, "Item 22.", dataDir, ok) == "1") {
            if (item(p, "Item 23.", dataDir, ok) == "na") reason = 8;
            if (item(p, "Item 24.", dataDir, ok) == "na" || item(p, "Item 25.", dataDir, ok) == "na")
                reason = 9;
            const float planet = numberOrZero(item(p, "Item 20.", dataDir, ok));
            const float inner = numberOrZero(item(p, "Item 24.", dataDir, ok));
            const float outer = numberOrZero(item(p, "Item 25.", dataDir, ok));
            if (!(inner > planet && outer > inner)) reason = 10;
        }
        if (item(p, "Item 2.", dataDir, ok) == "na" || item(p, "Item 3.", dataDir, ok) == "na" ||
            item(p, "Item 4.", dataDir, ok) == "na")
            reason = 11;
        if (item(p, "Item 8.", dataDir, ok) != "na") {
            if (item(p, "Item 9.", dataDir, ok) == "na" || item(p, "Item 10.", dataDir, ok) == "na" ||
                item(p, "Item 11.", dataDir, ok) == "na")
                reason = 11;
        } else if (item(p, "Item 5.", dataDir, ok) == "na" || item(p, "Item 6.", dataDir, ok) == "na" ||
                   item(p, "Item 7.", dataDir, ok) == "na") {
            reason = 11;
        }
    }
    for (size_t a = 0; a < n; ++a) {
        for (size_t b = 0; b < n; ++b) {
            if (a == b) continue;
            bool okA = true, okB = true;
            const std::string pa = path(a), pb = path(b);
            const float xa = numberOrZero(item(pa, "Item 2.", dataDir, okA));
            if (!okA) continue;
            const float xb = numberOrZero(item(pb, "Item 2.", dataDir, okB));
            if (!okB) continue;
            const float ya = numberOrZero(item(pa, "Item 3.", dataDir, ok));
            const float za = numberOrZero(item(pa, "Item 4.", dataDir, ok));
            const float yb = numberOrZero(item(pb, "Item 3.", dataDir, ok));
            const float zb = numberOrZero(item(pb, "Item 4.", dataDir, ok));
            const float ra = numberOrZero(item(pa, "Item 21.", dataDir, ok));
            const float rb = numberOrZero(item(pb, "Item 21.", dataDir, ok));
            const float dx = xa - xb, dy = ya - yb, dz = za - zb;
            if (std::sqrt(dx * dx + dy * dy + dz * dz) <= ra + rb) reason = 12;
        }
    }
    for (const CheckRow& row : rows)
        if (row.orbits == row.refNo) reason = 13;
    return reason;
}

}  // namespace literal
