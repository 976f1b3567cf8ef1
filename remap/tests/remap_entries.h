// Remap entries for tests, made at 14:05:09 on March 03 2002 on MAIN VIDEO unless told otherwise.
#pragma once

#include <memory>
#include <string>

#include "records/remap_entry.h"

namespace remaptest {

// The entry of row that remaps origFirst..origLast to the ports from newFirst on.
inline std::unique_ptr<CRemapEntry> Entry(int row, int origFirst, int origLast, int newFirst,
                                          std::string comment = " ", std::string switcher = "MAIN",
                                          std::string level = "VIDEO") {
    auto e = std::make_unique<CRemapEntry>();
    e->m_strTime = "14:05:09";
    e->m_strDate = "March 03 2002";
    e->m_strSwitcher = std::move(switcher);
    e->m_strLevel = std::move(level);
    e->m_nRow = row;
    e->m_nOrigFirst = origFirst;
    e->m_nOrigLast = origLast;
    e->m_nNewFirst = newFirst;
    e->m_nNewLast = newFirst + origLast - origFirst;
    e->m_strComment = std::move(comment);
    return e;
}

// The table as the table file's entry lines would hold it, one per line.
inline std::string Lines(const RemapTable& table) {
    std::string lines;
    for (const auto& e : table) {
        lines += e->m_strTime + "," + e->m_strDate + "," + e->m_strSwitcher + "," + e->m_strLevel +
                 "," + std::to_string(e->m_nRow) + "," + std::to_string(e->m_nOrigFirst) + "," +
                 std::to_string(e->m_nOrigLast) + "," + std::to_string(e->m_nNewFirst) + "," +
                 std::to_string(e->m_nNewLast) + "," + e->m_strComment + "\n";
    }
    return lines;
}

}  // namespace remaptest
