#include "Fdaterange.h"

#include "Fdialogs.h"
#include "selection.h"
#include "services.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vellum {

TDateRangeForm::TDateRangeForm(std::uint16_t start, std::uint16_t end, DateFormat format, UserNotifier &notifier,
                               QWidget *parent)
    : QDialog(parent), m_format(format), m_notifier(notifier), m_start(start), m_end(InitialRangeEnd(start, end))
{
    setObjectName(QStringLiteral("DateRangeForm"));
    setWindowTitle(QStringLiteral("Get date range"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_startField = NamedWidget<QLineEdit>("F_StartDate", this);
    m_endField = NamedWidget<QLineEdit>("F_EndDate", this);
    form->addRow(QStringLiteral("Start Date"), m_startField);
    form->addRow(QStringLiteral("End Date"), m_endField);
    layout->addLayout(form);
    layout->addLayout(ButtonRow(this, {{"OKBtn", "OK"}}));
    NamedButton(this, "OKBtn")->setDefault(true);
    connect(NamedButton(this, "OKBtn"), &QPushButton::clicked, this, &TDateRangeForm::OKClick);
    m_startField->installEventFilter(this);
    m_endField->installEventFilter(this);
    showDate(m_startField, m_start);
    showDate(m_endField, m_end);
}

std::optional<std::uint16_t> TDateRangeForm::fieldDate(const QLineEdit *field) const
{
    std::string text = CoreText(field->text().trimmed());
    if (text.empty())
        return NoDate;
    return ParseDate(text, m_format);
}

void TDateRangeForm::showDate(QLineEdit *field, std::uint16_t day)
{
    field->setText(ScreenText(FormatDate(day, m_format, false)));
}

bool TDateRangeForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return QDialog::eventFilter(watched, event);
    // A field whose text is not a date is left for the user to mend.
    if (auto day = fieldDate(field)) {
        std::uint16_t moved = StepDate(*day, key == Qt::Key_Up ? 1 : -1);
        if (field == m_endField) {
            auto start = fieldDate(m_startField);
            if (start && moved != NoDate && moved < *start)
                moved = *start;
        }
        showDate(field, moved);
    }
    return true;
}

void TDateRangeForm::OKClick()
{
    auto start = fieldDate(m_startField);
    auto end = fieldDate(m_endField);
    if (!start || !end) {
        m_notifier.warning(SelectionText::CheckDates);
        return;
    }
    m_start = *start;
    m_end = *end;
    accept();
}

} // namespace vellum
