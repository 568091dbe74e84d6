// The per-frame finite check: a non-finite value in any float item of any object is found and
// named, whichever item and object it is in.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "object_file.h"
#include "sim_state.h"
#include "state_check.h"

TEST(StateCheck, EveryNonFiniteFloatItemIsFoundAndNamed) {
    SimState state;
    state.objects.resize(3);
    state.configEntries = {"A.cfg", "B.cfg", "C.cfg"};
    state.orientation = Mat4f::identity();
    ASSERT_FALSE(findNonFiniteState(state).has_value());
    for (int item = 1; item < kObjectItemCount; ++item) {
        for (float bad : {std::numeric_limits<float>::infinity(), std::nanf("")}) {
            SimState s = state;
            float* f = objectFloatItem(s.objects[1], item);
            if (!f) continue;
            *f = bad;
            std::optional<std::string> where = findNonFiniteState(s);
            ASSERT_TRUE(where.has_value()) << item;
            EXPECT_EQ(where->rfind("Objects/B.cfg: \"Item " + std::to_string(item) + ".", 0), 0u) << *where;
        }
    }
}
