// Faults the configuration and the scenario player arrange: the components, calls and result
// codes named as text.
#include <algorithm>

#include "platform/control/config_read.h"
#include "platform/control/ids.h"

namespace control {

namespace config_read {

Fault ReadFault(const json& value, const std::string& where) {
    if (!value.is_object()) {
        Fail(where, "expected an object");
    }
    RefuseUnknownKeys(
        value, where,
        {"component", "operation", "hresult", "after", "times", "description", "interface"});
    Fault fault;
    const json& component = Require(value, "component", where);
    const auto id =
        component.is_string() ? ComponentFromKey(component.get<std::string>()) : std::nullopt;
    if (!id) {
        std::string list;
        for (const ComponentId c : kAllComponents) {
            list += (list.empty() ? "" : ", ") + std::string(ComponentKey(c));
        }
        Fail(where + ".component",
             "unknown component " + Shown(component) + " (known: " + list + ")");
    }
    fault.component = *id;
    const json& operation = Require(value, "operation", where);
    fault.operation = operation.is_string() ? operation.get<std::string>() : std::string();
    if (fault.operation != kCreateOperation && fault.operation != kQueryOperation &&
        !IsComponentOperation(*id, fault.operation)) {
        std::string list = std::string(kCreateOperation) + ", " + std::string(kQueryOperation);
        for (const auto op : ComponentOperations(*id)) {
            list += ", " + std::string(op);
        }
        Fail(where + ".operation", "unknown operation " + Shown(operation) + " of " +
                                       std::string(ComponentKey(*id)) + " (known: " + list + ")");
    }
    const json& hr = Require(value, "hresult", where);
    std::optional<com::HRESULT> code;
    if (hr.is_string()) {
        code = ParseHresultText(hr.get<std::string>());
    } else if (hr.is_number_integer()) {
        // Both the unsigned form (2147500037) and the signed one (-2147467259) are accepted.
        const std::int64_t n = hr.is_number_unsigned()
                                   ? static_cast<std::int64_t>(std::min<std::uint64_t>(
                                         hr.get<std::uint64_t>(), INT64_MAX))
                                   : hr.get<std::int64_t>();
        if (n >= INT32_MIN && n <= static_cast<std::int64_t>(UINT32_MAX)) {
            code = com::HResult(static_cast<std::uint32_t>(n));
        }
    }
    if (!code || com::SUCCEEDED(*code)) {
        Fail(where + ".hresult",
             "expected a failure code such as \"0x80004005\" or \"E_FAIL\", "
             "found " +
                 Shown(hr));
    }
    fault.hr = *code;
    if (value.contains("after")) {
        fault.after =
            static_cast<std::uint32_t>(ReadInteger(value["after"], where + ".after", 0, INT32_MAX));
    }
    if (value.contains("times")) {
        fault.times =
            static_cast<std::int32_t>(ReadInteger(value["times"], where + ".times", 1, INT32_MAX));
    }
    if (value.contains("description")) {
        if (!value["description"].is_string()) {
            Fail(where + ".description", "expected a text");
        }
        fault.description = value["description"].get<std::string>();
    }
    if (value.contains("interface")) {
        const json& iface = value["interface"];
        if (fault.operation != kQueryOperation) {
            Fail(where + ".interface", "only a QueryInterface fault names an interface");
        }
        fault.interfaceId =
            iface.is_string() ? InterfaceFromText(iface.get<std::string>()) : std::nullopt;
        if (!fault.interfaceId) {
            Fail(where + ".interface", "expected an interface name or id, found " + Shown(iface));
        }
    }
    return fault;
}

// The library's own calls fail for the whole run, so they take no counts.
void ReadComFault(const json& value, const std::string& where, Config& config) {
    RefuseUnknownKeys(value, where + " (COM)", {"component", "operation", "hresult"});
    const json& operation = Require(value, "operation", where);
    const json& hr = Require(value, "hresult", where);
    const auto code = hr.is_string() ? ParseHresultText(hr.get<std::string>()) : std::nullopt;
    if (!code || com::SUCCEEDED(*code)) {
        Fail(where + ".hresult",
             "expected a failure code such as \"0x80004005\" or \"E_FAIL\", "
             "found " +
                 Shown(hr));
    }
    if (operation == "CoInitialize") {
        config.coInitializeFailure = code;
    } else if (operation == "CoInitializeSecurity") {
        config.coInitializeSecurityFailure = code;
    } else {
        Fail(where + ".operation", "unknown operation " + Shown(operation) +
                                       " of COM (known: CoInitialize, CoInitializeSecurity)");
    }
}

}  // namespace config_read

std::optional<com::IID> InterfaceFromText(std::string_view text) {
    struct Named {
        std::string_view name;
        const com::IID* iid;
    };
    static const Named kNames[] = {
        {"ControlCenter", &IID_IControlCenter},
        {"ActiveSetCrc", &IID_IActiveSetCrc},
        {"VexelDevicesTable", &IID_IVexelDevicesTable},
        {"SwitcherInputTable", &IID_ISwitcherInputTable},
        {"SwitcherOutputTable", &IID_ISwitcherOutputTable},
        {"CorvaneRegistry", &IID_ICorvaneRegistry},
        {"NetworkDescTable", &IID_INetworkDescTable},
        {"SwitcherDescTable", &IID_ISwitcherDescTable},
        {"PathFinding", &IID_IPathFinding},
        {"BoardStatus", &IID_IBoardStatus},
        {"BoardStatusEx", &IID_IBoardStatusEx},
        {"FileAccess", &IID_IFileAccess},
        {"FileLocks", &IID_IFileLocks},
        {"ErrorDescription", &IID_IErrorDescription},
    };
    for (const Named& n : kNames) {
        if (n.name == text) {
            return *n.iid;
        }
    }
    return com::ParseGuid(text);
}

std::optional<com::HRESULT> ParseHresultText(std::string_view text) {
    struct Named {
        std::string_view name;
        com::HRESULT hr;
    };
    static const Named kNames[] = {
        {"E_FAIL", com::E_FAIL},
        {"E_NOINTERFACE", com::E_NOINTERFACE},
        {"E_OUTOFMEMORY", com::E_OUTOFMEMORY},
        {"E_POINTER", com::E_POINTER},
        {"E_INVALIDARG", com::E_INVALIDARG},
        {"E_UNEXPECTED", com::E_UNEXPECTED},
        {"E_ACCESSDENIED", com::E_ACCESSDENIED},
        {"E_NOTIMPL", com::E_NOTIMPL},
        {"E_HANDLE", com::E_HANDLE},
        {"REGDB_E_CLASSNOTREG", com::REGDB_E_CLASSNOTREG},
        {"CO_E_SERVER_EXEC_FAILURE", com::CO_E_SERVER_EXEC_FAILURE},
        {"RPC_E_DISCONNECTED", com::RPC_E_DISCONNECTED},
        {"RPC_S_SERVER_UNAVAILABLE", com::RPC_S_SERVER_UNAVAILABLE},
    };
    for (const Named& n : kNames) {
        if (n.name == text) {
            return n.hr;
        }
    }
    const auto value = config_read::ParseUnsigned(text);
    if (!value || *value > 0xFFFFFFFFu) {
        return std::nullopt;
    }
    return com::HResult(static_cast<std::uint32_t>(*value));
}

}  // namespace control
