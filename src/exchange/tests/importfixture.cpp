#include "importfixture.h"

#include "logstore/fileio.h"
#include "logstore/qsotables.h"

#include <unistd.h>

namespace vellum::test {

void ImportTest::SetUp()
{
    ASSERT_TRUE(LoadCountryFile(countries, VELLUM_DEFAULT_COUNTRY_FILE, notifier));
    notifier.shown.clear();
    config = BuiltInConfig();
    LogServices services;
    services.notifier = &notifier;
    services.resolver = &resolver;
    log = std::make_unique<TQsoData>(services);
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::temp_directory_path() /
          ("vellum-exchange-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
}

void ImportTest::TearDown()
{
    log.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

ImportResult ImportTest::import(std::string_view adif)
{
    ImportContext context{*log, countries, resolver, config, questions, dir.string(), today};
    return ImportAdifBytes(context, adif, "test.adi", filter);
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
    auto rec = std::make_unique<TQsoRec>();
    rec->Call = call;
    rec->Date = date;
    rec->Time = time;
    rec->Band = band;
    rec->Mode = mode;
    rec->RstSent = rec->RstRcvd = DefaultReport(mode);
    resolver.ResolveCountry(*rec);
    TQsoRec &stored = *rec;
    log->AddQso(std::move(rec));
    return stored;
}

void ImportTest::writePrefixMap(const std::string &text) const
{
    WriteWholeFile((dir / "ADIF.PMP").string(),
                   std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()),
                   false);
}

} // namespace vellum::test
