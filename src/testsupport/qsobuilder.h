#pragma once
// "Make a QSO" for tests: a TQsoRec built field by field with readable steps,
// added to a log or kept as a value.
//
//     TQsoRec *rec = QsoBuilder("DL1ABC").date(2020, 5, 1).time(12, 30).band(5).mode(4).addTo(log);

#include "logstore/qsorec.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace vellum {
class CallResolver;
class TQsoData;
} // namespace vellum

namespace vellum::test {

class QsoBuilder {
public:
    /// A QSO with the call and every other field empty (0).
    explicit QsoBuilder(std::string_view call = {});

    /// The date; a date that does not exist fails the test and leaves the date empty.
    QsoBuilder &date(int year, int month, int day);
    QsoBuilder &day(std::uint16_t dayNumber);
    QsoBuilder &time(int hours, int minutes, int seconds = 0);
    QsoBuilder &seconds(std::int32_t secondsOfDay);
    QsoBuilder &band(std::uint8_t band);
    QsoBuilder &mode(std::uint8_t mode);
    QsoBuilder &reports(std::uint16_t received, std::uint16_t sent);
    QsoBuilder &group(std::uint8_t group);
    QsoBuilder &qslFlags(std::uint8_t flags);
    QsoBuilder &qslDate(std::uint16_t dayNumber);
    QsoBuilder &qslMethod(std::uint8_t method);
    QsoBuilder &awdFlags(std::uint32_t flags);
    QsoBuilder &state(std::uint8_t state);
    QsoBuilder &country(std::int16_t country, std::uint8_t zone);
    /// Country and zone (and state, where the rules say) as the resolver finds
    /// them for the call and date, when the QSO is built.
    QsoBuilder &resolvedBy(const CallResolver &resolver);

    /// Any other field: with(&TQsoRec::Iota, "EU005").
    template <typename Field, typename Value>
    QsoBuilder &with(Field TQsoRec::*field, const Value &value)
    {
        m_rec.*field = value;
        return *this;
    }

    const TQsoRec &rec() const { return m_rec; }
    TQsoRec build() const;
    std::unique_ptr<TQsoRec> make() const;
    /// Adds a copy to the log (AddQso) and returns the log's record.
    TQsoRec *addTo(TQsoData &log) const;

private:
    TQsoRec m_rec;
    const CallResolver *m_resolver = nullptr;
};

} // namespace vellum::test
