#include "Fworldmap.h"

#include "Fmapcanvas.h"
#include "Fmapprint.h"
#include "Fmaprenderer.h"
#include "areaindex.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "cluster/Fcluster.h"
#include "cluster/Fputout.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"
#include "qso/qsoentry.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace vellum {

using namespace worldmap;

namespace {

constexpr double ZoomStep = 1.4;
/// The Draw menu's items after the map file's layers.
constexpr std::size_t GridItemAfterLayers = 0;

QDate qtDate(std::uint16_t day)
{
    CalendarDate date = SplitDayNumber(day);
    return QDate(date.year, date.month, date.day);
}

std::uint16_t dayOf(const QDate &date)
{
    return DayNumber(date.year(), date.month(), date.day()).value_or(TodayDayNumber());
}

/// Ctrl+Up and Ctrl+Down on the date and time fields step the map's date and time.
class StepKeys : public QObject {
public:
    StepKeys(QObject *parent, std::function<void(int)> step) : QObject(parent), m_step(std::move(step)) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->modifiers() & Qt::ControlModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
                m_step(key->key() == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> m_step;
};

} // namespace

TWorldMap::TWorldMap(WindowHost &host, std::shared_ptr<const MapData> map)
    : QWidget(nullptr), m_host(host), m_map(std::move(map))
{
    setObjectName(QStringLiteral("WorldMap"));
    setWindowTitle(QStringLiteral("World Map"));
    setAttribute(Qt::WA_DeleteOnClose);
    for (const MapLayer &layer : m_map->layers)
        m_indexes.push_back(std::make_unique<AreaIndex>(layer));
    const TConfigRecord &config = host.Context().Config();
    m_settings = MapSettings::FromConfig(config);
    m_state.home = {config.Personal_Longitude, config.Personal_Latitude};
    m_state.miles = config.Personal_UnitFormat == 1;
    m_state.initialView = {{0, 20}, 1.0};
    m_state.view = m_state.initialView;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    buildPanel();
    layout->addWidget(m_panel);
    m_canvas = new TMapCanvas(*this);
    layout->addWidget(m_canvas, 1);
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("InfoPanel"));
    layout->addWidget(m_info);
    buildMenus();
    resize(900, 560);
    host.PlaceCompanion(CompanionId::World, this);

    // The main window's clock drives the redraw rule (a new minute, a new day).
    connect(&host, &WindowHost::clockTicked, this,
            [this](std::uint16_t day, std::int32_t seconds) { ClockTick(day, seconds / 60); });
    // Shown: the stored settings, the ready flag, now, and the first drawing.
    QTimer::singleShot(0, this, [this] { applySettings(); });
}

TWorldMap::~TWorldMap()
{
    storeSettings();
    m_host.CompanionClosed(CompanionId::World, this);
}

void TWorldMap::buildPanel()
{
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    auto *row = new QHBoxLayout(m_panel);
    row->setContentsMargins(4, 2, 4, 2);
    m_date = new QDateEdit(m_panel);
    m_date->setObjectName(QStringLiteral("F_Date"));
    m_date->setDisplayFormat(m_host.Context().Config().Personal_DateFormat == 1   ? QStringLiteral("MM/dd/yyyy")
                             : m_host.Context().Config().Personal_DateFormat == 2 ? QStringLiteral("dd/MM/yyyy")
                                                                                  : QStringLiteral("yyyy-MM-dd"));
    m_time = new QTimeEdit(m_panel);
    m_time->setObjectName(QStringLiteral("F_Time"));
    m_time->setDisplayFormat(QStringLiteral("HH:mm"));
    m_band = new QComboBox(m_panel);
    m_band->setObjectName(QStringLiteral("F_band"));
    m_band->addItem(QStringLiteral("All"));
    for (int band = 1; band <= 15; ++band)
        m_band->addItem(QString::fromStdString(BandLabel(band, false)));
    m_minutes = new QSpinBox(m_panel);
    m_minutes->setObjectName(QStringLiteral("F_Mins"));
    m_minutes->setRange(1, 1440);
    m_minutes->setSuffix(QStringLiteral(" min"));
    for (QWidget *widget : std::initializer_list<QWidget *>{m_date, m_time, m_band, m_minutes})
        row->addWidget(widget);
    row->addStretch(1);
    m_date->installEventFilter(new StepKeys(m_date, [this](int step) {
        m_state.MoveDateTime(step, 0);
        updatePanel();
        redraw();
    }));
    m_time->installEventFilter(new StepKeys(m_time, [this](int step) {
        m_state.MoveDateTime(0, 5 * step);
        updatePanel();
        redraw();
    }));
    auto edited = [this] {
        if (m_updatingPanel)
            return;
        m_state.mapDay = dayOf(m_date->date());
        m_state.mapMinute = m_time->time().hour() * 60 + m_time->time().minute();
        m_state.propagationBand = m_band->currentIndex();
        m_state.propagationMinutes = m_minutes->value();
        redraw();
    };
    connect(m_date, &QDateEdit::dateChanged, this, edited);
    connect(m_time, &QTimeEdit::timeChanged, this, edited);
    connect(m_band, &QComboBox::currentIndexChanged, this, edited);
    connect(m_minutes, &QSpinBox::valueChanged, this, edited);
}

