#pragma once
// A log with the award model over the small test country data (countries K,
// KH6, KL, QQ, XX, YY and the deleted OLD; states AK, CA, HI, NY; IOTA EU005;
// counties of NY and CA), the built-in settings and a fixed today.

#include "awards/awardmodel.h"
#include "config/configrecord.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"
#include "logstore/services.h"
#include "reports/reporttable.h"
#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vellum::test {

class ReportTest : public ::testing::Test {
protected:
    ReportTest();

    /// A QSO of a call in a country (by prefix), 20m CW, 1 May 2022, report 599.
    QsoBuilder Qso(std::string_view call, std::string_view countryPrefix) const;
    TQsoRec *Add(const QsoBuilder &builder) { return builder.addTo(*log); }
    static std::uint16_t Day(int year, int month, int day);
    /// The line of a table whose first cells are these (tab-joined), or "" when none.
    static std::string LineStartingWith(const ReportTable &table, std::string_view start);
    /// The cells of a line.
    static std::vector<std::string> Cells(const std::string &line);
    /// The cell of a line under the column named name.
    static std::string Cell(const ReportTable &table, const std::string &line, std::string_view name);
    static std::vector<std::string> ColumnNames(const ReportTable &table);

    TCountryData countries;
    TConfigRecord config;
    CountryResolver resolver{countries};
    RecordingNotifier notifier;
    TAwardModel model{countries, config};
    std::unique_ptr<TQsoData> log;
};

} // namespace vellum::test
