// Faults the configuration and the scenario player arrange: the components, calls and result
// codes named as text.
#include <algorithm>

#include "platform/control/configuration/config_read.h"
#include "platform/control/ids.h"

namespace control {

namespace config_read {

namespace {

using Part = FaultTextError::Part;
using Problem = FaultTextError::Problem;

std::optional<std::string> TextOf(const json& object, const char* key) {
    if (!object.contains(key)) {
        return std::nullopt;
    }
    const json& value = object[key];
    return value.is_string() ? value.get<std::string>() : std::string();
}

// The entry's parts as text; a value of another kind reads as a text that names nothing. A
// component's failure code may also be written as a number, signed (-2147467259) or not
// (2147500037).
FaultText FaultTextOf(const json& value, bool numericResult) {
    FaultText text{TextOf(value, "component"), TextOf(value, "operation"), TextOf(value, "hresult"),
                   TextOf(value, "interface")};
    const json* hr = value.contains("hresult") ? &value["hresult"] : nullptr;
    if (numericResult && hr != nullptr && hr->is_number_integer()) {
        const std::int64_t n = hr->is_number_unsigned()
                                   ? static_cast<std::int64_t>(std::min<std::uint64_t>(
                                         hr->get<std::uint64_t>(), INT64_MAX))
                                   : hr->get<std::int64_t>();
        const bool fits = n >= INT32_MIN && n <= static_cast<std::int64_t>(UINT32_MAX);
        text.hresult = fits ? std::to_string(static_cast<std::uint32_t>(n)) : std::string();
    }
    return text;
}

std::string KnownOperations(const json& value) {
    const auto id = ComponentFromKey(value["component"].get<std::string>());
    if (!id) {
        return "CoInitialize, CoInitializeSecurity";
    }
    std::string list = std::string(kCreateOperation) + ", " + std::string(kQueryOperation);
    for (const auto op : ComponentOperations(*id)) {
        list += ", " + std::string(op);
    }
    return list;
}

[[noreturn]] void RefuseFault(const json& value, const std::string& where, FaultTextError error) {
    static constexpr const char* kKeys[] = {"component", "operation", "hresult", "interface"};
    const char* key = kKeys[static_cast<int>(error.part)];
    if (error.problem == Problem::Missing) {
        Fail(where, std::string("missing \"") + key + "\"");
    }
    const std::string at = where + "." + key;
    switch (error.part) {
        case Part::Component: {
            std::string list;
            for (const ComponentId c : kAllComponents) {
                list += (list.empty() ? "" : ", ") + std::string(ComponentKey(c));
            }
            Fail(at, "unknown component " + Shown(value[key]) + " (known: " + list + ")");
        }
        case Part::Operation:
            Fail(at, "unknown operation " + Shown(value[key]) + " of " +
                         value["component"].get<std::string>() +
                         " (known: " + KnownOperations(value) + ")");
        case Part::Result:
            Fail(at,
                 "expected a failure code such as \"0x80004005\" or \"E_FAIL\", "
                 "found " +
                     Shown(value[key]));
        case Part::Interface:
            if (error.problem == Problem::Misplaced) {
                Fail(at, "only a QueryInterface fault names an interface");
            }
            Fail(at, "expected an interface name or id, found " + Shown(value[key]));
    }
    Fail(at, "not a fault");
}

}  // namespace

Fault ReadFault(const json& value, const std::string& where) {
    if (!value.is_object()) {
        Fail(where, "expected an object");
    }
    RefuseUnknownKeys(
        value, where,
        {"component", "operation", "hresult", "after", "times", "description", "interface"});
    const auto parsed = ParseFaultText(FaultTextOf(value, true));
    const auto* error = std::get_if<FaultTextError>(&parsed);
    // A wrong interface is told after the counts, as the entry lists them.
    if (error != nullptr && error->part != Part::Interface) {
        RefuseFault(value, where, *error);
    }
    const auto* read = std::get_if<Fault>(&parsed);
    if (error == nullptr && read == nullptr) {
        Fail(where + ".component", "COM fails for the whole run and takes no other keys");
    }
    Fault fault = read != nullptr ? *read : Fault();
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
    if (error != nullptr) {
        RefuseFault(value, where, *error);
    }
    return fault;
}

// The library's own calls fail for the whole run, so they take no counts.
void ReadComFault(const json& value, const std::string& where, Config& config) {
    RefuseUnknownKeys(value, where + " (COM)", {"component", "operation", "hresult"});
    Require(value, "operation", where);
    Require(value, "hresult", where);
    const auto parsed = ParseFaultText(FaultTextOf(value, false));
    if (const auto* error = std::get_if<FaultTextError>(&parsed)) {
        RefuseFault(value, where, *error);
    }
    if (const auto* library = std::get_if<LibraryFault>(&parsed)) {
        (library->security ? config.coInitializeSecurityFailure : config.coInitializeFailure) =
            library->hr;
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

namespace {

std::optional<com::HRESULT> FailureCode(const std::optional<std::string>& text) {
    const auto code = text ? ParseHresultText(*text) : std::nullopt;
    return code && com::FAILED(*code) ? code : std::nullopt;
}

}  // namespace

std::variant<Fault, LibraryFault, FaultTextError> ParseFaultText(const FaultText& text) {
    using Part = FaultTextError::Part;
    using Problem = FaultTextError::Problem;
    const auto wrong = [](Part part, const std::optional<std::string>& given) {
        return FaultTextError{part, given ? Problem::Unknown : Problem::Missing};
    };
    if (text.component == "COM") {
        const auto code = FailureCode(text.hresult);
        if (!code) {
            return wrong(Part::Result, text.hresult);
        }
        if (text.operation != "CoInitialize" && text.operation != "CoInitializeSecurity") {
            return wrong(Part::Operation, text.operation);
        }
        if (text.interfaceName) {
            return FaultTextError{Part::Interface, Problem::Misplaced};
        }
        return LibraryFault{text.operation == "CoInitializeSecurity", *code};
    }
    const auto id = text.component ? ComponentFromKey(*text.component) : std::nullopt;
    if (!id) {
        return wrong(Part::Component, text.component);
    }
    const std::string operation = text.operation.value_or("");
    if (!text.operation || (operation != kCreateOperation && operation != kQueryOperation &&
                            !IsComponentOperation(*id, operation))) {
        return wrong(Part::Operation, text.operation);
    }
    const auto code = FailureCode(text.hresult);
    if (!code) {
        return wrong(Part::Result, text.hresult);
    }
    Fault fault(*id, operation, *code);
    if (text.interfaceName) {
        if (operation != kQueryOperation) {
            return FaultTextError{Part::Interface, Problem::Misplaced};
        }
        fault.interfaceId = InterfaceFromText(*text.interfaceName);
        if (!fault.interfaceId) {
            return FaultTextError{Part::Interface, Problem::Unknown};
        }
    }
    return fault;
}

}  // namespace control
