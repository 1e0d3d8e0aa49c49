#include "labeljob.h"

#include "greetings.h"

#include "country/addresses.h"
#include "logstore/qsodata.h"
#include "logstore/selection.h"

namespace vellum {

LabelJobLookups LookupsOf(const TQsoData &log, const TCountryData *countries)
{
    LabelJobLookups lookups;
    lookups.addressOf = [countries](std::string_view manager) {
        return countries ? ManagerAddress(*countries, manager) : std::vector<std::string>{};
    };
    lookups.firstNameOf = [&log](std::string_view call) { return log.Notes.NameFromNote(call); };
    lookups.groupName = [&log](int group) { return GroupName(log.GroupNames, group); };
    return lookups;
}

namespace {

/// What the previous QSO of the pass left: when it differs, a new label starts.
struct LabelKey {
    std::string call;
    std::string manager;
    int method = QslMethodNr::None;
    bool confirmed = false;
    std::string group;
};

class LabelPass {
public:
    LabelPass(TMyLabPr &printer, const std::vector<LabelItem> &items, const LabelJobLookups &lookups,
              LabelJobResult &result)
        : m_printer(printer), m_items(items), m_lookups(lookups), m_result(result), m_kind(printer.Kind()),
          m_options(printer.Options())
    {
    }

    void Run()
    {
        PrintEngine &engine = m_printer.Engine();
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (engine.Aborted() || !engine.Progress(static_cast<std::int64_t>(i)))
                return stop();
            if (!printItem(m_items[i]))
                return stop();
            if (engine.Drawing())
                m_result.printed.push_back(i);
        }
        if (m_open) {
            finishLabel();
            addressLabelAfter(m_previous);
        }
    }

private:
    void stop() { m_result.aborted = m_printer.Engine().Aborted(); }

    LabelKey keyOf(const LabelItem &item) const
    {
        LabelKey key{item.call, m_kind == LabelKind::Swl ? std::string() : item.manager, item.method, item.confirmed, {}};
        if (m_options.printGroups && m_lookups.groupName)
            key.group = m_lookups.groupName(item.group).substr(0, 25);
        return key;
    }

    bool printItem(const LabelItem &item)
    {
        LabelKey key = keyOf(item);
        bool newLabel = !m_open || m_full || key.call != m_previous.call || key.manager != m_previous.manager ||
                        key.method != m_previous.method || key.confirmed != m_previous.confirmed ||
                        (m_options.printGroups && key.group != m_previous.group);
        if (newLabel && !openLabel(key))
            return false;
        m_full = !m_printer.AddQsoLine({item.date, item.time, item.band, item.rstSent, item.mode});
        m_previous = std::move(key);
        return true;
    }

    bool openLabel(const LabelKey &key)
    {
        if (m_open) {
            finishLabel();
            if (!m_previous.manager.empty() && (key.manager != m_previous.manager || key.method != m_previous.method) &&
                !addressLabelAfter(m_previous))
                return false;
        }
        int previousMethod = m_open ? m_previous.method : QslMethodNr::None;
        if (m_kind == LabelKind::Qsl && m_options.printMethod && key.method != previousMethod &&
            !m_printer.PrintMethodLabel(key.method))
            return false;
        std::string header = m_kind == LabelKind::Swl ? "SWL: " + key.call
                             : !key.manager.empty() && key.manager != key.call ? key.call + " via " + key.manager
                                                                               : key.call;
        if (!m_printer.StartLabel(header))
            return false;
        m_open = true;
        ++m_result.labels;
        m_confirmed = key.confirmed;
        m_call = key.call;
        m_group = key.group;
        return true;
    }

    /// The manager's address label after its last label of a direct route.
    bool addressLabelAfter(const LabelKey &previous)
    {
        if (previous.manager.empty() ||
            (previous.method != QslMethodNr::Direct && previous.method != QslMethodNr::Dollars) || !m_lookups.addressOf)
            return true;
        std::vector<std::string> lines = m_lookups.addressOf(previous.manager);
        return lines.empty() || m_printer.PrintAddressLabel(lines);
    }

