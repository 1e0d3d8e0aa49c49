#include "services.h"

#include "qsorec.h"

#include <algorithm>

namespace vellum {

void CallResolver::ResolveCountry(TQsoRec &rec) const
{
    // Without country data every call is of no known country.
    rec.Country = 0;
    rec.Zone = 0;
}

std::string CallResolver::WpxPrefix(std::string_view) const { return {}; }

// --- LogObserverList -------------------------------------------------------------

void LogObserverList::Add(LogObserver &observer)
{
    if (&observer == m_first || std::find(m_added.begin(), m_added.end(), &observer) != m_added.end())
        return;
    m_added.push_back(&observer);
}

void LogObserverList::Remove(LogObserver &observer)
{
    if (&observer == m_first)
        m_first = nullptr;
    auto at = std::find(m_added.begin(), m_added.end(), &observer);
    if (at == m_added.end())
        return;
    if (m_telling > 0)
        *at = nullptr; // the list is being walked: the slot is dropped afterwards
    else
        m_added.erase(at);
}

bool LogObserverList::tellUntil(const std::function<bool(LogObserver &)> &tell)
{
    bool answered = false;
    ++m_telling;
    if (m_first)
        answered = tell(*m_first);
    // By index: an observer told may add observers, which moves the vector.
    for (std::size_t i = 0; !answered && i < m_added.size(); ++i)
        if (m_added[i])
            answered = tell(*m_added[i]);
    if (--m_telling == 0)
        std::erase(m_added, nullptr);
    return answered;
}

template <typename... Params, typename... Args>
void LogObserverList::tellEach(void (LogObserver::*call)(Params...), Args &&...args)
{
    tellUntil([&](LogObserver &observer) {
        (observer.*call)(args...);
        return false;
    });
}

void LogObserverList::logChanged() { tellEach(&LogObserver::logChanged); }
void LogObserverList::stopBackupCountdown() { tellEach(&LogObserver::stopBackupCountdown); }
void LogObserverList::diskIndicator(DiskState state) { tellEach(&LogObserver::diskIndicator, state); }
void LogObserverList::readingStarted() { tellEach(&LogObserver::readingStarted); }
void LogObserverList::readingEnded() { tellEach(&LogObserver::readingEnded); }
void LogObserverList::showQsoWindow(TQsoData &log) { tellEach(&LogObserver::showQsoWindow, log); }
void LogObserverList::refreshAfterMerge(TQsoData &log) { tellEach(&LogObserver::refreshAfterMerge, log); }
void LogObserverList::saveCountryData() { tellEach(&LogObserver::saveCountryData); }
void LogObserverList::reloadCountryData() { tellEach(&LogObserver::reloadCountryData); }

bool LogObserverList::countryDataNeedsSaving()
{
    return tellUntil([](LogObserver &observer) { return observer.countryDataNeedsSaving(); });
}

} // namespace vellum
