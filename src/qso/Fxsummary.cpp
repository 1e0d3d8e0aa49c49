#include "Fxsummary.h"

#include "qsoentry.h"

#include "app/programcontext.h"
#include "logstore/Ftext.h"
#include "app/windowhost.h"
#include "awards/awardmodel.h"
#include "awards/awardqueries.h"
#include "awards/awardstatus.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"
#include "qsochecks.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vellum {

namespace {
const char *const GroupLabels[4] = {"MIX", "PHO", "CW", "RTTY"};

bool oneRow(SummaryKind kind)
{
    return kind == SummaryKind::Iota || kind == SummaryKind::Grid || kind == SummaryKind::County;
}

std::optional<AwardIndex> awardOf(SummaryKind kind)
{
    switch (kind) {
    case SummaryKind::Country: return AwardDXCC;
    case SummaryKind::Zone: return AwardWAZ;
    case SummaryKind::State: return AwardWAS;
    case SummaryKind::Wpx: return AwardWPX;
    default: return std::nullopt;
    }
}

std::string fieldText(const QsoEntry &entry, QsoField field)
{
    std::string text(Trim(entry.Text(field)));
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::vector<std::uint8_t> bytesOf(const TStatusBlockBytes &block) { return {block.begin(), block.end()}; }
std::vector<std::uint8_t> bytesOf(const TAwardStatusBlock &block)
{
    return {block.Data(), block.Data() + StatusBlockSize};
}
} // namespace

TXSummary::TXSummary(SummaryKind kind, QsoEntry &entry, WindowHost &host)
    : QWidget(nullptr), m_kind(kind), m_entry(entry), m_host(host), m_log(entry.Log())
{
    setObjectName(QStringLiteral("XSummary%1").arg(static_cast<int>(kind)));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("SummaryGrid"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_grid);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &TXSummary::CellDoubleClicked);
    layoutGrid();
    host.PlaceCompanion(static_cast<CompanionId>(kind), this);
}

TXSummary::~TXSummary()
{
    m_host.CompanionClosed(static_cast<CompanionId>(m_kind), this);
}

void TXSummary::layoutGrid()
{
    const TConfigRecord &config = m_host.Context().Config();
    m_bands.clear();
    m_groups.clear();
    auto award = awardOf(m_kind);
    for (int band = 1; band < BandCount; ++band) {
        bool shown = m_kind == SummaryKind::Grid ? band >= 10 && config.VuccBands[static_cast<std::size_t>(band - 10)]
                                                 : static_cast<bool>(config.StationBands[static_cast<std::size_t>(band)]);
        if (shown && award && !AwardSetupOf(config, *award).ValidBands[static_cast<std::size_t>(band)])
            shown = false;
        if (shown)
            m_bands.push_back(band);
    }
    if (oneRow(m_kind)) {
        m_groups.push_back(0);
    } else {
        for (int group = 1; group <= 3; ++group)
            for (int mode = 1; mode < ModeCount; ++mode)
                if (config.StationModes[static_cast<std::size_t>(mode)] && ModeGroupOf(mode) == group) {
                    m_groups.push_back(group);
                    break;
                }
    }
    m_grid->setColumnCount(static_cast<int>(m_bands.size()));
    m_grid->setRowCount(static_cast<int>(m_groups.size()));
    QStringList bandLabels;
    for (int band : m_bands)
        bandLabels << (config.DefQSO_ShowBandMHz ? QString::fromStdString(BandLabel(band, true))
                                                 : QString::fromLatin1(BandTable[static_cast<std::size_t>(band)].shortName));
    m_grid->setHorizontalHeaderLabels(bandLabels);
    m_grid->setToolTip(QString::fromLatin1(ExtendedBandAwardNote)); // the bands without columns
    QStringList groupLabels;
    for (int group : m_groups)
        groupLabels << QString::fromLatin1(GroupLabels[group]);
    m_grid->setVerticalHeaderLabels(groupLabels);
    m_grid->horizontalHeader()->setDefaultSectionSize(40);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fill(std::nullopt, QString());
    // As wide as its columns and as high as its rows.
    int width = m_grid->verticalHeader()->sizeHint().width() + 4;
    for (int column = 0; column < m_grid->columnCount(); ++column)
        width += m_grid->columnWidth(column) + 1;
    int height = m_grid->horizontalHeader()->sizeHint().height() + 4;
    for (int row = 0; row < m_grid->rowCount(); ++row)
        height += m_grid->rowHeight(row) + 2;
    if (m_grid->rowCount() == 2)
        height += 2;
    resize(width, height);
}

