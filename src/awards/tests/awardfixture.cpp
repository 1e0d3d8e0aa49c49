#include "awardfixture.h"

#include "country/countryfile.h"
#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "testsupport/qsobuilder.h"

#include <algorithm>

namespace vellum::test {

const std::uint16_t Today = *DayNumber(2024, 6, 1);

namespace {
const std::vector<std::uint8_t> &countryFileBytes()
{
    static const std::vector<std::uint8_t> bytes = ReadWholeFile(VELLUM_DEFAULT_COUNTRY_FILE);
    return bytes;
}

bool holdsAnything(const TStatusBlockBytes &bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 0; });
}
} // namespace

AwardTest::AwardTest() : config(BuiltInConfig())
{
    ReadCountryBytes(countryFileBytes(), countries);
    model.SetToday(Today);
    LogServices services;
    services.notifier = &notifier;
    services.resolver = &resolver;
    services.awards = &model;
    log = std::make_unique<TQsoData>(services);
}

std::uint16_t AwardTest::Day(int year, int month, int day)
{
    auto number = DayNumber(year, month, day);
    EXPECT_TRUE(number.has_value());
    return number.value_or(0);
}

std::int16_t AwardTest::CountryOf(const std::string &prefix) const
{
    std::int32_t index = countries.CountryIndexOfPrefix(prefix);
    EXPECT_GT(index, 0) << prefix;
    return static_cast<std::int16_t>(index);
}

TQsoRec AwardTest::Make(const QsoSpec &spec) const
{
    TQsoRec rec = QsoBuilder(spec.call)
                      .day(spec.date ? spec.date : Day(2020, 5, 1))
                      .seconds(spec.time)
                      .band(spec.band)
                      .mode(spec.mode)
                      .reports(spec.rstRcvd, 599)
                      .qslDate(spec.qslDate)
                      .awdFlags(spec.awdFlags)
                      .group(spec.group)
                      .state(static_cast<std::uint8_t>(countries.StateIndex(spec.state)))
                      .resolvedBy(resolver)
                      .build();
    rec.QslFlags = static_cast<std::uint8_t>((spec.confirmed ? QslFlag::Cnfm : 0) |
                                             (spec.validDx ? QslFlag::ValidDX : 0));
    return rec;
}

TQsoRec *AwardTest::Add(const QsoSpec &spec)
{
    auto rec = std::make_unique<TQsoRec>(Make(spec));
    TQsoRec *raw = rec.get();
    log->AddQso(std::move(rec));
    return raw;
}

BlockSnapshot AwardTest::Snapshot()
{
    BlockSnapshot snapshot;
    auto keep = [&snapshot](const std::string &name, TConstStatusBlock block) {
        TStatusBlockBytes bytes;
        std::copy_n(block.Data(), StatusBlockSize, bytes.begin());
        if (holdsAnything(bytes))
            snapshot[name] = bytes;
    };
    for (std::int32_t c = 0; c < countries.CountryCount(); ++c)
        keep("C" + std::to_string(c), *model.CountryBlock(c));
    for (int z = 0; z < ZoneBlockCount; ++z)
        keep("Z" + std::to_string(z), *model.ZoneBlock(*log, z));
    for (int s = 0; s < StateBlockCount; ++s)
        keep("S" + std::to_string(s), *model.StateBlock(*log, s));
    for (std::int32_t i = 0; i < countries.Wpx.Count(); ++i)
        keep("P:" + countries.Wpx.KeyString(i), *model.WpxBlock(countries.Wpx.KeyString(i)));
    return snapshot;
}

BlockSnapshot AwardTest::RebuiltSnapshot()
{
    log->InvalidateAwardTables();
    model.EnsureAwardTables(*log);
    return Snapshot();
}

} // namespace vellum::test
