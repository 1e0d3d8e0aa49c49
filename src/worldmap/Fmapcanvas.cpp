#include "Fmapcanvas.h"

#include "Fmaprenderer.h"
#include "Fworldmap.h"
#include "mapdrag.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace vellum::worldmap {

TMapCanvas::TMapCanvas(TWorldMap &map) : QWidget(&map), m_map(map)
{
    setObjectName(QStringLiteral("MapCanvas"));
    setMouseTracking(true);
    setMinimumSize(200, 120);
}

void TMapCanvas::Invalidate()
{
    m_valid = false;
    update();
}

void TMapCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Invalidate();
}

void TMapCanvas::paintEvent(QPaintEvent *)
{
    MapScene scene = m_map.Scene();
    MapProjection projection(scene.projection, scene.view, width(), height());
    MapRenderer renderer;
    if (!m_valid || m_picture.size() != size()) {
        m_picture = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_picture.fill(Qt::white);
        QPainter picture(&m_picture);
        MapScene base = scene;
        base.lines.clear();
        base.labels.clear();
        base.home.reset();
        renderer.Paint(picture, base, QSizeF(width(), height()));
        m_valid = true;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    renderer.PaintOverlay(painter, scene, projection);
}

void TMapCanvas::mouseMoveEvent(QMouseEvent *event)
{
    QPointF at = event->position();
    m_map.m_info->setText(m_map.ReadoutAt(at));
    MapProjection projection(m_map.m_state.projection, m_map.m_state.DrawnView(), width(), height());
    if (m_map.m_state.measuring) {
        if (auto position = projection.Inverse({at.x(), at.y()})) {
            m_map.m_state.measuring = position;
            update();
        }
    } else if (m_dragFrom) {
        m_map.m_state.view = DraggedView(projection, at.x() - m_dragFrom->x(), at.y() - m_dragFrom->y());
        m_dragFrom = at;
        m_map.redraw();
    }
}

void TMapCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    MapProjection projection(m_map.m_state.projection, m_map.m_state.DrawnView(), width(), height());
    auto position = projection.Inverse({event->position().x(), event->position().y()});
    bool control = event->modifiers() & Qt::ControlModifier;
    if (control && (event->modifiers() & Qt::ShiftModifier)) {
        if (position) {
            m_map.m_state.MoveHome(*position);
            m_map.redraw();
        }
    } else if (control) {
        m_map.m_state.measuring = position;
        update();
    } else {
        m_dragFrom = event->position();
    }
}

void TMapCanvas::mouseReleaseEvent(QMouseEvent *)
{
    m_dragFrom.reset();
    if (m_map.m_state.measuring) {
        m_map.m_state.measuring.reset();
        update();
    }
}

} // namespace vellum::worldmap
