#pragma once
// A real log with the award model plugged in, over the default country file
// built from cty.dat, a copy of the built-in settings and a fixed today.

#include "awards/awardmodel.h"

#include "config/configrecord.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"
#include "logstore/services.h"
#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vellum::test {

/// Today in every award test: 1 June 2024.
extern const std::uint16_t Today;

/// A QSO as the tests describe it; Make() resolves country and zone from the call.
struct QsoSpec {
    std::string call{};
    std::uint16_t date = 0;
    std::uint8_t band = 5;  ///< 20m
    std::uint8_t mode = 4;  ///< CW
    bool confirmed = false;
    std::uint16_t qslDate = 0;
    std::uint32_t awdFlags = 0;
    std::uint16_t rstRcvd = 599;
    bool validDx = true;
    std::string state{};    ///< abbreviation
    std::uint8_t group = 0;
    std::int32_t time = 0;
};

/// Every award block of the model as bytes, keyed by a name ("C12", "Z5", "S3", "P:DL1").
using BlockSnapshot = std::map<std::string, TStatusBlockBytes>;

class AwardTest : public ::testing::Test {
protected:
    AwardTest();

    TQsoRec Make(const QsoSpec &spec) const;
    /// Adds the QSO to the log (AddQso); returns the log's record.
    TQsoRec *Add(const QsoSpec &spec);
    /// The country of a prefix in the country file.
    std::int16_t CountryOf(const std::string &prefix) const;
    /// A day number, failing the test when the date is invalid.
    static std::uint16_t Day(int year, int month, int day);
    /// The blocks of every entity that holds anything.
    BlockSnapshot Snapshot();
    /// Forces a full rebuild (default start dates) and returns its snapshot.
    BlockSnapshot RebuiltSnapshot();

    TCountryData countries;
    TConfigRecord config;
    CountryResolver resolver{countries};
    RecordingNotifier notifier;
    TAwardModel model{countries, config};
    std::unique_ptr<TQsoData> log;
};

} // namespace vellum::test
