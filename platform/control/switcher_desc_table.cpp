#include <string>

#include "platform/com/task_memory.h"
#include "platform/control/component.h"
#include "platform/control/components.h"
#include "platform/control/desc_table_row.h"

namespace control {

namespace {

class SwitcherDescTable final : public Component<ISwitcherDescTable> {
  public:
    static constexpr ComponentId kId = ComponentId::SwitcherDescTable;
    SwitcherDescTable() : Component(kId) {}

    HRESULT GetCount(std::int16_t* count) override {
        if (const HRESULT hr = m_core.Enter("GetCount"); FAILED(hr)) {
            return hr;
        }
        if (count == nullptr) {
            return m_core.Fail(com::E_POINTER, "GetCount: no place for the count");
        }
        *count = static_cast<std::int16_t>(m_core.Cfg().levels.size());
        return com::S_OK;
    }

    HRESULT GetLevelName(std::uint16_t level, std::int32_t* nameLength, char** name) override {
        return GetName("GetLevelName", level, nameLength, name, &LevelConfig::level);
    }

    HRESULT GetSwitcherName(std::uint16_t level, std::int32_t* nameLength, char** name) override {
        return GetName("GetSwitcherName", level, nameLength, name, &LevelConfig::switcher);
    }

    HRESULT GetInputCount(std::uint16_t level, std::int32_t* count) override {
        return GetNumber("GetInputCount", level, count, &LevelConfig::inputs);
    }

    HRESULT GetOutputCount(std::uint16_t level, std::int32_t* count) override {
        return GetNumber("GetOutputCount", level, count, &LevelConfig::outputs);
    }

    HRESULT GetLevelBoard(std::uint16_t level, std::uint16_t* board) override {
        const LevelConfig* found = nullptr;
        if (const HRESULT hr = Find("GetLevelBoard", level, board, found); FAILED(hr)) {
            return hr;
        }
        *board = found->board;
        return com::S_OK;
    }

  private:
    template <class Out>
    HRESULT Find(const char* operation, std::uint16_t level, Out* out, const LevelConfig*& found) {
        return FindDescTableRow(m_core, operation, level, out, &Config::levels, "level index",
                                "levels", found);
    }

    HRESULT GetName(const char* operation, std::uint16_t level, std::int32_t* nameLength,
                    char** name, std::string LevelConfig::*field) {
        if (name != nullptr) {
            *name = nullptr;
        }
        const LevelConfig* found = nullptr;
        if (const HRESULT hr = Find(operation, level, name, found); FAILED(hr)) {
            return hr;
        }
        const std::string& text = found->*field;
        *name = com::TaskStrDup(text);
        if (*name == nullptr) {
            return m_core.Fail(com::E_OUTOFMEMORY, std::string(operation) + ": out of memory");
        }
        if (nameLength != nullptr) {
            *nameLength = static_cast<std::int32_t>(text.size());
        }
        return com::S_OK;
    }

    HRESULT GetNumber(const char* operation, std::uint16_t level, std::int32_t* out,
                      std::int32_t LevelConfig::*field) {
        const LevelConfig* found = nullptr;
        if (const HRESULT hr = Find(operation, level, out, found); FAILED(hr)) {
            return hr;
        }
        *out = found->*field;
        return com::S_OK;
    }
};

}  // namespace

com::HRESULT CreateSwitcherDescTable(const com::IID& iid, void** object) {
    return CreateComponent<SwitcherDescTable>(iid, object);
}

}  // namespace control
