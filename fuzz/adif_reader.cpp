// Fuzzes ADIF reading: the tag and record reader over the bytes as they come,
// and whole imports of the bytes into a log that holds QSOs already, under
// each duplicate policy and prefix/zone answer, with small country data that
// has states, sections, counties and IOTA references.

#include "exchange/adifreader.h"
#include "exchange/importfilter.h"
#include "exchange/importlog.h"

#include "config/configrecord.h"
#include "country/countryfile.h"
#include "country/ctyconvert.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace {

using namespace vellum;

const char *const CtyDat = "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
                           "    DA,DB,DC,DD,DF,DG,DJ,DK,DL,DM,DN,DO,DP,DQ,DR,=DL0XX(15);\n"
                           "United States:            05:  08:  NA:   37.53:    91.67:     5.0:  K:\n"
                           "    AA,K,N,W,W6(3),=W1AW/4(5);\n"
                           "Hawaii:                   31:  61:  OC:   21.12:   157.48:    10.0:  KH6:\n"
                           "    AH6,KH6,NH6,WH6;\n"
                           "France:                   14:  27:  EU:   46.00:    -2.00:    -1.0:  F:\n"
                           "    F,TM;\n";

/// Small country data; every import gets its own, as imports learn exception calls.
std::unique_ptr<TCountryData> makeCountries()
{
    auto data = std::make_unique<TCountryData>();
    DefaultTables tables;
    tables.states = {{"MA", 5, 0, 0, "Massachusetts"}, {"CA", 3, 0, 0, "California"}, {"HI", 31, 0, 0, "Hawaii"}};
    tables.sections = {{"EMA", "MA"}, {"SF", "CA"}};
    ConvertCtyDat(ParseCtyDat(CtyDat), tables, nullptr, *data);
    std::uint8_t county[6] = {5, 'M', 'A', '0', '1', '7'};
    data->Counties.AddRecord(data->Counties.MakeRecord(county, "Middlesex").data());
    std::uint8_t iota[41] = {5, 'E', 'U', '0', '0', '5'};
    data->Iota.AddRecord(data->Iota.MakeRecord(iota, "Great Britain").data());
    return data;
}

const TCountryData &countries()
{
    static std::unique_ptr<TCountryData> data = makeCountries();
    return *data;
}

/// A fresh copy of the country data (read back from its file image, which is quick).
std::unique_ptr<TCountryData> copyOfCountries()
{
    static const std::vector<std::uint8_t> image = CountryFileBytes(countries());
    auto data = std::make_unique<TCountryData>();
    ReadCountryBytes(image, *data);
    return data;
}

class FixedAnswers : public ImportQuestions {
public:
    DuplicatePolicy policy = DuplicatePolicy::Stop;
    PrefixZoneChoice choice = PrefixZoneChoice::Vellum;
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override { return policy; }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &) override { return choice; }
};

/// The record reader alone, record after record, as an import drives it.
void readRecords(std::string_view bytes, const TConfigRecord &config, const ImportFilter &filter)
{
    AdifInput input(bytes);
    SkipAdifHeader(input);
    ImportFields fields(countries(), config, filter, nullptr, 45000);
    for (int records = 0; !input.AtEnd() && records < 100000; ++records) {
        ImportedQso q = fields.Prepare();
        try {
            if (ReadAdifRecord(input, q, fields) == RecordEnd::EndOfInput)
                break;
        } catch (const EAdifFormat &) {
        }
    }
}

void importInto(std::string_view bytes, DuplicatePolicy policy, PrefixZoneChoice choice, int action)
{
    std::unique_ptr<TCountryData> countryData = copyOfCountries();
    TCountryData &data = *countryData;
    CountryResolver resolver(data);
    SilentNotifier notifier;
    LogServices services;
    services.notifier = &notifier;
    services.resolver = &resolver;
    TQsoData log(services);
    for (int i = 0; i < 3; ++i) {
        auto rec = std::make_unique<TQsoRec>();
        rec->Call = i == 0 ? "DL1ABC" : "K1ABC";
        rec->Date = static_cast<std::uint16_t>(40000 + i);
        rec->Band = 5;
        rec->Mode = 4;
        log.AddQso(std::move(rec));
    }
    log.Notes.SetNote("DL1ABC", "op Hans");
    TConfigRecord config = BuiltInConfig();
    config.imp_action = action;
    config.Imp_syntax = true;
    FixedAnswers answers;
    answers.policy = policy;
    answers.choice = choice;
    ImportFilter filter = AdifFilter();
    filter.FilterFreq = action == 0;
    filter.FilterImport = action == 0;
    ImportContext context{log, data, resolver, config, answers, "/nonexistent", 45000};
    ImportAdifBytes(context, bytes, "fuzz.adi", filter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    TConfigRecord config = BuiltInConfig();
    readRecords(bytes, config, AdifFilter());
    importInto(bytes, DuplicatePolicy::Stop, PrefixZoneChoice::Vellum, 1);
    importInto(bytes, DuplicatePolicy::Replace, PrefixZoneChoice::Import, 0);
    importInto(bytes, DuplicatePolicy::Ignore, PrefixZoneChoice::Cancel, 2);
    return 0;
}
