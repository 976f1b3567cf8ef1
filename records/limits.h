// How far the System Definition Table reaches: the rows it holds and the ports a level may have.
// The table's file is laid out in columns for them, and remap entries name rows and ports within
// them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace records {

inline constexpr std::int32_t kMaxPortCount = 9999;
inline constexpr std::size_t kMaxRows = 100;  // row positions 0..99

}  // namespace records
