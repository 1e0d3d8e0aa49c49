#include "submission.h"

#include "logstore/qsotables.h"

#include <algorithm>

namespace vellum {

const SubmissionParams &SubmissionParamsOf(AwardIndex award)
{
    static const std::array<SubmissionParams, AwardCount> table = {{
        {AwardDXCC, 1, 100, 684},  // 80m, 40m, 20m, 15m, 10m
        {AwardWAZ, 2, 40, 684},
        {AwardWAS, 3, 50, 65198}, // 160m .. 10m without the WARC bands, 6m .. 23cm, Sat
        {AwardWPX, 3, 400, 0},
    }};
    return table[static_cast<std::size_t>(award)];
}

void SubmissionCounter::Count(TAwardStatus status)
{
    if (status == asConfirmed)
        ++confirmed;
    else if (status == asSubmitted)
        ++submitted;
    else if (status == asChecked)
        ++checked;
}

SubmissionCounters CountSubmissionLevels(TAwardModel &model, TQsoData &log, AwardIndex award)
{
    SubmissionCounters counters;
    model.ForEachEntity(log, award, [&counters](TAwardStatusBlock block) {
        counters.mixed.Count(MixedStatus(block));
        for (int group = 1; group <= 3; ++group)
            counters.groups[static_cast<std::size_t>(group)].Count(ModeGroupStatus(block, group));
        for (int band = 1; band <= 15; ++band)
            counters.bands[static_cast<std::size_t>(band)].Count(BandStatus(block, band));
    });
    return counters;
}

namespace {

AwardStartDates sameDate(std::uint16_t date) { return {date, date, date, date}; }

/// The entity block a submission may use for a QSO: a known entity, a date on
/// or after the start date of the QSO's mode group, the valid-for-DXCC flag for
/// DXCC, and for WPX a mode group other than 3 and a prefix in the table.
std::optional<TAwardStatusBlock> submissionBlock(TAwardModel &model, TQsoData &log, const TQsoRec &qso,
                                                 AwardIndex award, const AwardStartDates &startDates)
{
    int group = ModeGroupOf(qso.Mode);
    if (qso.Date < startDates[static_cast<std::size_t>(group)])
        return std::nullopt;
    if (award == AwardDXCC && !(qso.QslFlags & QslFlag::ValidDX))
        return std::nullopt;
    if (award == AwardWPX && group == mgDigital)
        return std::nullopt;
    return model.EntityBlock(log, qso, award);
}

bool confirmedWithReport(const TQsoData &log, const TQsoRec &qso)
{
    return (qso.QslFlags & QslFlag::Cnfm) && qso.RstRcvd != 0 && InSelection(log, qso);
}

/// Marks QSOs of one submission, level by level.
class SubmissionMarker {
public:
    /// apply false: the marks are worked out on the records, and the caller puts the
    /// flags back and applies them later (the log is not marked modified).
    SubmissionMarker(TAwardModel &model, TQsoData &log, AwardIndex award, UserNotifier &notifier, bool apply = true)
        : m_model(model), m_log(log), m_award(award), m_notifier(notifier), m_apply(apply),
          m_setup(model.Setup(award)), m_masks(AwardFlagMasks[static_cast<std::size_t>(award)]),
          m_startDates(sameDate(AwardStartDate(SubmissionParamsOf(award).Code)))
    {
    }

