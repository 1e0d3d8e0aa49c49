#pragma once
// A log, the default country data and scripted answers for import tests.

#include "exchange/importfilter.h"
#include "exchange/importlog.h"

#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vellum::test {

/// "<name:length>value " with the length counted.
inline std::string tag(std::string_view name, std::string_view value)
{
    return "<" + std::string(name) + ":" + std::to_string(value.size()) + ">" + std::string(value) + " ";
}

/// A filter of the default filter file the build makes; fails the test when it has none of this identifier.
ImportFilter shippedFilter(const std::string &id);

/// Answers the import's questions from a script and keeps what was asked.
class ScriptedQuestions : public ImportQuestions {
public:
    std::vector<std::optional<DuplicatePolicy>> policies; ///< in order; Stop when used up
    std::vector<PrefixZoneChoice> choices;                ///< in order; Vellum when used up
    int policyQuestions = 0;
    std::vector<PrefixZoneQuestion> asked;

    std::optional<DuplicatePolicy> AskDuplicatePolicy() override
    {
        ++policyQuestions;
        if (policies.empty())
            return DuplicatePolicy::Stop;
        auto answer = policies.front();
        policies.erase(policies.begin());
        return answer;
    }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &question) override
    {
        asked.push_back(question);
        if (choices.empty())
            return PrefixZoneChoice::Vellum;
        PrefixZoneChoice answer = choices.front();
        choices.erase(choices.begin());
        return answer;
    }
};

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Imports ADIF text into the log with the filter.
    ImportResult import(std::string_view adif);
    /// Imports text lines into the log through the filter.
    ImportResult importText(std::string_view text);
    /// A filter from its text form ("Callsign=1,String,12" lines); fails the test on an error.
    ImportFilter textFilter(const std::string &body) const;
    /// The QSOs of the log in their master order.
    const TQsoRec &qso(std::int32_t position) const { return *log->Get(position); }
    /// The text of the last message box of a kind; empty when none.
    std::string lastShown(MessageKind kind) const;
    /// Adds a QSO to the log as the QSO window would.
    TQsoRec &addQso(const std::string &call, std::uint16_t date, std::int32_t time, std::uint8_t band,
                    std::uint8_t mode);
    /// The first QSO of the log with this call; fails the test when there is none.
    const TQsoRec &find(std::string_view call) const;
    /// Writes a prefix map file "ADIF.PMP" into the import directory.
    void writePrefixMap(const std::string &text) const;

    static std::uint16_t day(int year, int month, int dayOfMonth) { return *DayNumber(year, month, dayOfMonth); }

    TCountryData countries;
    CountryResolver resolver{countries};
    TConfigRecord config;
    RecordingNotifier notifier;
    ScriptedQuestions questions;
    std::unique_ptr<TQsoData> log;
    ImportFilter filter = AdifFilter();
    TempDir temp{"exchange"};
    std::filesystem::path dir = temp.path();
    const std::uint16_t today = day(2024, 5, 1);
};

} // namespace vellum::test
