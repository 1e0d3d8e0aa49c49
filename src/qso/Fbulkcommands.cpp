#include "Fbulkcommands.h"

#include "bulkcommands.h"
#include "qsoentry.h"

#include "app/programcontext.h"
#include "app/qsowindow.h"
#include "app/windowhost.h"
#include "labels/Fprintlabels.h"
#include "logstore/Fbulkchange.h"
#include "logstore/Ftext.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"

#include <QInputDialog>

namespace vellum {

namespace {

SwlCallAsker &swlCallAsker()
{
    static SwlCallAsker asker;
    return asker;
}

std::optional<std::string> askSwlCall(QWidget *parent)
{
    if (swlCallAsker())
        return swlCallAsker()(parent);
    bool ok = false;
    QString text = QInputDialog::getText(parent, QStringLiteral("Confirm for SWL"), QStringLiteral("SWL number"),
                                         QLineEdit::Normal, {}, &ok);
    if (!ok)
        return std::nullopt;
    return CoreText(text);
}

/// A command over the QSO window's entry; nothing without one.
std::function<void()> onEntry(WindowHost &host, std::function<void(QsoEntry &, BulkCommands &)> command)
{
    return [&host, command = std::move(command)] {
        if (QsoEntry *entry = host.Entry()) {
            BulkCommands bulk(*entry);
            command(*entry, bulk);
        }
    };
}

void runLabels(WindowHost &host, QsoEntry &entry, BulkCommands &bulk, LabelKind kind)
{
    bulk.BeforeLabelRun(kind);
    {
        TPrintLabelsDialog dialog(host.Context(), entry.Log(), kind, host.QsoWindow());
        dialog.exec();
    }
    bulk.AfterLabelRun(kind, TodayDayNumber());
}

template <typename Form>
void runBulkForm(WindowHost &host, QsoEntry &entry)
{
    if (entry.Log().Count() == 0)
        return;
    Form form(entry.Log(), host.Context().Notifier(), entry.CommandScope(), host.QsoWindow());
    if (form.exec() == QDialog::Accepted && form.Changed() > 0)
        entry.LogChangedByCommand();
}

struct BulkItem {
    const char *menu;
    const char *name;
    const char *caption;
    std::function<void(QsoEntry &, BulkCommands &)> command;
};

} // namespace

void SetSwlCallAsker(SwlCallAsker asker) { swlCallAsker() = std::move(asker); }

void RegisterBulkCommands(WindowHost &host)
{
    const char *multiple = "Multiple QSOs operations";
    const char *labels = "&Labels";
    const BulkItem items[] = {
        {multiple, "SetGroupNumber1", "Set Group number",
         [&host](QsoEntry &e, BulkCommands &) { runBulkForm<TSetGroupForm>(host, e); }},
        {multiple, "SetConfirmed1", "Set confirmed", [](QsoEntry &, BulkCommands &b) { b.SetConfirmed(); }},
        {multiple, "SetUSAStates1", "Set USA states",
         [](QsoEntry &, BulkCommands &b) { b.SetUsaStates(TodayDayNumber()); }},
        {multiple, "SetQSLDate1", "Set QSL Date", [](QsoEntry &, BulkCommands &b) { b.SetQslDate(); }},
        {multiple, "SetMode1", "Set Mode", [&host](QsoEntry &e, BulkCommands &) { runBulkForm<TSetModeForm>(host, e); }},
        {multiple, "DeleteQSOs1", "Delete QSOs", [](QsoEntry &, BulkCommands &b) { b.DeleteQsos(); }},
        {labels, "ClearPrintFlags1", "Clear Print Flags", [](QsoEntry &, BulkCommands &b) { b.SetPrintFlags(false); }},
        {labels, "ClearSequencedPrint1", "Clear Sequenced Print",
         [](QsoEntry &, BulkCommands &b) { b.ClearSequencedPrint(); }},
        {labels, "ClearSWLLabels1", "Clear SWL labels", [](QsoEntry &, BulkCommands &b) { b.ClearSwlLabels(); }},
        {labels, "SetPrintFlags1", "Set Print Flags", [](QsoEntry &, BulkCommands &b) { b.SetPrintFlags(true); }},
        {labels, "PrintQSLLabels1", "Print QSL Labels",
         [&host](QsoEntry &e, BulkCommands &b) { runLabels(host, e, b, LabelKind::Qsl); }},
        {labels, "PrintLabelsInSequence1", "Print Labels in Sequence",
         [&host](QsoEntry &e, BulkCommands &b) { runLabels(host, e, b, LabelKind::Sequence); }},
        {labels, "PrintSWLLabels1", "Print SWL labels",
         [&host](QsoEntry &e, BulkCommands &b) { runLabels(host, e, b, LabelKind::Swl); }},
    };
    for (const BulkItem &item : items)
        host.AddQsoMenuItem({QString::fromLatin1(item.menu), QString::fromLatin1(item.name),
                             QString::fromLatin1(item.caption), {}, onEntry(host, item.command)});
    WindowHost::MenuItem confirmSwl{QStringLiteral("&QSO"), QStringLiteral("ConfirmSWL1"), QStringLiteral("Confirm SWL"),
                                    QKeySequence(Qt::CTRL | Qt::Key_F2),
                                    onEntry(host, [&host](QsoEntry &, BulkCommands &b) {
                                        if (!b.CanConfirmSwl())
                                            return;
                                        if (std::optional<std::string> call = askSwlCall(host.QsoWindow()))
                                            b.ConfirmSwl(*call);
                                    })};
    host.AddQsoMenuItem(std::move(confirmSwl));
}

} // namespace vellum
