#include "Fqsltools.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "country/managers.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "logstore/selection.h"
#include "print/Fpaintsurface.h"
#include "qso/qsoentry.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace vellum {

namespace {

const char *const MarkAwardNames[] = {"DXCC", "WAZ", "WAS", "WPX", "County", "IOTA", "DX single band",
                                      "DX all band/mode"};
const char *const RowNames[] = {"Mixed", "Band", "Mode"};

/// The log changed: the QSO window shows it again, the award standing follows.
void logChanged(WindowHost &host)
{
    host.Post(HostMessage::LogChanged);
    if (QsoEntry *entry = host.Entry())
        entry->RefreshFromLog();
}

DateFormat dateFormatOf(const TConfigRecord &config)
{
    int format = config.Personal_DateFormat;
    return format >= 1 && format <= 3 ? static_cast<DateFormat>(format) : DateFormat::MonthDayYear;
}

} // namespace

TMarkQSLDialog::TMarkQSLDialog(WindowHost &host, TQsoData &log, QWidget *parent)
    : QDialog(parent), m_host(host), m_log(log), m_award(new QComboBox(this)), m_after(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Mark QSOs for QSL"));
    m_award->setObjectName(QStringLiteral("MarkQSL_Award"));
    for (const char *name : MarkAwardNames)
        m_award->addItem(QString::fromLatin1(name));
    m_after->setObjectName(QStringLiteral("MarkQSL_After"));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Award"), m_award);
    form->addRow(QStringLiteral("Only QSOs after"), m_after);
    auto *rows = new QGridLayout;
    for (int row = 0; row < 3; ++row) {
        m_labels[static_cast<std::size_t>(row)] = new QLabel(QString::fromLatin1(RowNames[row]), this);
        QComboBox *method = m_methods[static_cast<std::size_t>(row)] = new QComboBox(this);
        method->setObjectName(QStringLiteral("MarkQSL_Method%1").arg(row));
        QSpinBox *weeks = m_weeks[static_cast<std::size_t>(row)] = new QSpinBox(this);
        weeks->setObjectName(QStringLiteral("MarkQSL_Weeks%1").arg(row));
        weeks->setRange(0, 520);
        weeks->setPrefix(QStringLiteral("Weeks "));
        rows->addWidget(m_labels[static_cast<std::size_t>(row)], row, 0);
        rows->addWidget(method, row, 1);
        rows->addWidget(weeks, row, 2);
    }
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("MarkQSL_OK"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(rows);
    layout->addWidget(ok);
    connect(m_award, &QComboBox::currentIndexChanged, this, &TMarkQSLDialog::awardChanged);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Run() >= 0)
            accept();
    });
    awardChanged();
}

bool TMarkQSLDialog::bigAward() const { return m_award->currentIndex() <= static_cast<int>(MarkQslAward::Wpx); }

void TMarkQSLDialog::awardChanged()
{
    // The four big awards allow an empty method (preselected); the others preselect "Buro".
    bool big = bigAward();
    for (std::size_t row = 0; row < 3; ++row) {
        QComboBox *method = m_methods[row];
        method->clear();
        if (big)
            method->addItem(QString());
        for (int m = 1; m <= 5; ++m)
            method->addItem(QString::fromLatin1(QslMethodNames[static_cast<std::size_t>(m)]), m);
        method->setCurrentIndex(0);
        bool shown = row == 0 || big;
        m_labels[row]->setVisible(shown);
        method->setVisible(shown);
        m_weeks[row]->setVisible(shown);
    }
    m_weeks[0]->setVisible(m_award->currentIndex() < static_cast<int>(MarkQslAward::DxSingleBand));
}

std::int64_t TMarkQSLDialog::Run()
{
    const TConfigRecord &config = m_host.Context().Config();
    MarkQslOptions options;
    options.award = static_cast<MarkQslAward>(m_award->currentIndex());
    QString after = m_after->text().trimmed();
    if (!after.isEmpty()) {
        std::optional<std::uint16_t> day = ParseDate(after.toStdString(), dateFormatOf(config));
        if (!day) {
            m_host.Notifier().error("Please check your dates");
            return -1;
        }
        options.onlyAfter = *day;
    }
    std::array<MarkQslRow *, 3> rows = {&options.mixed, &options.band, &options.mode};
    for (std::size_t row = 0; row < 3; ++row) {
        if (row > 0 && !bigAward())
            continue;
        rows[row]->method = m_methods[row]->currentData().toInt();
        rows[row]->weeks = m_weeks[row]->isVisible() ? m_weeks[row]->value() : 0;
    }
    options.today = TodayDayNumber();
    options.homeCountry = m_host.Context().Resolver().CountryOfCall(config.Personal_Callsign.view(), options.today);
    std::int64_t marked = MarkQsosForQsl(m_host.Context().Awards(), m_log, options);
    m_host.Notifier().information(CountedNoun(marked, "Additional QSO") + "marked");
    if (marked > 0)
        logChanged(m_host);
    return marked;
}

