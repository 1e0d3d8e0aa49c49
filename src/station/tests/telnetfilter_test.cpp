// The telnet layer: data through, commands out and answered, in any split.

#include "station/telnetfilter.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

using namespace Telnet;
using Bytes = std::vector<std::uint8_t>;

TEST(TelnetFilter, CommandsAreTakenOutAndAnsweredInAnySplit)
{
    const Bytes stream = {'D', 'X', IAC, WILL, Echo,  IAC, DO,  24, 'a', IAC, IAC, 'b', IAC, SB, 24, 1,
                          IAC, IAC, IAC, SE,  'c',  IAC, WILL, 34, IAC, 241, '\r', '\n'};
    const Bytes data = {'D', 'X', 'a', 255, 'b', 'c', '\r', '\n'};
    const Bytes reply = {IAC, DO, Echo, IAC, WONT, 24, IAC, DONT, 34};
    for (std::size_t split = 0; split <= stream.size(); ++split) {
        TelnetFilter filter;
        TelnetFilter::Result first = filter.Feed(std::span(stream).first(split));
        TelnetFilter::Result second = filter.Feed(std::span(stream).subspan(split));
        first.data.insert(first.data.end(), second.data.begin(), second.data.end());
        first.reply.insert(first.reply.end(), second.reply.begin(), second.reply.end());
        EXPECT_EQ(first.data, data) << "split at " << split;
        EXPECT_EQ(first.reply, reply) << "split at " << split;
    }
}

TEST(TelnetFilter, AnAgreedOptionIsNotAnsweredAgainAndSending255IsDoubled)
{
    TelnetFilter filter;
    EXPECT_EQ(filter.Feed(Bytes{IAC, WILL, SuppressGoAhead}).reply, (Bytes{IAC, DO, SuppressGoAhead}));
    EXPECT_TRUE(filter.Feed(Bytes{IAC, WILL, SuppressGoAhead}).reply.empty()) << "no loop";
    EXPECT_EQ(filter.Feed(Bytes{IAC, WONT, SuppressGoAhead}).reply, (Bytes{IAC, DONT, SuppressGoAhead}));
    EXPECT_EQ(TelnetFilter::Escape(Bytes{'a', 255, 'b'}), (Bytes{'a', 255, 255, 'b'}));
}

} // namespace
} // namespace vellum
