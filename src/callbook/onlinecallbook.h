#pragma once
// The online callbooks: the two public XML callbook services (the session-key
// interface of the large commercial callbook and the free one), their settings
// kept in a file only the user can read, a per-call cache of a day, and the
// answers turned into the lookup window's lines. The network part is in
// Fonlinecallbook.h.

#include "resultlines.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace vellum {

enum class OnlineService : int {
    QrzXml = 0,    ///< session key from user and password, then lookups with the key
    HamQthXml = 1, ///< session id from user and password, then lookups with the id
};

struct OnlineCallbookSettings {
    OnlineService service = OnlineService::QrzXml;
    std::string user;
    std::string password;
    std::string baseUrl; ///< empty: the service's public address
    int timeoutSeconds = 15;
    bool operator==(const OnlineCallbookSettings &) const = default;
};

/// The public address of a service.
std::string DefaultServiceUrl(OnlineService service);
/// The service's name as shown in messages.
std::string ServiceName(OnlineService service);

/// The settings file SAVE/CALLBOOK.CFG ("key=value" lines); it holds a password,
/// so it is written readable by the user only (mode 0600), through a temporary
/// file made with that mode and renamed over the old one.
std::string OnlineSettingsFileName();
OnlineCallbookSettings LoadOnlineSettings(const std::string &fileName);
/// Throws EFileError when the file cannot be written.
void SaveOnlineSettings(const OnlineCallbookSettings &settings, const std::string &fileName);

/// The fields of one answer: element name (lower case) to text, of the record of
/// the call, plus "error" and "session" of the session part.
using OnlineFields = std::map<std::string, std::string>;

/// The lines of a found call: call, name, address, country, grid, QSL manager
/// ("CALL via MGR", so the manager is found in it), LoTW and eQSL.
CallbookLines OnlineResultLines(OnlineService service, const OnlineFields &fields);

/// How a lookup ended.
enum class OnlineOutcome { Found, NotFound, Failed };

/// The answer to one lookup: how it ended and its lines (a failure's is one line saying why).
struct OnlineAnswer {
    OnlineOutcome outcome = OnlineOutcome::Failed;
    CallbookLines lines;
};

/// What an error text of a service means.
enum class OnlineError { None, NotFound, BadLogin, SessionExpired, Other };
OnlineError ClassifyOnlineError(const std::string &error);

/// Answers (found or not found) kept per call for a day.
class OnlineCache {
public:
    using Clock = std::chrono::system_clock;
    explicit OnlineCache(std::chrono::seconds keep = std::chrono::hours(24)) : m_keep(keep) {}
    std::optional<OnlineAnswer> Find(const std::string &call, Clock::time_point now) const;
    void Store(const std::string &call, OnlineAnswer answer, Clock::time_point now);
    void Clear() { m_entries.clear(); }

private:
    struct Entry {
        OnlineAnswer answer;
        Clock::time_point stored;
    };
    std::chrono::seconds m_keep;
    std::map<std::string, Entry> m_entries;
};

} // namespace vellum
