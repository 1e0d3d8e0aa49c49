#include "adifreader.h"

#include "adifmodes.h"
#include "detail/text.h"
#include "importfields.h"
#include "importfilter.h"

#include "config/configrecord.h"
#include "logstore/compare.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vellum {

namespace {

enum class Tag {
    Address, AppMode, ArrlSect, Band, BandRx, Call, Cnty, Comment, ContestId, Cqz, Dxcc, Eor, Freq, Gridsquare, Iota, Mode, Name,
    Notes, QslRcvd, QslSent, QslVia, QslsDate, QsoDate, Qth, RstRcvd, RstSent, Srx, State, Stx, Submode, TenTen, TimeOff,
    TimeOn, Unknown
};

struct TagName {
    std::string_view name;
    Tag tag;
};

// Sorted by name for the binary search.
constexpr std::array<TagName, 33> TagNames = {{
    {"ADDRESS", Tag::Address},   {"APP_VELLUM_MODE", Tag::AppMode}, {"ARRL_SECT", Tag::ArrlSect}, {"BAND", Tag::Band},
    {"BAND_RX", Tag::BandRx},    {"CALL", Tag::Call},
    {"CNTY", Tag::Cnty},         {"COMMENT", Tag::Comment},    {"CONTEST_ID", Tag::ContestId}, {"CQZ", Tag::Cqz},
    {"DXCC", Tag::Dxcc},         {"EOR", Tag::Eor},            {"FREQ", Tag::Freq},         {"GRIDSQUARE", Tag::Gridsquare},
    {"IOTA", Tag::Iota},         {"MODE", Tag::Mode},          {"NAME", Tag::Name},         {"NOTES", Tag::Notes},
    {"QSLSDATE", Tag::QslsDate}, {"QSL_RCVD", Tag::QslRcvd},   {"QSL_SENT", Tag::QslSent},  {"QSL_VIA", Tag::QslVia},
    {"QSO_DATE", Tag::QsoDate},  {"QTH", Tag::Qth},            {"RST_RCVD", Tag::RstRcvd},  {"RST_SENT", Tag::RstSent},
    {"SRX", Tag::Srx},           {"STATE", Tag::State},        {"STX", Tag::Stx},           {"SUBMODE", Tag::Submode},
    {"TEN_TEN", Tag::TenTen},
    {"TIME_OFF", Tag::TimeOff},  {"TIME_ON", Tag::TimeOn},
}};

Tag tagOf(std::string_view name)
{
    auto it = std::lower_bound(TagNames.begin(), TagNames.end(), name,
                               [](const TagName &entry, std::string_view key) { return entry.name < key; });
    return it != TagNames.end() && it->name == name ? it->tag : Tag::Unknown;
}

bool startsWithLetter(std::string_view text, char letter)
{
    return !text.empty() && (text[0] == letter || text[0] == letter - 'A' + 'a');
}

/// A BAND value: a band's full name ("630m", "6cm"), else trailing blanks and the
/// letters M and C dropped, then a short band name, or a satellite name (band 15).
/// 0 when none.
int bandOfText(std::string_view text)
{
    if (int band = BandOfName(Trim(text)))
        return band;
    std::string_view rest = text;
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == 'M' || rest.back() == 'm' || rest.back() == 'C' ||
                             rest.back() == 'c'))
        rest.remove_suffix(1);
    if (int band = ParseBand(Trim(rest)))
        return band;
    static constexpr std::array<std::string_view, 7> Satellites = {"AO27", "FO20", "AO13", "RS12", "FO29", "RS15", "AO10"};
    bool satellite = std::any_of(Satellites.begin(), Satellites.end(),
                                 [text](std::string_view name) { return CompareNoCase(Trim(text), name) == 0; });
    return satellite ? 15 : 0;
}

/// What a record's tags say that is settled only at its end.
struct PendingFields {
    std::optional<std::string> timeOn;
    std::optional<std::string> timeOff;
    std::optional<std::string> mode;
    std::string submode;
    int ownMode = 0;         ///< from APP_VELLUM_MODE, the mode MODE and SUBMODE cannot name
    int bandByName = 0;      ///< from BAND; -1 when BAND was invalid
    int bandByFrequency = 0; ///< from FREQ; -1 when FREQ was invalid
    std::int64_t kHz = 0;    ///< from a valid FREQ
    int bandRx = 0;          ///< from BAND_RX
};

/// The fields of one record as its tags come.
class RecordFields {
public:
    RecordFields(ImportedQso &q, ImportFields &fields) : m_q(q), m_fields(fields) {}

    void apply(Tag tag, const std::string &value);
    void finish();

private:
    void setBand(const std::string &value);
    void setBandRx(const std::string &value);
    void settleMode();
    void settleBand();
    void setFrequency(const std::string &value);
    void setCounty(const std::string &value);
    void setDate(std::uint16_t &date, int field, const std::string &value);

