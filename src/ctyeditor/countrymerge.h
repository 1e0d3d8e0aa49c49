#pragma once
// Merging another country file into the country data: its exception calls,
// IOTA references, QSL managers and manager addresses, each step after a
// question, each change written to the message list.

#include "messagelist.h"

#include "logstore/daytime.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vellum {

class ProgressService;
class TCountryData;

namespace MergeText {
inline constexpr const char *Calls = "Merge Exception Calls";
inline constexpr const char *Iotas = "Merge IOTAs";
inline constexpr const char *Managers = "Merge QSL Managers";
inline constexpr const char *Addresses = "Merge QSL addresses";
inline constexpr const char *Skipped = " (Skipped)";
inline constexpr const char *Complete = "Merge complete";
inline constexpr const char *Exceeded = "List box capacity was exceeded";
} // namespace MergeText

/// What one step changed.
struct MergeCount {
    std::int64_t added = 0;
    std::int64_t replaced = 0;
    std::int64_t unchanged = 0;
    std::int64_t skipped = 0; ///< exception calls whose country this file lacks
    bool ran = false;
};

struct MergeCounts {
    MergeCount calls, iotas, managers, addresses;
    bool Changed() const
    {
        return calls.added + calls.replaced + iotas.added + iotas.replaced + managers.added + managers.replaced +
                   addresses.added + addresses.replaced > 0;
    }
};

struct MergeOptions {
    /// Asked before each step with its question text; false skips the step.
    std::function<bool(const std::string &question)> ask = [](const std::string &) { return true; };
    ProgressService *progress = nullptr;
    DateFormat dateFormat = DateFormat::YearMonthDay; ///< of the dates in the lines
};

/// Merges other (read from a file, otherIsOld when it had no "CTYB": its IOTA
/// records carry no position) into data. Clears messages first and ends them
/// with "Merge complete". Marks data modified when anything changed.
MergeCounts MergeCountryData(TCountryData &data, const TCountryData &other, bool otherIsOld, MessageList &messages,
                             const MergeOptions &options = {});

} // namespace vellum
