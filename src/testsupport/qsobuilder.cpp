#include "qsobuilder.h"

#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/services.h"

#include <gtest/gtest.h>

namespace vellum::test {

QsoBuilder::QsoBuilder(std::string_view call) { m_rec.Call = call; }

QsoBuilder &QsoBuilder::date(int year, int month, int dayOfMonth)
{
    std::optional<std::uint16_t> number = DayNumber(year, month, dayOfMonth);
    if (!number)
        ADD_FAILURE() << "no such date: " << year << "-" << month << "-" << dayOfMonth;
    m_rec.Date = number.value_or(0);
    return *this;
}

QsoBuilder &QsoBuilder::day(std::uint16_t dayNumber)
{
    m_rec.Date = dayNumber;
    return *this;
}

QsoBuilder &QsoBuilder::time(int hours, int minutes, int seconds)
{
    m_rec.Time = (hours * 60 + minutes) * 60 + seconds;
    return *this;
}

QsoBuilder &QsoBuilder::seconds(std::int32_t secondsOfDay)
{
    m_rec.Time = secondsOfDay;
    return *this;
}

QsoBuilder &QsoBuilder::band(std::uint8_t band)
{
    m_rec.Band = band;
    return *this;
}

QsoBuilder &QsoBuilder::mode(std::uint8_t mode)
{
    m_rec.Mode = mode;
    return *this;
}

QsoBuilder &QsoBuilder::reports(std::uint16_t received, std::uint16_t sent)
{
    m_rec.RstRcvd = received;
    m_rec.RstSent = sent;
    return *this;
}

QsoBuilder &QsoBuilder::group(std::uint8_t group)
{
    m_rec.Group = group;
    return *this;
}

QsoBuilder &QsoBuilder::qslFlags(std::uint8_t flags)
{
    m_rec.QslFlags = flags;
    return *this;
}

QsoBuilder &QsoBuilder::qslDate(std::uint16_t dayNumber)
{
    m_rec.QslDate = dayNumber;
    return *this;
}

QsoBuilder &QsoBuilder::qslMethod(std::uint8_t method)
{
    m_rec.QslMethod = method;
    return *this;
}

QsoBuilder &QsoBuilder::awdFlags(std::uint32_t flags)
{
    m_rec.AwdFlags = flags;
    return *this;
}

QsoBuilder &QsoBuilder::state(std::uint8_t state)
{
    m_rec.State = state;
    return *this;
}

QsoBuilder &QsoBuilder::country(std::int16_t country, std::uint8_t zone)
{
    m_rec.Country = country;
    m_rec.Zone = zone;
    return *this;
}

QsoBuilder &QsoBuilder::resolvedBy(const CallResolver &resolver)
{
    m_resolver = &resolver;
    return *this;
}

TQsoRec QsoBuilder::build() const
{
    TQsoRec rec = m_rec;
    if (m_resolver)
        m_resolver->ResolveCountry(rec);
    return rec;
}

std::unique_ptr<TQsoRec> QsoBuilder::make() const { return std::make_unique<TQsoRec>(build()); }

TQsoRec *QsoBuilder::addTo(TQsoData &log) const
{
    std::unique_ptr<TQsoRec> rec = make();
    TQsoRec *stored = rec.get();
    log.AddQso(std::move(rec));
    return stored;
}

} // namespace vellum::test
