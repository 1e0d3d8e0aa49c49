#include "countrymerge.h"

#include "countrycheck.h"

#include "country/addresses.h"
#include "country/countrydata.h"
#include "country/iota.h"
#include "country/managers.h"

#include "logstore/bytes.h"
#include "logstore/services.h"

#include <cstring>

namespace vellum {

namespace {

std::string padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.resize(width, ' ');
    return text;
}

const char *changeWord(bool replaced) { return replaced ? "Replaced" : "Added   "; }

/// One step of the merge: its progress and its counts.
class MergeStep {
public:
    MergeStep(const MergeOptions &options, const char *caption, std::int64_t total, MergeCount &count)
        : m_progress(options.progress), m_count(count)
    {
        m_count.ran = true;
        if (m_progress)
            m_progress->begin(caption, total);
    }
    ~MergeStep()
    {
        if (m_progress)
            m_progress->end();
    }
    MergeStep(const MergeStep &) = delete;
    MergeStep &operator=(const MergeStep &) = delete;

    void Advance(std::int64_t done)
    {
        if (m_progress)
            m_progress->advance(done);
    }
    MergeCount &Count() { return m_count; }

private:
    ProgressService *m_progress;
    MergeCount &m_count;
};

/// This file's country for a country of the other file: same prefix, else same name.
std::int32_t matchingCountry(const TCountryData &data, const TCountryData &other, std::int32_t country)
{
    if (country <= 0 || !other.ValidCountry(country))
        return -1;
    std::int32_t same = data.CountryIndexOfPrefix(other.CountryPrefix(country));
    if (same > 0)
        return same;
    std::int32_t byName = data.Countries.IndexOfSecond(other.CountryName(country));
    if (byName < 0)
        return -1;
    const Record *record = data.Countries.ItemBySecond(byName);
    for (std::int32_t i = 1; i < data.CountryCount(); ++i)
        if (data.Countries.Get(i) == record)
            return i;
    return -1;
}

enum class Change { Added, Replaced, Unchanged };

/// Counts a change; true when the record changed (and a line is due).
bool counted(MergeCount &count, Change change)
{
    ++(change == Change::Added ? count.added : change == Change::Replaced ? count.replaced : count.unchanged);
    return change != Change::Unchanged;
}

/// Puts a record into a table keyed by the record's image: the first record with
/// the same key is overwritten in place (the key stays, so does the order) unless
/// `same` finds that it holds this already; without one the record is added.
template <typename Bytes, typename Same>
Change putRecord(TOneIndex &table, const Bytes &record, Same same)
{
    std::int32_t at = 0;
    if (!table.Search(record.data(), at)) {
        table.AddCopy(record.data());
        return Change::Added;
    }
    if (same(table.Get(at)))
        return Change::Unchanged;
    std::memcpy(table.Get(at), record.data(), record.size());
    return Change::Replaced;
}

void mergeCalls(TCountryData &data, const TCountryData &other, MessageList &messages, const MergeOptions &options,
                MergeCount &count)
{
    MergeStep step(options, "Exception calls", other.Exceptions.Count(), count);
    for (std::int32_t i = 0; i < other.Exceptions.Count(); ++i) {
        step.Advance(i);
        ExceptionInfo call = ExceptionInfo::Decode(other.Exceptions.Get(i));
        if (call.call.empty())
            continue;
        std::int32_t country = matchingCountry(data, other, call.country);
        if (country < 0) {
            messages.Add("Country?: " + std::string(other.CountryPrefix(call.country)) + " " +
                         std::string(other.CountryName(call.country)));
            ++count.skipped;
            continue;
        }
        call.country = static_cast<std::int16_t>(country);
        Change change = putRecord(data.Exceptions, call.Encode(), [&](const Record *own) {
            return static_cast<std::int16_t>(loadU16(own + ExceptionField::Country)) == call.country &&
                   own[ExceptionField::CqZone] == call.cqZone;
        });
        if (!counted(count, change))
            continue;
        messages.Add(std::string(changeWord(change == Change::Replaced)) + " " + padded(call.call, 13) +
                         padded(std::string(data.CountryPrefix(country)), 6) +
                         padded(std::to_string(call.cqZone), 3) + " " +
                         FormatDate(call.date, options.dateFormat, false),
                     country);
    }
}

void mergeIotas(TCountryData &data, const TCountryData &other, bool otherIsOld, MessageList &messages,
                const MergeOptions &options, MergeCount &count)
{
    MergeStep step(options, "IOTAs", other.Iota.Count(), count);
    for (std::int32_t i = 1; i < other.Iota.Count(); ++i) {
        step.Advance(i);
        IotaInfo island = IotaInfo::Decode(other.Iota.Get(i)); // the reserved bytes are not kept
        std::int32_t at = data.Iota.IndexOfKey(MakeKey(island.reference).data());
        bool replaced = at > 0;
        if (replaced) {
            IotaInfo own = IotaInfo::Decode(data.Iota.Get(at));
            if (own.name == island.name) {
                ++count.unchanged;
                continue;
            }
            if (otherIsOld) { // old records hold no position: the one held here stays
                island.longitude = own.longitude;
                island.latitude = own.latitude;
            }
            data.Iota.DeleteAt(at);
            ++count.replaced;
        } else {
            ++count.added;
        }
        data.Iota.AddRecord(island.Encode().data());
        messages.Add(std::string(changeWord(replaced)) + " " + padded(island.reference, 6) + island.name);
    }
}

void mergeManagers(TCountryData &data, const TCountryData &other, MessageList &messages, const MergeOptions &options,
                   MergeCount &count)
{
    MergeStep step(options, "QSL managers", other.Managers.Count(), count);
    for (std::int32_t i = 0; i < other.Managers.Count(); ++i) {
        step.Advance(i);
        ManagerInfo manager = ManagerInfo::Decode(other.Managers.Get(i));
        if (manager.call.empty())
            continue;
        Change change = putRecord(data.Managers, manager.Encode(), [&](const Record *own) {
            return ManagerInfo::Decode(own).manager == manager.manager;
        });
        if (!counted(count, change))
            continue;
        messages.Add(std::string(changeWord(change == Change::Replaced)) + " " + padded(manager.call, 13) + " " +
                     FormatDate(manager.date, options.dateFormat, false) + " " + padded(manager.manager, 12));
    }
}

void mergeAddresses(TCountryData &data, const TCountryData &other, MessageList &messages,
                    const MergeOptions &options, MergeCount &count)
{
    MergeStep step(options, "QSL addresses", other.Addresses.Count(), count);
    for (std::int32_t i = 0; i < other.Addresses.Count(); ++i) {
        step.Advance(i);
        std::string call(KeyText(other.Addresses.Get(i), AddressField::CallCapacity));
        if (call.empty())
            continue;
        std::vector<std::string> lines;
        other.Addresses.GetLines(i, lines);
        std::vector<std::string> own = ManagerAddress(data, call);
        bool replaced = !own.empty() || data.Addresses.IndexOfKey(MakeKey(call).data()) >= 0;
        if (replaced && JoinAddressLines(own) == JoinAddressLines(lines)) {
            ++count.unchanged;
            continue;
        }
        ReplaceManagerAddress(data, call, lines);
        ++(replaced ? count.replaced : count.added);
        messages.Add(std::string(changeWord(replaced)) + " " + call);
    }
}

} // namespace

MergeCounts MergeCountryData(TCountryData &data, const TCountryData &other, bool otherIsOld, MessageList &messages,
                             const MergeOptions &options)
{
    messages.Clear();
    MergeCounts counts;
    auto step = [&](const char *question, const std::function<void()> &run) {
        bool yes = options.ask(question);
        messages.Add(std::string(question) + (yes ? "" : MergeText::Skipped));
        if (yes)
            run();
    };
    step(MergeText::Calls, [&] { mergeCalls(data, other, messages, options, counts.calls); });
    step(MergeText::Iotas, [&] { mergeIotas(data, other, otherIsOld, messages, options, counts.iotas); });
    step(MergeText::Managers, [&] { mergeManagers(data, other, messages, options, counts.managers); });
    step(MergeText::Addresses, [&] { mergeAddresses(data, other, messages, options, counts.addresses); });
    messages.Add(MergeText::Complete);
    if (messages.Dropped() > 0) {
        std::size_t dropped = messages.Dropped();
        messages.Add(MergeText::Exceeded);
        messages.Add(std::to_string(dropped) + " lines not shown");
    }
    if (counts.Changed())
        data.MarkCountryDataModified();
    return counts;
}

} // namespace vellum
