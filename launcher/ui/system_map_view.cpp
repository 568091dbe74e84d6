// The map's drawing and its mouse handling.
#include "system_map_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "readable_units.h"

namespace {

const QColor kBackground(6, 8, 20);
const QColor kOrbitColour(70, 96, 140);
const QColor kHighlightColour(255, 214, 64);
const QColor kLabelColour(200, 210, 230);
const QColor kHintColour(120, 130, 150);
constexpr double kMinKmPerPixel = 1e-3;
constexpr double kMaxKmPerPixel = 1e13;
constexpr int kLabelCellPx = 8;
constexpr double kPickRadiusPx = 10;
// A disc larger than this covers any window; drawing it larger only costs time.
constexpr double kLargestDiscPx = 1e5;

QColor bodyColour(int kind) {
    switch (kind) {
        case 1: return {255, 220, 120};  // star
        case 2: return {150, 190, 255};  // planet
        case 3: return {120, 255, 150};  // observer
        default: return {180, 180, 180};
    }
}

// Points along an orbit for a path ext pixels across: closed paths take every stride-th point.
int strideFor(double extentPx, size_t points) {
    const double wanted = std::clamp(extentPx / 2, 16.0, static_cast<double>(points));
    int stride = 1;
    while (stride * 2 <= static_cast<int>(points) && static_cast<double>(points) / (stride * 2) >= wanted)
        stride *= 2;
    return stride;
}

}  // namespace

SystemMapView::SystemMapView(QWidget* parent) : QWidget(parent) {
    setObjectName("systemMap");
    setMinimumSize(200, 160);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

void SystemMapView::setMap(SystemMap map, bool keepView) {
    m_map = std::move(map);
    if (m_highlighted >= static_cast<int>(m_map.bodies.size())) m_highlighted = -1;
    m_labelOrder.resize(m_map.bodies.size());
    std::iota(m_labelOrder.begin(), m_labelOrder.end(), 0);
    std::stable_sort(m_labelOrder.begin(), m_labelOrder.end(), [this](int a, int b) {
        if ((a == m_map.centre) != (b == m_map.centre)) return a == m_map.centre;
        return m_map.bodies[static_cast<size_t>(a)].massKg > m_map.bodies[static_cast<size_t>(b)].massKg;
    });
    if (!keepView || !m_hasView) fitAll();
    update();
}

QPointF SystemMapView::toScreen(MapPoint p) const {
    return {width() / 2.0 + (p.x - m_centre.x) / m_kmPerPixel, height() / 2.0 - (p.y - m_centre.y) / m_kmPerPixel};
}

MapPoint SystemMapView::toMap(QPointF s) const {
    return {m_centre.x + (s.x() - width() / 2.0) * m_kmPerPixel, m_centre.y - (s.y() - height() / 2.0) * m_kmPerPixel};
}

void SystemMapView::showExtent(MapPoint centre, double halfWidthKm) {
    m_request = {centre, halfWidthKm};
    m_centre = centre;
    const double pixels = std::max(1, std::min(width(), height())) / 2.0 * 0.92;
    m_kmPerPixel = std::clamp(halfWidthKm / pixels, kMinKmPerPixel, kMaxKmPerPixel);
    m_hasView = true;
    update();
}

void SystemMapView::fitAll() {
    double minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    auto take = [&](double x, double y) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    };
    for (const MapBody& b : m_map.bodies) {
        if (!b.placed) continue;
        take(b.place.x, b.place.y);
        if (b.parent >= 0 && b.bound) {
            const MapPoint& p = m_map.bodies[static_cast<size_t>(b.parent)].place;
            for (const MapPoint& q : {b.orbit[0], b.orbit[b.orbit.size() / 2]}) take(p.x + q.x, p.y + q.y);
        }
    }
    if (!std::isfinite(minX)) {
        showExtent({}, 1e6);
        return;
    }
    const double half = std::max({(maxX - minX) / 2, (maxY - minY) / 2, 1.0});
    showExtent({(minX + maxX) / 2, (minY + maxY) / 2}, half);
}

void SystemMapView::showNeighbourhood(int index) {
    if (index < 0 || index >= static_cast<int>(m_map.bodies.size())) return;
    std::vector<int> moons = satellitesOf(m_map, index);
    const MapBody& b = m_map.bodies[static_cast<size_t>(index)];
    if (moons.empty() && b.parent >= 0 && b.parent != m_map.centre) {
        showNeighbourhood(b.parent);
        return;
    }
    double reach = 0;
    for (int m : moons) reach = std::max(reach, m_map.bodies[static_cast<size_t>(m)].apoapsisKm);
    if (moons.empty()) reach = std::max(20 * b.radiusKm, 0.03 * b.apoapsisKm);
    showExtent(b.place, std::max({reach * 1.1, 3 * b.radiusKm, 1.0}));
}

void SystemMapView::setHighlighted(int index) {
    m_highlighted = index >= 0 && index < static_cast<int>(m_map.bodies.size()) ? index : -1;
    update();
}

