#pragma once
// The default country data of the build, loaded fresh for each test, and a
// view of its references by prefix (which stays the same when countries are
// renumbered correctly).

#include "country/countryfile.h"

#include "logstore/bytes.h"
#include "logstore/fileio.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>

namespace vellum::test {

class DefaultCountryData : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(VELLUM_DEFAULT_COUNTRY_FILE))
            GTEST_SKIP() << "no default country file built at " << VELLUM_DEFAULT_COUNTRY_FILE;
        ReadCountryBytes(ReadWholeFile(VELLUM_DEFAULT_COUNTRY_FILE), data);
    }

    std::int32_t country(const std::string &prefix) const { return data.CountryIndexOfPrefix(prefix); }

    /// Every mapping as (mapping prefix and start date) -> its country's prefix.
    std::multimap<std::string, std::string> mappingOwners() const
    {
        std::multimap<std::string, std::string> owners;
        for (const Record *record : data.Mappings) {
            MappingInfo mapping = MappingInfo::Decode(record);
            owners.emplace(mapping.prefix + "@" + std::to_string(mapping.startDate),
                           std::string(data.CountryPrefix(mapping.country)));
        }
        return owners;
    }
    /// Every exception call (and date) -> its country's prefix.
    std::multimap<std::string, std::string> callOwners() const
    {
        std::multimap<std::string, std::string> owners;
        for (const Record *record : data.Exceptions) {
            ExceptionInfo call = ExceptionInfo::Decode(record);
            owners.emplace(call.call + "@" + std::to_string(call.date), std::string(data.CountryPrefix(call.country)));
        }
        return owners;
    }

    TCountryData data;
};

} // namespace vellum::test
