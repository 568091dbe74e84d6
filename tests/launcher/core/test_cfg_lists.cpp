// The manager's list rules: numbering, the observer-last rule, drops, moves and removal.
#include <gtest/gtest.h>

#include "cfg_lists.h"

namespace {

std::vector<SelectedRow> rowsOf(const std::vector<std::pair<std::string, std::string>>& nameOrbit) {
    std::vector<SelectedRow> rows;
    for (const auto& [name, orbit] : nameOrbit)
        rows.push_back({name, "", orbit, name.rfind("Obs", 0) == 0 ? kTypeObserver : kTypePlanet});
    renumber(rows);
    return rows;
}

std::string describe(const std::vector<SelectedRow>& rows) {
    std::string out;
    for (const SelectedRow& r : rows) out += r.name + ":" + r.refNo + ":" + r.orbits + " ";
    return out;
}

}  // namespace

TEST(CfgLists, TypesAndShownOrbits) {
    EXPECT_EQ(typeWhenLoaded(true, true, true), "Star");
    EXPECT_EQ(typeWhenLoaded(false, true, true), "Planet");
    EXPECT_EQ(typeWhenLoaded(false, false, true), "Observer");
    EXPECT_EQ(typeWhenLoaded(false, false, false), "none");
    EXPECT_EQ(typeWhenAppended(true, true, false), "Planet");  // a later flag wins here
    EXPECT_EQ(typeWhenAppended(true, false, true), "Observer");
    EXPECT_EQ(typeWhenAppended(false, false, false), "");
    EXPECT_EQ(shownOrbit("na"), "none");
    EXPECT_EQ(shownOrbit("3"), "3");
}

TEST(CfgLists, ObserverIsMovedLastOnlyWhenTheLastRowIsNoObserver) {
    std::vector<SelectedRow> rows = rowsOf({{"Sun", "none"}, {"Obs", "none"}, {"Earth", "1"}, {"Moon", "3"}});
    std::optional<int> from = keepObserverLast(rows);
    ASSERT_EQ(from, 1);
    // Orbits of the other rows stay as they were, though their Ref-Nos changed.
    EXPECT_EQ(describe(rows), "Sun:1:none Earth:2:1 Moon:3:3 Obs:4:none ");
    EXPECT_EQ(indexAfterObserverMove(1, 1, 4), 3);
    EXPECT_EQ(indexAfterObserverMove(3, 1, 4), 2);
    EXPECT_EQ(indexAfterObserverMove(0, 1, 4), 0);
    EXPECT_EQ(keepObserverLast(rows), std::nullopt);

    // Two observers with one last: nothing moves (the consistency check reports that case).
    rows = rowsOf({{"Obs1", "none"}, {"Sun", "none"}, {"Obs2", "none"}});
    EXPECT_EQ(keepObserverLast(rows), std::nullopt);
    // Two observers, neither last: the first one goes to the end.
    rows = rowsOf({{"Obs1", "none"}, {"Obs2", "none"}, {"Sun", "none"}});
    EXPECT_EQ(keepObserverLast(rows), 0);
    EXPECT_EQ(describe(rows), "Obs2:1:none Sun:2:none Obs1:3:none ");
    rows = rowsOf({{"Obs", "none"}});
    EXPECT_EQ(keepObserverLast(rows), std::nullopt);
    rows = {};
    EXPECT_EQ(keepObserverLast(rows), std::nullopt);
}

TEST(CfgLists, InsertionsMovesAndRemovals) {
    std::vector<SelectedRow> rows = rowsOf({{"A", "none"}, {"B", "1"}, {"C", "2"}, {"D", "none"}});

    std::vector<int> at = insertRows(rows, 1, rowsOf({{"X", "4"}, {"Y", "none"}}));
    EXPECT_EQ(at, (std::vector<int>{1, 2}));
    EXPECT_EQ(describe(rows), "A:1:none X:2:4 Y:3:none B:4:1 C:5:2 D:6:none ");
    at = insertRows(rows, -1, rowsOf({{"Z", "none"}}));
    EXPECT_EQ(at, std::vector<int>{6});
    at = insertRows(rows, 99, rowsOf({{"W", "none"}}));
    EXPECT_EQ(at, std::vector<int>{7});

    rows = rowsOf({{"A", "none"}, {"B", "1"}, {"C", "2"}, {"D", "none"}, {"E", "4"}});
    // A and C dropped onto E: the position moves up by the two taken out above it.
    at = moveRows(rows, {2, 0}, 4);
    EXPECT_EQ(describe(rows), "B:1:1 D:2:none A:3:none C:4:2 E:5:4 ");
    EXPECT_EQ(at, (std::vector<int>{2, 3}));
    // Dropped below the last row, and onto one of the dragged rows itself.
    at = moveRows(rows, {0}, -1);
    EXPECT_EQ(describe(rows), "D:1:none A:2:none C:3:2 E:4:4 B:5:1 ");
    at = moveRows(rows, {1, 2}, 2);
    EXPECT_EQ(describe(rows), "D:1:none A:2:none C:3:2 E:4:4 B:5:1 ");
    EXPECT_EQ(at, (std::vector<int>{1, 2}));
    // Indices out of range or repeated are ignored, never read past the list.
    at = moveRows(rows, {4, 4, 17, -3}, 0);
    EXPECT_EQ(describe(rows), "B:1:1 D:2:none A:3:none C:4:2 E:5:4 ");

    removeRows(rows, {3, 0, 3, 42});
    EXPECT_EQ(describe(rows), "D:1:none A:2:none E:3:4 ");
    EXPECT_EQ(findRow(rows, "E"), 2);
    EXPECT_EQ(findRow(rows, "C"), -1);
}

TEST(CfgLists, MovesThatKeepEveryObjectsParent) {
    struct Case {
        std::vector<int> moved;
        int drop;
        const char* after;
        std::vector<int> changed;
    };
    // B orbits A, C orbits B, E orbits D; "9" names no row and stays as it is.
    const std::vector<Case> cases = {
        {{2, 0}, 4, "B:1:3 D:2:none A:3:none C:4:1 E:5:2 F:6:9 ", {0, 3, 4}},
        {{4}, 0, "E:1:5 A:2:none B:3:2 C:4:3 D:5:none F:6:9 ", {0, 2, 3}},
        {{3}, 3, "A:1:none B:2:1 C:3:2 D:4:none E:5:4 F:6:9 ", {}},  // onto itself: nothing moves
        {{5}, 0, "F:1:9 A:2:none B:3:2 C:4:3 D:5:none E:6:5 ", {2, 3, 5}},
    };
    for (const Case& c : cases) {
        std::vector<SelectedRow> rows =
            rowsOf({{"A", "none"}, {"B", "1"}, {"C", "2"}, {"D", "none"}, {"E", "4"}, {"F", "9"}});
        std::vector<SelectedRow> plain = rows;
        std::vector<int> changed;
        const std::vector<int> at = moveRowsKeepingOrbits(rows, c.moved, c.drop, changed);
        EXPECT_EQ(describe(rows), c.after);
        EXPECT_EQ(changed, c.changed) << c.after;
        EXPECT_EQ(at, moveRows(plain, c.moved, c.drop));  // the rows land where a plain move puts them
    }
}
