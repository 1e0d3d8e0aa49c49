#pragma once
// The services the log store calls for what it cannot do itself: telling the
// user, showing progress, resolving calls, the award model, the spot list, the
// main window and the QSO window, and the settings it reads. Each has a harmless
// default, so the core runs alone (tests, vellum-cli) and the program plugs in
// the real parts.

#include "daytime.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct TQsoRec;
class TQsoData;

enum class MessageKind { Error, Warning, Information, Confirmation };
enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };

/// Message boxes of the four kinds.
class UserNotifier {
public:
    virtual ~UserNotifier() = default;
    virtual Answer show(MessageKind kind, std::string_view text, Buttons buttons) = 0;
    /// A box with a caption of its own instead of the program's name.
    virtual Answer showTitled(MessageKind kind, std::string_view caption, std::string_view text, Buttons buttons)
    {
        (void)caption;
        return show(kind, text, buttons);
    }
    void error(std::string_view text) { show(MessageKind::Error, text, Buttons::Ok); }
    void warning(std::string_view text) { show(MessageKind::Warning, text, Buttons::Ok); }
    void information(std::string_view text) { show(MessageKind::Information, text, Buttons::Ok); }
    Answer confirm(std::string_view text, Buttons buttons) { return show(MessageKind::Confirmation, text, buttons); }
};

/// The progress window and "process pending events".
class ProgressService {
public:
    virtual ~ProgressService() = default;
    virtual void begin(std::string_view caption, std::int64_t total) { (void)caption, (void)total; }
    virtual void advance(std::int64_t done) { (void)done; }
    virtual void end() {}
    virtual void processPendingEvents() {}
};

/// Country resolution and WPX prefixes.
class CallResolver {
public:
    virtual ~CallResolver() = default;
    /// Sets Country, Zone and, where the country rules say so, State of rec from its Call and Date.
    virtual void ResolveCountry(TQsoRec &rec) const;
    virtual std::string WpxPrefix(std::string_view call) const;
};

/// The award status blocks kept in step with the log.
class AwardHooks {
public:
    virtual ~AwardHooks() = default;
    virtual void AddQsoToAwards(TQsoData &log, const TQsoRec &rec) { (void)log, (void)rec; }
    /// Takes a QSO out; clears the log's AwardTablesValid when it cannot do so exactly.
    virtual void RemoveQsoFromAwards(TQsoData &log, const TQsoRec &rec) { (void)log, (void)rec; }
};

/// What the log tells the program around it (main window, QSO window, spot list, country data).
class LogObserver {
public:
    virtual ~LogObserver() = default;
    virtual void logChanged() {}                    ///< starts the backup countdown
    virtual void stopBackupCountdown() {}
    /// Disk indicator: empty, "Modified" in red (unsaved) or normal colour, or a saving text.
    enum class DiskState { Clear, ModifiedUnsaved, ModifiedInBackup, Saving };
    virtual void diskIndicator(DiskState state) { (void)state; }
    virtual void readingStarted() {}                ///< the spot list ignores spots meanwhile
    virtual void readingEnded() {}
    virtual void showQsoWindow(TQsoData &log) { (void)log; }
    virtual void refreshAfterMerge(TQsoData &log) { (void)log; }
    /// The country data: whether it needs saving, saving it, and dropping changes.
    virtual bool countryDataNeedsSaving() { return false; }
    virtual void saveCountryData() {}
    virtual void reloadCountryData() {}
};

/// Several observers told as one: the first (the observer of the log's services)
/// and those added after it, in that order. A call that returns a value
/// (countryDataNeedsSaving) asks each in turn until one says true; every other
/// call goes to each observer (saveCountryData and reloadCountryData too: each
/// saves or reloads what it holds). An observer may add or remove observers
/// while it is being told; one removed then is told nothing more.
class LogObserverList : public LogObserver {
public:
    void SetFirst(LogObserver *first) { m_first = first; }
    /// Adds observer after the others; one already in the list is not added again.
    void Add(LogObserver &observer);
    void Remove(LogObserver &observer);

    void logChanged() override;
    void stopBackupCountdown() override;
    void diskIndicator(DiskState state) override;
    void readingStarted() override;
    void readingEnded() override;
    void showQsoWindow(TQsoData &log) override;
    void refreshAfterMerge(TQsoData &log) override;
    bool countryDataNeedsSaving() override;
    void saveCountryData() override;
    void reloadCountryData() override;

private:
    /// Calls tell(observer) for each observer until it returns true; returns whether one did.
    bool tellUntil(const std::function<bool(LogObserver &)> &tell);
    template <typename... Params, typename... Args>
    void tellEach(void (LogObserver::*call)(Params...), Args &&...args);

    LogObserver *m_first = nullptr;
    std::vector<LogObserver *> m_added; ///< a removed one is null while observers are being told
    int m_telling = 0;                  ///< depth of nested tellings
};

/// The settings the log reads.
class LogSettings {
public:
    virtual ~LogSettings() = default;
    virtual bool cycleFiles() const { return true; }
    virtual std::uint8_t defaultGroup() const { return 0; }
    virtual DateFormat dateFormat() const { return DateFormat::MonthDayYear; }
};

/// The services handed to a log; any left null falls back to its default.
struct LogServices {
    UserNotifier *notifier = nullptr;
    ProgressService *progress = nullptr;
    const CallResolver *resolver = nullptr;
    AwardHooks *awards = nullptr;
    LogObserver *observer = nullptr;
    const LogSettings *settings = nullptr;
};

/// A notifier that writes nothing and answers every question with its first button.
class SilentNotifier : public UserNotifier {
public:
    Answer show(MessageKind, std::string_view, Buttons buttons) override
    {
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
};

/// A notifier that records every message and answers from a script (tests, vellum-cli).
class RecordingNotifier : public UserNotifier {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
        std::string caption; ///< empty: the program's name
    };
    std::vector<Shown> shown;
    std::vector<Answer> answers; ///< given in order; Yes (or Ok) when used up

    Answer show(MessageKind kind, std::string_view text, Buttons buttons) override
    {
        return showTitled(kind, "", text, buttons);
    }
    Answer showTitled(MessageKind kind, std::string_view caption, std::string_view text, Buttons buttons) override
    {
        shown.push_back({kind, std::string(text), std::string(caption)});
        if (!answers.empty()) {
            Answer a = answers.front();
            answers.erase(answers.begin());
            return a;
        }
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
};

} // namespace vellum
