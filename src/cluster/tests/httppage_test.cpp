// Page mode: the HTTP exchange, redirects, failures and the <PRE> lines.

#include "cluster/httppage.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

HttpStep feed(HttpPageReader &reader, const std::string &text)
{
    return reader.Received(std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()));
}

TEST(ClusterAddress, LinesOfTheAddressList)
{
    ClusterAddress telnet = ParseClusterAddress("My node, dxc.example.net:7300");
    EXPECT_EQ(std::make_tuple(telnet.host, telnet.port, telnet.IsPage()), std::make_tuple(std::string("dxc.example.net"), std::string("7300"), false));
    ClusterAddress page = ParseClusterAddress("HTTP://spots.example.org/dx/list.html");
    EXPECT_EQ(std::make_tuple(page.host, page.port, page.path), std::make_tuple(std::string("spots.example.org"), std::string("80"), std::string("/dx/list.html")));
    EXPECT_EQ(ParseClusterAddress("http://example.org").path, "/");
    ClusterAddress bare = ParseClusterAddress("node.example.net");
    EXPECT_EQ(bare.port, "23");
    EXPECT_FALSE(bare.IsPage());
    EXPECT_EQ(AddressListLines("a\r\n\r\n  b  \n").size(), 2u);
}

TEST(HttpPageReader, APreBlockBecomesTerminalLines)
{
    HttpPageReader reader(ParseClusterAddress("http://h/spots"));
    HttpStep start = reader.Start();
    EXPECT_TRUE(start.open);
    EXPECT_EQ(start.captions.back(), "Connecting to h:80");
    HttpStep connected = reader.Connected();
    EXPECT_EQ(connected.send, "GET /spots HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(connected.suspendSpots);
    // Split anywhere, CR LF pairs across blocks.
    const std::string spot = "DX de W1AW:     14025.0  JA1XYZ       cq up                  1234Z 09 Dec";
    std::string page = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n<html><PRE>\r\n" + spot + "\r\n"
                       "short\r\n</PRE>\r\nDX de K1AA:     7001.0  XX9XX       outside the block     1200Z 09 Dec\r\n";
    std::string received;
    for (std::size_t at = 0; at < page.size(); at += 7)
        received += feed(reader, page.substr(at, 7)).received;
    std::string expected = spot.substr(0, spot.size() - 12);
    expected[10] = ' '; // the colon after the spotter, with the Z of the time
    EXPECT_EQ(received, expected + " <1234 09-Dec>\r\n");
    EXPECT_EQ(reader.Disconnected().captions.back(), "") << "the terminal's own caption again";
    EXPECT_EQ(ConvertSpotPageLine("DX de W1AW:  14025.0  JA1XYZ  cq up  x12340912Dec"), "DX de W1AW:  14025.0  JA1XYZ  cq up   <1234091-Dec>\r\n");
}

TEST(HttpPageReader, FailuresRedirectsAndLoops)
{
    auto run = [](const std::string &response) {
        HttpPageReader reader(ParseClusterAddress("http://h/p"));
        reader.Start();
        reader.Connected();
        HttpStep step = feed(reader, response);
        return step.captions.empty() ? std::string() : step.captions.back();
    };
    EXPECT_EQ(run("HTTP/1.0 404 Not Found\r\n"), "Error: Unknown status code = HTTP/1.0 404 Not Found");
    EXPECT_EQ(run("SSH-2.0-x\r\n"), "Error: Unexpected header = SSH-2.0-x");
    EXPECT_EQ(run("HTTP/1.0\r\n"), "Error: No Status code");
    EXPECT_EQ(run("HTTP/1.0 200 OK\r\nContent-Type: image/png\r\n\r\n"), "Error: Not an HTML/TEXT document");

    HttpPageReader reader(ParseClusterAddress("http://h/p"));
    reader.Start();
    int redirects = 0;
    std::string last;
    for (int i = 0; i < 10 && reader.CurrentState() != HttpPageReader::State::Failed; ++i) {
        reader.Connected();
        HttpStep step = feed(reader, "HTTP/1.0 302 Found\r\nLocation: http://other:8080/next\r\n\r\n");
        redirects += step.open ? 1 : 0;
        last = step.captions.back();
    }
    EXPECT_EQ(redirects, HttpPageReader::MaxRedirects);
    EXPECT_EQ(last, "Error: Too many redirects") << "a redirect loop ends";
    EXPECT_EQ(reader.Address().Text(), "other:8080");
    reader.Disconnected();
    EXPECT_TRUE(reader.Start().open) << "a failed transfer starts again once the connection is gone";
    HttpPageReader aborted(ParseClusterAddress("http://h/p"));
    aborted.Start();
    EXPECT_EQ(aborted.Start().warning, "Transfer aborted");
}

} // namespace
} // namespace vellum
