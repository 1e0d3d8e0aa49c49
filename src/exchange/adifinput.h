#pragma once
// The tag reader of ADIF files: "<" name [":" length [":" type]] ">" and then
// exactly length bytes of value. It reads any bytes without trusting them:
// lengths are bounded by the bytes left, names and values are cut, a length
// that runs past the end of the file or over the next record's end is reported.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vellum {

/// How the bytes of values are taken.
enum class AdifText {
    Detect, ///< a value that is valid UTF-8 with other than ASCII characters is converted to cp1252
    Cp1252, ///< values are cp1252 as they stand (files written by this program)
};

/// A read position over the bytes of an ADIF file. A Ctrl-Z (code 26) outside
/// values ends the input, as it ends old DOS text files.
class AdifInput {
public:
    explicit AdifInput(std::string_view bytes) : m_bytes(bytes) {}

    std::size_t Position() const { return m_position; }
    std::size_t Size() const { return m_bytes.size(); }
    bool AtEnd() const { return m_position >= m_bytes.size(); }
    void Seek(std::size_t position) { m_position = position < m_bytes.size() ? position : m_bytes.size(); }
    std::string_view Bytes() const { return m_bytes; }

    AdifText text = AdifText::Detect;

private:
    std::string_view m_bytes;
    std::size_t m_position = 0;
};

/// The most characters of a value that are kept.
inline constexpr std::size_t AdifValueCapacity = 255;

struct AdifTag {
    std::string name;           ///< upper case (a..z only); empty at the end of the input
    std::string value;          ///< cp1252, at most 255 characters; LF made "|", CR dropped
    std::size_t offset = 0;     ///< byte offset of the tag's "<"
    std::uint64_t length = 0;   ///< the length count as written (saturated)
    bool cutOff = false;        ///< the input ended before length bytes of value
    bool swallowedEor = false;  ///< the value spans an "<EOR>": its length count is wrong
    bool runsOn = false;        ///< other text than blanks follows the value: its length count is too small
    std::size_t afterEor = 0;   ///< with swallowedEor: the position just after that "<EOR>"
    int replaced = 0;           ///< UTF-8 characters cp1252 lacks, each made "?"
};

/// Reads the next tag: skips to "<", reads the name up to ":" or ">" (CR and LF
/// skipped; a "<" starts the tag afresh), the decimal length up to ":" or ">"
/// (other characters ignored), an optional one-character type indicator, and
/// after ">" the value. A tag whose type indicator is not followed by ">" has no
/// value. Returns false, with an empty name, at the end of the input.
bool ReadAdifTag(AdifInput &input, AdifTag &tag);

/// Whether text is well-formed UTF-8 (a sequence cut off at the very end counts as well-formed).
bool IsWellFormedUtf8(std::string_view text);

/// A record of the file cannot be read as written (a wrong length count); the
/// message says where. The reader has moved past the damage.
class EAdifFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vellum