QAction *TWorldMap::optionItem(QMenu *menu, const char *name, const QString &caption, MapOption option)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, option](bool on) {
        m_state.SetOption(option, on);
        if (option == MapOption::UpdateDayAndNight && on)
            setNow();
        if (option == MapOption::ShowSpotCountry)
            selectTargetArea();
        updateMenus();
        updatePanel();
        redraw();
    });
    m_optionItems.push_back(item);
    return item;
}

void TWorldMap::buildMenus()
{
    auto *menus = static_cast<QMenuBar *>(layout()->menuBar());
    QMenu *options = menus->addMenu(QStringLiteral("&Options"));
    optionItem(options, "ShowSpotCountry1", QStringLiteral("Show spot country"), MapOption::ShowSpotCountry);
    optionItem(options, "ColorCountries1", QStringLiteral("Color Countries"), MapOption::ColorCountries);
    optionItem(options, "DayandNight1", QStringLiteral("Day and Night"), MapOption::DayAndNight);
    optionItem(options, "UpdateDayandNight1", QStringLiteral("Update Day and Night"), MapOption::UpdateDayAndNight);
    m_propagationItem = options->addAction(QStringLiteral("Propagation"));
    m_propagationItem->setObjectName(QStringLiteral("Propagation1"));
    m_propagationItem->setCheckable(true);
    connect(m_propagationItem, &QAction::triggered, this, [this](bool on) {
        m_state.SetPropagation(on);
        updateMenus();
        updatePanel();
        redraw();
    });
    QMenu *colors = options->addMenu(QStringLiteral("Map Colors"));
    colors->addAction(QStringLiteral("Water"), this, [this] { chooseColor(true); })->setObjectName("Water1");
    colors->addAction(QStringLiteral("Land"), this, [this] { chooseColor(false); })->setObjectName("Land1");
    optionItem(options, "GridlinesInFront1", QStringLiteral("Gridlines in front"), MapOption::GridInFront);
    options->addAction(QStringLiteral("Print Map"), this, [this] { PrintMap(); })->setObjectName("PrintMap1");

    QMenu *zoom = menus->addMenu(QStringLiteral("&Zoom"));
    auto zoomItem = [&](const char *name, const QString &caption, const QString &key, std::function<void()> act) {
        QAction *item = zoom->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        item->setShortcut(QKeySequence(key));
        item->setShortcutContext(Qt::WindowShortcut);
        connect(item, &QAction::triggered, this, [this, act] {
            act();
            redraw();
        });
    };
    zoomItem("World1", QStringLiteral("World"), QStringLiteral("W"), [this] { m_state.RestoreWorld(); });
    zoomItem("Zoomin1", QStringLiteral("Zoom in"), QStringLiteral("I"), [this] { m_state.ZoomBy(ZoomStep); });
    zoomItem("Zoomout1", QStringLiteral("Zoom out"), QStringLiteral("O"), [this] { m_state.ZoomBy(1 / ZoomStep); });

    QMenu *projections = menus->addMenu(QStringLiteral("&Projection"));
    for (int number = 1; number <= ProjectionCount; ++number) {
        ProjectionKind kind = *ProjectionFromNumber(number);
        QAction *item = projections->addAction(QString::fromLatin1(ProjectionName(kind).data(),
                                                                   static_cast<qsizetype>(ProjectionName(kind).size())));
        item->setObjectName(QStringLiteral("Projection%1").arg(number));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, kind] { chooseProjection(kind); });
        m_projectionItems.push_back(item);
    }

    QMenu *draw = menus->addMenu(QStringLiteral("&Draw"));
    std::vector<QString> names;
    for (const MapLayer &layer : m_map->layers)
        names.push_back(QString::fromStdString(layer.name));
    names.push_back(QStringLiteral("Grid"));
    names.push_back(QStringLiteral("Great circle"));
    for (std::size_t i = 0; i < names.size(); ++i) {
        QAction *item = draw->addAction(names[i]);
        item->setObjectName(QStringLiteral("Layer%1").arg(i));
        item->setCheckable(true);
        item->setChecked(!m_settings.projection || (i < m_settings.layers.size() && m_settings.layers[i]));
        connect(item, &QAction::triggered, this, [this] {
            m_state.greatCircleVisible = m_layerItems.back()->isChecked();
            redraw();
        });
        m_layerItems.push_back(item);
    }
    m_state.greatCircleVisible = m_layerItems.back()->isChecked();
}

