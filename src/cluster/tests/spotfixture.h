#pragma once
// A spot list over a real log and the default country file, with a fixed
// clock: what the spot tests feed lines into.

#include "cluster/spotintake.h"

#include "awards/awardmodel.h"
#include "config/configfile.h"
#include "config/configrecord.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/qsodata.h"
#include "logstore/services.h"

#include <memory>
#include <string>

namespace vellum::test {

struct SpotBench {
    TCountryData countries;
    TConfigRecord config = BuiltInConfig();
    CountryResolver resolver{countries};
    RecordingNotifier notifier;
    TAwardModel model{countries, config};
    std::unique_ptr<TQsoData> log;
    std::uint16_t today = *DayNumber(2026, 12, 9);
    int minutes = 12 * 60;
    SpotList list{100};
    SpotRanker ranker{model, config, [this] { return log.get(); }};
    SpotIntake intake{list, ranker, config, resolver, SpotClock{[this] { return today; }, [this] { return minutes; }}};

    SpotBench()
    {
        ReadCountryBytes(ReadWholeFile(std::string(VELLUM_DEFAULT_DATA_DIR) + "/SAVE/VELLUM.CTY"), countries);
        model.SetToday(today);
        LogServices services;
        services.notifier = &notifier;
        services.resolver = &resolver;
        services.awards = &model;
        log = std::make_unique<TQsoData>(services);
    }
};

} // namespace vellum::test
