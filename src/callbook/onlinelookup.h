#pragma once
// The online callbook for programs without an event loop of their own
// (vellum-cli): each lookup waits for its answer. No Qt in this header; the
// network side is OnlineCallbookClient (Fonlinecallbook.h).

#include "onlinecallbook.h"

#include <memory>
#include <string>

namespace vellum {

/// Looks calls up one after another in one session. Makes the Qt application
/// object when there is none.
class WaitingOnlineCallbook {
public:
    explicit WaitingOnlineCallbook(OnlineCallbookSettings settings);
    ~WaitingOnlineCallbook();
    WaitingOnlineCallbook(const WaitingOnlineCallbook &) = delete;
    WaitingOnlineCallbook &operator=(const WaitingOnlineCallbook &) = delete;

    /// The answer for call. Each request has the settings' time limit; a lookup that
    /// has not ended after four of them (log in, ask, log in again, ask again) fails.
    OnlineAnswer Lookup(const std::string &call);

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace vellum
