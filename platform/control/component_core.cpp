#include "platform/control/component_core.h"

#include "platform/com/task_memory.h"
#include "platform/control/system.h"

namespace control {

ComponentCore::ComponentCore(ComponentId id)
    : m_id(id), m_generation(System::Instance().Snapshot().generation) {}

com::HRESULT ComponentCore::Enter(std::string_view operation) {
    const SystemSnapshot snapshot = System::Instance().Snapshot();
    if (!snapshot.running || snapshot.generation != m_generation) {
        return Fail(com::RPC_E_DISCONNECTED, "the server has shut down");
    }
    if (const auto hit = System::Instance().Faults().Check(m_id, operation)) {
        return Fail(hit->hr, hit->description);
    }
    m_config = snapshot.config;
    return com::S_OK;
}

com::HRESULT ComponentCore::Fail(com::HRESULT hr, std::string_view description) {
    std::lock_guard lock(m_mutex);
    m_lastCode = hr;
    m_lastDescription = std::string(ComponentDisplayName(m_id)) + ": " + std::string(description);
    return hr;
}

com::HRESULT ComponentCore::CheckQuery(const com::IID& iid) {
    if (!m_created || iid == com::IID_IUnknown) {
        return com::S_OK;
    }
    if (const auto hit = System::Instance().Faults().Check(m_id, kQueryOperation, &iid)) {
        return Fail(hit->hr, hit->description);
    }
    return com::S_OK;
}

com::HRESULT ComponentCore::Describe(std::uint32_t* code, char** description) {
    if (description == nullptr) {
        return com::E_POINTER;
    }
    *description = nullptr;
    // A failure of the description itself must not replace the failure it describes.
    if (const auto hit = System::Instance().Faults().Check(m_id, "GetErrorDescription")) {
        return hit->hr;
    }
    std::lock_guard lock(m_mutex);
    const std::string text = m_lastDescription.empty() ? std::string(ComponentDisplayName(m_id)) +
                                                             ": no error has occurred"
                                                       : m_lastDescription;
    *description = com::TaskStrDup(text);
    if (*description == nullptr) {
        return com::E_OUTOFMEMORY;
    }
    if (code != nullptr) {
        *code = static_cast<std::uint32_t>(m_lastCode);
    }
    return com::S_OK;
}

}  // namespace control
