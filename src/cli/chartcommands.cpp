// vellum-cli chart LOG --award A [--selection S] [--today YYYY-MM-DD] (--png OUT | --svg OUT)
// The award standing over time and the QSOs per band and year as a picture.

#include "awardcli.h"
#include "cli.h"

#include "reports/chartimage.h"

#include <iostream>

namespace vellum::cli {

namespace {

int chartRun(CliContext &context)
{
    std::string award = context.takeOption("--award");
    std::string png = context.takeOption("--png");
    std::string svg = context.takeOption("--svg");
    if (award.empty())
        throw CliError("give the award with --award DXCC|WAZ|WAS|WPX");
    if (png.empty() == svg.empty())
        throw CliError("give one of --png OUT or --svg OUT");
    AwardIndex index = awardArgument(award);
    LoadedLog loaded = loadLogWithAwards(context);
    AwardChart chart = ComputeAwardChart(*loaded.model, *loaded.log, index);
    BandYearGrid grid = ComputeBandYearGrid(*loaded.log);
    std::string error;
    const std::string &file = png.empty() ? svg : png;
    bool written = png.empty() ? WriteChartSvg(chart, grid, svg, error) : WriteChartPng(chart, grid, png, error);
    if (!written)
        throw CliError(file + ": " + error);
    const StandingSeries &mixed = chart.levels[0];
    std::cout << "{\"file\":" << JsonString(file) << ",\"award\":" << JsonString(award)
              << ",\"first_month\":" << JsonString(chart.months ? MonthText(chart.firstMonth) : "")
              << ",\"months\":" << chart.months << ",\"worked\":" << (chart.months ? mixed.worked.back() : 0)
              << ",\"confirmed\":" << (chart.months ? mixed.confirmed.back() : 0) << "}\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("chart", "chart LOG --award DXCC|WAZ|WAS|WPX [--selection S] [--today YYYY-MM-DD] (--png OUT | --svg OUT)",
                   chartRun);

} // namespace vellum::cli