    void finishLabel()
    {
        GreetingValues values;
        values.confirmed = m_confirmed;
        values.printGroups = m_options.printGroups;
        values.groupName = m_group;
        values.firstName = m_lookups.firstNameOf ? m_lookups.firstNameOf(m_call) : std::string();
        if (m_kind == LabelKind::Swl) {
            if (!m_options.greeting3.empty())
                m_printer.AddTextLine(FillGreeting(m_options.greeting3, values));
        } else {
            for (const std::string *greeting : {&m_options.greeting1, &m_options.greeting2})
                if (!greeting->empty())
                    m_printer.AddTextLine(FillGreeting(*greeting, values));
        }
        m_printer.AddFooter();
    }

    TMyLabPr &m_printer;
    const std::vector<LabelItem> &m_items;
    const LabelJobLookups &m_lookups;
    LabelJobResult &m_result;
    LabelKind m_kind;
    const LabelOptions &m_options;
    LabelKey m_previous;
    bool m_open = false;
    bool m_full = false;
    bool m_confirmed = false;
    std::string m_call;
    std::string m_group;
};

} // namespace

LabelJobResult RunLabelPass(TMyLabPr &printer, const std::vector<LabelItem> &items, const LabelJobLookups &lookups)
{
    LabelJobResult result;
    result.problem = printer.Prepare();
    if (!result.problem.empty())
        return result;
    if (printer.Engine().Monitor())
        printer.Engine().Monitor()->Begin("Printing labels", static_cast<std::int64_t>(items.size()));
    LabelPass(printer, items, lookups, result).Run();
    if (printer.Engine().Monitor())
        printer.Engine().Monitor()->End();
    if (result.problem.empty())
        result.problem = printer.Problem();
    result.aborted = result.aborted || printer.Engine().Aborted();
    result.pages = printer.Page();
    return result;
}

LabelJobResult PrintLabelRun(PrintSurface &surface, const std::vector<LabelItem> &items, const LabelJobSetup &setup,
                             const LabelJobLookups &lookups)
{
    PrintEngine engine(surface, setup.pages, setup.monitor);
    TMyLabPr printer(engine, setup.kind, setup.options, setup.layout, setup.missing);
    return RunLabelPass(printer, items, lookups);
}

LabelJobResult RunLabelSample(TMyLabPr &printer)
{
    LabelJobResult result;
    printer.SetOutlinesAlways(true);
    result.problem = printer.Prepare();
    if (!result.problem.empty() || !printer.PrintMethodLabel(QslMethodNr::Direct) ||
        !printer.PrintAddressLabel({"John Doe", "1 Main Street", "Springfield"}))
        return result;
    const std::uint16_t day = 36100; // 1 January 1999
    const LabelQsoLine sample{day, 3 * 3600 + 25 * 60 + 45, 5, 599, 4}; // 20 m, CW
    for (int label = 1; label <= 100; ++label) {
        if (label > 5 && printer.Page() >= 2)
            break;
        if (!printer.StartLabel("CALLSIGN" + std::to_string(label) + " via MANAGER"))
            break;
        ++result.labels;
        while (printer.AddQsoLine(sample)) {
        }
        for (const std::string *greeting : {&printer.Options().greeting1, &printer.Options().greeting2})
            printer.AddTextLine(*greeting);
        printer.AddFooter();
    }
    result.pages = printer.Page();
    result.aborted = printer.Engine().Aborted();
    return result;
}

void MarkPrinted(const std::vector<LabelItem> &items, const LabelJobResult &result)
{
    if (result.aborted || !result.problem.empty())
        return;
    for (std::size_t i : result.printed)
        LabelPrintList::SetPrinted(items[i]);
}

} // namespace vellum
