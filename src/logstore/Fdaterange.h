#pragma once
// "Get date range": the start and end date of the QSO search.

#include "daytime.h"

#include <QDialog>

#include <cstdint>

class QLineEdit;

namespace vellum {

class UserNotifier;

/// Controls (objectName): F_StartDate ("Start Date"), F_EndDate ("End Date"),
/// OKBtn. The up and down keys move a field's date one day later or earlier.
class TDateRangeForm : public QDialog {
    Q_OBJECT
public:
    /// Opens with start and end (the end shows the start when it lies before it).
    TDateRangeForm(std::uint16_t start, std::uint16_t end, DateFormat format, UserNotifier &notifier,
                   QWidget *parent = nullptr);

    /// The dates after "OK"; an empty field gives 0.
    std::uint16_t StartDate() const { return m_start; }
    std::uint16_t EndDate() const { return m_end; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void OKClick();

private:
    /// The date in a field: 0 when empty, nothing when the text is not a date.
    std::optional<std::uint16_t> fieldDate(const QLineEdit *field) const;
    void showDate(QLineEdit *field, std::uint16_t day);

    DateFormat m_format;
    UserNotifier &m_notifier;
    QLineEdit *m_startField = nullptr;
    QLineEdit *m_endField = nullptr;
    std::uint16_t m_start = 0;
    std::uint16_t m_end = 0;
};

} // namespace vellum
