#include "worldmapstate.h"

#include "mapgeometry.h"
#include "nightshade.h"

#include "config/configrecord.h"
#include "logstore/daytime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vellum::worldmap {

namespace {

constexpr int MinutesPerDay = 1440;
constexpr double EarthKm = 6371.0, KmPerMile = 1.609344;
constexpr double WideWindow = 1000;

std::string degreesMinutes(double value, char positive, char negative)
{
    double magnitude = std::abs(value);
    int totalMinutes = static_cast<int>(std::lround(magnitude * 60));
    char text[24];
    std::snprintf(text, sizeof text, "%d\xB0%02d'%c", totalMinutes / 60, totalMinutes % 60,
                  value < 0 ? negative : positive);
    return text;
}

} // namespace

MapSettings MapSettings::FromConfig(const TConfigRecord &config)
{
    MapSettings settings;
    settings.projection = ProjectionFromNumber(config.Projection);
    settings.view = RestoreView(config.MapView);
    settings.water = static_cast<MapColor>(static_cast<std::int32_t>(config.Water));
    settings.land = static_cast<MapColor>(static_cast<std::int32_t>(config.Land));
    for (std::size_t i = 0; i < settings.layers.size(); ++i)
        settings.layers[i] = config.MapLayers[i];
    for (std::size_t i = 0; i < settings.options.size(); ++i)
        settings.options[i] = config.MapOptions[i];
    return settings;
}

void MapSettings::Store(TConfigRecord &config) const
{
    config.Projection = projection ? static_cast<std::uint8_t>(*projection) : ProjectionNotChosen;
    if (view)
        config.MapView = StoreView(*view);
    config.Water = static_cast<std::int32_t>(water);
    config.Land = static_cast<std::int32_t>(land);
    for (std::size_t i = 0; i < layers.size(); ++i)
        config.MapLayers[i] = layers[i];
    for (std::size_t i = 0; i < options.size(); ++i)
        config.MapOptions[i] = options[i];
}

std::vector<std::int16_t> PropagationCountries(std::span<const SpotMark> spots, int band, std::uint16_t mapDay,
                                               int mapMinute, int minutes)
{
    std::int64_t end = static_cast<std::int64_t>(mapDay) * MinutesPerDay + mapMinute;
    std::int64_t begin = end - std::max(minutes, 0);
    std::vector<std::int16_t> countries;
    for (const SpotMark &spot : spots) {
        std::int64_t at = static_cast<std::int64_t>(spot.day) * MinutesPerDay + spot.minute;
        if (spot.country <= 0 || at < begin || at > end || (band != 0 && spot.band != band))
            continue;
        if (std::find(countries.begin(), countries.end(), spot.country) == countries.end())
            countries.push_back(spot.country);
    }
    return countries;
}

bool DrawStamp::RedrawDue(std::uint16_t today, int minuteOfDay, bool updateDayAndNight, bool ready) const
{
    return minuteOfDay != minute || (updateDayAndNight && ready && today != day);
}

std::string PositionText(LonLat position)
{
    return degreesMinutes(position.lat, 'N', 'S') + " " + degreesMinutes(WrapLongitude(position.lon), 'E', 'W');
}

std::string ReadoutText(const std::string &title, LonLat cursor, LonLat home, bool miles)
{
    double km = ArcRadians(home, cursor) * EarthKm;
    long distance = std::lround(miles ? km / KmPerMile : km);
    int bearing = static_cast<int>(std::lround(BearingDegrees(home, cursor))) % 360;
    std::string text = title.empty() ? std::string() : title + " ";
    return text + PositionText(cursor) + ", Dist = " + std::to_string(distance) + (miles ? " Mi" : " Km") + ", " +
           std::to_string(bearing) + " degrees";
}

void WorldMapState::SetOption(MapOption option, bool on)
{
    options[static_cast<std::size_t>(option)] = on;
    if (option == MapOption::DayAndNight) {
        updateEnabled = on;
        if (!on)
            options[static_cast<std::size_t>(MapOption::UpdateDayAndNight)] = false;
    }
    if (option == MapOption::UpdateDayAndNight && on)
        propagation = false;
}

void WorldMapState::SetPropagation(bool on)
{
    propagation = on;
    if (on) {
        propagationBand = 0;
        propagationMinutes = 20;
        options[static_cast<std::size_t>(MapOption::UpdateDayAndNight)] = false;
    }
}

bool WorldMapState::PanelVisible() const
{
    bool dayAndNight = Option(MapOption::DayAndNight);
    if (dayAndNight && Option(MapOption::UpdateDayAndNight) && !propagation)
        return false;
    return propagation || dayAndNight;
}

void WorldMapState::SetProjection(ProjectionKind kind)
{
    projection = kind;
    if (kind == ProjectionKind::EquiDistant)
        view = {home, 1.0};
}

MapView WorldMapState::DrawnView() const
{
    MapView drawn = view;
    if (projection == ProjectionKind::EquiDistant)
        drawn.centre = home;
    return drawn;
}

void WorldMapState::ZoomBy(double factor)
{
    double zoom = std::clamp(view.zoom * factor, 0.2, 200.0);
    double grown = zoom / view.zoom;
    view.panX *= grown;
    view.panY *= grown;
    view.zoom = zoom;
}

void WorldMapState::RestoreSavedView(const MapView &saved)
{
    view = saved;
    if (projection == ProjectionKind::EquiDistant)
        view.centre = home;
}

void WorldMapState::RestoreWorld()
{
    view = projection == ProjectionKind::EquiDistant ? MapView{home, 1.0} : initialView;
}

void WorldMapState::MoveHome(LonLat position)
{
    home = position;
    if (projection == ProjectionKind::EquiDistant)
        view.centre = home;
}

void WorldMapState::MoveDateTime(int days, int minutes)
{
    int total = mapMinute + minutes;
    int carry = static_cast<int>(std::floor(total / double(MinutesPerDay)));
    int day = std::clamp(static_cast<int>(mapDay) + days + carry, 1, 0xFFFF);
    mapDay = static_cast<std::uint16_t>(day);
    mapMinute = total - carry * MinutesPerDay;
}

MapScene WorldMapState::Scene(const MapData *map, const std::vector<bool> &layerVisible, double width,
                              const std::vector<LonLat> &propagationTargets) const
{
    MapScene scene;
    scene.projection = projection;
    scene.view = DrawnView();
    scene.map = map;
    scene.layerVisible = layerVisible;
    scene.graticuleInFront = Option(MapOption::GridInFront);
    scene.colorCountries = Option(MapOption::ColorCountries);
    scene.miles = miles;
    scene.home = home;
    if (Option(MapOption::DayAndNight) && mapDay > 0) {
        CalendarDate date = SplitDayNumber(mapDay);
        scene.subsolar = SubsolarPoint(date.year, date.month, date.day, mapMinute);
    }
    double lineWidth = width > WideWindow ? 2 : 1;
    if (greatCircleVisible && !targetKey.empty()) {
        scene.lines.push_back({GreatCirclePath(home, target, PathKind::Short), Red, lineWidth});
        scene.lines.push_back({GreatCirclePath(home, target, PathKind::Long), Black, lineWidth});
        scene.labels.push_back({target, " " + targetKey + " ", Black, Yellow});
    }
    if (PropagationLayerVisible())
        for (LonLat country : propagationTargets)
            scene.lines.push_back({GreatCirclePath(home, country, PathKind::Short), Red, 1});
    if (measuring)
        scene.lines.push_back({GreatCirclePath(home, *measuring, PathKind::Short), Red, lineWidth});
    return scene;
}

} // namespace vellum::worldmap
