#include "reportfixture.h"

#include "logstore/daytime.h"
#include "testsupport/testcountry.h"

namespace vellum::test {

ReportTest::ReportTest() : config(BuiltInConfig())
{
    BuildTestCountryData(countries);
    model.SetToday(Day(2024, 6, 1));
    LogServices services;
    services.notifier = &notifier;
    services.resolver = &resolver;
    services.awards = &model;
    log = std::make_unique<TQsoData>(services);
}

std::uint16_t ReportTest::Day(int year, int month, int day)
{
    auto number = DayNumber(year, month, day);
    EXPECT_TRUE(number.has_value());
    return number.value_or(0);
}

QsoBuilder ReportTest::Qso(std::string_view call, std::string_view countryPrefix) const
{
    std::int32_t country = countries.CountryIndexOfPrefix(countryPrefix);
    EXPECT_GT(country, 0) << countryPrefix;
    QsoBuilder builder(call);
    builder.date(2022, 5, 1).time(12, 0).band(5).mode(4).reports(599, 599).country(static_cast<std::int16_t>(country),
                                                                                    countries.Country(country).cqZone);
    builder.qslFlags(QslFlag::ValidDX);
    return builder;
}

std::vector<std::string> ReportTest::Cells(const std::string &line)
{
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

std::string ReportTest::LineStartingWith(const ReportTable &table, std::string_view start)
{
    for (const std::string &line : table.lines)
        if (line.starts_with(std::string(start) + "\t") || line == start)
            return line;
    return {};
}

std::vector<std::string> ReportTest::ColumnNames(const ReportTable &table)
{
    std::vector<std::string> names;
    for (const TableColumn &column : table.columns)
        names.push_back(column.name);
    return names;
}

std::string ReportTest::Cell(const ReportTable &table, const std::string &line, std::string_view name)
{
    std::vector<std::string> names = ColumnNames(table);
    std::vector<std::string> cells = Cells(line);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return i < cells.size() ? cells[i] : std::string();
    ADD_FAILURE() << "no column " << name;
    return {};
}

} // namespace vellum::test
