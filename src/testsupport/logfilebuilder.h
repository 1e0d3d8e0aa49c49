#pragma once
// Builds log files byte by byte from the documented layouts, independently of
// the production writer, so that reader tests start from bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace vellum::test {

/// One QSO as the fields of a file record; which ones are written depends on the format.
struct FileQso {
    std::string call;
    std::int32_t time = 0;     ///< seconds ("G", "H")
    std::uint16_t oldTime = 0; ///< minutes + 1 (formats up to "F")
    std::uint16_t date = 0;
    std::uint8_t band = 0, mode = 0;
    std::uint32_t flags = 0;   ///< AwdFlags, or the old flags word
    std::uint16_t rstRcvd = 0, rstSent = 0;
    std::uint8_t state = 0;
    std::string iota;
    std::int32_t tenTen = 0;   ///< formats up to "F"
    std::uint16_t county = 0;
    std::string grid;
    std::uint16_t qslDate = 0;
    std::uint8_t qslMethod = 0, satellite = 0, group = 0;
    std::uint16_t prtSeqNr = 0;
    std::string recvd;
    std::int16_t country = 0;
    std::uint8_t zone = 0, qslFlags = 0;
    std::string custAwd, custValue;
    std::string note;
};

struct FileSwl {
    std::string call;
    std::uint16_t date = 0;
    std::int32_t time = 0;
    std::uint8_t band = 0, mode = 0, group = 0, printed = 0;
};

class LogFileBuilder {
public:
    explicit LogFileBuilder(char format, std::uint32_t headerWord = 0) : m_format(format), m_headerWord(headerWord) {}

    std::vector<std::string> groups;
    std::vector<std::vector<std::uint8_t>> selections; ///< 64 bytes each
    std::vector<FileQso> qsos;
    std::vector<std::pair<std::string, std::string>> notes;
    std::vector<FileSwl> swl;
    bool omitSwlSection = false; ///< end the file right after the notes

    std::vector<std::uint8_t> bytes() const;
    void writeTo(const std::string &path) const;

private:
    char m_format;
    std::uint32_t m_headerWord;
};

/// A 64-byte selection record.
std::vector<std::uint8_t> SelectionBytes(const std::string &name, bool dateFilter, std::uint16_t first,
                                         std::uint16_t last, bool groupFilter, std::vector<int> groups);

} // namespace vellum::test