int SystemMapView::bodyAt(QPointF screen) const {
    int best = -1;
    double bestDistance = kPickRadiusPx;
    for (size_t i = 0; i < m_map.bodies.size(); ++i) {
        const MapBody& b = m_map.bodies[i];
        if (!b.placed) continue;
        const QPointF d = toScreen(b.place) - screen;
        const double distance = std::hypot(d.x(), d.y()) - b.radiusKm / m_kmPerPixel;
        if (distance < bestDistance) bestDistance = distance, best = static_cast<int>(i);
    }
    return best;
}

void SystemMapView::drawOrbits(QPainter& painter) const {
    const QRectF view = rect();
    // Where many objects circle one body (a belt), each path is drawn faint, so that the belt
    // reads as a band and stands back from the other orbits.
    std::vector<int> siblings(m_map.bodies.size(), 0);
    for (const MapBody& b : m_map.bodies)
        if (b.parent >= 0) ++siblings[static_cast<size_t>(b.parent)];
    QPolygonF polygon;
    for (size_t i = 0; i < m_map.bodies.size(); ++i) {
        const MapBody& b = m_map.bodies[i];
        if (b.parent < 0 || b.orbit.empty()) continue;
        const double extentPx = b.apoapsisKm / m_kmPerPixel;
        if (extentPx < 1.5 && static_cast<int>(i) != m_highlighted) continue;
        const QPointF focus = toScreen(m_map.bodies[static_cast<size_t>(b.parent)].place);
        // The whole path lies within extentPx of its focus: skip it when that box misses the window.
        if (!view.intersects(QRectF(focus.x() - extentPx, focus.y() - extentPx, 2 * extentPx, 2 * extentPx)))
            continue;
        // A faint path in a crowd needs fewer points than one drawn alone.
        const bool crowded = siblings[static_cast<size_t>(b.parent)] > 50 && static_cast<int>(i) != m_highlighted;
        const int stride = b.bound ? strideFor(crowded ? extentPx / 4 : extentPx, b.orbit.size()) : 1;
        polygon.clear();
        for (size_t k = 0; k < b.orbit.size(); k += static_cast<size_t>(stride))
            polygon << QPointF(focus.x() + b.orbit[k].x / m_kmPerPixel, focus.y() - b.orbit[k].y / m_kmPerPixel);
        if (b.bound) polygon << polygon.front();
        const bool chosen = static_cast<int>(i) == m_highlighted;
        // Faint in a crowd: mixed with the background rather than blended, which would cost
        // several times the drawing.
        const double share = std::clamp(12.0 / std::max(1, siblings[static_cast<size_t>(b.parent)]), 0.4, 1.0);
        const QColor colour = QColor::fromRgbF(
            static_cast<float>(kBackground.redF() + (kOrbitColour.redF() - kBackground.redF()) * share),
            static_cast<float>(kBackground.greenF() + (kOrbitColour.greenF() - kBackground.greenF()) * share),
            static_cast<float>(kBackground.blueF() + (kOrbitColour.blueF() - kBackground.blueF()) * share));
        // Width 0: the one-pixel cosmetic pen, drawn without the stroker.
        painter.setPen(QPen(chosen ? kHighlightColour : colour, chosen ? 2 : 0));
        painter.drawPolyline(polygon);
    }
}

void SystemMapView::drawBodies(QPainter& painter) {
    const QRectF view = rect().adjusted(-20, -20, 20, 20);
    const QFontMetrics metrics(painter.font());
    // Bodies, then their names, most important first, each only where no earlier name stands.
    for (size_t i = 0; i < m_map.bodies.size(); ++i) {
        const MapBody& b = m_map.bodies[i];
        const QPointF at = toScreen(b.place);
        if (!b.placed || !view.contains(at)) continue;
        const double r = std::clamp(b.radiusKm / m_kmPerPixel, 2.5, kLargestDiscPx);
        painter.setPen(Qt::NoPen);
        painter.setBrush(bodyColour(b.kind));
        painter.drawEllipse(at, r, r);
    }
    if (m_highlighted >= 0 && m_map.bodies[static_cast<size_t>(m_highlighted)].placed) {
        const MapBody& b = m_map.bodies[static_cast<size_t>(m_highlighted)];
        const double r = std::clamp(b.radiusKm / m_kmPerPixel, 2.5, kLargestDiscPx) + 4;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kHighlightColour, 2));
        painter.drawEllipse(toScreen(b.place), r, r);
    }

    const int columns = width() / kLabelCellPx + 1, rows = height() / kLabelCellPx + 1;
    std::vector<char> taken(static_cast<size_t>(columns * rows), 0);
    m_labelled.clear();
    m_labelBoxes.clear();
    std::vector<int> order;
    order.reserve(m_labelOrder.size() + 1);
    if (m_highlighted >= 0) order.push_back(m_highlighted);
    for (int i : m_labelOrder)
        if (i != m_highlighted) order.push_back(i);
    for (int i : order) {
        const MapBody& b = m_map.bodies[static_cast<size_t>(i)];
        if (b.name.empty() || !b.placed) continue;
        const QPointF at = toScreen(b.place);
        if (!QRectF(rect()).contains(at)) continue;
        const QString name = QString::fromStdString(b.name);
        const double r = std::clamp(b.radiusKm / m_kmPerPixel, 2.5, kLargestDiscPx);
        const QRect box(static_cast<int>(at.x() + r * 0.7 + 3), static_cast<int>(at.y() - r * 0.7 - metrics.ascent()),
                        metrics.horizontalAdvance(name), metrics.height());
        const int c0 = std::max(0, box.left() / kLabelCellPx), c1 = std::min(columns - 1, box.right() / kLabelCellPx);
        const int r0 = std::max(0, box.top() / kLabelCellPx), r1 = std::min(rows - 1, box.bottom() / kLabelCellPx);
        bool free = true;
        for (int y = r0; free && y <= r1; ++y)
            for (int x = c0; free && x <= c1; ++x) free = !taken[static_cast<size_t>(y * columns + x)];
        if (!free) continue;
        for (int y = r0; y <= r1; ++y)
            for (int x = c0; x <= c1; ++x) taken[static_cast<size_t>(y * columns + x)] = 1;
        painter.setPen(i == m_highlighted ? kHighlightColour : kLabelColour);
        painter.drawText(box.left(), box.top() + metrics.ascent(), name);
        m_labelled.push_back(i);
        m_labelBoxes.push_back(box);
    }
}

