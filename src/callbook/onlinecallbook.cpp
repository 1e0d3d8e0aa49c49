#include "onlinecallbook.h"

#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/trim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vellum {

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string field(const OnlineFields &fields, const char *name)
{
    auto it = fields.find(name);
    return it == fields.end() ? std::string() : std::string(Trim(it->second));
}

bool yes(const std::string &flag) { return flag == "1" || flag == "Y" || flag == "y"; }

std::string joined(std::initializer_list<std::string> parts)
{
    std::string out;
    for (const std::string &part : parts)
        if (!part.empty())
            out += (out.empty() ? "" : " ") + part;
    return out;
}

/// Writes the whole text to a new file of mode 0600, synced, then renames it over name.
void writePrivateFile(const std::string &name, const std::string &text)
{
    std::string temporary = name + ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        throw EFileError("Cannot write " + name + ": " + std::strerror(errno));
    ::fchmod(fd, 0600); // an old temporary file keeps its mode otherwise
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    bool ok = written == text.size() && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), name.c_str()) != 0) {
        int error = errno;
        std::remove(temporary.c_str());
        throw EFileError("Cannot write " + name + ": " + std::strerror(error));
    }
}

} // namespace

std::string DefaultServiceUrl(OnlineService service)
{
    return service == OnlineService::HamQthXml ? "https://www.hamqth.com/xml.php"
                                               : "https://xmldata.qrz.com/xml/current/";
}

std::string ServiceName(OnlineService service)
{
    return service == OnlineService::HamQthXml ? "HamQTH" : "QRZ.com";
}

std::string OnlineSettingsFileName() { return SaveDir() + "/CALLBOOK.CFG"; }

OnlineCallbookSettings LoadOnlineSettings(const std::string &fileName)
{
    OnlineCallbookSettings settings;
    std::ifstream in(fileName);
    std::string line;
    while (std::getline(in, line)) {
        auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string key(Trim(std::string_view(line).substr(0, equals)));
        std::string value(TrimRight(std::string_view(line).substr(equals + 1)));
        if (key == "service")
            settings.service = value == "1" ? OnlineService::HamQthXml : OnlineService::QrzXml;
        else if (key == "user")
            settings.user = value;
        else if (key == "password")
            settings.password = value;
        else if (key == "url")
            settings.baseUrl = value;
        else if (key == "timeout") {
            int seconds = std::atoi(value.c_str());
            settings.timeoutSeconds = seconds >= 1 && seconds <= 300 ? seconds : 15;
        }
    }
    return settings;
}

void SaveOnlineSettings(const OnlineCallbookSettings &settings, const std::string &fileName)
{
    auto oneLine = [](const std::string &text) {
        std::string out = text;
        std::replace(out.begin(), out.end(), '\n', ' ');
        std::replace(out.begin(), out.end(), '\r', ' ');
        return out;
    };
    std::ostringstream text;
    text << "service=" << static_cast<int>(settings.service) << "\nuser=" << oneLine(settings.user)
         << "\npassword=" << oneLine(settings.password) << "\nurl=" << oneLine(settings.baseUrl)
         << "\ntimeout=" << settings.timeoutSeconds << "\n";
    writePrivateFile(fileName, text.str());
}

CallbookLines OnlineResultLines(OnlineService service, const OnlineFields &fields)
{
    CallbookLines lines;
    bool qrz = service == OnlineService::QrzXml;
    std::string call = field(fields, qrz ? "call" : "callsign");
    for (char &c : call)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    lines.push_back(call);
    std::string name = qrz ? joined({field(fields, "fname"), field(fields, "name")}) : field(fields, "adr_name");
    if (name.empty() && !qrz)
        name = field(fields, "nick");
    const char *const qrzAddress[] = {"addr1", "addr2"};
    const char *const hamQthAddress[] = {"adr_street1", "adr_street2", "adr_street3"};
    if (!name.empty())
        lines.push_back(name);
    if (qrz) {
        for (const char *key : qrzAddress)
            if (std::string text = field(fields, key); !text.empty())
                lines.push_back(text);
        if (std::string town = joined({field(fields, "state"), field(fields, "zip")}); !town.empty())
            lines.push_back(town);
    } else {
        for (const char *key : hamQthAddress)
            if (std::string text = field(fields, key); !text.empty())
                lines.push_back(text);
        if (std::string town = joined({field(fields, "adr_zip"), field(fields, "adr_city")}); !town.empty())
            lines.push_back(town);
    }
    if (std::string country = field(fields, qrz ? "country" : "adr_country"); !country.empty())
        lines.push_back(country);
    if (std::string grid = field(fields, "grid"); !grid.empty())
        lines.push_back("Grid: " + grid);
    if (std::string manager = field(fields, qrz ? "qslmgr" : "qsl_via"); !manager.empty())
        lines.push_back(call + " via " + manager);
    if (fields.count("lotw"))
        lines.push_back(std::string("LoTW: ") + (yes(field(fields, "lotw")) ? "yes" : "no"));
    if (fields.count("eqsl"))
        lines.push_back(std::string("eQSL: ") + (yes(field(fields, "eqsl")) ? "yes" : "no"));
    return lines;
}

OnlineError ClassifyOnlineError(const std::string &error)
{
    std::string text = lower(error);
    if (text.empty())
        return OnlineError::None;
    if (text.find("not found") != std::string::npos)
        return OnlineError::NotFound;
    if (text.find("password") != std::string::npos || text.find("user") != std::string::npos)
        return OnlineError::BadLogin;
    if (text.find("session") != std::string::npos || text.find("expired") != std::string::npos)
        return OnlineError::SessionExpired;
    return OnlineError::Other;
}

std::optional<OnlineAnswer> OnlineCache::Find(const std::string &call, Clock::time_point now) const
{
    auto it = m_entries.find(call);
    if (it == m_entries.end() || now - it->second.stored >= m_keep || now < it->second.stored)
        return std::nullopt;
    return it->second.answer;
}

void OnlineCache::Store(const std::string &call, OnlineAnswer answer, Clock::time_point now)
{
    m_entries[call] = {std::move(answer), now};
}

} // namespace vellum