    ImportedQso &m_q;
    ImportFields &m_fields;
    PendingFields m_pending;
};

void RecordFields::apply(Tag tag, const std::string &value)
{
    const bool noteFilter = m_fields.Filter().FilterFreq != 0;
    switch (tag) {
    case Tag::Call: m_fields.SetCallsign(m_q, value); break;
    case Tag::QsoDate: setDate(m_q.qso.Date, ImportField::Date, value); break;
    case Tag::TimeOn: m_pending.timeOn = value; break;
    case Tag::TimeOff: m_pending.timeOff = value; break;
    case Tag::Mode: m_pending.mode = value; break;
    case Tag::Submode: m_pending.submode = value; break;
    case Tag::AppMode: m_pending.ownMode = ModeOfName(Trim(value)); break;
    case Tag::Band: setBand(value); break;
    case Tag::BandRx: setBandRx(value); break;
    case Tag::Freq: setFrequency(value); break;
    case Tag::RstSent: m_fields.SetReport(m_q, true, value); break;
    case Tag::RstRcvd: m_fields.SetReport(m_q, false, value); break;
    case Tag::Srx: m_q.qso.Recvd = Trim(value); break;
    case Tag::State: m_fields.SetState(m_q, value); break;
    case Tag::ArrlSect: m_fields.SetSection(m_q, value); break;
    case Tag::Cnty: setCounty(value); break;
    case Tag::Cqz: m_fields.SetZone(m_q, value); break;
    case Tag::TenTen:
        m_q.qso.CustAwd = "1010";
        m_q.qso.CustValue = value;
        break;
    case Tag::QslSent:
        if (m_q.qso.QslDate == 0 && (startsWithLetter(value, 'R') || startsWithLetter(value, 'Y')))
            m_q.qso.QslDate = m_fields.Today();
        break;
    case Tag::QslsDate: setDate(m_q.qso.QslDate, ImportField::QslDate, value); break;
    case Tag::QslRcvd:
        if (startsWithLetter(value, 'Y'))
            m_q.qso.QslFlags = static_cast<std::uint8_t>(m_q.qso.QslFlags | QslFlag::Cnfm);
        break;
    case Tag::Gridsquare: m_fields.SetGrid(m_q, value); break;
    case Tag::Iota: m_fields.SetIota(m_q, value); break;
    case Tag::Dxcc: m_fields.SetPrefix(m_q, value); break;
    case Tag::Name:
    case Tag::Address:
    case Tag::Qth: ImportFields::AddNoteField(m_q, 0, Trim(value)); break;
    case Tag::QslVia:
        if (!Trim(value).empty())
            ImportFields::AddNoteField(m_q, 0, "QSLVIA " + std::string(Trim(value)));
        break;
    case Tag::Notes: ImportFields::AddNoteField(m_q, 0, value); break;
    case Tag::Comment: ImportFields::AddNoteField(m_q, 1, value); break;
    case Tag::Stx:
        if (!noteFilter)
            ImportFields::AddNoteField(m_q, 1, "SerNr=" + value);
        break;
    case Tag::ContestId:
    case Tag::Eor:
    case Tag::Unknown: return;
    }
    m_q.hasFields = true;
}

void RecordFields::setDate(std::uint16_t &date, int field, const std::string &value)
{
    std::optional<std::uint16_t> parsed = ParseYmdDate(value);
    date = parsed.value_or(0);
    if (!parsed)
        m_q.errors.Add(EntryKind::Error, ImportFieldNames[field].name, value);
}

void RecordFields::setBand(const std::string &value)
{
    m_pending.bandByName = bandOfText(value);
    if (m_pending.bandByName == 0) {
        m_pending.bandByName = -1;
        m_q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Band].name, value);
    }
}

void RecordFields::setBandRx(const std::string &value)
{
    m_pending.bandRx = bandOfText(value);
    if (m_pending.bandRx == 0)
        m_q.errors.Add(EntryKind::Simple, ImportFieldNames[ImportField::Band].name, value);
}

void RecordFields::setFrequency(const std::string &value)
{
    std::optional<std::int64_t> kHz = ParseMegahertz(value);
    m_pending.kHz = kHz.value_or(0);
    m_pending.bandByFrequency = kHz ? BandOfFreq(*kHz) : 0;
    if (m_pending.bandByFrequency == 0) {
        m_pending.bandByFrequency = -1;
        m_q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Band].name, value);
    }
    if (m_fields.Filter().FilterFreq == 0)
        ImportFields::AddNoteField(m_q, 1, "Freq=" + value);
}

