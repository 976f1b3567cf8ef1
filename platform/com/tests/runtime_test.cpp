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

TEST_F(Runtime, SecurityOncePerProcessAfterInitialise) {
    EXPECT_EQ(Security(), CO_E_NOTINITIALIZED);
    ASSERT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(Security(), S_OK);
    EXPECT_EQ(Security(), RPC_E_TOO_LATE);
    CoUninitialize();
    ASSERT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(Security(), S_OK) << "a full shut-down lets a new start choose security again";
}

TEST_F(Runtime, SecurityRefusesLevelsOutOfRange) {
    ASSERT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, 7, 3, nullptr, 0, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, 1, 5, nullptr, 0, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(Security(), S_OK);
}

TEST_F(Runtime, CreatesRegisteredClassForRequestedInterface) {
    RegisterProbe();
    ASSERT_EQ(CoInitialize(), S_OK);
    ComPtr<IBar> bar;
    ASSERT_EQ(CoCreateInstance(kProbeClass, nullptr, CLSCTX_LOCAL_SERVER, IBar::kIid,
                               bar.ReleaseAndGetVoidAddressOf()),
              S_OK);
    EXPECT_EQ(bar->Bar(), 2);
    EXPECT_EQ(m_created, 1);
}

struct CreateCase {
    const char* name;
    bool initialise;
    bool registered;
    bool withOuter;
    std::uint32_t clsctx;
    IID iid;
    bool nullOut;
    HRESULT expected;
};

class CreateFailures : public Runtime, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreateFailures, GiveTheirCodeAndNullOut) {
    const CreateCase& c = GetParam();
    if (c.registered) {
        RegisterProbe();
    }
    if (c.initialise) {
        ASSERT_EQ(CoInitialize(), S_OK);
    }
    bool destroyed = false;
    IFoo* outer = c.withOuter ? testing::NewProbe(&destroyed) : nullptr;
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CoCreateInstance(kProbeClass, outer, c.clsctx, c.iid, c.nullOut ? nullptr : &out),
              c.expected);
    if (!c.nullOut) {
        EXPECT_EQ(out, nullptr);
    }
    if (outer != nullptr) {
        outer->Release();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateFailures,
    ::testing::Values(CreateCase{"NotInitialised", false, true, false, CLSCTX_LOCAL_SERVER,
                                 IFoo::kIid, false, CO_E_NOTINITIALIZED},
                      CreateCase{"NotRegistered", true, false, false, CLSCTX_LOCAL_SERVER,
                                 IFoo::kIid, false, REGDB_E_CLASSNOTREG},
                      CreateCase{"InProcOnly", true, true, false, CLSCTX_INPROC_SERVER, IFoo::kIid,
                                 false, REGDB_E_CLASSNOTREG},
                      CreateCase{"Aggregation", true, true, true, CLSCTX_LOCAL_SERVER, IFoo::kIid,
                                 false, CLASS_E_NOAGGREGATION},
                      CreateCase{"InterfaceNotOffered", true, true, false, CLSCTX_LOCAL_SERVER,
                                 testing::kNotOffered, false, E_NOINTERFACE},
                      CreateCase{"NullOut", true, true, false, CLSCTX_LOCAL_SERVER, IFoo::kIid,
                                 true, E_POINTER}),
    [](const auto& param) { return std::string(param.param.name); });

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
    EXPECT_EQ(CoCreateInstance(kProbeClass, nullptr, CLSCTX_LOCAL_SERVER, IFoo::kIid,
                               foo.ReleaseAndGetVoidAddressOf()),
              CO_E_SERVER_EXEC_FAILURE);
    EXPECT_FALSE(foo);
    EXPECT_EQ(m_created, 0) << "an injected failure happens before the server is asked";
    EXPECT_EQ(CoCreateInstance(kOtherClass, nullptr, CLSCTX_LOCAL_SERVER, IFoo::kIid,
                               foo.ReleaseAndGetVoidAddressOf()),
              REGDB_E_CLASSNOTREG)
        << "injection is per class";
    ClearInjectedFailures();
    EXPECT_EQ(CoCreateInstance(kProbeClass, nullptr, CLSCTX_LOCAL_SERVER, IFoo::kIid,
                               foo.ReleaseAndGetVoidAddressOf()),
              S_OK);
}

TEST_F(Runtime, RevokedClassIsNoLongerCreated) {
    RegisterProbe();
    EXPECT_TRUE(IsClassRegistered(kProbeClass));
    EXPECT_TRUE(RevokeClass(kProbeClass));
    EXPECT_FALSE(RevokeClass(kProbeClass));
    ASSERT_EQ(CoInitialize(), S_OK);
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(kProbeClass, nullptr, CLSCTX_LOCAL_SERVER, IFoo::kIid, &out),
              REGDB_E_CLASSNOTREG);
}

}  // namespace
}  // namespace com
