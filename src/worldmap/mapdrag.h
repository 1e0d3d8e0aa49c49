#pragma once
// Dragging the map with the mouse. The globe turns under the mouse, and the
// flat maps turn about their centre meridian, so what was grabbed follows the
// pointer and the world wraps round. A zoomed map that is larger than its
// window is panned: up and down on every flat map, sideways where turning
// would reshape the map instead of moving it (Albers, sinusoidal) and on the
// equidistant map, which always stays centred on home and never turns.

#include "projection.h"

namespace vellum::worldmap {

/// What a drag does in a projection.
struct DragMotion {
    bool turnLongitude = false; ///< the centre meridian follows the mouse sideways
    bool turnLatitude = false;  ///< the centre's latitude follows the mouse up and down (the globe)
    bool panX = false;          ///< the picture moves sideways
    bool panY = false;          ///< the picture moves up and down
};

/// How dragging moves the map drawn by this projection (its kind and zoom).
DragMotion DragMotionOf(const MapProjection &projection);

/// The view after the mouse dragged the map by (dx, dy) pixels; the pan stays
/// inside the projection's limits.
MapView DraggedView(const MapProjection &projection, double dx, double dy);

} // namespace vellum::worldmap
