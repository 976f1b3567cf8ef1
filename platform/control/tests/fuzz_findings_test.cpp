// What the fuzz targets of the data folder's names found (scripts/fuzz.sh), kept as cases.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/control/files/file_names.h"

namespace control {
namespace {

// A name may hold '*' or '?' itself (only names the program opens are refused them): the
// pattern's wildcards keep their meaning where the name has the same character.
TEST(FuzzFindings, PatternWildcardsStayWildcardsWhereTheNameHoldsTheSameCharacter) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"*", "*x", true},   {"*.IXT", "**.IXT", true}, {"*.IXT\xb1.Ixt", "*.IXT\xb1.Ixt", true},
        {"a*", "a*b", true}, {"*b", "*a", false},
    };
    for (const auto& [pattern, name, matches] : cases) {
        EXPECT_EQ(WildcardMatch(pattern, name), matches) << pattern << " vs " << name;
    }
}

}  // namespace
}  // namespace control
