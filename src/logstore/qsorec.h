#pragma once
// The QSO record: its 75-byte stored layout and its two in-memory fields.

#include "shortstring.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace vellum {

/// An owned QSO note of up to 255 characters; holds nothing when empty.
class NoteText {
public:
    NoteText() = default;
    NoteText(const NoteText &other) { set(other.text()); }
    NoteText &operator=(const NoteText &other)
    {
        if (this != &other)
            set(other.text());
        return *this;
    }
    NoteText(NoteText &&) noexcept = default;
    NoteText &operator=(NoteText &&) noexcept = default;

    std::string_view text() const { return m_text ? std::string_view(*m_text) : std::string_view(); }
    bool empty() const { return !m_text; }
    /// Stores the text cut to 255 characters; an empty text frees the note.
    void set(std::string_view text);

private:
    std::unique_ptr<std::string> m_text;
};

/// QslFlags bits.
namespace QslFlag {
inline constexpr std::uint8_t Mark = 0x01; ///< transient mark of submissions and label printing
inline constexpr std::uint8_t Cnfm = 0x02;
inline constexpr std::uint8_t Label = 0x04;
inline constexpr std::uint8_t YLop = 0x08;
inline constexpr std::uint8_t QRP = 0x10;
inline constexpr std::uint8_t ValidDX = 0x20;
} // namespace QslFlag

struct TQsoRec {
    ShortString<12> Call;
    std::int32_t Time = 0;
    std::uint16_t Date = 0;
    std::uint8_t Band = 0;
    std::uint8_t Mode = 0;
    std::uint32_t AwdFlags = 0;
    std::uint16_t RstRcvd = 0;
    std::uint16_t RstSent = 0;
    std::uint8_t State = 0;
    ShortString<5> Iota;
    std::uint16_t County = 0;
    ShortString<6> Grid;
    std::uint16_t QslDate = 0;
    std::uint8_t QslMethod = 0;
    std::uint8_t Satellite = 0;
    std::uint8_t Group = 0;
    std::uint16_t PrtSeqNr = 0;
    ShortString<4> Recvd;
    std::int16_t Country = 0;
    std::uint8_t Zone = 0;
    std::uint8_t QslFlags = 0;
    ShortString<4> CustAwd;
    ShortString<8> CustValue;
    // In memory only:
    ShortString<7> WpxPfx;
    NoteText QsoNote;
};

/// Size of the stored part of a QSO record.
inline constexpr std::size_t QsoStoredSize = 75;

/// Byte offsets of the stored layout.
namespace QsoOffset {
inline constexpr std::size_t Call = 0, Time = 13, Date = 17, Band = 19, Mode = 20, AwdFlags = 21, RstRcvd = 25,
                             RstSent = 27, State = 29, Iota = 30, County = 36, Grid = 38, QslDate = 45,
                             QslMethod = 47, Satellite = 48, Group = 49, PrtSeqNr = 50, Recvd = 52, Country = 57,
                             Zone = 59, QslFlags = 60, CustAwd = 61, CustValue = 66;
static_assert(CustValue + 9 == QsoStoredSize);
} // namespace QsoOffset

/// Writes the stored part (75 bytes); unused string bytes are zero.
void StoreQso(const TQsoRec &rec, std::span<std::uint8_t, QsoStoredSize> out);
/// Reads the stored part; string lengths above their capacity are clamped.
void LoadQso(std::span<const std::uint8_t, QsoStoredSize> in, TQsoRec &rec);

/// The 16 award flag pairs in the order the QSO window shows them.
struct AwardFlagPair {
    const char *name;
    std::uint32_t submitted;
    std::uint32_t checked;
};
extern const std::array<AwardFlagPair, 16> AwardFlagTable;

} // namespace vellum
