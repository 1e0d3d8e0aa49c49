#pragma once
// The addresses of the telnet address list ("VELLUM.TCP" in SAVE): a line may
// start with a description and a comma; "HTTP://" marks a web page whose spots
// are read in page mode; otherwise the address is a telnet cluster node.

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

inline constexpr const char *AddressListName = "VELLUM.TCP";

struct ClusterAddress {
    std::string host;
    std::string port;  ///< "23" for telnet, "80" for the web unless the line names one
    std::string path;  ///< empty: a telnet session; else the page to fetch
    bool web = false;

    bool IsPage() const { return !path.empty(); }
    std::string Text() const { return host + ":" + port; }
};

/// An address line as the address list holds it.
ClusterAddress ParseClusterAddress(std::string_view line);
/// The lines of an address list text (blank lines left out, at most 1000, each cut to 255 characters).
std::vector<std::string> AddressListLines(std::string_view text);

} // namespace vellum
