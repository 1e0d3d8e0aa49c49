#include "importfixture.h"

#include "exchange/filterfile.h"
#include "exchange/filtertext.h"

#include "logstore/qsotables.h"
#include "testsupport/qsobuilder.h"

namespace vellum::test {

ImportFilter shippedFilter(const std::string &id)
{
    FilterList list(ReadFilterFile(std::string(VELLUM_DEFAULT_DATA_DIR) + "/SAVE/VELLUM.IEP").filters);
    int at = list.Find(id);
    EXPECT_GE(at, 0) << id;
    return at >= 0 ? list.At(static_cast<std::size_t>(at)) : ImportFilter{};
}

void ImportTest::SetUp()
{
    ASSERT_TRUE(LoadCountryFile(countries, VELLUM_DEFAULT_COUNTRY_FILE, notifier));
    notifier.shown.clear();
    config = BuiltInConfig();
    LogServices services;
    services.notifier = &notifier;
    services.resolver = &resolver;
    log = std::make_unique<TQsoData>(services);
}

void ImportTest::TearDown() { log.reset(); }

ImportResult ImportTest::import(std::string_view adif)
{
    ImportContext context{*log, countries, resolver, config, questions, dir.string(), today};
    return ImportAdifBytes(context, adif, "test.adi", filter);
}

ImportResult ImportTest::importText(std::string_view text)
{
    ImportContext context{*log, countries, resolver, config, questions, dir.string(), today};
    return ImportFilterBytes(context, text, "test.txt", filter);
}

ImportFilter ImportTest::textFilter(const std::string &body) const
{
    FilterTextResult parsed = ParseFilterText("[TEST]\nUsage=Imp/Exp\n" + body, today);
    EXPECT_EQ(parsed.errors, std::vector<std::string>{});
    EXPECT_EQ(parsed.filters.size(), 1u);
    return parsed.filters.empty() ? ImportFilter{} : parsed.filters.front();
}

std::string ImportTest::lastShown(MessageKind kind) const
{
    for (auto it = notifier.shown.rbegin(); it != notifier.shown.rend(); ++it)
        if (it->kind == kind)
            return it->text;
    return {};
}

const TQsoRec &ImportTest::find(std::string_view call) const
{
    for (const TQsoRec *rec : *log)
        if (rec->Call.view() == call)
            return *rec;
    ADD_FAILURE() << "no QSO with " << call;
    static const TQsoRec none;
    return none;
}

TQsoRec &ImportTest::addQso(const std::string &call, std::uint16_t date, std::int32_t time, std::uint8_t band,
                            std::uint8_t mode)
{
    return *QsoBuilder(call)
                .day(date)
                .seconds(time)
                .band(band)
                .mode(mode)
                .reports(DefaultReport(mode), DefaultReport(mode))
                .resolvedBy(resolver)
                .addTo(*log);
}

void ImportTest::writePrefixMap(const std::string &text) const
{
    WriteFile((dir / "ADIF.PMP").string(), text);
}

} // namespace vellum::test
