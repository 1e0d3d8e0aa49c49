#include "awardmodel.h"

#include "detail/callmasks.h"
#include "detail/packedmap.h"

#include "logstore/qsotables.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

namespace vellum {

namespace {

std::uint64_t nextSerial()
{
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

TAwardStatusBlock blockAt(std::uint8_t *bytes)
{
    return TAwardStatusBlock(std::span<std::uint8_t, StatusBlockSize>(bytes, StatusBlockSize));
}

constexpr std::array<AwardIndex, AwardCount> AllAwards = {AwardDXCC, AwardWAZ, AwardWAS, AwardWPX};

/// Merges a QSO's triple into its three cells (mixed, mode group, band in group).
void mergeTriple(std::uint8_t *bytes, const TQsoRec &qso, StatusTriple triple)
{
    TAwardStatusBlock block = blockAt(bytes);
    int group = ModeGroupOf(qso.Mode);
    block.Merge(0, triple.mixed);
    block.Merge(group, triple.mode);
    if (IsRealBand(qso.Band)) // extended bands count at the mixed and mode-group levels only
        block.Merge(BandCell(qso.Band, group), triple.band);
}

/// Takes a triple out in the order mixed, mode, band; false at the first cell
/// that cannot be un-merged exactly.
bool unmergeTriple(std::uint8_t *bytes, const TQsoRec &qso, StatusTriple triple)
{
    TAwardStatusBlock block = blockAt(bytes);
    int group = ModeGroupOf(qso.Mode);
    return block.Unmerge(0, triple.mixed) && block.Unmerge(group, triple.mode) &&
           (!IsRealBand(qso.Band) || block.Unmerge(BandCell(qso.Band, group), triple.band));
}

} // namespace

bool AwardTableInputs::operator==(const AwardTableInputs &other) const
{
    // TAwardSetup is a record of single bytes (alignment 1, no padding), so its bytes are its value.
    return selection == other.selection && workedCutoff == other.workedCutoff &&
           mailedCutoff == other.mailedCutoff && today == other.today &&
           std::memcmp(setups.data(), other.setups.data(), sizeof setups) == 0;
}

TLogAwardBlocks::TLogAwardBlocks() : Serial(nextSerial()) {}
TLogAwardBlocks::~TLogAwardBlocks() = default;

TAwardModel::TAwardModel(TCountryData &countries, const TConfigRecord &config)
    : m_countries(countries), m_config(config), m_resolver(countries), m_today(TodayDayNumber())
{
}

// --- the log's blocks and the inputs of a build -----------------------------------------

TLogAwardBlocks &TAwardModel::blocksOf(TQsoData &log)
{
    auto *blocks = dynamic_cast<TLogAwardBlocks *>(log.AwardBlocks.get());
    if (!blocks) {
        log.AwardBlocks = std::make_unique<TLogAwardBlocks>();
        blocks = static_cast<TLogAwardBlocks *>(log.AwardBlocks.get());
    }
    return *blocks;
}

AwardTableInputs TAwardModel::currentInputs(const TQsoData &log) const
{
    AwardTableInputs inputs;
    StoreSelection(log.CurSelection, inputs.selection);
    std::copy(m_config.AwardSetup.begin(), m_config.AwardSetup.end(), inputs.setups.begin());
    inputs.workedCutoff = m_config.WorkedCutoff;
    inputs.mailedCutoff = m_config.MailedCutoff;
    inputs.today = m_today;
    return inputs;
}

bool TAwardModel::TablesCurrent(const TQsoData &log) const
{
    const auto *blocks = dynamic_cast<const TLogAwardBlocks *>(log.AwardBlocks.get());
    return log.AwardTablesValid() && blocks && blocks->Serial == m_ownerSerial && blocks->Inputs == currentInputs(log);
}

AwardStartDates TAwardModel::StartDatesOf(TQsoData &log) { return blocksOf(log).StartDates; }

TAwardStatus TAwardModel::countedStatus(const TQsoData &log, const TLogAwardBlocks &blocks, const TQsoRec &qso) const
{
    TAwardStatus status = TQsoStatusRule(log.CurSelection, m_config, m_today).Status(qso);
    // The start date keeps a QSO out of the tables on adding and removing as on a rebuild.
    if (status != asNotWorked && qso.Date < blocks.StartDates[static_cast<std::size_t>(ModeGroupOf(qso.Mode))])
        return asNotWorked;
    return status;
}

bool TAwardModel::CountsQso(const TQsoRec &qso, AwardIndex award) const
{
    if (!IsBand(qso.Band) || !IsMode(qso.Mode))
        return false;
    const TAwardSetup &setup = Setup(award);
    if (!setup.ValidBands[static_cast<std::size_t>(SettingsBandOf(qso.Band))] ||
        !setup.ValidModes[static_cast<std::size_t>(SettingsModeOf(qso.Mode))])
        return false;
    switch (award) {
    case AwardDXCC: return (qso.QslFlags & QslFlag::ValidDX) && m_countries.ValidCountry(qso.Country);
    case AwardWAZ: return qso.Zone < ZoneBlockCount;
    case AwardWAS: return qso.State != 0 && qso.State < StateBlockCount;
    case AwardWPX: return !qso.WpxPfx.empty();
    default: return false;
    }
}

// --- the WPX table ---------------------------------------------------------------------------

std::uint8_t *TAwardModel::findWpx(std::string_view prefix) const
{
    if (prefix.empty() || prefix.size() > WpxField::PrefixCapacity)
        return nullptr;
    std::array<std::uint8_t, WpxField::Size> key{};
    key[0] = static_cast<std::uint8_t>(prefix.size());
    std::memcpy(key.data() + 1, prefix.data(), prefix.size());
    std::int32_t position = 0;
    if (!m_countries.Wpx.Search(key.data(), position))
        return nullptr;
    return m_countries.Wpx.Get(position);
}

std::uint8_t *TAwardModel::newWpxRecord(std::string_view prefix) const
{
    auto *record = new std::uint8_t[WpxField::Size]();
    record[WpxField::Prefix] = static_cast<std::uint8_t>(prefix.size());
    std::memcpy(record + WpxField::Prefix + 1, prefix.data(), prefix.size());
    record[WpxField::Deleted] = m_resolver.IsDeletedWpx(prefix) ? 1 : 0;
    return record;
}

std::optional<TAwardStatusBlock> TAwardModel::WpxBlock(std::string_view prefix)
{
    std::uint8_t *record = findWpx(prefix);
    if (!record)
        return std::nullopt;
    return blockAt(record + WpxField::AwardStatus);
}

bool TAwardModel::WpxEntryDeleted(std::string_view prefix) const
{
    const std::uint8_t *record = findWpx(prefix);
    return record && record[WpxField::Deleted] != 0;
}

// --- blocks ----------------------------------------------------------------------------------------

std::optional<TAwardStatusBlock> TAwardModel::CountryBlock(int country)
{
    AwardStatusBlock *block = m_countries.AwardStatusOf(country);
    if (!block)
        return std::nullopt;
    return TAwardStatusBlock(*block);
}

std::optional<TAwardStatusBlock> TAwardModel::ZoneBlock(TQsoData &log, int zone)
{
    if (zone < 0 || zone >= ZoneBlockCount)
        return std::nullopt;
    return TAwardStatusBlock(blocksOf(log).Zones[static_cast<std::size_t>(zone)]);
}

std::optional<TAwardStatusBlock> TAwardModel::StateBlock(TQsoData &log, int state)
{
    if (state < 0 || state >= StateBlockCount)
        return std::nullopt;
    return TAwardStatusBlock(blocksOf(log).States[static_cast<std::size_t>(state)]);
}

std::optional<TAwardStatusBlock> TAwardModel::EntityBlock(TQsoData &log, const TQsoRec &qso, AwardIndex award)
{
    switch (award) {
    case AwardDXCC: return qso.Country != 0 ? CountryBlock(qso.Country) : std::nullopt;
    case AwardWAZ: return qso.Zone != 0 ? ZoneBlock(log, qso.Zone) : std::nullopt;
    case AwardWAS: return qso.State != 0 ? StateBlock(log, qso.State) : std::nullopt;
    case AwardWPX: return WpxBlock(qso.WpxPfx.view());
    default: return std::nullopt;
    }
}

void TAwardModel::ForEachEntity(TQsoData &log, AwardIndex award, const std::function<void(TAwardStatusBlock)> &visit)
{
    switch (award) {
    case AwardDXCC:
        for (std::int32_t country = 1; country < m_countries.CountryCount(); ++country)
            visit(*CountryBlock(country));
        break;
    case AwardWAZ:
        for (int zone = 1; zone < ZoneBlockCount; ++zone)
            visit(*ZoneBlock(log, zone));
        break;
    case AwardWAS:
        for (int state = 1; state < StateBlockCount; ++state)
            visit(*StateBlock(log, state));
        break;
    case AwardWPX:
        for (std::uint8_t *record : m_countries.Wpx)
            visit(blockAt(record + WpxField::AwardStatus));
        break;
    default: break;
    }
}

std::uint8_t *TAwardModel::findBlock(TQsoData &log, const TQsoRec &qso, AwardIndex award, bool create)
{
    switch (award) {
    case AwardDXCC: {
        AwardStatusBlock *block = m_countries.AwardStatusOf(qso.Country);
        return block ? block->data() : nullptr;
    }
    case AwardWAZ: return blocksOf(log).Zones[qso.Zone].data();
    case AwardWAS: return blocksOf(log).States[qso.State].data();
    case AwardWPX: {
        std::uint8_t *record = findWpx(qso.WpxPfx.view());
        if (!record && create) {
            record = newWpxRecord(qso.WpxPfx.view());
            m_countries.Wpx.InsertSorted(record);
        }
        return record ? record + WpxField::AwardStatus : nullptr;
    }
    default: return nullptr;
    }
}

// --- adding and removing ---------------------------------------------------------------------

void TAwardModel::AddQsoToAwards(TQsoData &log, const TQsoRec &rec)
{
    if (!TablesCurrent(log)) {
        log.InvalidateAwardTables();
        return;
    }
    TLogAwardBlocks &blocks = blocksOf(log);
    if (blocks.Calls)
        blocks.Calls->Added(log, rec);
    TAwardStatus status = countedStatus(log, blocks, rec);
    if (status == asNotWorked)
        return;
    for (AwardIndex award : AllAwards) {
        if (!CountsQso(rec, award))
            continue;
        if (std::uint8_t *block = findBlock(log, rec, award, true))
            mergeTriple(block, rec, AwardTriple(rec, status, award));
    }
}

bool TAwardModel::removeExactly(TQsoData &log, const TQsoRec &rec)
{
    if (!TablesCurrent(log))
        return false;
    TLogAwardBlocks &blocks = blocksOf(log);
    if (blocks.Calls)
        blocks.Calls->Removing(rec);
    TAwardStatus status = countedStatus(log, blocks, rec);
    if (status == asNotWorked)
        return true; // it never reached the tables
    for (AwardIndex award : AllAwards) {
        if (!CountsQso(rec, award))
            continue;
        std::uint8_t *block = findBlock(log, rec, award, false);
        if (!block || !unmergeTriple(block, rec, AwardTriple(rec, status, award)))
            return false;
    }
    return true;
}

void TAwardModel::RemoveQsoFromAwards(TQsoData &log, const TQsoRec &rec)
{
    if (log.AwardTablesValid() && !removeExactly(log, rec))
        log.InvalidateAwardTables();
}

// --- rebuilding ------------------------------------------------------------------------------------

void TAwardModel::ClearAwardTables(TQsoData &log)
{
    TLogAwardBlocks &blocks = blocksOf(log);
    for (std::int32_t country = 0; country < m_countries.CountryCount(); ++country)
        m_countries.AwardStatusOf(country)->fill(0);
    for (TStatusBlockBytes &zone : blocks.Zones)
        zone.fill(0);
    for (TStatusBlockBytes &state : blocks.States)
        state.fill(0);
    m_countries.Wpx.FreeAll();
    log.InvalidateAwardTables();
    m_ownerSerial = 0;
}

/// One pass over the log that fills the tables: the country blocks are found by
/// index and the WPX entries through a hash map, so that no QSO costs a search;
/// the new WPX entries join the table in key order at the end.
class TAwardModel::Builder {
public:
    Builder(TAwardModel &model, TQsoData &log, TLogAwardBlocks &blocks)
        : m_model(model), m_blocks(blocks), m_rule(log.CurSelection, model.m_config, model.m_today)
    {
        for (std::int32_t country = 0; country < model.m_countries.CountryCount(); ++country)
            m_countryBlocks.push_back(model.m_countries.AwardStatusOf(country)->data());
    }

