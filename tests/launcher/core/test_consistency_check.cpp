// The consistency check: every reason code from a list built for it, the later of every two
// failing rules winning, the closing texts, the media notes, and the one-read check giving the
// same reason as a literal per-item reader over randomly spoiled lists.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "../../../bench/literal_consistency_check.h"
#include "consistency_check.h"
#include "object_fixtures.h"

using fixtures::rows;

namespace {

class ConsistencyCheck : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [name, object] : objects()) fixtures::writeObject(dir.path(), name, object);
    }
    // Objects that pass every rule on their own, and two that make a rule fail: a second observer
    // and a small body at the star's centre.
    static std::map<std::string, SimObject> objects() {
        return {{"Sun", fixtures::star()},
                {"Earth", fixtures::body(1.5e8f, 6371, 5.97e24f)},
                {"Mars", fixtures::body(2.3e8f, 3390, 6.4e23f)},
                {"Ship", fixtures::observer()},
                {"Ship2", fixtures::observer(6e8f)},
                {"Twin", fixtures::body(0, 10, 1)}};
    }
    // Rewrites one item of an object file, keeping everything else.
    void setItem(const std::string& name, int item, const std::string& value) {
        ASSERT_EQ(writeObjectItem(dir.path() + "Objects/" + name + ".cfg", objectItemLabel(item), value,
                                  dir.path()),
                  ItemStatus::Ok);
    }
    int reason(const std::vector<CheckRow>& list) {
        const int fast = checkSelectedObjects(list, dir.path()).reason;
        EXPECT_EQ(fast, literal::checkReason(list, dir.path())) << "one-read and per-item reads differ";
        return fast;
    }

    testdata::TempDataDir dir;
};

