#include <string>

#include "platform/com/task_memory.h"
#include "platform/control/component.h"
#include "platform/control/components.h"
#include "platform/control/desc_table_row.h"

namespace control {

namespace {

class NetworkDescTable final : public Component<INetworkDescTable> {
  public:
    static constexpr ComponentId kId = ComponentId::NetworkDescTable;
    NetworkDescTable() : Component(kId) {}

    HRESULT GetNetworkBoardCount(std::uint16_t* count) override {
        if (const HRESULT hr = m_core.Enter("GetNetworkBoardCount"); FAILED(hr)) {
            return hr;
        }
        if (count == nullptr) {
            return m_core.Fail(com::E_POINTER, "GetNetworkBoardCount: no place for the count");
        }
        *count = static_cast<std::uint16_t>(m_core.Cfg().boards.size());
        return com::S_OK;
    }

    HRESULT GetBoardName(std::uint16_t board, std::uint16_t* length, char** name) override {
        if (name != nullptr) {
            *name = nullptr;
        }
        const BoardConfig* found = nullptr;
        if (const HRESULT hr = Find("GetBoardName", board, name, found); FAILED(hr)) {
            return hr;
        }
        *name = com::TaskStrDup(found->name);
        if (*name == nullptr) {
            return m_core.Fail(com::E_OUTOFMEMORY, "GetBoardName: out of memory");
        }
        if (length != nullptr) {
            *length = static_cast<std::uint16_t>(found->name.size() + 1);
        }
        return com::S_OK;
    }

    HRESULT GetBoardAddress(std::uint16_t board, std::uint16_t* length,
                            std::uint8_t** address) override {
        if (address != nullptr) {
            *address = nullptr;
        }
        const BoardConfig* found = nullptr;
        if (const HRESULT hr = Find("GetBoardAddress", board, address, found); FAILED(hr)) {
            return hr;
        }
        *address = com::TaskMemDup(found->address);
        if (*address == nullptr) {
            return m_core.Fail(com::E_OUTOFMEMORY, "GetBoardAddress: out of memory");
        }
        if (length != nullptr) {
            *length = static_cast<std::uint16_t>(found->address.size());
        }
        return com::S_OK;
    }

    HRESULT GetBoardType(std::uint16_t board, std::uint8_t* type) override {
        const BoardConfig* found = nullptr;
        if (const HRESULT hr = Find("GetBoardType", board, type, found); FAILED(hr)) {
            return hr;
        }
        *type = static_cast<std::uint8_t>(found->type);
        return com::S_OK;
    }

    HRESULT GetBoardFlag(std::uint16_t board, std::uint8_t* flag) override {
        const BoardConfig* found = nullptr;
        if (const HRESULT hr = Find("GetBoardFlag", board, flag, found); FAILED(hr)) {
            return hr;
        }
        *flag = found->flag;
        return com::S_OK;
    }

  private:
    template <class Out>
    HRESULT Find(const char* operation, std::uint16_t board, Out* out, const BoardConfig*& found) {
        return FindDescTableRow(m_core, operation, board, out, &Config::boards, "board", "boards",
                                found);
    }
};

}  // namespace

com::HRESULT CreateNetworkDescTable(const com::IID& iid, void** object) {
    return CreateComponent<NetworkDescTable>(iid, object);
}

}  // namespace control