    void Add(const TQsoRec &qso)
    {
        TAwardStatus status = m_rule.Status(qso);
        if (status == asNotWorked || qso.Date < m_blocks.StartDates[static_cast<std::size_t>(ModeGroupOf(qso.Mode))])
            return;
        for (AwardIndex award : AllAwards)
            if (m_model.CountsQso(qso, award))
                mergeTriple(block(qso, award), qso, AwardTriple(qso, status, award));
    }

    /// Appends the new WPX entries to the (emptied) table in key order.
    void FinishWpx()
    {
        TWPXIndex &table = m_model.m_countries.Wpx;
        std::sort(m_newWpx.begin(), m_newWpx.end(), [&table](const auto &a, const auto &b) {
            return table.CompareKeys(a.get(), b.get()) < 0;
        });
        table.SetCapacity(table.Count() + static_cast<std::int64_t>(m_newWpx.size()));
        for (auto &record : m_newWpx)
            table.Add(record.release());
        m_newWpx.clear();
    }

private:
    std::uint8_t *block(const TQsoRec &qso, AwardIndex award)
    {
        switch (award) {
        case AwardDXCC: return m_countryBlocks[static_cast<std::size_t>(qso.Country)];
        case AwardWAZ: return m_blocks.Zones[qso.Zone].data();
        case AwardWAS: return m_blocks.States[qso.State].data();
        default: return wpxBlock(qso.WpxPfx.view());
        }
    }