// Each rule on its own, then pairs of rules failing together: the rules run in a fixed order and
// the last failing one's reason stands, so every pair that can fail together is listed with the
// later rule's reason. The duplicate-name rule (5) always meets the collision rule (two rows of one
// object stand at one place) or, for a missing file, the missing-file rule, and both follow it.
TEST_F(ConsistencyCheck, EachRuleReportsItsReasonAndTheLaterOfTwoFailingRulesWins) {
    struct Edit {
        std::string object;
        int item;
        std::string value;
    };
    const std::vector<Edit> ringWithoutTexture = {{"Earth", 22, "1"}, {"Earth", 24, "8000"}, {"Earth", 25, "12000"}};
    const std::vector<Edit> ringTooSmall = {{"Earth", 22, "1"}, {"Earth", 23, "Media/Ring Textures/ring.png"},
                                            {"Earth", 24, "8000"}, {"Earth", 25, "7000"}};
    auto with = [](std::vector<Edit> edits, const std::vector<Edit>& more) {
        edits.insert(edits.end(), more.begin(), more.end());
        return edits;
    };
    struct Case {
        std::vector<Edit> edits;
        std::vector<CheckRow> list;
        int reason;
    } cases[] = {
        {{}, rows({"Sun", "Earth", "Ship"}), kListConsistent},
        {{}, {}, kListEmpty},
        {{}, rows({"Sun", "Earth", "Ship"}, {"0"}), kFirstObjectOrbits},
        {{}, rows({"Sun", "Earth"}), kLastNotObserver},
        {{}, rows({"Sun", "Ship2", "Ship"}), kObserverAboveLast},
        {{}, rows({"Sun", "Earth", "Ship"}, {"none", "3"}), kOrbitsObjectBelow},
        {ringWithoutTexture, rows({"Sun", "Earth", "Ship"}), kRingTextureMissing},
        // "na" reads as 0 in the fit rule that follows, so only negative radii let code 9 stand.
        {{{"Earth", 22, "1"}, {"Earth", 23, "Media/Ring Textures/ring.png"}, {"Earth", 20, "-10"},
          {"Earth", 24, "-5"}, {"Earth", 25, "na"}},
         rows({"Sun", "Earth", "Ship"}), kRingRadiusUndefined},
        {ringTooSmall, rows({"Sun", "Earth", "Ship"}), kRingDoesNotFit},
        {with(ringTooSmall, {{"Earth", 25, "12000"}}), rows({"Sun", "Earth", "Ship"}), kListConsistent},
        {{{"Mars", 3, "na"}}, rows({"Sun", "Mars", "Ship"}), kInitialConditionsUndefined},
        {{{"Mars", 6, "na"}}, rows({"Sun", "Mars", "Ship"}), kInitialConditionsUndefined},
        // An orbiting object needs its first orbital position, not its velocity.
        {{{"Mars", 6, "na"}, {"Mars", 8, "1"}}, rows({"Sun", "Mars", "Ship"}, {"none", "1"}), kListConsistent},
        {{{"Mars", 8, "1"}, {"Mars", 10, "na"}}, rows({"Sun", "Mars", "Ship"}, {"none", "1"}),
         kInitialConditionsUndefined},
        {{}, rows({"Sun", "Twin", "Ship"}), kObjectsColliding},
        // Two rules failing together.
        {{}, rows({"Sun", "Earth"}, {"0"}), kLastNotObserver},
        {{}, rows({"Sun", "Ship2", "Ship"}, {"0"}), kObserverAboveLast},
        {{}, rows({"Ship", "Sun"}), kLastNotObserver},
        {{}, rows({"Sun", "Earth"}, {"none", "3"}), kOrbitsObjectBelow},
        {{}, rows({"Sun", "Ship2", "Ship"}, {"none", "none", "5"}), kOrbitsObjectBelow},
        {{}, rows({"Sun", "Gone", "Gone", "Ship"}), kObjectFileMissing},
        {{}, rows({"Sun", "Earth", "Earth", "Ship"}), kObjectsColliding},
        {{}, rows({"Sun", "Gone", "Ship"}, {"none", "3"}), kObjectFileMissing},
        {ringWithoutTexture, rows({"Sun", "Earth", "Ship"}, {"none", "3"}), kRingTextureMissing},
        {{{"Earth", 22, "1"}, {"Earth", 20, "-10"}, {"Earth", 24, "-5"}, {"Earth", 25, "na"}},
         rows({"Sun", "Earth", "Ship"}), kRingRadiusUndefined},
        // Inner ring radius "na": 9 fails, then 10 reads "na" as 0 and fails too.
        {{{"Earth", 22, "1"}, {"Earth", 23, "Media/Ring Textures/ring.png"}, {"Earth", 24, "na"},
          {"Earth", 25, "12000"}},
         rows({"Sun", "Earth", "Ship"}), kRingDoesNotFit},
        {with(ringTooSmall, {{"Earth", 4, "na"}}), rows({"Sun", "Earth", "Ship"}), kInitialConditionsUndefined},
        // The per-row rules run row by row: the later row's failure wins.
        {with(ringTooSmall, {{"Mars", 3, "na"}}), rows({"Sun", "Earth", "Mars", "Ship"}), kInitialConditionsUndefined},
        {with(ringTooSmall, {{"Mars", 3, "na"}}), rows({"Sun", "Mars", "Earth", "Ship"}), kRingDoesNotFit},
        // Earth's x as "na" puts it at the star's centre.
        {{{"Earth", 2, "na"}}, rows({"Sun", "Earth", "Ship"}), kObjectsColliding},
        {{}, rows({"Sun", "Twin", "Gone", "Ship"}), kObjectsColliding},
        {{}, rows({"Sun", "Twin"}), kObjectsColliding},
        // Orbiting itself also orbits an object not above it (6).
        {{}, rows({"Sun", "Earth", "Ship"}, {"none", "2"}), kOrbitsItself},
        {{}, rows({"Sun", "Twin", "Ship"}, {"none", "2"}), kOrbitsItself},
    };
    for (const Case& c : cases) {
        std::string names;
        for (const CheckRow& row : c.list) names += row.name + "(" + row.orbits + ") ";
        for (const Edit& e : c.edits) names += e.object + "." + std::to_string(e.item) + "=" + e.value + " ";
        SCOPED_TRACE(names);
        for (const Edit& e : c.edits) setItem(e.object, e.item, e.value);
        EXPECT_EQ(reason(c.list), c.reason);
        std::set<std::string> edited;
        for (const Edit& e : c.edits) edited.insert(e.object);
        for (const std::string& name : edited) fixtures::writeObject(dir.path(), name, objects().at(name));
    }
}

TEST_F(ConsistencyCheck, MissingObjectFileIsReportedInsteadOfEndingTheLauncher) {
    EXPECT_EQ(checkSelectedObjects(rows({"Sun", "Gone", "Ship"}), dir.path()).reason, kObjectFileMissing);
    // Even as the last row, where the observer rule fails first.
    EXPECT_EQ(checkSelectedObjects(rows({"Sun", "Gone"}), dir.path()).reason, kObjectFileMissing);
}

