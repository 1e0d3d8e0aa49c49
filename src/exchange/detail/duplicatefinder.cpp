#include "duplicatefinder.h"

#include "logstore/qsodata.h"
#include "logstore/qsoorders.h"

#include <algorithm>

namespace vellum {

bool DuplicateFinder::Less::operator()(const TQsoRec *a, const TQsoRec *b) const { return CompareDateOrder(a, b) < 0; }

DuplicateFinder::DuplicateFinder(const TQsoData &log) : m_log(log), m_sortedCount(log.Count()) {}

TQsoRec *DuplicateFinder::Find(const TQsoRec &qso) const
{
    TQsoRec *const *begin = m_log.begin();
    TQsoRec *const *end = begin + m_sortedCount;
    TQsoRec *const *at = std::lower_bound(begin, end, &qso, Less());
    if (at != end && CompareDateOrder(*at, &qso) == 0)
        return *at;
    auto added = m_added.find(&qso);
    return added == m_added.end() ? nullptr : *added;
}

void DuplicateFinder::Add(TQsoRec *qso) { m_added.insert(qso); }

} // namespace vellum