void SystemMapView::drawScaleBar(QPainter& painter) const {
    // A round length near a sixth of the width: in AU from a tenth of one, else in km.
    const double target = width() / 6.0 * m_kmPerPixel;
    const bool inAu = target >= 0.1 * kAstronomicalUnitKm;
    const double unit = inAu ? kAstronomicalUnitKm : 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(target / unit)));
    double count = power;
    for (double step : {2.0, 5.0, 10.0})
        if (power * step <= target / unit) count = power * step;
    const double px = count * unit / m_kmPerPixel;
    const QString label = QString::fromStdString(groupedNumber(count, count < 1 ? 1 : 0)) + (inAu ? " AU" : " km");
    const int y = height() - 12;
    painter.setPen(QPen(kLabelColour, 1));
    painter.drawLine(QPointF(12, y), QPointF(12 + px, y));
    painter.drawLine(QPointF(12, y - 4), QPointF(12, y + 2));
    painter.drawLine(QPointF(12 + px, y - 4), QPointF(12 + px, y + 2));
    painter.drawText(QPointF(12, y - 6), label);
    painter.setPen(kHintColour);
    painter.drawText(QRectF(0, 4, width() - 8, 20), Qt::AlignRight,
                     "Wheel: zoom   Drag: move   Click: choose");
}

void SystemMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setRenderHint(QPainter::Antialiasing, m_map.bodies.size() <= 200);
    drawOrbits(painter);
    drawBodies(painter);
    drawScaleBar(painter);
    if (!m_map.failure.empty()) {
        painter.setPen(QColor(255, 120, 120));
        painter.drawText(rect().adjusted(8, 24, -8, -24), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap,
                         QString::fromStdString(m_map.failure));
    }
}

void SystemMapView::zoomAbout(QPointF screen, double factor) {
    const MapPoint fixed = toMap(screen);
    m_kmPerPixel = std::clamp(m_kmPerPixel / factor, kMinKmPerPixel, kMaxKmPerPixel);
    m_request.reset();
    // Keep the map point under the pointer where it was.
    m_centre.x = fixed.x - (screen.x() - width() / 2.0) * m_kmPerPixel;
    m_centre.y = fixed.y + (screen.y() - height() / 2.0) * m_kmPerPixel;
    update();
}

void SystemMapView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) zoomAbout(event->position(), std::pow(1.25, steps));
    event->accept();
}

void SystemMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_pressAt = m_lastDrag = event->position();
    m_dragging = true;
    setCursor(Qt::ClosedHandCursor);
}

void SystemMapView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    const QPointF delta = event->position() - m_lastDrag;
    m_lastDrag = event->position();
    m_request.reset();
    m_centre.x -= delta.x() * m_kmPerPixel;
    m_centre.y += delta.y() * m_kmPerPixel;
    update();
}

void SystemMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging) return;
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
    const QPointF moved = event->position() - m_pressAt;
    if (std::hypot(moved.x(), moved.y()) > 4) return;  // a drag, not a click
    const int index = bodyAt(event->position());
    if (index < 0) return;
    setHighlighted(index);
    emit bodyClicked(index);
}

void SystemMapView::resizeEvent(QResizeEvent*) {
    // Until the user zooms or moves it, a fitted or neighbourhood view fits the new size too.
    if (!m_hasView) fitAll();
    else if (m_request) showExtent(m_request->first, m_request->second);
}
