#include "platform/control/fault_table.h"

#include <cstdio>
#include <utility>

namespace control {

void FaultTable::SetConfigFaults(const std::vector<Fault>& faults) {
    std::lock_guard lock(m_mutex);
    m_configRules.clear();
    for (const Fault& f : faults) {
        m_configRules.push_back(Rule{f});
    }
}

void FaultTable::Inject(const Fault& fault) {
    std::lock_guard lock(m_mutex);
    m_injectedRules.push_back(Rule{fault});
}

void FaultTable::ClearInjected() {
    std::lock_guard lock(m_mutex);
    m_injectedRules.clear();
}

void FaultTable::ClearAll() {
    std::lock_guard lock(m_mutex);
    m_injectedRules.clear();
    m_configRules.clear();
    m_tracing = false;
    m_trace.clear();
}

void FaultTable::StartTrace() {
    std::lock_guard lock(m_mutex);
    m_tracing = true;
    m_trace.clear();
}

std::vector<ComponentCall> FaultTable::TakeTrace() {
    std::lock_guard lock(m_mutex);
    m_tracing = false;
    return std::exchange(m_trace, {});
}

std::optional<FaultHit> FaultTable::Apply(Rule& rule, ComponentId component,
                                          std::string_view operation, const com::IID* interfaceId,
                                          bool shadowed) {
    const Fault& fault = rule.fault;
    if (fault.component != component || fault.operation != operation) {
        return std::nullopt;
    }
    if (fault.interfaceId && (interfaceId == nullptr || *interfaceId != *fault.interfaceId)) {
        return std::nullopt;
    }
    if (++rule.calls <= fault.after) {
        return std::nullopt;
    }
    if (shadowed ||
        (fault.times >= 0 && rule.failures >= static_cast<std::uint32_t>(fault.times))) {
        return std::nullopt;
    }
    ++rule.failures;
    if (!fault.description.empty()) {
        return FaultHit{fault.hr, fault.description};
    }
    char text[96];
    std::snprintf(text, sizeof text, "%.*s failed with 0x%08X (injected fault)",
                  static_cast<int>(operation.size()), operation.data(),
                  static_cast<unsigned>(fault.hr));
    return FaultHit{fault.hr, text};
}

std::optional<FaultHit> FaultTable::Check(ComponentId component, std::string_view operation,
                                          const com::IID* interfaceId) {
    std::lock_guard lock(m_mutex);
    if (m_tracing) {
        m_trace.push_back({component, std::string(operation)});
    }
    // Every matching rule counts the call, so each keeps its own "after" count; only the first
    // that fires uses up one of its failures. Rules set from code come first.
    std::optional<FaultHit> hit;
    for (auto* rules : {&m_injectedRules, &m_configRules}) {
        for (Rule& rule : *rules) {
            auto result = Apply(rule, component, operation, interfaceId, hit.has_value());
            if (result) {
                hit = std::move(result);
            }
        }
    }
    return hit;
}

}  // namespace control
