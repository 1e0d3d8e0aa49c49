#include "callmasks.h"

#include "logstore/qsodata.h"
#include "logstore/qsotables.h"

namespace vellum::detail {

std::uint64_t CallMasks::Bit(int band, int group)
{
    if (band < 1 || band > 15 || group < 0 || group > 3)
        return 0;
    return 1ull << ((band - 1) * 4 + group);
}

std::uint64_t CallMasks::BandBits(int band) { return Bit(band, 0) | Bit(band, 1) | Bit(band, 2) | Bit(band, 3); }

std::uint64_t CallMasks::qsoBit(const TQsoRec &qso) { return Bit(qso.Band, ModeGroupOf(qso.Mode)); }

CallMasks::CallMasks(const TQsoData &log)
{
    for (const TQsoRec *qso : log)
        Added(log, *qso);
}

void CallMasks::Added(const TQsoData &log, const TQsoRec &qso)
{
    if (qso.Call.empty() || !InSelection(log, qso))
        return;
    std::uint64_t &mask = m_masks.FindOrInsert(PackKey(qso.Call.view(), KeyCase::Exact));
    if (!(mask & Unknown))
        mask |= qsoBit(qso);
}

void CallMasks::Removing(const TQsoRec &qso)
{
    if (std::uint64_t *mask = m_masks.Find(PackKey(qso.Call.view(), KeyCase::Exact)))
        *mask = Unknown;
}

std::uint64_t CallMasks::MaskOf(const TQsoData &log, std::string_view call)
{
    if (call.empty())
        return 0;
    std::uint64_t *mask = m_masks.Find(PackKey(call, KeyCase::Exact));
    if (!mask)
        return 0;
    if (*mask & Unknown) {
        // Newest first through the call index, as the log holds the call now.
        std::uint64_t fresh = 0;
        for (std::int32_t i = log.EndOfCall(call) - 1; i >= 0 && log.ByCall().Get(i)->Call.view() == call; --i)
            if (InSelection(log, *log.ByCall().Get(i)))
                fresh |= qsoBit(*log.ByCall().Get(i));
        *mask = fresh;
    }
    return *mask;
}

} // namespace vellum::detail
