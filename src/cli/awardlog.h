#pragma once
// A log loaded with its award model for the commands that ask about award
// standing (awards, need, spots).

#include "cli.h"

#include "awards/awardmodel.h"
#include "logstore/qsodata.h"

#include <memory>
#include <string>

namespace vellum::cli {

struct LoadedLog {
    std::unique_ptr<TAwardModel> model;
    std::unique_ptr<TQsoData> log;
};

/// Loads the log named by the first argument, after taking --today and --selection.
LoadedLog LoadLogWithAwards(CliContext &context);
/// DXCC, WAZ, WAS or WPX.
AwardIndex AwardArgument(const std::string &text);

} // namespace vellum::cli
