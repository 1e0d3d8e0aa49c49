#include "awardentities.h"

#include "awards/submission.h"
#include "country/countrytables.h"
#include "logstore/daytime.h"

namespace vellum {

AwardIndex AwardOf(EntitySet set)
{
    switch (set) {
    case EntitySet::CurrentCountries:
    case EntitySet::CountriesWithDeleted: return AwardDXCC;
    case EntitySet::Zones: return AwardWAZ;
    case EntitySet::States: return AwardWAS;
    case EntitySet::WpxPrefixes:
    case EntitySet::WpxPrefixesNotDeleted: return AwardWPX;
    }
    return AwardDXCC;
}

void RebuildForReport(TAwardModel &model, TQsoData &log, AwardIndex award)
{
    std::uint16_t start = AwardStartDate(SubmissionParamsOf(award).Code);
    model.RebuildAwardTables(log, {start, start, start, start});
}

namespace {

TConstStatusBlock constBlock(TAwardStatusBlock block) { return block; }

void addCountries(TAwardModel &model, std::vector<ReportEntity> &out, bool deleted, bool withDelColumn)
{
    TCountryData &countries = model.Countries();
    for (std::int32_t country = 1; country < countries.CountryCount(); ++country) {
        bool isDeleted = countries.Country(country).endDate != OpenEndDate;
        if (isDeleted != deleted)
            continue;
        ReportEntity entity{{}, constBlock(*model.CountryBlock(country)),
                            std::string(countries.CountryPrefix(country))};
        if (withDelColumn)
            entity.cells.emplace_back(deleted ? "D" : "");
        entity.cells.emplace_back(countries.CountryPrefix(country));
        entity.cells.emplace_back(countries.CountryName(country));
        out.push_back(std::move(entity));
    }
}

void addWpx(TAwardModel &model, std::vector<ReportEntity> &out, bool withDeleted)
{
    for (std::uint8_t *record : model.Countries().Wpx) {
        std::size_t length = std::min<std::size_t>(record[WpxField::Prefix], WpxField::PrefixCapacity);
        bool deleted = record[WpxField::Deleted] != 0;
        if (deleted && !withDeleted)
            continue;
        std::span<std::uint8_t, StatusBlockSize> bytes(record + WpxField::AwardStatus, StatusBlockSize);
        std::string prefix(reinterpret_cast<const char *>(record + WpxField::Prefix + 1), length);
        out.push_back({{prefix, deleted ? "D" : ""},
                       TConstStatusBlock(std::span<const std::uint8_t, StatusBlockSize>(bytes)),
                       prefix});
    }
}

} // namespace

std::vector<ReportEntity> CollectEntities(TAwardModel &model, TQsoData &log, EntitySet set)
{
    std::vector<ReportEntity> out;
    switch (set) {
    case EntitySet::CurrentCountries: addCountries(model, out, false, false); break;
    case EntitySet::CountriesWithDeleted:
        addCountries(model, out, false, true);
        addCountries(model, out, true, true);
        break;
    case EntitySet::Zones:
        for (int zone = 1; zone < ZoneBlockCount; ++zone)
            out.push_back({{std::to_string(zone)}, constBlock(*model.ZoneBlock(log, zone)), std::to_string(zone)});
        break;
    case EntitySet::States: {
        TCountryData &countries = model.Countries();
        for (int state = 1; state < StateBlockCount; ++state) {
            std::string name = state < countries.States.Count()
                                   ? StateInfo::Decode(countries.States.Get(state)).name
                                   : std::string();
            std::string abbreviation(countries.StateAbbreviation(state));
            out.push_back({{abbreviation, name}, constBlock(*model.StateBlock(log, state)), abbreviation});
        }
        break;
    }
    case EntitySet::WpxPrefixes: addWpx(model, out, true); break;
    case EntitySet::WpxPrefixesNotDeleted: addWpx(model, out, false); break;
    }
    return out;
}

} // namespace vellum
