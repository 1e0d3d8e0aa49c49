#pragma once
// Which device each of COM1..COM8 is: a small text file in the program
// directory, one "COMn=/dev/..." line per port, that the user may edit (a USB
// adapter is /dev/ttyUSB0). Missing lines keep the defaults /dev/ttyS0..7.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

inline constexpr int ComPortCount = 8;
inline constexpr const char *PortsFileName = "VELLUM.PORTS";

class PortMap {
public:
    PortMap();
    /// The device of COMn (1..8); empty for a number out of range.
    std::string DevicePath(int comNumber) const;
    void SetDevicePath(int comNumber, std::string path);

    /// Reads the text of a ports file; lines it cannot use are reported (with
    /// their numbers) in problems and change nothing.
    void Parse(std::string_view text, std::vector<std::string> &problems);
    std::string Text() const;

    /// The ports file of the program directory; a missing file gives the defaults.
    static PortMap Load(std::vector<std::string> &problems);
    /// Writes the program directory's ports file through the safe writer; throws EFileError.
    void Save() const;
    static std::string FileName();

private:
    std::array<std::string, ComPortCount> m_paths;
};

} // namespace vellum
