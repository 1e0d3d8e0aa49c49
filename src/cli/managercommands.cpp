// vellum-cli manager (the QSL manager in force for a call and its route class)
// and vellum-cli master (building and searching master callsign files).

#include "cli.h"

#include "country/addresses.h"
#include "country/countryfile.h"
#include "country/managers.h"
#include "country/mastercall.h"
#include "country/resolver.h"

#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/qsorec.h"
#include "logstore/shortstring.h"

#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

/// The resolver the country set-up step plugged in.
const CountryResolver &countryResolver(const CliContext &context)
{
    const CountryResolver *resolver = context.countryResolver;
    if (!resolver)
        throw CliError("no country data: neither " + CountryFileName() + " nor the default country file " +
                       DefaultCountryFileName() + " could be read");
    return *resolver;
}

std::string jsonList(const std::vector<std::string> &items)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? "," : "") + JsonString(items[i]);
    return out + "]";
}

int managerCommand(CliContext &context)
{
    bool buro = context.takeFlag("--buro");
    std::string call = UpperAscii(context.arg(0, "call"));
    std::uint16_t date = context.args.size() > 1 ? IsoDateArgument(context.args[1]) : TodayDayNumber();
    const CountryResolver &resolver = countryResolver(context);

    TQsoRec rec;
    rec.Call = call;
    rec.Date = date;
    rec.QslMethod = buro ? 1 : 0;
    rec.Country = resolver.CountryOfCall(rec.Call.view(), date);
    std::string manager = ManagerOf(resolver.Data(), rec);
    QslRoute route = QslRouteClass(resolver, rec, true);
    std::ostringstream out;
    out << "{\"call\":" << JsonString(rec.Call.view()) << ",\"date\":" << JsonString(IsoDateText(date))
        << ",\"manager\":" << JsonString(manager) << ",\"route_class\":" << static_cast<int>(route)
        << ",\"route\":" << JsonString(QslRouteName(route))
        << ",\"address\":" << jsonList(ManagerAddress(resolver.Data(), manager)) << "}";
    std::cout << out.str() << "\n";
    return 0;
}

int masterConvert(CliContext &context)
{
    bool callList = context.takeFlag("--call-list");
    bool quiet = context.takeFlag("--quiet");
    const std::string &source = context.arg(1, "file to convert");
    const std::string &target = context.arg(2, "master file to write");
    std::size_t count =
        ConvertMasterFile(source, target, false, callList ? MasterSource::CallList : MasterSource::AnyBytes);
    if (!quiet)
        std::cout << "{\"file\":" << JsonString(target) << ",\"calls\":" << count << "}\n";
    return 0;
}

int masterSearch(CliContext &context)
{
    bool substring = context.takeFlag("--substring");
    const std::string &file = context.arg(1, "master file");
    const std::string &text = context.arg(2, "search text");
    TMasterCalls calls;
    if (!calls.LoadBytes(ReadWholeFile(file)))
        throw CliError(file + ": " + MasterText::NotMasterFile);
    std::vector<std::string> found;
    for (std::string_view call : calls.Search(text, substring))
        found.emplace_back(call);
    std::cout << "{\"calls\":" << jsonList(found) << "}\n";
    return 0;
}

int masterCommand(CliContext &context)
{
    const std::string &sub = context.arg(0, "master subcommand (convert, search)");
    if (sub == "convert")
        return masterConvert(context);
    if (sub == "search")
        return masterSearch(context);
    throw CliError("unknown master subcommand '" + sub + "' (convert, search)");
}

} // namespace

VELLUM_CLI_COMMAND("manager", "manager CALL [YYYY-MM-DD] [--buro]  (QSL manager in force and route class)",
                   managerCommand);
VELLUM_CLI_COMMAND("master",
                   "master convert FILE OUT.MAS [--call-list] [--quiet] | master search FILE.MAS TEXT [--substring]",
                   masterCommand);

} // namespace vellum::cli
