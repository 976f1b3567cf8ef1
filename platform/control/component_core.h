// What every simulated component object does around its operations: refuse calls once its server
// has gone, apply failures on demand, and remember its latest failure for the error description
// interface.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/com/hresult.h"
#include "platform/control/component_id.h"
#include "platform/control/configuration/config.h"

namespace control {

class ComponentCore {
  public:
    explicit ComponentCore(ComponentId id);

    ComponentId Id() const { return m_id; }

    // Call first in every operation. Success, or the failure to return (already recorded).
    com::HRESULT Enter(std::string_view operation);
    // The configuration in force, valid after a successful Enter.
    const Config& Cfg() const { return *m_config; }
    // Records a failure with a description of it (the component's name is put in front) and
    // returns hr.
    com::HRESULT Fail(com::HRESULT hr, std::string_view description);

    // For interface queries after creation: success, or an injected failure.
    com::HRESULT CheckQuery(const com::IID& iid);
    void MarkCreated() { m_created = true; }

    // The error description interface's operation.
    com::HRESULT Describe(std::uint32_t* code, char** description);

  private:
    const ComponentId m_id;
    const std::uint64_t m_generation;
    bool m_created = false;
    std::shared_ptr<const Config> m_config;
    std::mutex m_mutex;
    com::HRESULT m_lastCode = com::S_OK;
    std::string m_lastDescription;
};

}  // namespace control