    SubmissionResult Run()
    {
        m_model.RebuildAwardTables(m_log, m_startDates);
        m_counters = CountSubmissionLevels(m_model, m_log, m_award);
        findEligibleLevels();
        if (std::any_of(m_counters.bands.begin(), m_counters.bands.end(), [](auto &c) { return c.eligible; }))
            eachMarkable([this](TQsoRec &qso, TAwardStatusBlock block) { bandPass(qso, block); });
        if (m_counters.mixed.eligible ||
            std::any_of(m_counters.groups.begin(), m_counters.groups.end(), [](auto &c) { return c.eligible; }))
            eachMarkable([this](TQsoRec &qso, TAwardStatusBlock block) { modePass(qso, block); });
        if (m_counters.mixed.eligible)
            eachMarkable([this](TQsoRec &qso, TAwardStatusBlock block) { mixedPass(qso, block); });
        std::sort(m_marked.begin(), m_marked.end());
        m_result.qsos = std::unique(m_marked.begin(), m_marked.end()) - m_marked.begin();
        m_log.InvalidateAwardTables();
        if (m_result.marks > 0 && m_apply)
            m_log.SetModified();
        return m_result;
    }

private:
    void findEligibleLevels()
    {
        const TConfigRecord &config = m_model.Config();
        int minimum = SubmissionParamsOf(m_award).Minimum;
        auto decide = [minimum](SubmissionCounter &counter, bool enabled) {
            counter.eligible = enabled && counter.confirmed > 0 && counter.Total() >= minimum;
        };
        decide(m_counters.mixed, m_setup.Mixed);
        for (int group = 1; group <= 3; ++group)
            decide(m_counters.groups[static_cast<std::size_t>(group)],
                   m_setup.ModeAwards && CountsModeGroup(config, m_setup, group));
        for (int band = 1; band <= 15; ++band)
            decide(m_counters.bands[static_cast<std::size_t>(band)],
                   m_setup.BandAwards && IsBandAward(config, m_setup, band));
    }

    /// Visits, newest first, the QSOs that pass the tests common to every pass.
    template <typename Visit>
    void eachMarkable(Visit visit)
    {
        const TConfigRecord &config = m_model.Config();
        for (std::int32_t i = m_log.Count() - 1; i >= 0; --i) {
            TQsoRec &qso = *m_log.Get(i);
            if (!IsBand(qso.Band) || !IsMode(qso.Mode) || !confirmedWithReport(m_log, qso) ||
                !CountsMode(config, m_setup, qso.Mode))
                continue;
            if (auto block = submissionBlock(m_model, m_log, qso, m_award, m_startDates))
                visit(qso, *block);
        }
    }

    void bandPass(TQsoRec &qso, TAwardStatusBlock block)
    {
        int group = ModeGroupOf(qso.Mode);
        if (!IsBandAward(m_model.Config(), m_setup, qso.Band) || !m_counters.bands[qso.Band].eligible ||
            BandStatus(block, qso.Band) != asConfirmed)
            return;
        mark(qso, block, BandCell(qso.Band, group), m_masks.band);
        markMode(qso, block);
        mixedPass(qso, block);
    }

    /// The mode pass: a QSO marked at its mode group is then tried at the mixed level.
    void modePass(TQsoRec &qso, TAwardStatusBlock block)
    {
        if (CountsBand(m_model.Config(), m_setup, qso.Band) && markMode(qso, block))
            mixedPass(qso, block);
    }

    bool markMode(TQsoRec &qso, TAwardStatusBlock block)
    {
        int group = ModeGroupOf(qso.Mode);
        if (!m_counters.groups[static_cast<std::size_t>(group)].eligible ||
            ModeGroupStatus(block, group) != asConfirmed)
            return false;
        mark(qso, block, group, m_masks.mode);
        return true;
    }

    void mixedPass(TQsoRec &qso, TAwardStatusBlock block)
    {
        if (m_counters.mixed.eligible && CountsBand(m_model.Config(), m_setup, qso.Band) &&
            MixedStatus(block) == asConfirmed)
            mark(qso, block, 0, m_masks.mixed);
    }

    void mark(TQsoRec &qso, TAwardStatusBlock block, int cell, std::uint32_t submittedMask)
    {
        if (block.Best(cell) > asConfirmed)
            m_notifier.error(SubmissionText::DoubleSubmission);
        if (m_marked.empty() || m_marked.back() != &qso)
            m_marked.push_back(&qso);
        qso.AwdFlags |= submittedMask;
        block.SetCell(cell, {asSubmitted, 1});
        ++m_result.marks;
    }

