// Fuzzes the line reader of the filters: the bytes read as text lines through
// the shipped kinds of layout (comma-separated values with quotes and titles,
// the same fields in fixed columns, a paper log with notes in a notes file,
// every field with notes on the following lines), and -
// when the input starts with a whole filter record - through that filter as
// the filter file would give it, whole imports included.

#include "exchange/delimitedline.h"
#include "exchange/filterfile.h"
#include "exchange/filterformats.h"
#include "exchange/filterreader.h"
#include "exchange/filtertext.h"
#include "exchange/importfields.h"
#include "exchange/importlog.h"

#include "config/configrecord.h"
#include "country/countryfile.h"
#include "country/ctyconvert.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vellum;

const char *const CtyDat = "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
                           "    DA,DB,DC,DD,DF,DG,DJ,DK,DL,DM,DN,DO,DP,DQ,DR;\n"
                           "United States:            05:  08:  NA:   37.53:    91.67:     5.0:  K:\n"
                           "    AA,K,N,W;\n";

const TCountryData &countries()
{
    static std::unique_ptr<TCountryData> data = [] {
        auto made = std::make_unique<TCountryData>();
        DefaultTables tables;
        tables.states = {{"MA", 5, 0, 0, "Massachusetts"}, {"CA", 3, 0, 0, "California"}};
        tables.sections = {{"EMA", "MA"}, {"SF", "CA"}};
        ConvertCtyDat(ParseCtyDat(CtyDat), tables, nullptr, *made);
        return made;
    }();
    return *data;
}

const std::vector<ImportFilter> &layouts()
{
    static const std::vector<ImportFilter> filters = [] {
        const std::string columns =
            "Callsign=1,String,12\nDate=14,YYYY-MM-DD\nTime=25,HHMM\nBand=30,\"160m, 10m lft\"\n"
            "Mode=35,\"SSB,AM,FM,PSK3\"\nrstS=40,Number,4\nrstR=45,Number,4\nGrid=50,String,6\nZone=57,Number\n"
            "IOTA=60,String,5\nQSL Date=66,YYYY-MM-DD\nConfrm=77,Y/N\nNote1=79,Store with QSO,60\n";
        FilterTextResult parsed = ParseFilterText(
        "[CSV]\n" + columns + "Note2=1,Note follows QSO,1\n[COLUMNS]\n" + columns +
        "[PAPER]\nDate=1,DD-Mon-YY\nTime=12,HH:MM\nBand=19,\"160, 10 lft\"\nMode=23,\"CW,SSB,RTT\"\n"
        "Callsign=28,String,12\nrstS=41,Number,3\nNote1=51,Store with Call,40\nState=92,\"Spokane, WA\",20\n"
        "County=112,String,20\n"
        "[ALL]\nAwd group=1,String,4\nAwd value=5,String,8\nAwdX Award=13,Y/N/*\nBand=14,Freq KHz,8\n"
        "Callsign=22,String,12\nConfrm=34,1/0\nCounty=35,String,10\nCounty award=45,0/1/2\nDate=46,DDMonYY\n"
        "DXCC Band award=53,Logwin\nDXCC valid=54,Y/N\nGrid=55,String,8\nGroup=63,Number,3\nIOTA=66,String,6\n"
        "Label=72,Y/N\nMode=73,\"0=USB,1=LSB,2=CW\"\nNote1=1,Note follows QSO,1\nNote2=74,Store with Call,20\n"
        "Note3=1,Note follows QSO,1\nPrefix=94,String,5\nQRP=99,1/0\nQSL Date=100,Flag QSO date\n"
        "QSL Method=101,DXBASE\nRecvd=102,String,4\nrstR=106,Number,4\nrstS=110,Number,4\nSatellite=114,Flag\n"
        "State=115,\"CA, LAX\"\nTenTen=118,Number,5\nTime=123,HHMMSS\nYLop=129,Y/N\nZone=130,Number\n"
        "WPX Mode award=254,1/0/*\nWAZ Band award=255,Y/N/*\n",
            45000);
        if (!parsed.errors.empty() || parsed.filters.size() != 4)
            std::abort(); // the layouts themselves are wrong
        return parsed.filters;
    }();
    return filters;
}

class FixedAnswers : public ImportQuestions {
public:
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override { return DuplicatePolicy::Replace; }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &) override { return PrefixZoneChoice::Import; }
};

/// The record reader alone, as an import drives it.
void readRecords(std::string_view bytes, const ImportFilter &filter)
{
    TConfigRecord config = BuiltInConfig();
    CountryResolver resolver(countries());
    ImportFields fields(countries(), config, filter, nullptr, 45000);
    LineInput input(bytes, LineCapacityOf(filter));
    FilterRecordReader reader(input, fields, resolver, nullptr);
    for (int records = 0; records < 100000; ++records) {
        ImportedQso q = fields.Prepare();
        if (reader.Read(q) == RecordEnd::EndOfInput)
            break;
    }
}

/// A whole import into a log that holds a QSO already.
void importInto(std::string_view bytes, const ImportFilter &filter)
{
    TCountryData data;
    ReadCountryBytes(CountryFileBytes(countries()), data);
    CountryResolver resolver(data);
    SilentNotifier notifier;
    LogServices services;
    services.notifier = &notifier;
    services.resolver = &resolver;
    TQsoData log(services);
    auto rec = std::make_unique<TQsoRec>();
    rec->Call = "DL1ABC";
    rec->Date = 45000;
    rec->Band = 5;
    rec->Mode = 4;
    log.AddQso(std::move(rec));
    TConfigRecord config = BuiltInConfig();
    config.Imp_syntax = true;
    FixedAnswers answers;
    ImportContext context{log, data, resolver, config, answers, "/nonexistent", 45000};
    ImportFilterBytes(context, bytes, "fuzz.txt", filter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    for (const ImportFilter &filter : layouts())
        readRecords(bytes, filter);
    importInto(bytes, layouts().front()); // comma-separated
    importInto(bytes, layouts().back());
    if (size >= FilterRecordSize) {
        ImportFilter filter = DecodeFilter(std::span<const std::uint8_t, FilterRecordSize>(data, FilterRecordSize));
        std::string_view rest = bytes.substr(FilterRecordSize);
        if (FilterProblems(filter).empty())
            readRecords(rest, filter);
        importInto(rest, filter); // refused when it has problems
    }
    return 0;
}
