#include "printlist.h"

#include "country/managers.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"
#include "logstore/selection.h"

#include <algorithm>
#include <cctype>
#include <tuple>
#include <unordered_set>

namespace vellum {

int QslMethodRank(int method)
{
    switch (method) {
    case QslMethodNr::Dollars: return 1;
    case QslMethodNr::Direct: return 2;
    case QslMethodNr::QslSvc: return 3;
    case QslMethodNr::Buro: return 4;
    case QslMethodNr::Other: return 5;
    case QslMethodNr::Ignore: return 7;
    default: return 6;
    }
}

std::string UsCallAreaMark(std::string_view key)
{
    auto digit = std::find_if(key.begin(), key.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    if (digit == key.end())
        return "0";
    std::string mark(1, *digit);
    if (*digit == '4')
        mark += std::to_string(digit - key.begin() + 1);
    return mark;
}

namespace {

/// The sort keys of the QSL run, worked out once per entry.
struct QslOrderKey {
    int rank;
    std::int32_t country;
    std::string text;
    bool unconfirmed;
    std::int32_t position;
    auto tie() const { return std::tie(rank, country, text, unconfirmed, position); }
};

/// What the keys of one sort share: the country of the United States is looked up once.
struct QslOrderContext {
    const CountryResolver &resolver;
    const TQsoData &log;
    bool printGroups;
    std::int32_t usa;
};

QslOrderKey qslOrderKey(const LabelItem &item, const QslOrderContext &context)
{
    std::string base = BaseCall(item.call);
    std::string recipient = item.manager.empty() ? base : item.manager;
    std::int32_t country = context.resolver.CountryOfCall(recipient, item.date);
    std::string text = item.manager + base;
    if (country >= 0 && country == context.usa)
        text = UsCallAreaMark(text) + text;
    if (context.printGroups)
        text += GroupName(context.log.GroupNames, item.group);
    return {QslMethodRank(item.method), country, std::move(text), !item.confirmed, item.logPosition};
}

/// Sorts the items by their keys: the keys are sorted with the items' places, then
/// each item is moved once to its place (the items are large to move around).
void sortQslItems(std::vector<LabelItem> &items, const QslOrderContext &context)
{
    std::vector<std::pair<QslOrderKey, std::size_t>> keyed;
    keyed.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        keyed.emplace_back(qslOrderKey(items[i], context), i);
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first.tie() < b.first.tie(); });
    std::vector<LabelItem> sorted;
    sorted.reserve(items.size());
    for (const auto &[key, place] : keyed)
        sorted.push_back(std::move(items[place]));
    items.swap(sorted);
}

} // namespace

bool LabelPrintList::isNoBuro(const TQsoRec &qso) const
{
    return qso.QslMethod == QslMethodNr::Buro &&
           QslRouteClass(m_resolver, qso, m_settings.useManagers) == QslRoute::NoBuro;
}

LabelItem LabelPrintList::itemOf(TQsoRec &qso, std::int32_t position) const
{
    LabelItem item;
    item.qso = &qso;
    item.call = qso.Call.str();
    item.date = qso.Date;
    item.time = qso.Time;
    item.band = qso.Band;
    item.mode = qso.Mode;
    item.group = qso.Group;
    item.rstSent = qso.RstSent;
    item.method = qso.QslMethod;
    item.confirmed = (qso.QslFlags & QslFlag::Cnfm) != 0;
    if (m_settings.useManagers)
        item.manager = ManagerOf(m_resolver.Data(), qso);
    item.logPosition = position;
    return item;
}

