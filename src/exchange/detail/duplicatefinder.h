#pragma once
// Finds the QSO of the log with the same date, time, call, band and mode as an
// imported one (the log's master order), while an import appends QSOs to the
// log without keeping its lists sorted.

#include "logstore/qsorec.h"

#include <cstdint>
#include <set>

namespace vellum {

class TQsoData;

class DuplicateFinder {
public:
    /// Over the log's QSOs as they stand: the log must be in its master order and
    /// may from now on only grow at its end, or change records in place without
    /// changing their master-order key.
    explicit DuplicateFinder(const TQsoData &log);

    /// The QSO equal to qso in the master order, or nullptr.
    TQsoRec *Find(const TQsoRec &qso) const;
    /// Makes a QSO added since construction findable.
    void Add(TQsoRec *qso);

private:
    struct Less {
        using is_transparent = void;
        bool operator()(const TQsoRec *a, const TQsoRec *b) const;
    };
    const TQsoData &m_log;
    std::int32_t m_sortedCount;
    std::set<TQsoRec *, Less> m_added;
};

} // namespace vellum
