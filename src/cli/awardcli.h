#pragma once
// What the award commands share with the commands that rank calls by need (need,
// listen): the arguments, a log loaded with its award model, and a call's need as
// JSON fields.

#include "cli.h"

#include "awards/awardmodel.h"
#include "logstore/qsodata.h"

#include <memory>
#include <string>

namespace vellum::cli {

/// The country data the set-up step loaded for this run.
TCountryData &countryData(CliContext &context);
std::uint16_t dateArgument(const std::string &text, const char *what);
AwardIndex awardArgument(const std::string &text);

/// The model and the log it serves, loaded with the run's services.
struct LoadedLog {
    std::unique_ptr<TAwardModel> model;
    std::unique_ptr<TQsoData> log;
};

/// Loads the log named by the first argument, after taking --today and --selection.
LoadedLog loadLogWithAwards(CliContext &context);

/// "\"call\":...,\"band\":...,\"mode\":...,\"award\":...,\"country\":...,\"class\":N,\"name\":..."
/// of a call heard on a band in a mode, ranked as a spot.
std::string NeedJsonFields(LoadedLog &loaded, const std::string &call, int band, int mode, std::uint16_t date,
                           AwardIndex award);

} // namespace vellum::cli