    std::uint8_t *wpxBlock(std::string_view prefix)
    {
        std::uint8_t *&entry = m_wpx.FindOrInsert(detail::PackKey(prefix, detail::KeyCase::Blind), nullptr);
        if (!entry) {
            m_newWpx.emplace_back(m_model.newWpxRecord(prefix));
            entry = m_newWpx.back().get();
        }
        return entry + WpxField::AwardStatus;
    }

    TAwardModel &m_model;
    TLogAwardBlocks &m_blocks;
    TQsoStatusRule m_rule;
    std::vector<std::uint8_t *> m_countryBlocks;
    detail::PackedMap<std::uint8_t *> m_wpx;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_newWpx;
};

void TAwardModel::RebuildAwardTables(TQsoData &log, const AwardStartDates &startDates)
{
    TLogAwardBlocks &blocks = blocksOf(log);
    if (TablesCurrent(log) && blocks.StartDates == startDates)
        return;
    ClearAwardTables(log);
    blocks.Calls.reset();
    blocks.StartDates = startDates;
    Builder builder(*this, log, blocks);
    // The records lie anywhere in memory: fetch a few ahead while one is counted.
    constexpr std::int32_t Ahead = 8;
    for (std::int32_t i = 0; i < log.Count(); ++i) {
        if (i + Ahead < log.Count()) {
            const auto *ahead = reinterpret_cast<const char *>(log.Get(i + Ahead));
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + sizeof(TQsoRec) - 1);
        }
        builder.Add(*log.Get(i));
    }
    builder.FinishWpx();
    blocks.Inputs = currentInputs(log);
    m_ownerSerial = blocks.Serial;
    log.MarkAwardTablesValid();
}

bool TAwardModel::CallWorkedOn(TQsoData &log, std::string_view call, int band, int group)
{
    TLogAwardBlocks &blocks = blocksOf(log);
    if (!blocks.Calls)
        blocks.Calls = std::make_unique<detail::CallMasks>(log);
    std::uint64_t bits = group == mgMixed ? detail::CallMasks::BandBits(band) : detail::CallMasks::Bit(band, group);
    return (blocks.Calls->MaskOf(log, call) & bits) != 0;
}

void TAwardModel::EnsureAwardTables(TQsoData &log)
{
    if (!TablesCurrent(log))
        RebuildAwardTables(log, DefaultStartDates());
}

} // namespace vellum
