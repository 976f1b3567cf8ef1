#include "views/remap_restore.h"

#include "remap/tav_dlg.h"

RestoreWalk RestoreSelectedPorts(RemapTable* table, const std::function<bool(int row)>& selected,
                                 const CTavDlg& dlg) {
    RestoreWalk walk;
    if (table == nullptr) {
        return walk;
    }
    // i is re-read against the table's size after every removal and insertion.
    for (std::size_t i = 0; i < table->size();) {
        CRemapEntry& e = *(*table)[i];
        const auto at = table->begin() + static_cast<std::ptrdiff_t>(i);
        if (e.m_nOrigFirst == e.m_nOrigLast) {
            if (selected(walk.row)) {
                table->erase(at);
            } else {
                ++walk.keptRows;
                ++i;
            }
            ++walk.row;
            continue;
        }
        int removed = 0;
        const int span = e.m_nOrigLast - e.m_nOrigFirst;
        std::size_t next = i + 1;
        for (int k = 0; k <= span; ++k) {
            if (!selected(walk.row)) {
                ++walk.keptRows;
                ++walk.row;
                continue;
            }
            ++walk.row;
            if (e.m_nNewFirst == e.m_nNewLast) {
                table->erase(at);  // its last port: the next entry takes its index
                next = i;
                break;
            }
            if (k - removed == 0) {
                ++e.m_nOrigFirst;
                ++e.m_nNewFirst;
                ++removed;
                continue;
            }
            if (k == (e.m_nNewLast - e.m_nNewFirst) + removed) {
                --e.m_nOrigLast;
                --e.m_nNewLast;
                continue;
            }
            // Inside the entry: the ports after this one become an entry of their own, which
            // the walk takes next, its rows continuing from here.
            const int offset = k - removed;
            auto piece = dlg.CopyRemapEntry(e, e.m_nOrigFirst + offset + 1, e.m_nOrigLast,
                                            e.m_nNewFirst + offset + 1, e.m_nNewLast);
            e.m_nOrigLast = e.m_nOrigFirst + offset - 1;
            e.m_nNewLast = e.m_nNewFirst + offset - 1;
            table->insert(at + 1, std::move(piece));
            break;
        }
        i = next;
    }
    return walk;
}
