#include <gtest/gtest.h>

#include "platform/control/component_id.h"
#include "platform/control/tests/fixture.h"

namespace control {
namespace {

using testing::SimulationTest;

struct ComponentCase {
    ComponentId id;
    com::IID iid;
};

const ComponentCase kComponents[] = {
    {ComponentId::ControlCenter, IID_IControlCenter},
    {ComponentId::ActiveSetCrc, IID_IActiveSetCrc},
    {ComponentId::VexelDevicesTable, IID_IVexelDevicesTable},
    {ComponentId::SwitcherInputTable, IID_ISwitcherInputTable},
    {ComponentId::SwitcherOutputTable, IID_ISwitcherOutputTable},
    {ComponentId::CorvaneRegistry, IID_ICorvaneRegistry},
    {ComponentId::NetworkDescTable, IID_INetworkDescTable},
    {ComponentId::SwitcherDescTable, IID_ISwitcherDescTable},
    {ComponentId::PathFinding, IID_IPathFinding},
    {ComponentId::BoardStatusServer, IID_IBoardStatus},
    {ComponentId::FileAccess, IID_IFileAccess},
};

HRESULT CreateComponent(const ComponentCase& c, void** out) {
    return com::CoCreateInstance(ComponentClassId(c.id), nullptr, com::CLSCTX_LOCAL_SERVER, c.iid,
                                 out);
}

class EveryComponent : public SimulationTest,
                       public ::testing::WithParamInterface<ComponentCase> {};

TEST_P(EveryComponent, IsCreatedByClassAndInterfaceIdAndOffersItsDescription) {
    StartDefault();
    const ComponentCase& c = GetParam();
    com::ComPtr<com::IUnknown> object;
    ASSERT_EQ(CreateComponent(c, object.ReleaseAndGetVoidAddressOf()), com::S_OK);
    ASSERT_TRUE(object);

    com::ComPtr<IErrorDescription> description;
    ASSERT_EQ(object.As(description), com::S_OK);
    char* text = nullptr;
    ASSERT_EQ(description->GetErrorDescription(nullptr, &text), com::S_OK);
    EXPECT_EQ(std::string(text).rfind(std::string(ComponentDisplayName(c.id)) + ": ", 0), 0u)
        << text;
    com::CoTaskMemFree(text);

    com::ComPtr<com::IUnknown> identity1;
    com::ComPtr<com::IUnknown> identity2;
    ASSERT_EQ(object.As(identity1), com::S_OK);
    ASSERT_EQ(description.As(identity2), com::S_OK);
    EXPECT_TRUE(identity1 == identity2);

    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(object->QueryInterface(IID_IBoardNotifySink, &out), com::E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

TEST_P(EveryComponent, CreationFailsWithTheInjectedCodeAndOthersStillWork) {
    StartDefault();
    const ComponentCase& c = GetParam();
    InjectFault(Fault(c.id, "create", com::CO_E_SERVER_EXEC_FAILURE));
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CreateComponent(c, &out), com::CO_E_SERVER_EXEC_FAILURE);
    EXPECT_EQ(out, nullptr);
    for (const ComponentCase& other : kComponents) {
        if (other.id != c.id) {
            com::ComPtr<com::IUnknown> p;
            EXPECT_EQ(CreateComponent(other, p.ReleaseAndGetVoidAddressOf()), com::S_OK)
                << ComponentKey(other.id);
        }
    }
    ClearInjectedFaults();
    com::ComPtr<com::IUnknown> p;
    EXPECT_EQ(CreateComponent(c, p.ReleaseAndGetVoidAddressOf()), com::S_OK);
    // A failure of the class registry itself, for this class id.
    com::SetCreateInstanceFailure(ComponentClassId(c.id), com::E_ACCESSDENIED);
    EXPECT_EQ(CreateComponent(c, &out), com::E_ACCESSDENIED);
}

INSTANTIATE_TEST_SUITE_P(All, EveryComponent, ::testing::ValuesIn(kComponents),
                         [](const auto& param) {
                             return std::string(ComponentKey(param.param.id));
                         });

// The text of a task-memory string, freed here.
std::string Taken(char* text) {
    std::string copy = text != nullptr ? text : "<null>";
    com::CoTaskMemFree(text);
    return copy;
}

class Components : public SimulationTest {};

TEST_F(Components, NothingIsRegisteredBeforeTheStart) {
    void* out = nullptr;
    EXPECT_EQ(CreateComponent(kComponents[0], &out), com::REGDB_E_CLASSNOTREG);
}

TEST_F(Components, FlagsCrcAndRebootPortComeFromTheConfiguration) {
    Config config = DefaultConfig();
    config.activeSetCrc = 0x1234;
    config.rebootPort = 6001;
    StartSimulation(config);
    std::uint16_t value = 0;
    EXPECT_EQ(Create<IActiveSetCrc>(CLSID_ActiveSetCrc)->GetCrc(&value), com::S_OK);
    EXPECT_EQ(value, 0x1234);
    EXPECT_EQ(Create<ICorvaneRegistry>(CLSID_CorvaneRegistry)->GetRebootPort(&value), com::S_OK);
    EXPECT_EQ(value, 6001);

    config.activeSet = false;
    config.configSetChanging = true;
    StartSimulation(std::move(config));
    auto center = Create<IControlCenter>(CLSID_ControlCenter);
    std::uint8_t flag = 7;
    EXPECT_EQ(center->HasActiveSet(&flag), com::S_OK);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(center->IsConfigSetChanging(&flag), com::S_OK);
    EXPECT_EQ(flag, 1);
    auto crc = Create<IActiveSetCrc>(CLSID_ActiveSetCrc);
    EXPECT_EQ(crc->GetCrc(&value), com::E_FAIL);
    EXPECT_EQ(Describe(crc), "Active Set CRC: there is no active configuration set");
}

TEST_F(Components, DescriptionTablesListTheConfigurationInOrderAndNothingPastIt) {
    StartDefault();
    const auto config = CurrentConfig();
    auto table = Create<ISwitcherDescTable>(CLSID_SwitcherDescTable);
    std::int16_t levels = 0;
    ASSERT_EQ(table->GetCount(&levels), com::S_OK);
    ASSERT_EQ(levels, static_cast<std::int16_t>(config->levels.size()));
    for (std::uint16_t i = 0; i < static_cast<std::uint16_t>(levels); ++i) {
        const LevelConfig& level = config->levels[i];
        char* text = nullptr;
        std::int32_t length = 0;
        std::int32_t inputs = 0;
        std::int32_t outputs = 0;
        std::uint16_t board = 0xFFFF;
        EXPECT_EQ(table->GetSwitcherName(i, &length, &text), com::S_OK);
        EXPECT_EQ(Taken(text), level.switcher);
        EXPECT_EQ(length, static_cast<std::int32_t>(level.switcher.size()));
        EXPECT_EQ(table->GetLevelName(i, &length, &text), com::S_OK);
        EXPECT_EQ(Taken(text), level.level);
        ASSERT_EQ(table->GetInputCount(i, &inputs), com::S_OK);
        ASSERT_EQ(table->GetOutputCount(i, &outputs), com::S_OK);
        ASSERT_EQ(table->GetLevelBoard(i, &board), com::S_OK);
        EXPECT_EQ(inputs, level.inputs);
        EXPECT_EQ(outputs, level.outputs);
        EXPECT_EQ(board, level.board);
    }
    auto network = Create<INetworkDescTable>(CLSID_NetworkDescTable);
    std::uint16_t boards = 0;
    ASSERT_EQ(network->GetNetworkBoardCount(&boards), com::S_OK);
    ASSERT_EQ(boards, config->boards.size());
    for (std::uint16_t b = 0; b < boards; ++b) {
        char* name = nullptr;
        std::uint8_t* address = nullptr;
        std::uint16_t length = 0;
        std::uint8_t type = 0;
        std::uint8_t flag = 9;
        EXPECT_EQ(network->GetBoardName(b, &length, &name), com::S_OK);
        EXPECT_EQ(Taken(name), config->boards[b].name);
        EXPECT_EQ(length, config->boards[b].name.size() + 1) << "the length counts the zero";
        ASSERT_EQ(network->GetBoardAddress(b, &length, &address), com::S_OK);
        EXPECT_EQ(std::vector<std::uint8_t>(address, address + length), config->boards[b].address);
        ASSERT_EQ(network->GetBoardType(b, &type), com::S_OK);
        EXPECT_EQ(type, config->boards[b].type);
        ASSERT_EQ(network->GetBoardFlag(b, &flag), com::S_OK);
        EXPECT_EQ(flag, config->boards[b].flag);
        com::CoTaskMemFree(address);
    }

    // Indexes past the end fail with their own description.
    char* name = reinterpret_cast<char*>(0x1);
    std::int32_t ignored = 0;
    EXPECT_EQ(table->GetLevelName(7, &ignored, &name), com::E_INVALIDARG);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(Describe(table), "Switcher Description Table: level index 7 out of range (5 levels)");
    std::uint8_t type = 0;
    EXPECT_EQ(network->GetBoardType(6, &type), com::E_INVALIDARG);
    EXPECT_EQ(Describe(network), "Network Description Table: board 6 out of range (6 boards)");
    EXPECT_EQ(table->GetCount(nullptr), com::E_POINTER);
}

// A fault from the configuration is in force from the start; one injected later fails only the
// calls it names.
TEST_F(Components, FaultsFailTheChosenCallsOnly) {
    Config config = DefaultConfig();
    config.faults.emplace_back(ComponentId::NetworkDescTable, "GetNetworkBoardCount",
                               com::RPC_E_DISCONNECTED, 1, -1, "link down");
    StartSimulation(std::move(config));
    auto network = Create<INetworkDescTable>(CLSID_NetworkDescTable);
    std::uint16_t count = 0;
    EXPECT_EQ(network->GetNetworkBoardCount(&count), com::S_OK);
    EXPECT_EQ(network->GetNetworkBoardCount(&count), com::RPC_E_DISCONNECTED);
    EXPECT_EQ(network->GetNetworkBoardCount(&count), com::RPC_E_DISCONNECTED);
    EXPECT_EQ(Describe(network), "Network Description Table: link down");

    InjectFault(Fault(ComponentId::SwitcherDescTable, "GetLevelName", com::E_FAIL, 2, 1));
    auto table = Create<ISwitcherDescTable>(CLSID_SwitcherDescTable);
    std::vector<com::HRESULT> results;
    for (std::uint16_t i = 0; i < 5; ++i) {
        char* name = nullptr;
        std::int32_t ignored = 0;
        results.push_back(table->GetLevelName(i, &ignored, &name));
        const std::string taken = Taken(name);
        if (com::FAILED(results.back())) {
            EXPECT_EQ(taken, "<null>");
            EXPECT_EQ(Describe(table),
                      "Switcher Description Table: GetLevelName failed with 0x80004005 "
                      "(injected fault)");
        }
    }
    EXPECT_EQ(results,
              (std::vector<com::HRESULT>{com::S_OK, com::S_OK, com::E_FAIL, com::S_OK, com::S_OK}));
    std::uint16_t board = 0;
    EXPECT_EQ(table->GetLevelBoard(0, &board), com::S_OK) << "other operations are not affected";
}

TEST_F(Components, QueryFaultRefusesTheNamedInterfaceAfterCreation) {
    StartDefault();
    Fault fault(ComponentId::BoardStatusServer, "QueryInterface", com::E_NOINTERFACE);
    fault.interfaceId = IID_IBoardStatusEx;
    InjectFault(fault);
    auto status = Create<IBoardStatus>(CLSID_BoardStatusServer);
    ASSERT_TRUE(status);
    com::ComPtr<IBoardStatusEx> ex;
    EXPECT_EQ(status.As(ex), com::E_NOINTERFACE);
    EXPECT_FALSE(ex);
    com::ComPtr<IErrorDescription> description;
    EXPECT_EQ(status.As(description), com::S_OK);
    ClearInjectedFaults();
    EXPECT_EQ(status.As(ex), com::S_OK);
}

TEST_F(Components, ObjectsOfAStoppedSystemAreDisconnected) {
    StartDefault();
    auto table = Create<ISwitcherDescTable>(CLSID_SwitcherDescTable);
    StopSimulation();
    std::int16_t count = 0;
    EXPECT_EQ(table->GetCount(&count), com::RPC_E_DISCONNECTED);
    EXPECT_EQ(Describe(table), "Switcher Description Table: the server has shut down");
    StartDefault();
    EXPECT_EQ(table->GetCount(&count), com::RPC_E_DISCONNECTED)
        << "a restarted server does not know the old objects";
}

TEST_F(Components, ComLibraryFailuresComeFromTheConfigurationWhileItIsInForce) {
    Config config = ParseConfig(R"({"rebootPort": 1, "levels": [], "boards": [],
        "faults": [{"component": "COM", "operation": "CoInitialize", "hresult": "E_OUTOFMEMORY"},
                   {"component": "COM", "operation": "CoInitializeSecurity",
                    "hresult": "0x80070005"}]})",
                                "com.json", "/");
    StartSimulation(std::move(config));
    EXPECT_EQ(com::CoInitialize(), com::E_OUTOFMEMORY);
    EXPECT_EQ(com::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, com::RPC_C_AUTHN_LEVEL_NONE,
                                        com::RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, com::EOAC_NONE,
                                        nullptr),
              com::E_ACCESSDENIED);
    StopSimulation();
    EXPECT_EQ(com::CoInitialize(), com::S_FALSE);
    com::CoUninitialize();
}

TEST_F(Components, ControlCenterRegistrationNeedsASinkInterface) {
    StartDefault();
    auto center = Create<IControlCenter>(CLSID_ControlCenter);
    auto crc = Create<IActiveSetCrc>(CLSID_ActiveSetCrc);
    std::uint32_t cookie = 0;
    EXPECT_EQ(center->Register(crc.Get(), 6, "Tavora", &cookie), com::CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(RegisteredClientCount(), 0u);
    EXPECT_EQ(center->Unregister(42), com::CONNECT_E_NOCONNECTION);
    EXPECT_EQ(center->Register(nullptr, 6, "Tavora", &cookie), com::E_POINTER);
}

}  // namespace
}  // namespace control
