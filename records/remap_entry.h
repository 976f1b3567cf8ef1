// One remap in force, and a remap table: the entries of one I/O type in table order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CRemapEntry {
  public:
    std::string m_strTime;  // "%H:%M:%S" of when the entry was made
    std::string m_strDate;  // "%B %d %Y" of when the entry was made
    std::string m_strSwitcher;
    std::string m_strLevel;
    std::int32_t m_nRow = 0;  // the switcher level's row in the System Definition Table
    std::int32_t m_nOrigFirst = 0;
    std::int32_t m_nOrigLast = 0;
    std::int32_t m_nNewFirst = 0;
    std::int32_t m_nNewLast = 0;
    std::string m_strComment;  // a single blank when the operator typed none

    // The number of ports the entry remaps.
    std::int32_t PortCount() const { return m_nNewLast - m_nNewFirst + 1; }
};

using RemapTable = std::vector<std::unique_ptr<CRemapEntry>>;
