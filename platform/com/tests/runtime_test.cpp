#include "platform/com/runtime.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/com/com_ptr.h"
#include "platform/com/tests/test_objects.h"

namespace com {
namespace {

using testing::IBar;
using testing::IFoo;

constexpr CLSID kProbeClass = Guid("{AAAAAAAA-0000-0000-0000-000000000001}");
constexpr CLSID kOtherClass = Guid("{AAAAAAAA-0000-0000-0000-000000000002}");

class Runtime : public ::testing::Test {
  protected:
    void SetUp() override { ResetForTests(); }
    void TearDown() override { ResetForTests(); }

    void RegisterProbe() {
        RegisterClass(kProbeClass, [this](const IID& iid, void** out) {
            ++m_created;
            return CreateObject<testing::Probe>(iid, out, nullptr);
        });
    }
    HRESULT Security() {
        return CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_NONE,
                                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    }
    HRESULT Create(const CLSID& clsid, ComPtr<IFoo>& foo) {
        return CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IFoo::kIid,
                                foo.ReleaseAndGetVoidAddressOf());
    }

    int m_created = 0;
};

TEST_F(Runtime, InitialiseIsCountedPerThread) {
    EXPECT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(CoInitialize(), S_FALSE);
    HRESULT other = E_FAIL;
    std::thread([&other] {
        other = CoInitialize();
        CoUninitialize();
    }).join();
    EXPECT_EQ(other, S_OK);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(), S_OK);
    CoUninitialize();
    CoUninitialize();  // one too many is harmless
}

TEST_F(Runtime, SecurityOncePerProcessAfterInitialiseWithLevelsInRange) {
    EXPECT_EQ(Security(), CO_E_NOTINITIALIZED);
    ASSERT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, 7, 3, nullptr, 0, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, 1, 5, nullptr, 0, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(Security(), S_OK);
    EXPECT_EQ(Security(), RPC_E_TOO_LATE);
    CoUninitialize();
    ASSERT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(Security(), S_OK) << "a full shut-down lets a new start choose security again";
}

TEST_F(Runtime, CreatesRegisteredClassForRequestedInterfaceUntilRevoked) {
    RegisterProbe();
    ASSERT_EQ(CoInitialize(), S_OK);
    ComPtr<IBar> bar;
    ASSERT_EQ(CoCreateInstance(kProbeClass, nullptr, CLSCTX_LOCAL_SERVER, IBar::kIid,
                               bar.ReleaseAndGetVoidAddressOf()),
              S_OK);
    EXPECT_EQ(bar->Bar(), 2);
    EXPECT_EQ(m_created, 1);
    EXPECT_TRUE(IsClassRegistered(kProbeClass));
    EXPECT_TRUE(RevokeClass(kProbeClass));
    EXPECT_FALSE(RevokeClass(kProbeClass));
    ComPtr<IFoo> foo;
    EXPECT_EQ(Create(kProbeClass, foo), REGDB_E_CLASSNOTREG);
}

TEST_F(Runtime, CreateFailuresGiveTheirCodeAndNullOut) {
    enum Fault {
        kNotInitialised,
        kNotRegistered,
        kInProcOnly,
        kAggregation,
        kNotOffered,
        kNullOut
    };
    const std::pair<Fault, HRESULT> cases[] = {
        {kNotInitialised, CO_E_NOTINITIALIZED}, {kNotRegistered, REGDB_E_CLASSNOTREG},
        {kInProcOnly, REGDB_E_CLASSNOTREG},     {kAggregation, CLASS_E_NOAGGREGATION},
        {kNotOffered, E_NOINTERFACE},           {kNullOut, E_POINTER},
    };
    for (const auto& [fault, expected] : cases) {
        SCOPED_TRACE(fault);
        ResetForTests();
        if (fault != kNotRegistered) {
            RegisterProbe();
        }
        if (fault != kNotInitialised) {
            ASSERT_EQ(CoInitialize(), S_OK);
        }
        IFoo* outer = fault == kAggregation ? testing::NewProbe(nullptr) : nullptr;
        void* out = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(
            CoCreateInstance(kProbeClass, outer,
                             fault == kInProcOnly ? CLSCTX_INPROC_SERVER : CLSCTX_LOCAL_SERVER,
                             fault == kNotOffered ? testing::kNotOffered : IFoo::kIid,
                             fault == kNullOut ? nullptr : &out),
            expected);
        EXPECT_TRUE(fault == kNullOut || out == nullptr);
        if (outer != nullptr) {
            outer->Release();
        }
    }
}

TEST_F(Runtime, InjectedFailuresAndTheirRemoval) {
    RegisterProbe();
    SetCoInitializeFailure(E_OUTOFMEMORY);
    EXPECT_EQ(CoInitialize(), E_OUTOFMEMORY);
    SetCoInitializeFailure(S_OK);
    ASSERT_EQ(CoInitialize(), S_OK);
    SetCoInitializeSecurityFailure(E_ACCESSDENIED);
    EXPECT_EQ(Security(), E_ACCESSDENIED);
    SetCoInitializeSecurityFailure(S_OK);
    EXPECT_EQ(Security(), S_OK);

    SetCreateInstanceFailure(kProbeClass, CO_E_SERVER_EXEC_FAILURE);
    ComPtr<IFoo> foo;
    EXPECT_EQ(Create(kProbeClass, foo), CO_E_SERVER_EXEC_FAILURE);
    EXPECT_FALSE(foo);
    EXPECT_EQ(m_created, 0) << "an injected failure happens before the server is asked";
    EXPECT_EQ(Create(kOtherClass, foo), REGDB_E_CLASSNOTREG) << "injection is per class";
    ClearInjectedFailures();
    EXPECT_EQ(Create(kProbeClass, foo), S_OK);
}

}  // namespace
}  // namespace com
