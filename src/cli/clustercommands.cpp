// vellum-cli: the cluster client of the terminals.
// "cluster HOST PORT [--login CALL] [--send LINE]... [--seconds N]" connects with
// the program's telnet client, answers a "login:" prompt with the call, sends the
// lines, and prints what the node sends (telnet commands removed) until the node
// closes or N seconds passed. "http URL" fetches a page of spots as the page mode
// of a terminal does and prints its lines.

#include "cli.h"

#include "cluster/clusteraddress.h"
#include "cluster/httppage.h"
#include "cluster/terminaltext.h"
#include "station/channels.h"

#include <charconv>
#include <chrono>
#include <iostream>

namespace vellum::cli {

namespace {

using Clock = std::chrono::steady_clock;

int secondsOption(CliContext &context)
{
    std::string text = context.takeOption("--seconds", "30");
    int seconds = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 1 || seconds > 86400)
        throw CliError("Not a number of seconds: " + text);
    return seconds;
}

std::string readAvailable(ByteChannel &channel)
{
    std::string text;
    while (auto byte = channel.GetChar())
        text += static_cast<char>(*byte);
    return text;
}

bool endsWithLogin(const std::string &recent)
{
    std::string lower;
    for (char c : recent)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    std::size_t at = lower.rfind("login:");
    return at != std::string::npos && lower.find_first_not_of(" \r\n", at + 6) == std::string::npos;
}

int clusterCommand(CliContext &context)
{
    std::string login = context.takeOption("--login");
    std::vector<std::string> lines;
    for (std::string line; !(line = context.takeOption("--send")).empty();)
        lines.push_back(line);
    int seconds = secondsOption(context);
    const std::string &host = context.arg(0, "the host");
    const std::string &port = context.arg(1, "the port");
    ChannelRuntime runtime;
    std::unique_ptr<ByteChannel> node = MakeTcpChannel(host, port, true, 10000);
    if (!node->Open())
        throw CliError(node->LastError());
    auto deadline = Clock::now() + std::chrono::seconds(seconds);
    auto connectedAt = Clock::now();
    std::string recent;
    bool loggedIn = login.empty(), sent = false;
    while (Clock::now() < deadline && node->IsOpen()) {
        node->WaitForData(100);
        std::string text = readAvailable(*node);
        std::cout << text << std::flush;
        recent = (recent + text).substr(recent.size() + text.size() > 200 ? recent.size() + text.size() - 200 : 0);
        if (!loggedIn && endsWithLogin(recent)) {
            node->PutString(login + "\n");
            loggedIn = true;
            recent.clear();
        }
        bool settled = loggedIn && (login.empty() ? Clock::now() - connectedAt > std::chrono::milliseconds(500) : true);
        if (!sent && settled) {
            for (const std::string &line : lines)
                node->PutString(line + "\n");
            node->Flush(2000);
            sent = true;
        }
    }
    std::cout << readAvailable(*node) << std::flush;
    node->Close();
    return 0;
}

int httpCommand(CliContext &context)
{
    ClusterAddress address = ParseClusterAddress(context.arg(0, "the URL"));
    if (!address.IsPage())
        throw CliError("Not a web address: " + context.args[0]);
    ChannelRuntime runtime;
    HttpPageReader reader(address);
    TerminalText text;
    text.SetWidth(100000);
    text.OnLine([](const std::string &line) { std::cout << line << "\n"; });
    std::unique_ptr<ByteChannel> page;
    std::string error;
    HttpStep step = reader.Start();
    for (int rounds = 0; rounds < 100000; ++rounds) {
        if (!step.received.empty())
            text.Receive(step.received);
        for (const std::string &caption : step.captions)
            if (caption.rfind("Error: ", 0) == 0)
                error = caption.substr(7);
        if (step.close && page)
            page->Close();
        if (step.open) {
            const ClusterAddress &next = reader.Address();
            page = MakeTcpChannel(next.host, next.port, false, 10000);
            if (!page->Open())
                throw CliError(page->LastError());
            step = reader.Connected();
            page->PutString(step.send);
            step.send.clear();
            step.open = false;
            continue;
        }
        if (!page || !page->IsOpen() || reader.CurrentState() == HttpPageReader::State::Failed) {
            if (reader.CurrentState() != HttpPageReader::State::Idle && reader.CurrentState() != HttpPageReader::State::Failed)
                reader.Disconnected();
            break;
        }
        page->WaitForData(10000);
        std::string bytes = readAvailable(*page);
        if (bytes.empty() && !page->IsOpen()) {
            step = reader.Disconnected();
            step.close = false;
            if (!step.captions.empty() && step.captions.back().rfind("Unexpected disconnect", 0) == 0)
                error = step.captions.back();
            break;
        }
        step = reader.Received(std::span(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()));
    }
    text.FlushPartialLine();
    if (!error.empty())
        throw CliError(error);
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("cluster", "cluster HOST PORT [--login CALL] [--send LINE]... [--seconds N]", clusterCommand);
VELLUM_CLI_COMMAND("http", "http URL  (a page of spots read as a terminal's page mode reads it)", httpCommand);

} // namespace vellum::cli
