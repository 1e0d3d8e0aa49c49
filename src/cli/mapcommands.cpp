// vellum-cli map --png OUT ...: the world map window's picture drawn offscreen
// with the window's own renderer, and the country under a position.

#include "cli.h"

#include "config/configfile.h"
#include "config/configrecord.h"
#include "geo/bearing.h"
#include "logstore/daytime.h"
#include "worldmap/areaindex.h"
#include "worldmap/maprender.h"
#include "worldmap/worldmapstate.h"

#include <charconv>
#include <iostream>

namespace vellum::cli {

namespace {

using namespace vellum::worldmap;

const char *const MapUsage =
    "map --png OUT | --pdf OUT [--projection N] [--center LAT,LON] [--size WxH] [--path FROM TO] [--night YYYY-MM-DDTHH:MM] "
    "[--zoom Z] [--colors] | map at LAT,LON  (N: 1 Spherical .. 7 Sinusoidal; FROM, TO: LAT,LON)";

double number(std::string_view text, const std::string &what)
{
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw CliError(what + ": \"" + std::string(text) + "\" is no number");
    return value;
}

/// Two numbers separated by `separator` ("52.5,13.4", "1920x1080").
std::pair<double, double> pair(const std::string &text, char separator, const std::string &what)
{
    std::size_t at = text.find(separator);
    if (at == std::string::npos)
        throw CliError(what + ": \"" + text + "\" is not two numbers joined by '" + separator + "'");
    return {number(std::string_view(text).substr(0, at), what), number(std::string_view(text).substr(at + 1), what)};
}

LonLat position(const std::string &text, const std::string &what)
{
    auto [lat, lon] = pair(text, ',', what);
    if (std::abs(lat) > 90 || std::abs(lon) > 180)
        throw CliError(what + ": " + text + " is not on the earth (latitude -90..90, longitude -180..180)");
    return {lon, lat};
}

/// "2024-06-21T18:30": the day number and minute of the day.
std::pair<std::uint16_t, int> dateTime(const std::string &text)
{
    if (text.size() != 16 || text[10] != 'T' || text[13] != ':')
        throw CliError("--night: \"" + text + "\" is not YYYY-MM-DDTHH:MM");
    std::uint16_t day = IsoDateArgument(text.substr(0, 10));
    int hours = static_cast<int>(number(std::string_view(text).substr(11, 2), "--night"));
    int minutes = static_cast<int>(number(std::string_view(text).substr(14, 2), "--night"));
    if (!TimeOfDay(hours, minutes))
        throw CliError("--night: \"" + text + "\" is no time of day");
    return {day, hours * 60 + minutes};
}

MapData loadMap()
{
    try {
        return ReadMapFile(FindMapFile());
    } catch (const MapFileError &error) {
        throw CliError(error.what());
    }
}

/// --png OUT or --pdf OUT (printed through the print engine, landscape).
int mapPicture(CliContext &context, const std::string &png, const std::string &pdf)
{
    WorldMapState state;
    const TConfigRecord &config = Config();
    state.home = {config.Personal_Longitude, config.Personal_Latitude};
    state.miles = config.Personal_UnitFormat == 1;
    state.projection = *ProjectionFromNumber(context.takeNumber("--projection", 1, 1, ProjectionCount));
    std::string centre = context.takeOption("--center");
    state.view.centre = centre.empty() ? state.home : position(centre, "--center");
    if (state.projection == ProjectionKind::EquiDistant)
        state.home = state.view.centre;
    std::string zoom = context.takeOption("--zoom", "1");
    state.view.zoom = number(zoom, "--zoom");
    if (!(state.view.zoom >= 0.2 && state.view.zoom <= 200))
        throw CliError("--zoom: " + zoom + " is not from 0.2 to 200");
    auto [width, height] = pair(context.takeOption("--size", "1920x1080"), 'x', "--size");
    if (std::string night = context.takeOption("--night"); !night.empty()) {
        std::tie(state.mapDay, state.mapMinute) = dateTime(night);
        state.SetOption(MapOption::DayAndNight, true);
    }
    state.SetOption(MapOption::ColorCountries, context.takeFlag("--colors"));
    MapData map = loadMap();
    MapScene scene;
    for (std::size_t i = 0; i < context.args.size(); ++i)
        if (context.args[i] == "--path") {
            if (i + 2 >= context.args.size())
                throw CliError("--path needs FROM and TO (LAT,LON each)");
            state.home = position(context.args[i + 1], "--path FROM");
            state.target = position(context.args[i + 2], "--path TO");
            state.targetKey = LatLongToGrid(state.target.lat, state.target.lon).substr(0, 4);
            if (state.projection == ProjectionKind::EquiDistant)
                state.view.centre = state.home;
        }
    scene = state.Scene(&map, {}, width, {});
    try {
        if (!png.empty())
            WriteMapPng(scene, static_cast<int>(width), static_cast<int>(height), png);
        if (!pdf.empty())
            WriteMapPdf(scene, "World Map - " + std::string(ProjectionName(state.projection)), pdf);
    } catch (const MapFileError &error) {
        throw CliError(error.what());
    }
    std::cout << "{\"file\":" << JsonString(png.empty() ? pdf : png) << ",\"projection\":" << JsonString(std::string(ProjectionName(state.projection)))
              << ",\"width\":" << static_cast<int>(width) << ",\"height\":" << static_cast<int>(height) << "}\n";
    return 0;
}

/// The country and state under a position.
int mapAt(CliContext &context)
{
    LonLat where = position(context.arg(1, "LAT,LON"), "map at");
    MapData map = loadMap();
    std::cout << "{\"position\":" << JsonString(PositionText(where));
    for (const MapLayer &layer : map.layers) {
        auto found = AreaIndex(layer).Find(where);
        std::cout << "," << JsonString(layer.name) << ":";
        if (!found) {
            std::cout << "null";
            continue;
        }
        const MapArea &area = layer.areas[*found];
        std::cout << "{\"code\":" << JsonString(area.code) << ",\"title\":" << JsonString(area.title)
                  << ",\"prefix\":" << JsonString(area.prefix) << "}";
    }
    std::cout << "}\n";
    return 0;
}

int mapCommand(CliContext &context)
{
    std::string png = context.takeOption("--png"), pdf = context.takeOption("--pdf");
    if (!png.empty() || !pdf.empty())
        return mapPicture(context, png, pdf);
    if (!context.args.empty() && context.args[0] == "at")
        return mapAt(context);
    throw CliError(std::string("usage: vellum-cli ") + MapUsage);
}

} // namespace

VELLUM_CLI_COMMAND("map", MapUsage, mapCommand);

} // namespace vellum::cli
