#pragma once
// The label printer (TMyLabPr): places labels on sheets through the print
// engine and fills them - positions down each column, then across, then a new
// page; the empty positions asked for at the start of a partly used sheet; the
// header and column titles, the QSO lines that fit, the text lines at the foot,
// and the one-piece method and address labels. One printer serves one job.

#include "printlist.h"

#include "config/configrecord.h"
#include "print/printengine.h"

#include <string>
#include <vector>

namespace vellum {

/// The label options of the configuration.
struct LabelOptions {
    PrintFont head;
    PrintFont body;
    int maxQsos = 0; ///< 0: as many as fit
    bool useLines = false;
    bool commercial = false;
    bool callRightAligned = false;
    bool printManagers = false;
    bool printMethod = false;
    bool printGroups = false;
    std::string greeting1, greeting2, greeting3;
    bool showBandMHz = false;
};
LabelOptions LabelOptionsFrom(const TConfigRecord &config);
PrintFont PrintFontOf(const TLabelFont &font);

namespace LabelText {
inline constexpr const char *NoQsoFits = "Not a single QSO can be printed on this label.\rCheck your label dimensions";
inline constexpr const char *PageFitsNoLabel = "No label on this page can hold a QSO line.\rCheck your label dimensions";
inline constexpr const char *Footer = "QSL printed with Vellum";
inline constexpr double InnerMargin = 0.06;
inline constexpr double Corner = 0.2;
} // namespace LabelText

/// A QSO line's cells.
struct LabelQsoLine {
    std::uint16_t date = 0;
    std::int32_t time = 0;
    int band = 0;
    std::uint16_t rstSent = 0;
    int mode = 0;
};

class TMyLabPr {
public:
    /// missing: label positions to leave empty at the start of the first sheet.
    TMyLabPr(PrintEngine &engine, LabelKind kind, const LabelOptions &options, const LabelLayout &layout,
             int missing = 0);

    /// Checks the layout against the page and works out the label's capacity; the
    /// message of a layout that cannot print (the job is then not started), else empty.
    std::string Prepare();
    /// Moves to the next position that holds a QSO line (a new page after the last);
    /// false when the job is over (aborted, past the page range, a page that holds
    /// no label: Problem() says so).
    bool NextLabelPosition();
    /// A new label with its header and the column titles.
    bool StartLabel(std::string_view header);
    /// Prints a QSO line; whether another line fits the label.
    bool AddQsoLine(const LabelQsoLine &line);
    /// A text at the foot of the label (the first one after empty lines up to the capacity).
    void AddTextLine(std::string_view text);
    void AddFooter();
    bool PrintMethodLabel(int method);
    /// Address lines (those beginning with "!" are left out) on a label of their own.
    bool PrintAddressLabel(const std::vector<std::string> &lines);

    // --- where things stand (for the job and for tests) ---
    int Page() const { return m_engine.PageNumber(); }
    int Row() const { return m_row; }       ///< 1-based
    int Column() const { return m_column; } ///< 1-based
    /// The outline of a position of the page (row and column 1-based).
    PrintRect PositionRect(int row, int column) const;
    const PrintRect &TextArea() const { return m_text; }
    /// QSO lines that fit the current label.
    int LinesFit() const { return m_linesFit; }
    int LineCount() const { return m_lines; }
    double Reserved() const { return m_reserved; }
    const std::string &Problem() const { return m_problem; }
    PrintEngine &Engine() { return m_engine; }
    LabelKind Kind() const { return m_kind; }
    const LabelOptions &Options() const { return m_options; }
    /// The outlines of the positions on every output, not on the preview only (the editor's sample).
    void SetOutlinesAlways(bool always) { m_outlinesAlways = always; }

private:
    bool startPage();
    /// Steps to the next position; false when the job is over.
    bool advance();
    /// Sets the origin and text area of the position; the lines that fit.
    int placeAt();
    void setColumns();
    double bodyHeight();

    PrintEngine &m_engine;
    LabelKind m_kind;
    LabelOptions m_options;
    LabelLayout m_layout;
    int m_missing;
    int m_row = 0, m_column = 0;
    bool m_started = false;
    PrintRect m_text;
    double m_reserved = 0;
    int m_linesFit = 0;
    int m_lines = 0;
    bool m_textLinesBegun = false;
    bool m_outlinesAlways = false;
    std::string m_problem;
};

} // namespace vellum
