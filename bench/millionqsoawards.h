#pragma once
// The core benchmarks' log: the default country file, the built-in settings,
// the award model and a generated 1,000,000-QSO log whose QSOs are resolved
// over the country data (seed 42).

#include "awards/awardmodel.h"
#include "config/configrecord.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace vellum::bench {

struct MillionQsoAwardLog {
    MillionQsoAwardLog()
    {
        std::string file = std::string(VELLUM_BINARY_DIR) + "/data/SAVE/VELLUM.CTY";
        RecordingNotifier notifier;
        if (!LoadCountryFile(countries, file, notifier))
            throw std::runtime_error("the default country file " + file +
                                     " cannot be read (build the target default_country_file)");
        LogServices services;
        services.resolver = &resolver;
        services.awards = &model;
        log = std::make_unique<TQsoData>(services);
        GeneratorOptions options;
        options.qsos = 1000000;
        options.seed = 42;
        GenerateLog(*log, options);
    }

    TCountryData countries;
    CountryResolver resolver{countries};
    TConfigRecord config = BuiltInConfig();
    TAwardModel model{countries, config};
    std::unique_ptr<TQsoData> log;
};

} // namespace vellum::bench