    TAwardModel &m_model;
    TQsoData &m_log;
    AwardIndex m_award;
    UserNotifier &m_notifier;
    bool m_apply;
    const TAwardSetup &m_setup;
    AwardMasks m_masks;
    AwardStartDates m_startDates;
    SubmissionCounters m_counters;
    SubmissionResult m_result;
    std::vector<const TQsoRec *> m_marked; ///< in the order marked; a QSO may come again in a later pass
};

} // namespace

SubmissionResult MarkSubmission(TAwardModel &model, TQsoData &log, AwardIndex award, UserNotifier &notifier)
{
    SubmissionResult result = SubmissionMarker(model, log, award, notifier).Run();
    // Marks set in place across the log: the log as it now stands is made safe at once.
    if (result.marks > 0)
        log.JournalCheckpoint();
    return result;
}

SubmissionPlan PlanSubmission(TAwardModel &model, TQsoData &log, AwardIndex award, UserNotifier &notifier)
{
    std::vector<std::uint32_t> before;
    before.reserve(static_cast<std::size_t>(log.Count()));
    for (const TQsoRec *qso : log)
        before.push_back(qso->AwdFlags);
    SubmissionPlan plan;
    plan.logCount = log.Count();
    plan.result = SubmissionMarker(model, log, award, notifier, false).Run();
    for (std::int32_t position = 0; position < log.Count(); ++position) {
        TQsoRec &qso = *log.Get(position);
        if (qso.AwdFlags == before[static_cast<std::size_t>(position)])
            continue;
        plan.changes.push_back({position, before[static_cast<std::size_t>(position)], qso.AwdFlags});
        qso.AwdFlags = before[static_cast<std::size_t>(position)];
    }
    return plan;
}

std::int64_t ApplySubmissionPlan(TQsoData &log, const SubmissionPlan &plan)
{
    if (plan.changes.empty() || log.Count() != plan.logCount)
        return 0;
    auto next = plan.changes.begin();
    std::int32_t position = 0;
    return log.ChangeQsos([&](TQsoRec &qso) {
        bool planned = next != plan.changes.end() && next->position == position++;
        if (!planned)
            return false;
        const SubmissionPlan::Change &change = *next++;
        if (qso.AwdFlags != change.before)
            return false;
        qso.AwdFlags = change.after;
        return true;
    });
}

std::vector<const TQsoRec *> SubmittedQsos(const TQsoData &log, AwardIndex award)
{
    const AwardMasks &masks = AwardFlagMasks[static_cast<std::size_t>(award)];
    std::uint32_t any = masks.mixed | masks.mode | masks.band;
    std::vector<const TQsoRec *> list;
    for (const TQsoRec *qso : log)
        if ((qso->AwdFlags & any) && InSelection(log, *qso))
            list.push_back(qso);
    return list;
}

// --- five-band selection ----------------------------------------------------------------

namespace {

bool inFiveBandSet(std::uint16_t set, int band) { return IsRealBand(band) && ((set >> band) & 1); }

std::string joinBandNames(const std::vector<int> &bands)
{
    std::string text;
    for (int band : bands)
        text += (text.empty() ? "" : ", ") + std::string(BandTable[static_cast<std::size_t>(band)].name);
    return text;
}

} // namespace

FiveBandResult SelectFiveBand(TAwardModel &model, TQsoData &log, AwardIndex award, UserNotifier &notifier)
{
    FiveBandResult result;
    const SubmissionParams &params = SubmissionParamsOf(award);
    if (params.FiveBandSet == 0)
        return result;
    const TConfigRecord &config = model.Config();
    const TAwardSetup &setup = model.Setup(award);
    AwardStartDates startDates = sameDate(AwardStartDate(-params.Code));
    model.RebuildAwardTables(log, startDates);
    for (TQsoRec *qso : log)
        qso->QslFlags &= static_cast<std::uint8_t>(~QslFlag::Mark);

    std::array<SubmissionCounter, 16> bands{};
    model.ForEachEntity(log, award, [&bands](TAwardStatusBlock block) {
        block.ClearFiveBandFlags();
        for (int band = 1; band <= 15; ++band)
            bands[static_cast<std::size_t>(band)].Count(BandStatus(block, band));
    });
    std::array<bool, 16> good{};
    int goodBands = 0;
    std::int64_t sum = 0;
    for (int band = 1; band <= 15; ++band) {
        if (!inFiveBandSet(params.FiveBandSet, band))
            continue;
        std::int32_t total = bands[static_cast<std::size_t>(band)].Total();
        good[static_cast<std::size_t>(band)] = award == AwardWAZ ? total > 0 : total >= params.Minimum;
        goodBands += good[static_cast<std::size_t>(band)] ? 1 : 0;
        sum += total;
    }
    if (award == AwardWAZ ? sum < 150 : goodBands <= 4) {
        notifier.warning(SubmissionText::NoFiveBand);
        log.InvalidateAwardTables();
        return result;
    }
    result.allowed = true;
    for (int band = 1; band <= 15; ++band) {
        SubmissionCounter &counter = bands[static_cast<std::size_t>(band)];
        if (!inFiveBandSet(params.FiveBandSet, band) || !CountsBand(config, setup, band))
            continue;
        if (counter.submitted + counter.checked >= params.Minimum)
            result.excludedBands.push_back(band);
        else
            counter.eligible = good[static_cast<std::size_t>(band)];
    }
    if (!result.excludedBands.empty())
        notifier.information(SubmissionText::BandsExcluded + joinBandNames(result.excludedBands));

    for (std::int32_t i = log.Count() - 1; i >= 0; --i) {
        TQsoRec &qso = *log.Get(i);
        if (!inFiveBandSet(params.FiveBandSet, qso.Band) || !bands[qso.Band].eligible ||
            result.selected[qso.Band] >= params.Minimum + 5 || !CountsBand(config, setup, qso.Band) ||
            !confirmedWithReport(log, qso))
            continue;
        auto block = submissionBlock(model, log, qso, award, startDates);
        if (!block || block->FiveBandUsed(qso.Band))
            continue;
        qso.QslFlags |= QslFlag::Mark;
        block->SetFiveBandUsed(qso.Band, true);
        ++result.selected[qso.Band];
    }
    // The tables hold the five-band start date now; readers outside the report want their own.
    log.InvalidateAwardTables();
    log.JournalCheckpoint(); // marks set in place across the log
    return result;
}

std::vector<const TQsoRec *> MarkedQsos(const TQsoData &log)
{
    std::vector<const TQsoRec *> list;
    for (const TQsoRec *qso : log)
        if (qso->QslFlags & QslFlag::Mark)
            list.push_back(qso);
    return list;
}

// --- change award flags ----------------------------------------------------------------------

const std::array<const char *, 4> FlagActionNames = {"Clear Submitted", "Clear Checked", "Clear Subm && Checked",
                                                     "Submitted -> Checked"};

namespace {
std::uint32_t changedFlags(std::uint32_t flags, std::uint32_t submitted, std::uint32_t checked, FlagAction action)
{
    switch (action) {
    case FlagAction::ClearSubmitted: return flags & ~submitted;
    case FlagAction::ClearChecked: return flags & ~checked;
    case FlagAction::ClearBoth: return flags & ~(submitted | checked);
    case FlagAction::SubmittedToChecked: return (flags & submitted) ? ((flags & ~submitted) | checked) : flags;
    }
    return flags;
}
} // namespace

std::int64_t ChangeAwardFlags(TQsoData &log, int pair, FlagAction action)
{
    if (pair < 0 || static_cast<std::size_t>(pair) >= AwardFlagTable.size())
        return 0;
    const AwardFlagPair &flags = AwardFlagTable[static_cast<std::size_t>(pair)];
    return log.ChangeQsos([&](TQsoRec &qso) {
        std::uint32_t after = changedFlags(qso.AwdFlags, flags.submitted, flags.checked, action);
        if (after == qso.AwdFlags || !InSelection(log, qso))
            return false;
        qso.AwdFlags = after;
        return true;
    });
}

} // namespace vellum
