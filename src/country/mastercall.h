#pragma once
// The master callsign file "VELLUM.MAS": a packed, sorted list of known calls
// that the "Master Calls" window searches while the user types a call.
// Layout: the characters "VELLMAS1"; one byte, the length of the longest call;
// the calls in ascending order without separators, the first character of each
// with bit 7 set and the others with it clear; the byte 0xFF. Calls hold only
// "/", digits and upper-case letters, 3 to 12 characters.

#include "logstore/services.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

inline constexpr std::string_view MasterMagic = "VELLMAS1";
inline constexpr std::size_t MasterCallCapacity = 12;
inline constexpr std::size_t MasterCallMinimum = 3;

namespace MasterText {
inline constexpr const char *NotFound = "Master file:\r";      ///< + file name + "\r" + NotFoundEnd
inline constexpr const char *NotFoundEnd = "not found, no calls loaded";
inline constexpr const char *NotMasterFile = "Not a VELLUM master file";
inline constexpr const char *ConversionFinished = "Conversion finished\r"; ///< + count + Calls
inline constexpr const char *Calls = " Calls";
} // namespace MasterText

/// The calls of a master file, kept as one block in file order.
class TMasterCalls {
public:
    /// Takes the calls from the bytes of a master file. Bytes that do not begin
    /// with "VELLMAS1" give false and no calls. A damaged list never fails: the
    /// calls end at 0xFF or at the end of the bytes, characters beyond 12 are
    /// dropped, and a call with a character other than "/", a digit or an
    /// upper-case letter is left out.
    bool LoadBytes(std::span<const std::uint8_t> bytes);
    void Clear();

    std::size_t Count() const { return m_starts.size(); }
    std::string_view Call(std::size_t index) const;
    /// The length of the longest call held (0 when none).
    std::size_t LongestCall() const { return m_longest; }

    /// The calls that match the text typed in the call field, once each, in
    /// file order: a leading "?" (repeated) switches to substring search and is
    /// removed, trailing "?" are removed, and fewer than 2 characters left give
    /// no calls. "?" matches any character. Without substring search (from the
    /// text or the flag) a call must begin with the text, else contain it.
    std::vector<std::string_view> Search(std::string_view text, bool substring) const;

private:
    std::string m_block;
    std::vector<std::uint32_t> m_starts;
    std::size_t m_longest = 0;
};

/// A search prepared from the text typed: the pattern and whether it may lie anywhere in a call.
struct MasterSearch {
    std::string pattern;
    bool substring = false;
};
/// The search the typed text asks for (upper-cased); nothing when fewer than 2 characters are left.
std::optional<MasterSearch> PrepareMasterSearch(std::string_view text, bool substring);

/// What a file to convert holds: any bytes, or a list of calls whose lines
/// beginning with "#" are comments (the SCP lists of contest programs).
enum class MasterSource { AnyBytes, CallList };

/// The calls in bytes: every run of "/", digits and letters (made upper case)
/// cut to 12 characters; runs of 3 or more characters, once each, in ascending
/// order.
std::vector<std::string> MasterCandidates(std::span<const std::uint8_t> bytes, MasterSource source);
/// The bytes of a master file holding calls (ascending, each once).
std::vector<std::uint8_t> MasterFileBytes(const std::vector<std::string> &calls);

/// Converts the file source into the master file target (written safely);
/// returns the number of calls. Throws EFileError naming the file that failed.
std::size_t ConvertMasterFile(const std::string &source, const std::string &target, bool cycleFiles,
                              MasterSource kind);

/// VELLUM.MAS in the program directory (found without regard to case).
std::string MasterFileName();

/// Loads the master file into calls for the window. A missing file gives
/// "Master file:\r<name>\rnot found, no calls loaded", another magic "Not a
/// VELLUM master file", an unreadable file the reason: each as a message, with
/// no calls loaded and the result false.
bool OpenMasterFile(TMasterCalls &calls, const std::string &fileName, UserNotifier &notifier);

/// The window's "Convert": builds the master file fileName from source, shows
/// "Conversion finished\r<n> Calls" and loads the file again. A failure is
/// shown as an error; the calls held stay as they were and the result is false.
bool RunMasterConversion(TMasterCalls &calls, const std::string &source, const std::string &fileName,
                         bool cycleFiles, UserNotifier &notifier);

} // namespace vellum
