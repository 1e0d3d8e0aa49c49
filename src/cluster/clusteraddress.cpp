#include "clusteraddress.h"

#include "logstore/trim.h"

namespace vellum {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != prefix[i])
            return false;
    }
    return true;
}

} // namespace

ClusterAddress ParseClusterAddress(std::string_view line)
{
    ClusterAddress address;
    if (std::size_t comma = line.find(','); comma != std::string_view::npos)
        line.remove_prefix(comma + 1); // a description before the first comma
    line = Trim(line);
    if (startsWithNoCase(line, "HTTP://")) {
        address.web = true;
        line.remove_prefix(7);
    }
    std::size_t slash = line.find('/');
    std::string_view hostPort = line.substr(0, slash);
    if (slash != std::string_view::npos)
        address.path = std::string(line.substr(slash));
    else if (address.web)
        address.path = "/";
    std::size_t colon = hostPort.find(':');
    address.host = std::string(Trim(hostPort.substr(0, colon)));
    if (colon != std::string_view::npos)
        address.port = std::string(Trim(hostPort.substr(colon + 1)));
    else
        address.port = address.path.empty() ? "23" : "80";
    return address;
}

std::vector<std::string> AddressListLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty() && lines.size() < 1000) {
        std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty())
            lines.emplace_back(line.substr(0, 255));
    }
    return lines;
}

} // namespace vellum
