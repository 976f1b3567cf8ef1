#include "platform/com/com_ptr.h"

#include <gtest/gtest.h>

#include "platform/com/tests/test_objects.h"

namespace com {
namespace {

using testing::IBar;
using testing::IFoo;
using testing::NewProbe;

TEST(ComPtr, ReleasesItsReferenceOnceWhenItGoesOrIsReset) {
    bool destroyed = false;
    {
        ComPtr<IFoo> p;
        p.Attach(NewProbe(&destroyed));
        EXPECT_TRUE(p);
    }
    EXPECT_TRUE(destroyed);

    destroyed = false;
    ComPtr<IFoo> p;
    p.Attach(NewProbe(&destroyed));
    p.Reset();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(p.Get(), nullptr);
    p.Reset();  // a second release would be a use after free, caught by the sanitizer build
    EXPECT_FALSE(p);
}

TEST(ComPtr, CopySharesMoveTransfersRawPointerGetsItsOwnReference) {
    bool destroyed = false;
    ComPtr<IFoo> a;
    a.Attach(NewProbe(&destroyed));
    ComPtr<IFoo> b = a;
    EXPECT_TRUE(a == b);
    EXPECT_EQ(b->AddRef(), 3u);
    b->Release();
    ComPtr<IFoo> c = std::move(a);
    EXPECT_FALSE(a);
    b.Reset();
    EXPECT_FALSE(destroyed);
    IFoo* raw = c.Detach();  // hands the reference over
    EXPECT_FALSE(c);
    { ComPtr<IFoo> p(raw); }
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(raw->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(ComPtr, AddressOfReleasesTheOldReferenceForAnOutParameter) {
    bool firstDestroyed = false;
    bool secondDestroyed = false;
    ComPtr<IFoo> p;
    p.Attach(NewProbe(&firstDestroyed));
    IFoo** out = &p;
    EXPECT_TRUE(firstDestroyed);
    EXPECT_EQ(*out, nullptr);
    *out = NewProbe(&secondDestroyed);
    EXPECT_EQ(p->Foo(), 1);
    p.Reset();
    EXPECT_TRUE(secondDestroyed);
}

TEST(ComPtr, AsQueriesAnotherInterface) {
    bool destroyed = false;
    ComPtr<IFoo> foo;
    foo.Attach(NewProbe(&destroyed));
    ComPtr<IBar> bar;
    ASSERT_EQ(foo.As(bar), S_OK);
    EXPECT_EQ(bar->Bar(), 2);
    foo.Reset();
    EXPECT_FALSE(destroyed);
    bar.Reset();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(ComPtr<IFoo>().As(bar), E_POINTER);
    EXPECT_FALSE(bar);
}

}  // namespace
}  // namespace com
