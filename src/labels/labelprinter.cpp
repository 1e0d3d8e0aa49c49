#include "labelprinter.h"

#include "labellayout.h"

#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"

#include <algorithm>
#include <cmath>

namespace vellum {

namespace {

double round4(double value) { return std::round(value * 10000) / 10000; }

const PrintFont FooterFont{"Arial", 5, false, false, 0};
const PrintFont AddressFont{"Arial", 10, true, false, 0};

/// A column of the QSO table: the template whose printed width sets its width, its title and alignment.
struct LabelColumn {
    const char *sample;
    const char *title;
    PrintAlign align;
};

} // namespace

PrintFont PrintFontOf(const TLabelFont &font)
{
    PrintFont result;
    if (!font.Name.empty())
        result.name = font.Name.str();
    result.points = font.Size > 0 ? font.Size : 10;
    result.bold = font.Bold;
    result.italic = font.Italic;
    result.color = static_cast<std::uint32_t>(static_cast<std::int32_t>(font.Color)) & 0xFFFFFF;
    return result;
}

LabelOptions LabelOptionsFrom(const TConfigRecord &config)
{
    LabelOptions options;
    options.head = PrintFontOf(config.LABHEAD);
    options.body = PrintFontOf(config.LABBODY);
    options.maxQsos = config.F_LabMaxQSOs;
    options.useLines = config.F_LabUseLines;
    options.commercial = config.F_Commercial;
    options.callRightAligned = config.F_LabCallRightAlgn;
    options.printManagers = config.F_PrintQSLMgr;
    options.printMethod = config.F_PrintMethod;
    options.printGroups = config.F_PrintGroup;
    options.greeting1 = config.F_LabGreeting1.str();
    options.greeting2 = config.F_LabGreeting2.str();
    options.greeting3 = config.F_LabGreeting3.str();
    options.showBandMHz = config.DefQSO_ShowBandMHz;
    return options;
}

PrintListSettings ListSettingsFrom(LabelKind kind, const LabelOptions &options)
{
    PrintListSettings settings;
    settings.kind = kind;
    settings.useManagers = options.printManagers && kind != LabelKind::Swl;
    settings.printGroups = options.printGroups;
    return settings;
}

TMyLabPr::TMyLabPr(PrintEngine &engine, LabelKind kind, const LabelOptions &options, const LabelLayout &layout,
                   int missing)
    : m_engine(engine), m_kind(kind), m_options(options), m_layout(layout), m_missing(std::max(0, missing))
{
    PrintMargins unprintable = engine.Surface().Unprintable();
    m_engine.SetMargins({layout.SpacingLeft, layout.SpacingTop, unprintable.right, unprintable.bottom});
}

double TMyLabPr::bodyHeight() { return m_engine.Surface().LineHeight(m_options.body); }

std::string TMyLabPr::Prepare()
{
    m_problem = CheckLayoutOnPage(m_layout, m_engine.PageWidth(), m_engine.PageHeight());
    if (!m_problem.empty())
        return m_problem;
    PrintSurface &surface = m_engine.Surface();
    const double h = bodyHeight();
    double reserved = round4(0.8 * surface.LineHeight(m_options.head) + m_layout.DownShift);
    if (m_options.commercial)
        reserved += round4(0.8 * surface.LineHeight(FooterFont));
    reserved += h;
    if (m_kind == LabelKind::Swl) {
        reserved += m_options.greeting3.empty() ? 0 : h;
    } else {
        reserved += m_options.greeting1.empty() ? 0 : h;
        reserved += m_options.greeting2.empty() ? 0 : h;
    }
    if (!m_options.commercial && (!m_options.greeting1.empty() || !m_options.greeting2.empty()))
        reserved -= 0.2 * h;
    m_reserved = reserved;
    if (!(h > 0) || reserved + h > m_layout.LabelHeight)
        return m_problem = LabelText::NoQsoFits;
    // Every page has the same positions: when none of them holds a line, no page will.
    bool anyFits = false;
    for (m_column = 1; m_column <= m_layout.NumAcross && !anyFits; ++m_column)
        for (m_row = 1; m_row <= m_layout.NumDown && !anyFits; ++m_row)
            anyFits = placeAt() > 0;
    m_row = m_column = 0;
    if (!anyFits)
        return m_problem = LabelText::PageFitsNoLabel;
    setColumns();
    return {};
}

PrintRect TMyLabPr::PositionRect(int row, int column) const
{
    return {m_layout.SpacingLeft + (column - 1) * m_layout.SpacingWidth,
            m_layout.SpacingTop + (row - 1) * m_layout.SpacingHeight, m_layout.LabelWidth, m_layout.LabelHeight};
}

bool TMyLabPr::startPage()
{
    if (!m_engine.NewPage())
        return false;
    for (int column = 1; column <= m_layout.NumAcross; ++column)
        for (int row = 1; row <= m_layout.NumDown; ++row)
            m_engine.RoundRect(PositionRect(row, column), LabelText::Corner, !m_outlinesAlways);
    return true;
}

bool TMyLabPr::advance()
{
    if (m_engine.Aborted())
        return false;
    if (!m_started) {
        m_started = true;
        m_row = m_column = 1;
        return startPage();
    }
    if (++m_row <= m_layout.NumDown)
        return true;
    m_row = 1;
    if (++m_column <= m_layout.NumAcross)
        return true;
    m_column = 1;
    return startPage();
}

int TMyLabPr::placeAt()
{
    PrintRect label = PositionRect(m_row, m_column);
    const double originLeft = label.left + m_layout.RightShift;
    const double originTop = label.top + m_layout.DownShift;
    const PrintMargins unprintable = m_engine.Surface().Unprintable();
    const double inner = LabelText::InnerMargin;
    m_text.left = std::max(originLeft + inner, unprintable.left);
    m_text.top = std::max(originTop + inner, unprintable.top);
    m_text.width = originLeft + m_layout.LabelWidth - inner - m_text.left;
    m_text.height = originTop + m_layout.LabelHeight - inner - m_text.top;
    const double h = bodyHeight();
    double room = (originTop + m_layout.LabelHeight - 2 * inner - m_text.top - m_reserved) / h;
    int fit = std::isfinite(room) && room > 0 ? static_cast<int>(std::min(room, 255.0)) : 0;
    if (m_text.width <= 0)
        fit = 0;
    if (m_options.maxQsos > 0 && m_options.maxQsos < fit)
        fit = m_options.maxQsos;
    return fit;
}

bool TMyLabPr::NextLabelPosition()
{
    const int positions = m_layout.NumAcross * m_layout.NumDown;
    int passedOver = 0;
    while (advance()) {
        if (m_missing > 0) {
            --m_missing;
            continue;
        }
        m_linesFit = placeAt();
        if (m_linesFit > 0) {
            m_engine.SetY(m_text.top);
            return true;
        }
        if (++passedOver > positions) {
            m_problem = LabelText::PageFitsNoLabel;
            m_engine.Abort();
            return false;
        }
    }
    return false;
}

void TMyLabPr::setColumns()
{
    static const LabelColumn columns[] = {{"13-Jan-1999", "Date", PrintAlign::Left},
                                          {"00:00", "UTC", PrintAlign::Center},
                                          {"160M", "Band", PrintAlign::Right},
                                          {"RST", "RST", PrintAlign::Right},
                                          {"PSK3", "2X", PrintAlign::Center}};
    const double padding = 0.05;
    std::vector<TabStop> tabs;
    m_engine.SetFont(m_options.body);
    for (const LabelColumn &column : columns) {
        std::string_view sample = column.sample;
        if (sample == "RST" && m_kind == LabelKind::Swl)
            continue;
        if (sample == "160M" && m_options.showBandMHz)
            sample = "3.7MHz";
        TabStop tab;
        tab.width = m_engine.TextWidth(sample) + 2 * padding;
        tab.align = column.align;
        tab.padding = padding;
        if (m_options.useLines)
            tab.box = BoxSides::All();
        tabs.push_back(tab);
    }
    m_engine.SetTabs(std::move(tabs));
}

bool TMyLabPr::StartLabel(std::string_view header)
{
    if (!NextLabelPosition())
        return false;
    PrintSurface &surface = m_engine.Surface();
    m_engine.SetFont(m_options.head);
    if (m_options.callRightAligned)
        m_engine.PrintAt(header, m_text.Right(), PrintAlign::Right, m_text.width);
    else
        m_engine.PrintAt(header, m_text.left, PrintAlign::Left, m_text.width);
    m_engine.SetY(m_text.top + 0.8 * surface.LineHeight(m_options.head));
    m_engine.SetFont(m_options.body);
    m_engine.SetTabs(std::vector<TabStop>(m_engine.Tabs()), m_text.left - m_engine.ColumnLeft());
    m_engine.PrintTabLine(m_kind == LabelKind::Swl ? "Date\tUTC\tBand\tMode" : "Date\tUTC\tBand\tRST\t2X");
    m_lines = 0;
    m_textLinesBegun = false;
    return true;
}

bool TMyLabPr::AddQsoLine(const LabelQsoLine &line)
{
    std::string cells = FormatDayMonthName(line.date) + '\t' + FormatTime(line.time, false) + '\t' +
                        BandLabel(line.band, m_options.showBandMHz) + '\t';
    if (m_kind != LabelKind::Swl)
        cells += DecodeRst(line.rstSent) + '\t';
    cells += ModeName(line.mode);
    m_engine.SetFont(m_options.body);
    m_engine.PrintTabLine(cells);
    ++m_lines;
    return m_lines < m_linesFit;
}

void TMyLabPr::AddTextLine(std::string_view text)
{
    if (text.empty())
        return;
    m_engine.SetFont(m_options.body);
    if (!m_textLinesBegun) {
        m_textLinesBegun = true;
        for (; m_lines < m_linesFit; ++m_lines)
            m_engine.NewLine();
    }
    m_engine.PrintAt(text, m_text.left, PrintAlign::Left, m_text.width);
    m_engine.NewLine();
}

void TMyLabPr::AddFooter()
{
    if (!m_options.commercial)
        return;
    m_engine.SetFont(FooterFont);
    m_engine.PrintAt(LabelText::Footer, m_text.left, PrintAlign::Left, m_text.width);
    m_engine.NewLine();
    m_engine.SetFont(m_options.body);
}

bool TMyLabPr::PrintMethodLabel(int method)
{
    if (!NextLabelPosition())
        return false;
    m_engine.SetFont(m_options.head);
    std::string name = method >= 0 && method < static_cast<int>(QslMethodNames.size()) ? QslMethodNames[method] : "";
    m_engine.PrintAt("Method = " + name, m_text.left, PrintAlign::Left, m_text.width);
    return true;
}

bool TMyLabPr::PrintAddressLabel(const std::vector<std::string> &lines)
{
    if (!NextLabelPosition())
        return false;
    m_engine.SetFont(AddressFont);
    for (const std::string &line : lines) {
        if (!line.empty() && line.front() == '!')
            continue;
        m_engine.PrintAt(line, m_text.left, PrintAlign::Left, m_text.width);
        m_engine.NewLine();
    }
    return true;
}

} // namespace vellum
