// Which remap table a change concerns: the inputs' or the outputs'. The main dialog starts with
// neither chosen.
#pragma once

#include <cstddef>

enum class IoType { Input, Output, None };

// Where io's part sits in what is kept per table, the input's first: None shares the input's.
constexpr std::size_t IoSlot(IoType io) {
    return io == IoType::Output ? 1 : 0;
}
