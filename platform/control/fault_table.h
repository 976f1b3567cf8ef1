// Failures on demand. Rules come from the configuration (replaced when it is read again) and from
// code (kept until cleared); every call of an operation is counted against each rule that names
// it, so "the third call fails" means the third call since the rule was set.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control/configuration/config.h"

namespace control {

struct FaultHit {
    com::HRESULT hr;
    std::string description;  // without the component's name
};

class FaultTable {
  public:
    void SetConfigFaults(const std::vector<Fault>& faults);
    void Inject(const Fault& fault);
    void ClearInjected();
    void ClearAll();

    // Records every call checked from now on, in order, until TakeTrace.
    void StartTrace();
    std::vector<ComponentCall> TakeTrace();

    // Counts the call and tells whether it must fail. interfaceId is given for QueryInterface.
    std::optional<FaultHit> Check(ComponentId component, std::string_view operation,
                                  const com::IID* interfaceId = nullptr);

  private:
    struct Rule {
        Fault fault;
        std::uint32_t calls = 0;
        std::uint32_t failures = 0;
    };
    static std::optional<FaultHit> Apply(Rule& rule, ComponentId component,
                                         std::string_view operation, const com::IID* interfaceId,
                                         bool shadowed);

    std::mutex m_mutex;
    std::vector<Rule> m_configRules;
    std::vector<Rule> m_injectedRules;
    bool m_tracing = false;
    std::vector<ComponentCall> m_trace;
};

}  // namespace control
