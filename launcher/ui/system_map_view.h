// SystemMapView: the top view of a system's orbits, to scale, with names. The mouse wheel zooms
// about the pointer, a drag moves the view, a click chooses the body under the pointer. Labels
// that would overlap a more important one are left out, and orbits smaller than a pixel or
// outside the window are not drawn, so that a field of a thousand objects stays fluid.
#pragma once

#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "system_map.h"

class SystemMapView : public QWidget {
    Q_OBJECT
public:
    explicit SystemMapView(QWidget* parent = nullptr);

    // Shows a new map; the first map (or keepView false) is shown whole.
    void setMap(SystemMap map, bool keepView = true);
    const SystemMap& map() const { return m_map; }

    // The whole system in the window.
    void fitAll();
    // A body and the objects that circle it; a body without satellites shows its parent's
    // neighbourhood (the Moon shows Earth and the Moon), or its own close surroundings.
    void showNeighbourhood(int index);
    void setHighlighted(int index);
    int highlighted() const { return m_highlighted; }

    // The view: km per pixel and the map point at the window's centre.
    double kmPerPixel() const { return m_kmPerPixel; }
    QPointF toScreen(MapPoint p) const;
    MapPoint toMap(QPointF screen) const;
    // The body drawn nearest the point, within a few pixels; -1 for none.
    int bodyAt(QPointF screen) const;
    // The bodies whose names the last paint showed.
    const std::vector<int>& labelledBodies() const { return m_labelled; }
    const std::vector<QRect>& labelBoxes() const { return m_labelBoxes; }

signals:
    void bodyClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showExtent(MapPoint centre, double halfWidthKm);
    void zoomAbout(QPointF screen, double factor);
    void drawOrbits(class QPainter& painter) const;
    void drawBodies(QPainter& painter);
    void drawScaleBar(QPainter& painter) const;

    SystemMap m_map;
    bool m_hasView = false;
    MapPoint m_centre;
    double m_kmPerPixel = 1;
    std::optional<std::pair<MapPoint, double>> m_request;  // the extent asked for, until the user moves
    int m_highlighted = -1;
    std::vector<int> m_labelled;
    std::vector<QRect> m_labelBoxes;
    std::vector<int> m_labelOrder;  // label priority: the centre, then by mass
    QPointF m_pressAt;
    QPointF m_lastDrag;
    bool m_dragging = false;
};
