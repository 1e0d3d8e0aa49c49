#pragma once
// A generator of realistic synthetic logs for tests, benchmarks and demos:
// calls from many prefixes with portable forms, every band and mode, thirty
// years of dates, notes, SWL records, groups and selections. The same seed
// always gives the same log.

#include <cstdint>
#include <string>

namespace vellum {

class TQsoData;

struct GeneratorOptions {
    std::int64_t qsos = 1000;
    std::uint64_t seed = 1;
    int notePercent = 3;     ///< QSOs with a QSO note; calls with a call note
    int swlRecords = -1;     ///< -1: about one per 500 QSOs
};

/// Fills an empty log with generated QSOs, notes, SWL records, groups and selections.
void GenerateLog(TQsoData &log, const GeneratorOptions &options);

/// One generated call sign (for resolution benchmarks): the i-th call of a seed.
std::string GenerateCall(std::uint64_t seed, std::uint64_t index);

} // namespace vellum