TEST_F(ConsistencyCheck, CentresExactlyTwoRadiiApartCollide) {
    fixtures::writeObject(dir.path(), "A", fixtures::body(2e6f, 250, 1));
    fixtures::writeObject(dir.path(), "B", fixtures::body(2000500, 250, 1));
    fixtures::writeObject(dir.path(), "C", fixtures::body(2000600, 250, 1));
    EXPECT_EQ(reason(rows({"Sun", "A", "B", "Ship"})), kObjectsColliding);
    EXPECT_EQ(reason(rows({"Sun", "A", "C", "Ship"})), kListConsistent);
}

TEST(ConsistencyCheckTexts, ClosingMessages) {
    EXPECT_EQ(checkOutcomeText(0, true, false), "\n\nThe 'Selected objects'-list seems to be OK.");
    EXPECT_EQ(checkOutcomeText(0, false, true), "");
    EXPECT_EQ(checkOutcomeText(12, false, false),
              "\n\nThe 'Selected objects'-list is inconsistent because at least two objects are "
              "initially colliding.");
    EXPECT_EQ(checkOutcomeText(12, false, true),
              "\n\nThe 'Selected objects'-list is inconsistent because at least two objects are "
              "initially colliding.The configuration has not been saved.");
    EXPECT_EQ(checkOutcomeText(1, false, true),
              "\n\nThe 'Selected objects'-list is inconsistent because the list is empty. The "
              "configuration has not been saved.");
    EXPECT_EQ(checkReasonText(7), "at least one element from the 'Selected objects'-list is not available.");
}

TEST_F(ConsistencyCheck, EveryMissingMediaFileGetsItsNoteAndLeavesTheReason) {
    testdata::writeText(dir / "Media/Textures/earth.jpg", "x");
    setItem("Earth", 15, "Media/Models/none.x");
    setItem("Earth", 16, "Media/Textures/earth.jpg");
    setItem("Mars", 16, "Media/Textures/gone.jpg");
    setItem("Mars", 22, "1");
    setItem("Mars", 23, "Media/Ring Textures/gone.png");
    setItem("Mars", 24, "4000");
    setItem("Mars", 25, "5000");
    CheckOutcome out = checkSelectedObjects(rows({"Sun", "Earth", "Mars", "Ship"}), dir.path());
    EXPECT_EQ(out.reason, kListConsistent);
    const std::string mars = dir.path() + "Objects/Mars.cfg";
    EXPECT_EQ(out.mediaNotes,
              (std::vector<std::string>{
                  "\nNote: The file " + dir.path() + "Media/Models/none.x named in " + dir.path() +
                      "Objects/Earth.cfg is not available.",
                  "\nNote: The file " + dir.path() + "Media/Textures/gone.jpg named in " + mars +
                      " is not available.",
                  "\nNote: The file " + dir.path() + "Media/Ring Textures/gone.png named in " + mars +
                      " is not available."}));
}

// Random lists over objects with randomly spoiled items: the one-read check and the per-item
// reader agree on every one.
TEST_F(ConsistencyCheck, OneReadCheckAgreesWithPerItemReadsOnRandomLists) {
    std::mt19937 rng(2024);
    const std::vector<int> spoilable = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 20, 21, 22, 23, 24, 25, 28};
    const std::vector<std::string> values = {"na", "0", "1", "2", "5e3", "1e8", "-3", " 7"};
    std::vector<std::string> names;
    for (int i = 0; i < 8; ++i) {
        names.push_back("Obj" + std::to_string(i));
        fixtures::writeObject(dir.path(), names.back(), fixtures::body(1e6f * static_cast<float>(i), 500, 1e20f));
        for (int k = 0; k < 3; ++k) {
            // Named draws: the order of a call's arguments is up to the compiler.
            const std::string& value = values[rng() % values.size()];
            const int item = spoilable[rng() % spoilable.size()];
            setItem(names.back(), item, value);
        }
    }
    std::map<int, int> seen;
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<CheckRow> list;
        const size_t n = rng() % 6;
        for (size_t i = 0; i < n; ++i) {
            std::string orbit = rng() % 3 == 0 ? std::to_string(rng() % 5) : "none";
            list.push_back({names[rng() % names.size()], std::to_string(i + 1), orbit});
        }
        ++seen[reason(list)];
    }
    EXPECT_GE(seen.size(), 6u) << "the random lists should reach several different reasons";
}

}  // namespace
