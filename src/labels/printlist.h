#pragma once
// The QSOs (or SWL records) a label run prints: which are listed for the three
// kinds of run, the counted QSOs to countries without a bureau, the alternate QSL
// method for them, the order the labels come out in, and the printed marks.

#include "logstore/notes.h"
#include "logstore/qsorec.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

class CountryResolver;
class TQsoData;

/// The kinds of label run, as the QSO window opens them.
enum class LabelKind : int { Qsl = 0, Sequence = 1, Swl = 2 };

/// QSL method numbers (QslMethodNames).
namespace QslMethodNr {
inline constexpr int None = 0, Buro = 1, QslSvc = 2, Direct = 3, Dollars = 4, Other = 5, Ignore = 6;
inline constexpr int All = -1; ///< "ALL" of the dialog's method filter
} // namespace QslMethodNr

/// One entry of the print list: a QSO, or an SWL record taken as a QSO (not confirmed).
struct LabelItem {
    TQsoRec *qso = nullptr;
    TSwlRec *swl = nullptr;
    std::string call;
    std::uint16_t date = 0;
    std::int32_t time = 0;
    std::uint8_t band = 0;
    std::uint8_t mode = 0;
    std::uint8_t group = 0;
    std::uint16_t rstSent = 0;
    std::uint8_t method = 0;
    bool confirmed = false;
    std::string manager; ///< the QSL manager in force when managers are printed
    std::int32_t logPosition = 0;
};

struct PrintListSettings {
    LabelKind kind = LabelKind::Qsl;
    int method = QslMethodNr::All;         ///< "QSL method": a method number, or All
    bool useManagers = false;              ///< "Print QSL Managers"
    bool printGroups = false;              ///< "Print Group Names"
    int alternateMethod = QslMethodNr::Buro; ///< "Alternate QSL method"
};

/// The list settings a run starts with: every method, the managers and group
/// names as the label options say, "Buro" as the alternate method.
struct LabelOptions;
PrintListSettings ListSettingsFrom(LabelKind kind, const LabelOptions &options);

class LabelPrintList {
public:
    LabelPrintList(TQsoData &log, const CountryResolver &resolver) : m_log(log), m_resolver(resolver) {}

    /// Lists the run's QSOs (the selection in force, the method filter, the Label
    /// flag or a sequence number) or every SWL record, counts the "no buro" QSOs
    /// and sorts the list.
    void Collect(const PrintListSettings &settings);
    /// Sorts the list in the order of the run's kind.
    void Sort();
    /// Buro QSOs to countries without a bureau get the alternate method, or with
    /// "Ignore" lose their Label flag and leave the list; the log's QSOs change
    /// (journaled, the log modified). Nothing for SWL runs, a count of 0 or "Buro".
    void ApplyAlternateMethod();

    const std::vector<LabelItem> &Items() const { return m_items; }
    const PrintListSettings &Settings() const { return m_settings; }
    /// QSOs with method "Buro" whose routing class is "No buro".
    std::int64_t NoBuroCount() const { return m_noBuro; }
    /// "Printing n QSOs": the list less the "no buro" QSOs when they are to be ignored.
    std::string StatusText() const;

    /// The printed mark of an entry (bit Mark of QslFlags, or the SWL record's byte).
    static void SetPrinted(const LabelItem &item);
    /// Marks every entry printed ("Mark All").
    void MarkAll() const;

private:
    bool isNoBuro(const TQsoRec &qso) const;
    LabelItem itemOf(TQsoRec &qso, std::int32_t position) const;

    TQsoData &m_log;
    const CountryResolver &m_resolver;
    PrintListSettings m_settings;
    std::vector<LabelItem> m_items;
    std::int64_t m_noBuro = 0;
};

/// The rank of a QSL method in the QSL run's order: "$$$$" 1, "Direct" 2,
/// "QSLSvc" 3, "Buro" 4, "Other" 5, not set 6, "Ignore" 7.
int QslMethodRank(int method);
/// The call-area mark that files United States recipients: the key's first
/// digit ("0" when none); for "4" the digit followed by its position in the key.
std::string UsCallAreaMark(std::string_view key);

/// Clears the printed marks before a run: bit Mark of every QSO (QSL and sequence
/// runs) or the mark of every SWL record.
void ClearPrintedMarks(TQsoData &log, LabelKind kind);
/// How many QSOs (or SWL records) carry the printed mark.
std::int64_t CountPrintedMarks(const TQsoData &log, LabelKind kind);

} // namespace vellum