void TWorldMap::applySettings()
{
    for (int i = 0; i < MapOptionCount; ++i) {
        auto option = static_cast<MapOption>(i);
        if (option == MapOption::UpdateDayAndNight)
            continue;
        m_state.SetOption(option, m_settings.options[static_cast<std::size_t>(i)]);
    }
    // "Update Day and Night" only together with "Day and Night".
    if (m_state.Option(MapOption::DayAndNight))
        m_state.SetOption(MapOption::UpdateDayAndNight,
                          m_settings.options[static_cast<std::size_t>(MapOption::UpdateDayAndNight)]);
    if (m_settings.projection) {
        chooseProjection(*m_settings.projection);
        if (m_settings.view)
            m_state.RestoreSavedView(*m_settings.view);
    } else {
        chooseProjection(ProjectionKind::Spherical);
        m_settings.projection.reset(); // stays "never chosen" until the user picks one
    }
    m_state.ready = true;
    setNow();
    updateMenus();
    updatePanel();
    RefreshCompanion();
    redraw();
}

void TWorldMap::storeSettings()
{
    TConfigRecord &config = m_host.Context().Config();
    MapSettings settings = m_settings;
    settings.projection = m_state.projection;
    settings.view = m_state.view;
    for (std::size_t i = 0; i < m_layerItems.size() && i < settings.layers.size(); ++i)
        settings.layers[i] = m_layerItems[i]->isChecked();
    settings.options = m_state.options;
    settings.Store(config);
}

void TWorldMap::updateMenus()
{
    for (std::size_t i = 0; i < m_optionItems.size(); ++i)
        m_optionItems[i]->setChecked(m_state.Option(static_cast<MapOption>(i)));
    m_optionItems[static_cast<std::size_t>(MapOption::UpdateDayAndNight)]->setEnabled(m_state.updateEnabled);
    m_propagationItem->setChecked(m_state.propagation);
    for (std::size_t i = 0; i < m_projectionItems.size(); ++i)
        m_projectionItems[i]->setChecked(static_cast<int>(i) + 1 == static_cast<int>(m_state.projection));
}

void TWorldMap::updatePanel()
{
    m_updatingPanel = true;
    m_panel->setVisible(m_state.PanelVisible());
    m_band->setVisible(m_state.propagation);
    m_minutes->setVisible(m_state.propagation);
    m_date->setDate(qtDate(m_state.mapDay));
    m_time->setTime(QTime(m_state.mapMinute / 60, m_state.mapMinute % 60));
    m_band->setCurrentIndex(std::clamp(m_state.propagationBand, 0, 15));
    m_minutes->setValue(m_state.propagationMinutes);
    m_updatingPanel = false;
}

void TWorldMap::setNow()
{
    m_state.mapDay = TodayDayNumber();
    m_state.mapMinute = NowUtcSeconds() / 60;
    updatePanel();
}

void TWorldMap::chooseProjection(ProjectionKind kind)
{
    if (kind != m_state.projection || !m_settings.projection) {
        m_state.SetProjection(kind);
        if (kind != ProjectionKind::EquiDistant && m_state.view.centre.lat == m_state.home.lat &&
            m_state.view.centre.lon == m_state.home.lon)
            m_state.view = m_state.initialView;
        m_settings.projection = kind;
    }
    updateMenus();
    redraw();
}

void TWorldMap::chooseColor(bool water)
{
    MapColor &color = water ? m_settings.water : m_settings.land;
    QColor chosen = QColorDialog::getColor(ToQColor(color), this, water ? QStringLiteral("Water") : QStringLiteral("Land"));
    if (!chosen.isValid())
        return;
    color = static_cast<MapColor>(chosen.red() | chosen.green() << 8 | chosen.blue() << 16);
    m_settings.Store(m_host.Context().Config());
    redraw();
}

std::vector<bool> TWorldMap::layerVisibility() const
{
    std::vector<bool> visible;
    for (std::size_t i = 0; i < m_map->layers.size(); ++i)
        visible.push_back(m_layerItems[i]->isChecked());
    return visible;
}