void LabelPrintList::Collect(const PrintListSettings &settings)
{
    m_settings = settings;
    m_items.clear();
    m_noBuro = 0;
    if (settings.kind == LabelKind::Swl) {
        std::int32_t position = 0;
        for (TSwlRec *swl : m_log.SwlList) {
            LabelItem item;
            item.swl = swl;
            item.call = swl->Call.str();
            item.date = swl->Date;
            item.time = swl->Time;
            item.band = swl->Band;
            item.mode = swl->Mode;
            item.group = swl->Group;
            item.logPosition = position++;
            m_items.push_back(std::move(item));
        }
    } else {
        std::int32_t position = 0;
        for (TQsoRec *qso : m_log) {
            ++position;
            bool queued = settings.kind == LabelKind::Qsl ? (qso->QslFlags & QslFlag::Label) != 0 : qso->PrtSeqNr != 0;
            if (!queued || (settings.method != QslMethodNr::All && qso->QslMethod != settings.method) ||
                !InSelection(m_log, *qso))
                continue;
            m_noBuro += isNoBuro(*qso);
            m_items.push_back(itemOf(*qso, position - 1));
        }
    }
    Sort();
}

void LabelPrintList::Sort()
{
    switch (m_settings.kind) {
    case LabelKind::Qsl:
        sortQslItems(m_items, {m_resolver, m_log, m_settings.printGroups, m_resolver.Data().CountryIndexOfPrefix("K")});
        break;
    case LabelKind::Sequence:
        std::stable_sort(m_items.begin(), m_items.end(),
                         [](const LabelItem &a, const LabelItem &b) { return a.qso->PrtSeqNr < b.qso->PrtSeqNr; });
        break;
    case LabelKind::Swl:
        std::stable_sort(m_items.begin(), m_items.end(), [](const LabelItem &a, const LabelItem &b) {
            return std::tie(a.call, a.date, a.time, a.band, a.mode) < std::tie(b.call, b.date, b.time, b.band, b.mode);
        });
        break;
    }
}

void LabelPrintList::ApplyAlternateMethod()
{
    const int alternate = m_settings.alternateMethod;
    if (m_settings.kind == LabelKind::Swl || m_noBuro == 0 || alternate == QslMethodNr::Buro)
        return;
    std::unordered_set<const TQsoRec *> affected;
    for (const LabelItem &item : m_items)
        if (isNoBuro(*item.qso))
            affected.insert(item.qso);
    m_log.ChangeQsos([&](TQsoRec &qso) {
        if (!affected.contains(&qso))
            return false;
        if (alternate == QslMethodNr::Ignore)
            qso.QslFlags = static_cast<std::uint8_t>(qso.QslFlags & ~QslFlag::Label);
        else
            qso.QslMethod = static_cast<std::uint8_t>(alternate);
        return true;
    });
    if (alternate == QslMethodNr::Ignore)
        std::erase_if(m_items, [&](const LabelItem &item) { return affected.contains(item.qso); });
    else
        for (LabelItem &item : m_items)
            item.method = item.qso->QslMethod;
    m_noBuro = 0;
    Sort();
}

std::string LabelPrintList::StatusText() const
{
    std::int64_t n = static_cast<std::int64_t>(m_items.size());
    if (m_settings.kind != LabelKind::Swl && m_settings.alternateMethod == QslMethodNr::Ignore)
        n -= m_noBuro;
    return "Printing " + std::to_string(n) + " QSOs";
}

void LabelPrintList::SetPrinted(const LabelItem &item)
{
    if (item.qso)
        item.qso->QslFlags = static_cast<std::uint8_t>(item.qso->QslFlags | QslFlag::Mark);
    if (item.swl)
        item.swl->Printed = 1;
}

void LabelPrintList::MarkAll() const
{
    for (const LabelItem &item : m_items)
        SetPrinted(item);
}

void ClearPrintedMarks(TQsoData &log, LabelKind kind)
{
    if (kind == LabelKind::Swl) {
        for (TSwlRec *swl : log.SwlList)
            swl->Printed = 0;
        return;
    }
    for (TQsoRec *qso : log)
        qso->QslFlags = static_cast<std::uint8_t>(qso->QslFlags & ~QslFlag::Mark);
}

std::int64_t CountPrintedMarks(const TQsoData &log, LabelKind kind)
{
    std::int64_t count = 0;
    if (kind == LabelKind::Swl) {
        for (const TSwlRec *swl : log.SwlList)
            count += swl->Printed != 0;
    } else {
        for (const TQsoRec *qso : log)
            count += (qso->QslFlags & QslFlag::Mark) != 0;
    }
    return count;
}

} // namespace vellum
