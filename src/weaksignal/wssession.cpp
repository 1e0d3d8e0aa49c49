#include "wssession.h"

#include "exchange/importfilter.h"
#include "exchange/importlog.h"
#include "logstore/qsotables.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace vellum {

namespace {

/// Answers the import's questions without asking anyone: a QSO logged twice is
/// dropped, the program's own country and zone are kept.
class UnattendedAnswers : public ImportQuestions {
public:
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override { return DuplicatePolicy::Ignore; }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &) override { return PrefixZoneChoice::Vellum; }
};

std::vector<std::string_view> wordsOf(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > at)
            words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

bool looksLikeCall(std::string_view word)
{
    bool digit = false, letter = false;
    for (char c : word) {
        digit = digit || (c >= '0' && c <= '9');
        letter = letter || (c >= 'A' && c <= 'Z');
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '/'))
            return false;
    }
    return word.size() >= 3 && word.size() <= 12 && digit && letter;
}

void tag(std::ostringstream &out, const char *name, std::string_view value)
{
    if (!value.empty())
        out << '<' << name << ':' << value.size() << '>' << value << ' ';
}

std::string dateText(const WsDateTime &when)
{
    WsCivilDate date = CivilDateOfJulianDay(when.julianDay);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
    return text;
}

std::string timeText(const WsDateTime &when)
{
    unsigned seconds = when.msOfDay / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02u%02u%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

} // namespace

std::string CallOfCq(std::string_view message)
{
    std::vector<std::string_view> words = wordsOf(message);
    if (words.empty() || words[0] != "CQ")
        return {};
    // "CQ DL1ABC", "CQ DX DL1ABC JO62", "CQ POTA <K1ABC/P>": the first word that is a call.
    for (std::size_t i = 1; i < words.size() && i <= 2; ++i) {
        std::string_view word = words[i];
        if (word.size() > 2 && word.front() == '<' && word.back() == '>')
            word = word.substr(1, word.size() - 2);
        if (looksLikeCall(word))
            return std::string(word);
    }
    return {};
}

std::string AdifOfLoggedQso(const WsQsoLogged &qso)
{
    std::ostringstream out;
    out << "<EOH>";
    tag(out, "CALL", qso.dxCall);
    tag(out, "GRIDSQUARE", qso.dxGrid);
    tag(out, "MODE", qso.mode);
    tag(out, "RST_SENT", qso.reportSent);
    tag(out, "RST_RCVD", qso.reportReceived);
    tag(out, "QSO_DATE", dateText(qso.timeOn));
    tag(out, "TIME_ON", timeText(qso.timeOn));
    char mhz[32];
    std::snprintf(mhz, sizeof mhz, "%.6f", static_cast<double>(qso.txHz) / 1e6);
    tag(out, "FREQ", mhz);
    tag(out, "NAME", qso.name);
    tag(out, "COMMENT", qso.comments);
    tag(out, "SRX_STRING", qso.exchangeReceived);
    out << "<EOR>";
    return out.str();
}

void WeakSignalSession::Handle(std::string_view bytes)
{
    ++m_counters.datagrams;
    std::optional<WsDatagram> datagram = ReadWsDatagram(bytes);
    if (!datagram) {
        ++m_counters.malformed;
        return;
    }
    if (const auto *status = std::get_if<WsStatus>(&datagram->message))
        m_status[datagram->id] = *status;
    else if (const auto *decode = std::get_if<WsDecode>(&datagram->message))
        decoded(datagram->id, *decode);
    else if (const auto *adif = std::get_if<WsLoggedAdif>(&datagram->message))
        importAdif(adif->adif);
    else if (const auto *logged = std::get_if<WsQsoLogged>(&datagram->message))
        importAdif(AdifOfLoggedQso(*logged));
    else if (datagram->type == static_cast<std::uint32_t>(WsMessageType::Close) && m_closedSink)
        m_closedSink();
}

void WeakSignalSession::importAdif(const std::string &adif)
{
    UnattendedAnswers answers;
    ImportContext context{m_target.log, m_target.countries, m_target.resolver, m_target.config, answers};
    context.quiet = true;
    context.stored = [this](const TQsoRec &qso) {
        ++m_counters.logged;
        if (m_loggedSink)
            m_loggedSink(qso);
    };
    ImportResult result = ImportAdifBytes(context, adif, "the logged QSO", AdifFilter());
    m_counters.duplicates += result.counters.duplicates;
}

void WeakSignalSession::decoded(const std::string &id, const WsDecode &decode)
{
    auto status = m_status.find(id);
    if (status == m_status.end() || !m_decodeSink)
        return; // no band without a status
    DecodedSpot spot;
    spot.call = CallOfCq(decode.message);
    spot.band = BandOfFreq(static_cast<std::int64_t>(status->second.dialHz / 1000));
    if (spot.call.empty() || spot.band == 0)
        return;
    spot.kHz = static_cast<double>(status->second.dialHz + decode.deltaHz) / 1000.0;
    spot.mode = ModeOfName(status->second.mode);
    spot.seconds = static_cast<std::int32_t>(decode.msOfDay / 1000 % 86400);
    spot.snr = decode.snr;
    spot.message = decode.message;
    ++m_counters.spots;
    m_decodeSink(spot);
}

} // namespace vellum
