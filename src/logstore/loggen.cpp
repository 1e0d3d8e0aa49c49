#include "loggen.h"

#include "daytime.h"
#include "qsodata.h"
#include "qsotables.h"

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace vellum {

namespace {

// Prefixes of many countries; the first digit position is filled by the generator.
const std::array<const char *, 64> Prefixes = {
    "K", "W", "N", "AA", "KB", "WB", "KC", "VE", "VA", "XE", "DL", "DK", "DJ", "DF", "G", "M", "2E", "F",
    "ON", "PA", "I", "IK", "EA", "CT", "HB9", "OE", "OK", "OM", "SP", "SM", "OH", "LA", "OZ", "ES", "YL",
    "LY", "UA", "RA", "RW", "UR", "YO", "LZ", "SV", "9A", "S5", "JA", "JH", "JR", "BY", "HL", "VK", "ZL",
    "PY", "LU", "CE", "ZS", "5B", "4X", "A6", "VU", "HS", "9V", "YB", "KH6"};
const std::array<const char *, 6> PortableSuffixes = {"/P", "/M", "/MM", "/QRP", "/A", "/7"};
const std::array<const char *, 6> PortablePrefixes = {"KH6/", "VP2E/", "F/", "EA8/", "HB0/", "ZF/"};
const std::array<const char *, 12> Words = {"op", "QSL via buro", "nice sig", "Tnx", "Bob", "Hans",
                                            "Yuki", "Maria", "contest", "pse QSL", "73", "Jim"};

class Generator {
public:
    explicit Generator(std::uint64_t seed) : m_random(seed) {}

    std::uint64_t next() { return m_random(); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    std::string call()
    {
        std::string base = Prefixes[below(static_cast<int>(Prefixes.size()))];
        bool endsInDigit = base.back() >= '0' && base.back() <= '9';
        if (!endsInDigit)
            base += static_cast<char>('0' + below(10));
        int suffixLength = 1 + below(3);
        for (int i = 0; i < suffixLength; ++i)
            base += static_cast<char>('A' + below(26));
        int form = below(100);
        if (form < 4)
            base += PortableSuffixes[below(static_cast<int>(PortableSuffixes.size()))];
        else if (form < 6)
            base = PortablePrefixes[below(static_cast<int>(PortablePrefixes.size()))] + base;
        return base.substr(0, 12);
    }

    std::string words(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += (i ? " " : "") + std::string(Words[below(static_cast<int>(Words.size()))]);
        return text;
    }

private:
    std::mt19937_64 m_random;
};

void fillQso(Generator &g, TQsoRec &rec, const std::string &call, std::uint16_t firstDay, int days, int notePercent)
{
    rec.Call = call;
    rec.Date = static_cast<std::uint16_t>(firstDay + g.below(days));
    rec.Time = g.below(100) == 0 ? -1 : g.below(86400);
    rec.Band = static_cast<std::uint8_t>(1 + g.below(15));
    static const std::uint8_t commonModes[] = {4, 14, 14, 4, 13, 10, 5, 1};
    rec.Mode = g.chance(80) ? commonModes[g.below(8)] : static_cast<std::uint8_t>(1 + g.below(15));
    rec.RstSent = DefaultReport(rec.Mode);
    rec.RstRcvd = g.chance(10) ? static_cast<std::uint16_t>(rec.RstSent - 10) : rec.RstSent;
    if (g.chance(30))
        rec.QslDate = static_cast<std::uint16_t>(std::min<int>(rec.Date + g.below(400), LastValidDay));
    rec.QslMethod = static_cast<std::uint8_t>(g.below(7));
    rec.Satellite = rec.Band == 15 ? static_cast<std::uint8_t>(2 + g.below(8)) : 1;
    rec.Group = static_cast<std::uint8_t>(g.below(4));
    if (g.chance(3))
        rec.Iota = std::string(g.chance(50) ? "EU" : "OC") + std::to_string(100 + g.below(200));
    if (g.chance(20)) {
        std::string grid = {static_cast<char>('A' + g.below(18)), static_cast<char>('A' + g.below(18)),
                            static_cast<char>('0' + g.below(10)), static_cast<char>('0' + g.below(10))};
        rec.Grid = grid;
    }
    rec.QslFlags = static_cast<std::uint8_t>((g.chance(40) ? QslFlag::Cnfm : 0) | (g.chance(10) ? QslFlag::Label : 0) |
                                             (g.chance(2) ? QslFlag::QRP : 0) | (g.chance(3) ? QslFlag::YLop : 0) |
                                             QslFlag::ValidDX);
    if (g.chance(2))
        rec.AwdFlags = 0x00000004u << (2 * g.below(4));
    if (g.chance(5))
        rec.Recvd = std::to_string(g.below(1000));
    if (g.chance(notePercent))
        rec.QsoNote.set(g.words(1 + g.below(4)));
}

} // namespace

std::string GenerateCall(std::uint64_t seed, std::uint64_t index)
{
    Generator g(seed * 0x9E3779B97F4A7C15ull + index);
    return g.call();
}

void GenerateLog(TQsoData &log, const GeneratorOptions &options)
{
    Generator g(options.seed);
    const std::uint16_t firstDay = *DayNumber(1996, 1, 1);
    const int days = 30 * 365;

    // A pool of stations, some worked many times, as in a real log.
    std::int64_t poolSize = std::max<std::int64_t>(16, options.qsos / 4);
    std::vector<std::string> pool;
    pool.reserve(static_cast<std::size_t>(poolSize));
    for (std::int64_t i = 0; i < poolSize; ++i)
        pool.push_back(g.call());

    log.GroupNames = {"", "DXpedition", "Contest", "Portable"};
    TSelection recent = AllQsosSelection();
    recent.Name = "Since 2020";
    recent.DateActive = 1;
    recent.FirstDate = *DayNumber(2020, 1, 1);
    log.Selections.push_back(recent);
    TSelection contest = AllQsosSelection();
    contest.Name = "Contest group";
    contest.GroupActive = 1;
    contest.SetGroup(2, true);
    log.Selections.push_back(contest);

    log.BeginBulkAppend(options.qsos);
    for (std::int64_t i = 0; i < options.qsos; ++i) {
        auto rec = std::make_unique<TQsoRec>();
        const std::string &call = pool[static_cast<std::size_t>(g.below(static_cast<int>(poolSize)))];
        fillQso(g, *rec, call, firstDay, days, options.notePercent);
        rec->PrtSeqNr = g.chance(1) ? static_cast<std::uint16_t>(1 + g.below(500)) : 0;
        log.resolver().ResolveCountry(*rec);
        log.AppendQso(std::move(rec));
    }
    log.EndBulkAppend();

    log.Notes.BeginBulk(false);
    for (std::int64_t i = 0; i < poolSize; ++i)
        if (g.chance(options.notePercent) && log.Notes.IndexOfCall(pool[static_cast<std::size_t>(i)]) < 0) {
            auto note = std::make_unique<TNoteRec>();
            note->Call = pool[static_cast<std::size_t>(i)];
            note->Text = g.words(1 + g.below(3));
            log.Notes.AddRec(std::move(note));
        }
    log.Notes.EndBulk(false);

    std::int64_t swl = options.swlRecords >= 0 ? options.swlRecords : options.qsos / 500;
    for (std::int64_t i = 0; i < swl && log.Count() > 0; ++i) {
        const TQsoRec *qso = log.Get(g.below(log.Count()));
        auto rec = std::make_unique<TSwlRec>();
        rec->Call = "SWL-" + std::to_string(g.below(100000));
        rec->Date = qso->Date;
        rec->Time = qso->Time;
        rec->Band = qso->Band;
        rec->Mode = qso->Mode;
        rec->Group = qso->Group;
        log.SwlList.AddRec(std::move(rec));
    }
    log.SetModified();
}

} // namespace vellum
