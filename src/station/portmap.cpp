#include "portmap.h"

#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/trim.h"

#include <filesystem>
#include <span>

namespace vellum {

namespace {

/// A device path a user may give: absolute, printable, no blanks inside.
bool usablePath(std::string_view path)
{
    if (path.size() < 2 || path.size() > 200 || path.front() != '/')
        return false;
    for (char c : path)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F)
            return false;
    return true;
}

} // namespace

PortMap::PortMap()
{
    for (int i = 0; i < ComPortCount; ++i)
        m_paths[static_cast<std::size_t>(i)] = "/dev/ttyS" + std::to_string(i);
}

std::string PortMap::DevicePath(int comNumber) const
{
    return comNumber >= 1 && comNumber <= ComPortCount ? m_paths[static_cast<std::size_t>(comNumber - 1)] : std::string();
}

void PortMap::SetDevicePath(int comNumber, std::string path)
{
    if (comNumber >= 1 && comNumber <= ComPortCount && usablePath(path))
        m_paths[static_cast<std::size_t>(comNumber - 1)] = std::move(path);
}

void PortMap::Parse(std::string_view text, std::vector<std::string> &problems)
{
    int number = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        std::size_t equals = line.find('=');
        std::string_view name = Trim(line.substr(0, equals));
        std::string_view path = equals == std::string_view::npos ? std::string_view() : Trim(line.substr(equals + 1));
        int com = name.size() == 4 && (name.substr(0, 3) == "COM" || name.substr(0, 3) == "com") ? name[3] - '0' : 0;
        if (com < 1 || com > ComPortCount || !usablePath(path)) {
            problems.push_back("line " + std::to_string(number) + ": not \"COM1\" to \"COM8\" = a device path");
            continue;
        }
        m_paths[static_cast<std::size_t>(com - 1)] = std::string(path);
    }
}

std::string PortMap::Text() const
{
    std::string text = "# The device of each COM port of the program\n";
    for (int i = 1; i <= ComPortCount; ++i)
        text += "COM" + std::to_string(i) + "=" + DevicePath(i) + "\n";
    return text;
}

std::string PortMap::FileName() { return ProgramDir() + "/" + PortsFileName; }

PortMap PortMap::Load(std::vector<std::string> &problems)
{
    PortMap map;
    std::error_code error;
    if (!std::filesystem::exists(FileName(), error))
        return map;
    if (std::filesystem::file_size(FileName(), error) > 65536) {
        problems.push_back(FileName() + ": too large for a ports file, not read");
        return map;
    }
    try {
        std::vector<std::uint8_t> bytes = ReadWholeFile(FileName());
        map.Parse(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()), problems);
    } catch (const std::exception &e) {
        problems.push_back(e.what());
    }
    return map;
}

void PortMap::Save() const
{
    std::string text = Text();
    WriteWholeFile(FileName(), std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()), false);
}

} // namespace vellum
