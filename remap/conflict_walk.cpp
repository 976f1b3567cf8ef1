#include "remap/conflict_walk.h"

#include <cstddef>

#include "common/format.h"
#include "platform/fw/resources.h"
#include "res/resource.h"

namespace remap {

namespace {

constexpr fw::UINT kQuestion = fw::MB_YESNOCANCEL | fw::MB_ICONHAND;

bool Within(int value, int first, int last) {
    return first <= value && value <= last;
}

bool Overlap(int aFirst, int aLast, int bFirst, int bLast) {
    return Within(aFirst, bFirst, bLast) || Within(aLast, bFirst, bLast) ||
           Within(bFirst, aFirst, aLast) || Within(bLast, aFirst, aLast);
}

class Walk {
  public:
    Walk(RemapTable& table, const RemapNumbers& n, const std::string& io, const std::string& mode,
         const AskFn& ask)
        : m_table(table), m_n(n), m_io(io), m_mode(mode), m_ask(ask) {}

    enum class Step {
        Next,       // no clash: on to the next entry
        Deleted,    // the entry goes
        Stands,     // the entry now stands for the new remap
        Reexamine,  // a port was taken out: what is left of the entry is examined again
        Abort
    };

    // Every entry of the row is examined, also after a Yes: a clash further down the table
    // would otherwise stay beside the new remap, two originals on one new number or one original
    // in two entries, and the outcome would hang on the order of the entries.
    WalkOutcome Run(int row) {
        WalkOutcome outcome;
        for (std::size_t i = 0; i < m_table.size();) {
            CRemapEntry* e = m_table[i].get();
            if (e->m_nRow != row || e == m_standing) {
                ++i;
                continue;
            }
            switch (Examine(i)) {
                case Step::Next:
                    ++i;
                    break;
                case Step::Deleted:
                    m_table.erase(m_table.begin() + static_cast<std::ptrdiff_t>(i));
                    break;
                case Step::Stands:
                    m_standing = e;
                    outcome.replacedInPlace = true;
                    ++i;
                    break;
                case Step::Reexamine:
                    break;  // index i now holds the first piece left of the entry
                case Step::Abort:
                    outcome.abort = true;
                    return outcome;
            }
        }
        return outcome;
    }

  private:
    template <class... Args>
    bool Yes(fw::UINT id, const Args&... args) {
        return m_ask(tav::Format(fw::LoadString(id), args...), kQuestion) == fw::IDYES;
    }

    Step Conflict() {
        m_ask(fw::LoadString(IDS_REMAP_CONFLICT), fw::MB_OK | fw::MB_ICONHAND);
        return Step::Abort;
    }

    bool IsNewRemap(const CRemapEntry& e) const {
        const auto& [of, ol, nf, nl] = m_n;
        return e.m_nOrigFirst == of && e.m_nOrigLast == ol && e.m_nNewFirst == nf &&
               e.m_nNewLast == nl;
    }

    Step Examine(std::size_t i) {
        CRemapEntry& e = *m_table[i];
        const auto& [of, ol, nf, nl] = m_n;
        if (IsNewRemap(e)) {
            if (!Yes(IDS_SAME_REMAP, m_io, m_io)) {
                return Step::Abort;
            }
            // A second copy goes: one entry for one remap.
            return m_standing != nullptr ? Step::Deleted : Step::Stands;
        }
        if (e.m_nNewFirst == e.m_nNewLast) {
            if (Within(e.m_nOrigFirst, of, ol)) {
                return Yes(IDS_ORIGINAL_REMAPPED, m_mode, m_io, of, m_io, e.m_nNewFirst)
                           ? Step::Deleted
                           : Step::Abort;
            }
            if (Within(e.m_nNewFirst, nf, nl)) {
                return Yes(IDS_NEW_REMAPPED, m_mode, m_io, nf, m_io, e.m_nOrigFirst) ? Step::Deleted
                                                                                     : Step::Abort;
            }
            if (Within(e.m_nNewFirst, of, ol) || Within(e.m_nOrigFirst, nf, nl)) {
                return Conflict();
            }
            return Step::Next;
        }
        if (nl - nf > 0) {
            return ExamineRanges(e);
        }
        if (nl == nf) {
            return ExamineSingleAgainstRange(i);
        }
        return Step::Next;
    }