void RecordFields::setCounty(const std::string &value)
{
    std::string_view text = value;
    m_fields.SetCounty(m_q, text.substr(0, 2), text.substr(std::min<std::size_t>(3, text.size())), text);
}

void RecordFields::finish()
{
    // TIME_OFF serves only when TIME_ON gave no time.
    if (m_pending.timeOn)
        m_fields.SetTimeOfDay(m_q, *m_pending.timeOn);
    if (m_q.qso.Time < 0 && m_pending.timeOff)
        m_fields.SetTimeOfDay(m_q, *m_pending.timeOff);
    settleMode();
    settleBand();
    if (m_q.hasFields)
        m_fields.Complete(m_q);
}

void RecordFields::settleMode()
{
    if (!m_pending.mode && m_pending.submode.empty())
        return; // no mode at all: Complete records it
    int mode = m_pending.ownMode ? m_pending.ownMode : ModeOfAdif(m_pending.mode.value_or(""), m_pending.submode);
    if (mode == 0 && m_pending.mode)
        mode = ParseModeAlias(*m_pending.mode); // "USB", "A1A" and the other aliases of older files
    if (mode == 0) {
        m_q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Mode].name,
                       m_pending.mode.value_or(m_pending.submode));
        int fallback = m_fields.Config().DefQSO_Mode;
        mode = IsMode(fallback) ? fallback : 14;
    }
    m_q.qso.Mode = static_cast<std::uint8_t>(mode);
}

void RecordFields::settleBand()
{
    // A valid frequency names the band more exactly than a band name, unless the
    // named band holds it (13cm lies inside the range of "Sat").
    int band = m_pending.bandByFrequency > 0 ? m_pending.bandByFrequency : m_pending.bandByName;
    if (m_pending.bandByFrequency > 0 && BandHoldsFreq(m_pending.bandByName, m_pending.kHz))
        band = m_pending.bandByName;
    if (band < 0) {
        int fallback = m_fields.Config().DefQSO_band;
        band = IsBand(fallback) ? fallback : 5;
    }
    m_q.qso.Band = static_cast<std::uint8_t>(band);
    if (m_pending.bandRx > 0 && m_pending.bandRx != band)
        ImportFields::AddNoteField(m_q, 1, "BandRx=" + std::string(BandInfoOf(m_pending.bandRx).name));
}

std::string formatError(const AdifTag &tag, const char *what)
{
    return "the length count " + std::to_string(tag.length) + " of " + tag.name + " at byte " +
           std::to_string(tag.offset) + " " + what;
}

std::string_view afterByteOrderMark(std::string_view bytes)
{
    return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? bytes.substr(3) : bytes;
}

} // namespace

AdifHeader SkipAdifHeader(AdifInput &input)
{
    std::string_view bytes = input.Bytes();
    std::size_t start = bytes.size() - afterByteOrderMark(bytes).size();
    std::string_view content = TrimLeft(bytes.substr(start));
    bool tagFirst = !content.empty() && content.front() == '<';
    if (tagFirst && CompareNoCase(content.substr(0, 5), "<?XML") == 0)
        return AdifHeader::Xml;
    input.Seek(start);
    AdifTag tag;
    AdifText text = AdifText::Detect;
    while (ReadAdifTag(input, tag)) {
        if (tag.name == "EOH") {
            input.text = text;
            return AdifHeader::Skipped;
        }
        if (tag.name == "PROGRAMID" && CompareNoCase(Trim(tag.value), "VELLUM") == 0)
            text = AdifText::Cp1252;
        if (tagFirst && tag.name == "EOR")
            break;
    }
    input.Seek(start);
    return tagFirst ? AdifHeader::None : AdifHeader::Missing;
}

RecordEnd ReadAdifRecord(AdifInput &input, ImportedQso &q, ImportFields &fields)
{
    RecordFields record(q, fields);
    AdifTag tag;
    while (ReadAdifTag(input, tag)) {
        if (tag.swallowedEor) {
            input.Seek(tag.afterEor);
            throw EAdifFormat(formatError(tag, "runs over the end of the record; the record is skipped"));
        }
        if (tag.cutOff)
            throw EAdifFormat(formatError(tag, "runs past the end of the file"));
        Tag known = tagOf(tag.name);
        if (known == Tag::Eor) {
            record.finish();
            return RecordEnd::Eor;
        }
        if (known == Tag::Unknown || known == Tag::ContestId)
            continue;
        // Text the value lost is shown under the tag's own name.
        if (tag.replaced > 0)
            q.errors.Add(EntryKind::Simple, tag.name, tag.value);
        if (tag.runsOn)
            q.errors.Add(EntryKind::Error, tag.name, tag.value + "(length " + std::to_string(tag.length) + ")");
        record.apply(known, tag.value);
    }
    return RecordEnd::EndOfInput;
}

} // namespace vellum