TChangeQSL::TChangeQSL(WindowHost &host, TQsoData &log, QWidget *parent)
    : QDialog(parent), m_host(host), m_log(log), m_counts(new QTableWidget(4, RouteMethodCount, this)),
      m_panel(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Change QSL routing"));
    m_counts->setObjectName(QStringLiteral("ChangeQSL_Counts"));
    m_counts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int method = 1; method <= RouteMethodCount; ++method)
        m_counts->setHorizontalHeaderItem(method - 1, new QTableWidgetItem(QString::fromLatin1(QslMethodNames[static_cast<std::size_t>(method)])));
    for (int route = 0; route < 4; ++route)
        m_counts->setVerticalHeaderItem(route, new QTableWidgetItem(PrintText(QslRouteName(static_cast<QslRoute>(route)))));
    m_panel->setObjectName(QStringLiteral("ChangeQSL_Panel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_counts);
    const std::pair<const char *, const char *> buttons[] = {
        {"ChangeQSL_Same", "Mark QSOs going to same station or manager"},
        {"ChangeQSL_BuroToDirect", "Change Buro to Direct if no buro"},
        {"ChangeQSL_DirectToService", "Change Direct to Service for non-USA managers"},
        {"ChangeQSL_RemoveDuplicates", "Remove duplicate QSLs"}};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(buttons[i].second), this);
        button->setObjectName(QString::fromLatin1(buttons[i].first));
        connect(button, &QPushButton::clicked, this, [this, i] { RunOperation(i); });
        layout->addWidget(button);
    }
    layout->addWidget(m_panel);
    connect(m_counts, &QTableWidget::cellDoubleClicked, this, &TChangeQSL::ShowOnlyCell);
    host.Handle(HostMessage::LogChanged, this, [this] { Recount(); });
    host.Handle(HostMessage::QsoWindowClosed, this, [this] {
        m_showingOnly = false; // the window went with its log
        close();
    });
    Recount();
}

void TChangeQSL::Recount()
{
    m_routing = CountLabelledByRoute(m_host.Context().Resolver(), m_log);
    for (std::size_t route = 0; route < 4; ++route)
        for (std::size_t method = 0; method < RouteMethodCount; ++method)
            m_counts->setItem(static_cast<int>(route), static_cast<int>(method),
                              new QTableWidgetItem(QString::number(m_routing[route][method])));
}

void TChangeQSL::ShowOnlyCell(int row, int column)
{
    QsoEntry *entry = m_host.Entry();
    if (!entry || row < 0 || row >= 4 || column < 0 || column >= RouteMethodCount)
        return;
    if (m_routing[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] == 0) {
        m_host.Notifier().information("No matching QSO found");
        return;
    }
    if (!entry->AgreeToLeaveMode())
        return;
    if (entry->Mode() == QsoWindowMode::Filtered || entry->Mode() == QsoWindowMode::SearchEntry)
        entry->CancelFilter();
    RoutingCell cell{static_cast<QslRoute>(row), column + 1};
    entry->SetAdmits([&resolver = m_host.Context().Resolver(), &log = m_log, cell](const TQsoRec &qso) {
        return RoutingCellOf(resolver, log, qso) == cell;
    });
    m_showingOnly = true;
    entry->SelectionChanged();
    m_host.FocusQsoWindow();
}

void TChangeQSL::done(int result)
{
    endShowingOnly();
    QDialog::done(result);
}

void TChangeQSL::endShowingOnly()
{
    if (!std::exchange(m_showingOnly, false))
        return;
    if (QsoEntry *entry = m_host.Entry()) {
        entry->SetAdmits(nullptr);
        entry->RefreshFromLog();
    }
}

std::int64_t TChangeQSL::RunOperation(int operation)
{
    const CountryResolver &resolver = m_host.Context().Resolver();
    const TConfigRecord &config = m_host.Context().Config();
    std::int64_t changed = 0;
    switch (operation) {
    case 0: changed = PassOnQslMethods(resolver, m_log, config.MailedCutoff, TodayDayNumber()); break;
    case 1: changed = BuroToDirectWithoutBuro(resolver, m_log); break;
    case 2: changed = DirectToServiceForNonUsaManagers(resolver, m_log); break;
    default: changed = RemoveDuplicateQsls(m_log); break;
    }
    m_panel->setText(PrintText(CountedNoun(changed, "QSO") + "changed"));
    if (changed > 0) {
        logChanged(m_host);
        Recount();
    }
    return changed;
}

void RegisterQslTools(WindowHost &host)
{
    host.AddQsoMenuItem({QStringLiteral("&Labels"), QStringLiteral("MarkForQSL1"), QStringLiteral("&Mark for QSL"), {},
                         [&host] {
                             if (TQsoData *log = host.Context().Log())
                                 TMarkQSLDialog(host, *log, host.MainWindow()).exec();
                         },
                         {}, [&host] { return host.Context().Log() != nullptr; }});
    host.AddQsoMenuItem({QStringLiteral("&Labels"), QStringLiteral("ChangeQSLRouting1"), QStringLiteral("Change QSL routing"),
                         {},
                         [&host] {
                             // Not modal: the QSO window stays usable to look at the QSOs of a count.
                             if (TQsoData *log = host.Context().Log()) {
                                 auto *dialog = new TChangeQSL(host, *log, host.MainWindow());
                                 dialog->setAttribute(Qt::WA_DeleteOnClose);
                                 dialog->show();
                             }
                         },
                         {}, [&host] { return host.Context().Log() != nullptr; }});
}

} // namespace vellum