    Step ExamineRanges(CRemapEntry& e) {
        const auto& [of, ol, nf, nl] = m_n;
        bool asked = false;
        if (e.m_nOrigFirst == of && e.m_nOrigLast == ol) {
            asked = true;
            if (!Yes(IDS_ORIGINAL_RANGE_REMAPPED, m_mode, m_io, of, ol, m_io, e.m_nNewFirst,
                     e.m_nNewLast)) {
                return Step::Abort;
            }
        } else if (e.m_nNewFirst == nf && e.m_nNewLast == nl) {
            asked = true;
            if (!Yes(IDS_NEW_RANGE_REMAPPED, m_mode, m_io, nf, nl, m_io, e.m_nOrigFirst,
                     e.m_nOrigLast)) {
                return Step::Abort;
            }
        }
        if (asked) {
            if (m_standing != nullptr) {
                return Step::Deleted;  // another entry already took the new remap's numbers
            }
            e.m_nOrigFirst = of;
            e.m_nOrigLast = ol;
            e.m_nNewFirst = nf;
            e.m_nNewLast = nl;
            return Step::Stands;
        }
        for (const auto& [first, last] : {std::pair{of, ol}, std::pair{nf, nl}}) {
            if (Overlap(first, last, e.m_nOrigFirst, e.m_nOrigLast) ||
                Overlap(first, last, e.m_nNewFirst, e.m_nNewLast)) {
                return Conflict();
            }
        }
        return Step::Next;
    }

    // A range can clash with a single remap twice, once by its original and once by its new
    // number: after one port is taken out, the pieces left are examined again.
    Step ExamineSingleAgainstRange(std::size_t i) {
        CRemapEntry& e = *m_table[i];
        const auto& [of, ol, nf, nl] = m_n;
        const int lastK = e.m_nNewLast - e.m_nNewFirst;
        for (int k = 0; k <= lastK; ++k) {
            bool yes = false;
            if (e.m_nOrigFirst + k == of) {
                yes = Yes(IDS_ORIGINAL_REMAPPED, m_mode, m_io, of, m_io, e.m_nNewFirst + k);
            } else if (e.m_nNewFirst + k == nf) {
                yes = Yes(IDS_NEW_REMAPPED, m_mode, m_io, nf, m_io, e.m_nOrigFirst + k);
            } else {
                if (Within(nf, e.m_nOrigFirst, e.m_nOrigLast) ||
                    Within(of, e.m_nNewFirst, e.m_nNewLast)) {
                    return Conflict();
                }
                continue;
            }
            if (!yes) {
                return Step::Abort;
            }
            TakePortOut(i, k, lastK);
            return Step::Reexamine;
        }
        return Step::Next;
    }

    void TakePortOut(std::size_t i, int k, int lastK) {
        CRemapEntry& e = *m_table[i];
        if (k == 0) {
            ++e.m_nOrigFirst;
            ++e.m_nNewFirst;
        } else if (k == lastK) {
            --e.m_nOrigLast;
            --e.m_nNewLast;
        } else {
            auto head = std::make_unique<CRemapEntry>(e);
            head->m_nOrigLast = e.m_nOrigFirst + k - 1;
            head->m_nNewLast = e.m_nNewFirst + k - 1;
            e.m_nOrigFirst += k + 1;
            e.m_nNewFirst += k + 1;
            m_table.insert(m_table.begin() + static_cast<std::ptrdiff_t>(i), std::move(head));
        }
    }

    RemapTable& m_table;
    const RemapNumbers& m_n;
    const std::string& m_io;
    const std::string& m_mode;
    const AskFn& m_ask;
    // The entry that stands for the new remap once one does; no other may take its numbers.
    const CRemapEntry* m_standing = nullptr;
};

}  // namespace

WalkOutcome WalkConflicts(RemapTable& table, int row, const RemapNumbers& remap,
                          const std::string& ioWord, const std::string& modeWord,
                          const AskFn& ask) {
    return Walk(table, remap, ioWord, modeWord, ask).Run(row);
}

}  // namespace remap
