#include "mapdrag.h"

#include <algorithm>

namespace vellum::worldmap {

DragMotion DragMotionOf(const MapProjection &projection)
{
    bool wider = projection.PanLimit().x > 0;
    switch (projection.Kind()) {
    case ProjectionKind::Spherical:
        return {.turnLongitude = true, .turnLatitude = true, .panX = false, .panY = false};
    case ProjectionKind::EquiDistant:
        return {.turnLongitude = false, .turnLatitude = false, .panX = true, .panY = true};
    case ProjectionKind::AlbersEqualArea:
    case ProjectionKind::Sinusoidal:
        return {.turnLongitude = !wider, .turnLatitude = false, .panX = wider, .panY = true};
    case ProjectionKind::Mercator:
    case ProjectionKind::Cartesian:
    case ProjectionKind::CylindricalEqualArea:
    case ProjectionKind::None:
        break;
    }
    return {.turnLongitude = true, .turnLatitude = false, .panX = false, .panY = true};
}

MapView DraggedView(const MapProjection &projection, double dx, double dy)
{
    DragMotion motion = DragMotionOf(projection);
    MapView view = projection.View();
    double degreesPerPixel = RadToDeg / projection.Scale();
    if (motion.turnLongitude)
        view.centre.lon = WrapLongitude(view.centre.lon - dx * degreesPerPixel);
    if (motion.turnLatitude)
        view.centre.lat = std::clamp(view.centre.lat + dy * degreesPerPixel, -90.0, 90.0);
    ScreenPoint limit = projection.PanLimit();
    if (motion.panX)
        view.panX = std::clamp(view.panX + dx, -limit.x, limit.x);
    if (motion.panY)
        view.panY = std::clamp(view.panY + dy, -limit.y, limit.y);
    return view;
}

} // namespace vellum::worldmap
