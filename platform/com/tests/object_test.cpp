#include "platform/com/object.h"

#include <gtest/gtest.h>

#include "platform/com/tests/test_objects.h"

namespace com {
namespace {

using testing::IBar;
using testing::IFoo;
using testing::NewProbe;

TEST(Object, CountStartsAtOneAndQueriesAddAReferenceUntilTheLastReleaseDeletes) {
    bool destroyed = false;
    IFoo* foo = NewProbe(&destroyed);
    ASSERT_NE(foo, nullptr);
    EXPECT_EQ(foo->AddRef(), 2u);
    EXPECT_EQ(foo->Release(), 1u);
    IBar* bar = nullptr;
    ASSERT_EQ(foo->QueryInterface(IBar::kIid, OutPtr(&bar)), S_OK);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Bar(), 2);
    EXPECT_EQ(foo->Release(), 1u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(bar->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(Object, UnknownIdentityIsTheSameFromEveryInterface) {
    bool destroyed = false;
    IFoo* foo = NewProbe(&destroyed);
    IBar* bar = nullptr;
    IUnknown* fromFoo = nullptr;
    IUnknown* fromBar = nullptr;
    ASSERT_EQ(foo->QueryInterface(IBar::kIid, OutPtr(&bar)), S_OK);
    ASSERT_EQ(foo->QueryInterface(IID_IUnknown, OutPtr(&fromFoo)), S_OK);
    ASSERT_EQ(bar->QueryInterface(IID_IUnknown, OutPtr(&fromBar)), S_OK);
    EXPECT_EQ(fromFoo, fromBar);
    // Interfaces of different bases are different pointers, and that is why identity matters.
    EXPECT_NE(static_cast<void*>(foo), static_cast<void*>(bar));
    fromFoo->Release();
    fromBar->Release();
    bar->Release();
    EXPECT_EQ(foo->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(Object, RefusedQueriesGiveNullAndTakeNoReference) {
    bool destroyed = false;
    IFoo* foo = NewProbe(&destroyed);
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(foo->QueryInterface(testing::kNotOffered, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(foo->QueryInterface(IFoo::kIid, nullptr), E_POINTER);
    EXPECT_EQ(foo->Release(), 0u);
    EXPECT_TRUE(destroyed);
    // A new object whose interface is refused is not left behind.
    destroyed = false;
    EXPECT_EQ(CreateObject<testing::Probe>(testing::kNotOffered, &out, &destroyed), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_TRUE(destroyed);
}

}  // namespace
}  // namespace com
