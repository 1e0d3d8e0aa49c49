#pragma once
// The drawing area of "World Map": the map drawn once into a picture that is
// kept until something on it changes, the lines and labels over it, and the
// mouse - the read-out, turning and panning, measuring and moving home.

#include <QImage>
#include <QWidget>

#include <optional>

namespace vellum {
class TWorldMap;
}

namespace vellum::worldmap {

class TMapCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TMapCanvas(TWorldMap &map);
    /// The map changed: drawn again at the next paint.
    void Invalidate();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TWorldMap &m_map;
    QImage m_picture;
    bool m_valid = false;
    std::optional<QPointF> m_dragFrom;
};

} // namespace vellum::worldmap
