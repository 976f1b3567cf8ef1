// The look-up both description tables make before they answer: the component may be called, the
// caller gave a place for the answer, and the index names a row of the configuration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/control/component_core.h"

namespace control {

// found points at row index of the configuration's rows on success; rowName and rowsName word the
// range failure ("level index 7 out of range (3 levels)"). The rows are read only once the
// component has been entered: before that there is no configuration to read them from.
template <class Row, class Out>
com::HRESULT FindDescTableRow(ComponentCore& core, const char* operation, std::uint16_t index,
                              const Out* out, std::vector<Row> Config::*table, const char* rowName,
                              const char* rowsName, const Row*& found) {
    if (const com::HRESULT hr = core.Enter(operation); FAILED(hr)) {
        return hr;
    }
    if (out == nullptr) {
        return core.Fail(com::E_POINTER, std::string(operation) + ": no place for the result");
    }
    const std::vector<Row>& rows = core.Cfg().*table;
    if (index >= rows.size()) {
        return core.Fail(com::E_INVALIDARG, std::string(rowName) + " " + std::to_string(index) +
                                                " out of range (" + std::to_string(rows.size()) +
                                                " " + rowsName + ")");
    }
    found = &rows[index];
    return com::S_OK;
}

}  // namespace control
