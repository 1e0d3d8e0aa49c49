#pragma once
// The contest rate sheet: QSOs per hour since the contest start, per mode
// group and band, for the first 48 hours.

#include "reporttable.h"

#include "config/configrecord.h"
#include "logstore/qsodata.h"

namespace vellum {

/// The contest start (day number and seconds after 00:00 UTC) of the "Contest Mode" settings.
struct ContestStart {
    std::uint16_t date = 0;
    std::int32_t time = 0;
};

ReportTable MakeRateSheet(const TConfigRecord &config, const TQsoData &log, ContestStart start);

} // namespace vellum
