// Restore's walk: which entries are narrowed, split or removed for the rows selected.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "remap/tav_dlg.h"
#include "views/remap_restore.h"

namespace {

// "16-19>120-123" for a range entry, "5>7" for a single port.
std::unique_ptr<CRemapEntry> Entry(const std::string& text) {
    auto e = std::make_unique<CRemapEntry>();
    e->m_strTime = "14:05:09";
    e->m_strDate = "March 03 2002";
    e->m_strSwitcher = "MAIN";
    e->m_strLevel = "VIDEO";
    e->m_nRow = 2;
    e->m_strComment = "card 4";
    char sep = 0;
    std::istringstream in(text);
    in >> e->m_nOrigFirst;
    e->m_nOrigLast = e->m_nOrigFirst;
    if (in.peek() == '-') {
        in >> sep >> e->m_nOrigLast;
    }
    in >> sep >> e->m_nNewFirst;
    e->m_nNewLast = e->m_nNewFirst;
    if (in.peek() == '-') {
        in >> sep >> e->m_nNewLast;
    }
    return e;
}

std::string Describe(const CRemapEntry& e) {
    if (e.m_nOrigFirst == e.m_nOrigLast && e.m_nNewFirst == e.m_nNewLast) {
        return std::to_string(e.m_nOrigFirst) + ">" + std::to_string(e.m_nNewFirst);
    }
    return std::to_string(e.m_nOrigFirst) + "-" + std::to_string(e.m_nOrigLast) + ">" +
           std::to_string(e.m_nNewFirst) + "-" + std::to_string(e.m_nNewLast);
}

TEST(RemapRestore, SelectedRowsNarrowSplitOrRemoveTheirEntries) {
    struct Case {
        std::vector<std::string> table;
        std::set<int> rows;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {{"16-19>120-123"}, {1}, {"17-19>121-123"}},
        {{"16-19>120-123"}, {2}, {"16>120", "18-19>122-123"}},
        {{"16-19>120-123"}, {4}, {"16-18>120-122"}},
        {{"16-19>120-123"}, {1, 2, 3, 4}, {}},
        {{"16-19>120-123"}, {1, 4}, {"17-18>121-122"}},
        {{"16-19>120-123"}, {2, 3}, {"16>120", "19>123"}},
        {{"16-19>120-123"}, {3}, {"16-17>120-121", "19>123"}},
        {{"16-19>120-123"}, {}, {"16-19>120-123"}},
        // Rows of several entries in one Restore: later rows still line up.
        {{"16-19>120-123", "5>7", "30-31>40-41"}, {2, 5, 7}, {"16>120", "18-19>122-123", "30>40"}},
        {{"5>7", "6>8", "16-19>120-123"}, {1, 2, 5}, {"16-17>120-121", "19>123"}},
        {{"5>7", "6>8"}, {1, 2}, {}},
    };
    CTavDlg dlg;
    for (const Case& c : cases) {
        RemapTable table;
        int ports = 0;
        for (const auto& text : c.table) {
            table.push_back(Entry(text));
            ports += table.back()->m_nOrigLast - table.back()->m_nOrigFirst + 1;
        }
        std::ostringstream trace;
        for (const auto& text : c.table) {
            trace << text << " ";
        }
        for (int row : c.rows) {
            trace << "#" << row << " ";
        }
        SCOPED_TRACE(trace.str());
        std::vector<int> asked;
        const RestoreWalk walk = RestoreSelectedPorts(
            &table,
            [&](int row) {
                asked.push_back(row);
                return c.rows.count(row) != 0;
            },
            dlg);
        std::vector<std::string> got;
        for (const auto& e : table) {
            got.push_back(Describe(*e));
            // A split-off piece keeps everything but its numbers.
            EXPECT_EQ(e->m_strTime, "14:05:09");
            EXPECT_EQ(e->m_strDate, "March 03 2002");
            EXPECT_EQ(e->m_strSwitcher, "MAIN");
            EXPECT_EQ(e->m_strLevel, "VIDEO");
            EXPECT_EQ(e->m_nRow, 2);
            EXPECT_EQ(e->m_strComment, "card 4");
        }
        EXPECT_EQ(got, c.want);
        EXPECT_EQ(walk.keptRows, ports - static_cast<int>(c.rows.size()));
        EXPECT_EQ(walk.row, ports + 1);
        // Every row is looked at once, in order.
        std::vector<int> every;
        for (int row = 1; row <= ports; ++row) {
            every.push_back(row);
        }
        EXPECT_EQ(asked, every);
    }
}

TEST(RemapRestore, AbsentTableIsLeftAlone) {
    CTavDlg dlg;
    const RestoreWalk walk = RestoreSelectedPorts(
        nullptr, [](int) { return true; }, dlg);
    EXPECT_EQ(walk.keptRows, 0);
    EXPECT_EQ(walk.row, 1);
}

}  // namespace