QString TXSummary::CellText(int band, int row) const
{
    for (std::size_t column = 0; column < m_bands.size(); ++column)
        if (m_bands[column] == band && m_grid->item(row, static_cast<int>(column)))
            return m_grid->item(row, static_cast<int>(column))->text();
    return {};
}

void TXSummary::fill(const std::optional<std::vector<std::uint8_t>> &block, const QString &caption)
{
    for (int row = 0; row < static_cast<int>(m_groups.size()); ++row) {
        for (int column = 0; column < static_cast<int>(m_bands.size()); ++column) {
            int group = m_groups[static_cast<std::size_t>(row)] == 0 ? 1 : m_groups[static_cast<std::size_t>(row)];
            int cell = BandCell(m_bands[static_cast<std::size_t>(column)], group);
            int status = block ? (*block)[static_cast<std::size_t>(2 * cell)] : 0;
            // Submitted and checked show as confirmed: the panel only tells what the QSOs reached.
            const char *letter = status >= asConfirmed ? "C" : AwardStatusLetters[static_cast<std::size_t>(status)];
            auto *item = new QTableWidgetItem(ScreenText(letter));
            item->setTextAlignment(Qt::AlignCenter);
            m_grid->setItem(row, column, item);
        }
    }
    setWindowTitle(caption);
    HighlightCompanion();
}

std::string TXSummary::wpxOfCall(const std::string &call) const { return m_log.resolver().WpxPrefix(call); }

void TXSummary::RefreshCompanion()
{
    TAwardModel &model = m_host.Context().Awards();
    model.EnsureAwardTables(m_log);
    const TCountryData &countries = m_host.Context().Countries();
    const TConfigRecord &config = m_host.Context().Config();
    std::optional<std::vector<std::uint8_t>> block;
    QString caption;
    switch (m_kind) {
    case SummaryKind::Country: {
        std::int32_t country = countries.CountryIndexOfPrefix(fieldText(m_entry, QsoField::Prefix));
        if (country > 0) {
            if (auto b = model.CountryBlock(country))
                block = bytesOf(*b);
            caption = ScreenText(countries.CountryName(country));
        } else {
            caption = QStringLiteral("Country");
        }
        break;
    }
    case SummaryKind::Zone: {
        int zone = ParseWholeNumber(m_entry.Text(QsoField::Zone)).value_or(0);
        if (zone >= 1 && zone <= 40) {
            if (auto b = model.ZoneBlock(m_log, zone))
                block = bytesOf(*b);
            caption = QStringLiteral("Zone = %1").arg(zone);
        } else {
            caption = QStringLiteral("Zone");
        }
        break;
    }
    case SummaryKind::State: {
        std::int32_t state = countries.StateIndex(fieldText(m_entry, QsoField::State));
        if (state > 0) {
            if (auto b = model.StateBlock(m_log, state))
                block = bytesOf(*b);
            caption = ScreenText(StateInfo::Decode(countries.States.Get(state)).name);
        } else {
            caption = QStringLiteral("State");
        }
        break;
    }
    case SummaryKind::Iota: {
        std::string iota = fieldText(m_entry, QsoField::Iota);
        std::erase(iota, '-');
        std::int32_t index = iota.empty() ? -1 : countries.Iota.IndexOfKey(iota);
        if (index >= 0) {
            block = bytesOf(ItemStatusBlock(model, m_log, {ItemKind::Iota, iota, 0, 0}));
            caption = ScreenText(countries.Iota.TailString(index));
        } else {
            caption = QStringLiteral("IOTA");
        }
        break;
    }
    case SummaryKind::Grid: {
        std::string grid = fieldText(m_entry, QsoField::Grid);
        std::size_t length = config.VuccGridLength > 0 ? config.VuccGridLength : 4;
        if (grid.size() >= length) {
            std::string item = grid.substr(0, length);
            block = bytesOf(ItemStatusBlock(model, m_log, {ItemKind::Grid, item, 0, 0}));
            caption = QStringLiteral("Grid = ") + QString::fromStdString(item);
        } else {
            caption = QStringLiteral("GRID");
        }
        break;
    }
    case SummaryKind::Wpx:
        UpdateWPX(m_entry.CompanionCall());
        return;
    case SummaryKind::County: {
        std::string state = fieldText(m_entry, QsoField::State);
        std::string county(Trim(m_entry.Text(QsoField::County)));
        std::int32_t stateIndex = countries.StateIndex(state);
        std::uint16_t number = stateIndex > 0 ? countries.CountyNumber(state, county) : 0;
        if (number > 0) {
            block = bytesOf(ItemStatusBlock(model, m_log,
                                            {ItemKind::County, {}, static_cast<std::uint8_t>(stateIndex), number}));
            caption = ScreenText(state + ": " + county);
        } else {
            caption = QStringLiteral("County");
        }
        break;
    }
    }
    fill(block, caption);
}