std::vector<LonLat> TWorldMap::propagationTargets() const
{
    std::vector<LonLat> targets;
    TClusterStation *cluster = ClusterOf(m_host);
    TPutoutW *spots = cluster ? cluster->SpotList() : nullptr;
    if (!spots || !m_state.PropagationLayerVisible())
        return targets;
    std::vector<SpotMark> marks;
    const SpotList &list = spots->List();
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const TSpotRecord &spot = list.At(i);
        marks.push_back({spot.Country, spot.Band, spot.Date, spot.Time});
    }
    const TCountryData &countries = m_host.Context().Countries();
    for (std::int16_t country : PropagationCountries(marks, m_state.propagationBand, m_state.mapDay,
                                                     m_state.mapMinute, m_state.propagationMinutes))
        if (countries.ValidCountry(country)) {
            CountryInfo info = countries.Country(country);
            targets.push_back({info.longitude, info.latitude});
        }
    return targets;
}

MapScene TWorldMap::Scene() const
{
    MapScene scene = m_state.Scene(m_map.get(), layerVisibility(), m_canvas->width(), propagationTargets());
    scene.graticule = m_layerItems[m_map->layers.size() + GridItemAfterLayers]->isChecked();
    scene.water = m_settings.water;
    scene.land = m_settings.land;
    scene.selected = m_selected;
    scene.selectedLayer = m_selectedLayer;
    return scene;
}

void TWorldMap::redraw()
{
    if (!m_state.ready)
        return;
    m_canvas->Invalidate();
    drawn();
}

void TWorldMap::drawn()
{
    ++m_drawings;
    m_state.drawn = {TodayDayNumber(), NowUtcSeconds() / 60};
}

void TWorldMap::ClockTick(std::uint16_t day, int minuteOfDay)
{
    bool update = m_state.Option(MapOption::UpdateDayAndNight) && m_state.updateEnabled;
    if (!m_state.ready || !m_state.drawn.RedrawDue(day, minuteOfDay, update, m_state.ready))
        return;
    m_state.mapDay = day;
    m_state.mapMinute = minuteOfDay;
    updatePanel();
    m_canvas->Invalidate();
    ++m_drawings;
    m_state.drawn = {day, minuteOfDay};
}

void TWorldMap::selectTargetArea()
{
    m_selected.reset();
    QsoEntry *entry = m_host.Entry();
    if (!m_state.Option(MapOption::ShowSpotCountry) || !entry || m_state.targetKey.empty())
        return;
    bool stateShown = !Trim(entry->Text(QsoField::State)).empty() && m_map->layers.size() > 1 && m_layerItems[1]->isChecked();
    m_selectedLayer = stateShown ? 1 : 0;
    m_selected = m_indexes[m_selectedLayer]->Find(m_state.target);
}

void TWorldMap::RefreshCompanion()
{
    QsoEntry *entry = m_host.Entry();
    auto location = entry ? entry->Location() : std::nullopt;
    m_state.targetKey = location ? location->key.substr(0, 6) : std::string();
    if (location)
        m_state.target = {location->where.longitude, location->where.latitude};
    selectTargetArea();
    if (m_state.greatCircleVisible || m_selected)
        redraw();
}

QString TWorldMap::ReadoutAt(QPointF point) const
{
    MapProjection projection(m_state.projection, m_state.DrawnView(), m_canvas->width(), m_canvas->height());
    auto position = projection.Inverse({point.x(), point.y()});
    if (!position)
        return {};
    std::string title;
    if (auto area = m_indexes.front()->Find(*position))
        title = m_map->layers.front().areas[*area].title;
    std::string text = ReadoutText(title, *position, m_state.home, m_state.miles);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void TWorldMap::PrintMap()
{
    if (m_host.Notifier().confirm("Print map on default printer", Buttons::YesNo) != Answer::Yes)
        return;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        m_host.Notifier().error("No printers installed!");
        return;
    }
    QPrinter printer(QPrinterInfo::defaultPrinter());
    printer.setPageOrientation(QPageLayout::Landscape);
    QMarginsF margins = printer.pageLayout().minimumMargins();
    PrintMargins unprintable{margins.left() / 72, margins.top() / 72, margins.right() / 72, margins.bottom() / 72};
    if (!worldmap::PrintMap(printer, unprintable, Scene(), "World Map"))
        m_host.Notifier().error("The map could not be printed");
}

void RegisterWorldMapWindows(WindowHost &host)
{
    auto map = std::make_shared<std::shared_ptr<const MapData>>();
    host.RegisterCompanion(CompanionId::World, [map](WindowHost &h) -> QWidget * {
        if (!*map) {
            try {
                *map = std::make_shared<const MapData>(ReadMapFile(FindMapFile()));
            } catch (const MapFileError &error) {
                h.Notifier().error(std::string("World Map: ") + error.what());
                return nullptr;
            }
        }
        return new TWorldMap(h, *map);
    });
    host.AddQsoMenuItem({QStringLiteral("&Window"), QStringLiteral("Worldmap1"), QStringLiteral("World Map"), {},
                         [&host] { host.OpenCompanion(CompanionId::World); }});
}

} // namespace vellum
