#include "platform/com/guid.h"

#include <gtest/gtest.h>

#include "platform/com/unknown.h"

namespace com {
namespace {

TEST(Guid, ParsesBothFormsAndFormatsUpperCaseBraced) {
    const auto g = ParseGuid("{DA956622-9E61-11D1-BF71-0060083188E7}");
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->Data1, 0xDA956622u);
    EXPECT_EQ(g->Data2, 0x9E61u);
    EXPECT_EQ(g->Data3, 0x11D1u);
    const std::array<std::uint8_t, 8> tail{0xBF, 0x71, 0x00, 0x60, 0x08, 0x31, 0x88, 0xE7};
    EXPECT_EQ(g->Data4, tail);
    EXPECT_EQ(ParseGuid("DA956622-9E61-11D1-BF71-0060083188E7"), g);

    constexpr GUID lower = Guid("{c9032880-181e-11d1-bf18-0060083188e7}");
    EXPECT_EQ(ToString(lower), "{C9032880-181E-11D1-BF18-0060083188E7}");
    EXPECT_EQ(ParseGuid(ToString(lower)), lower);
    EXPECT_EQ(ToString(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
}

TEST(Guid, RefusesMalformedText) {
    for (const char* text :
         {"", "{}", "{DA956622-9E61-11D1-BF71-0060083188E}",
          "{DA956622-9E61-11D1-BF71-0060083188E7", "(DA956622-9E61-11D1-BF71-0060083188E7)",
          "{DA956622+9E61-11D1-BF71-0060083188E7}", "{DA95662G-9E61-11D1-BF71-0060083188E7}",
          "{DA956622-9E61-11D1-BF71-0060083188E7}x"}) {
        EXPECT_FALSE(ParseGuid(text).has_value()) << text;
    }
}

TEST(Guid, ComparesByValue) {
    constexpr GUID a = Guid("{006D72F2-845A-11D0-98CD-0060974F96EB}");
    constexpr GUID b = Guid("{006D72F3-845A-11D0-98CD-0060974F96EB}");
    EXPECT_NE(a, b);
    EXPECT_LT(a, b);
    EXPECT_EQ(a, Guid("{006d72f2-845a-11d0-98cd-0060974f96eb}"));
}

}  // namespace
}  // namespace com