void TXSummary::UpdateWPX(const std::string &call)
{
    TAwardModel &model = m_host.Context().Awards();
    model.EnsureAwardTables(m_log);
    if (call.empty()) {
        fill(std::nullopt, QStringLiteral("WPX = <none>"));
        return;
    }
    std::string prefix = wpxOfCall(call);
    std::optional<std::vector<std::uint8_t>> block;
    if (auto b = model.WpxBlock(prefix))
        block = bytesOf(*b);
    bool deleted = m_host.Context().Countries().DeletedWpx.IndexOfKey(prefix) >= 0 || model.WpxEntryDeleted(prefix);
    fill(block, QStringLiteral("WPX = ") + ScreenText(prefix) + (deleted ? QStringLiteral(" (Del)") : QString()));
}

void TXSummary::HighlightCompanion()
{
    int band = m_entry.Index(QsoList::Band) + 1;
    int group = ModeGroupOf(m_entry.Index(QsoList::Mode) + 1);
    int column = -1, row = -1;
    for (std::size_t i = 0; i < m_bands.size(); ++i)
        if (m_bands[i] == band)
            column = static_cast<int>(i);
    for (std::size_t i = 0; i < m_groups.size(); ++i)
        if (m_groups[i] == 0 || m_groups[i] == group)
            row = static_cast<int>(i);
    if (row >= 0 && column >= 0)
        m_grid->setCurrentCell(row, column);
    else
        m_grid->clearSelection();
}

void TXSummary::CellDoubleClicked(int row, int column)
{
    QTableWidgetItem *item = m_grid->item(row, column);
    if (!item || item->text() == ScreenText("\xB7")) {
        m_host.Notifier().warning("Cannot search for QSO that never occured");
        return;
    }
    int band = m_bands[static_cast<std::size_t>(column)];
    int group = m_groups[static_cast<std::size_t>(row)];
    std::map<QsoField, std::string> entity;
    for (QsoField field : {QsoField::Prefix, QsoField::Zone, QsoField::State, QsoField::Iota, QsoField::Grid,
                           QsoField::County, QsoField::Call})
        entity[field] = Trim(m_entry.Text(field));
    std::vector<SearchCondition> extra;
    if (m_kind == SummaryKind::Wpx)
        extra.push_back({-1, false, ConditionKind::WpxEqual, 0, wpxOfCall(m_entry.CompanionCall())});
    if (group != 0)
        extra.push_back({-1, false, ConditionKind::ModeGroupEqual, static_cast<std::uint32_t>(group), {}});
    SummaryKind kind = m_kind;
    std::size_t gridLength = m_host.Context().Config().VuccGridLength > 0 ? m_host.Context().Config().VuccGridLength : 4;
    m_entry.SearchFor(
        [&](QsoEntry &entry) {
            entry.Select(QsoList::Band, band - 1);
            auto set = [&](QsoField field) { entry.Set(field, entity[field]); };
            switch (kind) {
            case SummaryKind::Country: set(QsoField::Prefix); break;
            case SummaryKind::Zone: set(QsoField::Zone); break;
            case SummaryKind::State: set(QsoField::State); break;
            case SummaryKind::Iota: set(QsoField::Iota); break;
            case SummaryKind::Grid: entry.Set(QsoField::Grid, entity[QsoField::Grid].substr(0, gridLength) + "*"); break;
            case SummaryKind::County:
                set(QsoField::State);
                set(QsoField::County);
                break;
            case SummaryKind::Wpx: break;
            }
        },
        extra);
}

} // namespace vellum
