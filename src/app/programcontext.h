#pragma once
// What the whole run shares: the configuration, the country data with its
// resolver, the award model, the custom awards, the open log and the notifier.
// It is made once at start and handed to whoever needs it; tests make their own.

#include "logstore/services.h"

#include <functional>
#include <memory>
#include <string>

namespace vellum {

struct TConfigRecord;
class CountryResolver;
class TAwardModel;
class TCountryData;
class TCustAwardList;
class TQsoData;

/// What the station windows tell the rest of the run about the radio.
struct StationState {
    bool radioConnected = false;
    /// "Ignore Mode in real-time": the radio's mode does not change the QSO's.
    bool ignoreRadioMode = false;
    /// "/F": what is typed into the packet terminal goes to the spot list as if received.
    bool fakeMode = false;
    /// The radio's frequency text of a fresh read ("14,250KHz"); set while a radio runs.
    std::function<std::string()> frequencyText;
    /// The frequency text when a radio is connected, else empty.
    std::string RadioFrequencyText() const { return radioConnected && frequencyText ? frequencyText() : std::string(); }
};

class ProgramContext {
public:
    /// Makes the resolver, the award model and the settings over config and countries,
    /// and loads the custom awards from customAwardFile ("" leaves the list empty).
    /// Messages of the custom award file go to notifier.
    ProgramContext(TConfigRecord &config, TCountryData &countries, UserNotifier &notifier,
                   const std::string &customAwardFile);
    ~ProgramContext();
    ProgramContext(const ProgramContext &) = delete;
    ProgramContext &operator=(const ProgramContext &) = delete;

    TConfigRecord &Config() const { return m_config; }
    TCountryData &Countries() const { return m_countries; }
    const CountryResolver &Resolver() const { return *m_resolver; }
    TAwardModel &Awards() const { return *m_awards; }
    TCustAwardList &CustomAwards() const { return *m_customAwards; }
    UserNotifier &Notifier() const { return *m_services.notifier; }
    const LogSettings &Settings() const { return *m_settings; }

    /// The services every log of this run is made with.
    const LogServices &Services() const { return m_services; }
    /// The progress window and the observer of the open log, set by the program's windows.
    void SetProgress(ProgressService *progress) { m_services.progress = progress; }
    void SetLogObserver(LogObserver *observer) { m_services.observer = observer; }

    /// The open log; null when none is open.
    TQsoData *Log() const { return m_log.get(); }
    /// Makes a new, empty log with this run's services and makes it the open log (closing none).
    TQsoData &MakeLog();
    /// Drops the open log without saving (the caller saved or asked first).
    void DropLog();

    StationState &Station() { return m_station; }
    const StationState &Station() const { return m_station; }

    /// The country data was loaded again or its tables edited: the award tables are rebuilt when next read.
    void CountryDataChanged();

private:
    TConfigRecord &m_config;
    TCountryData &m_countries;
    std::unique_ptr<CountryResolver> m_resolver;
    std::unique_ptr<LogSettings> m_settings;
    std::unique_ptr<TAwardModel> m_awards;
    std::unique_ptr<TCustAwardList> m_customAwards;
    LogServices m_services;
    std::unique_ptr<TQsoData> m_log;
    StationState m_station;
};

} // namespace vellum
