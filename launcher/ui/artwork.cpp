// Procedural artwork: deterministic noise and simple drawings, so no image files need shipping.
#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

namespace {

// A seamless tile of soft grey mottling around base; seed fixes the pattern.
QPixmap mottledTile(int size, QColor base, int spread, quint32 seed) {
    QImage img(size, size, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    // Coarse random lattice, interpolated with wrap-around so that neighbouring tiles meet.
    const int cells = 8;
    int lattice[cells][cells];
    for (auto& row : lattice)
        for (int& v : row) v = rng.bounded(-spread, spread + 1);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double fx = double(x) * cells / size, fy = double(y) * cells / size;
            int x0 = int(fx) % cells, y0 = int(fy) % cells;
            int x1 = (x0 + 1) % cells, y1 = (y0 + 1) % cells;
            double tx = fx - int(fx), ty = fy - int(fy);
            double top = lattice[y0][x0] * (1 - tx) + lattice[y0][x1] * tx;
            double bottom = lattice[y1][x0] * (1 - tx) + lattice[y1][x1] * tx;
            int d = int(top * (1 - ty) + bottom * ty) + rng.bounded(-2, 3);
            img.setPixel(x, y, qRgb(qBound(0, base.red() + d, 255), qBound(0, base.green() + d, 255),
                                    qBound(0, base.blue() + d, 255)));
        }
    }
    return QPixmap::fromImage(img);
}

void drawStars(QPainter& p, const QRect& area, int count, quint32 seed) {
    QRandomGenerator rng(seed);
    for (int i = 0; i < count; ++i) {
        int x = area.left() + rng.bounded(area.width());
        int y = area.top() + rng.bounded(area.height());
        int v = 120 + rng.bounded(136);
        p.setPen(QColor(v, v, qMin(255, v + 20)));
        p.drawPoint(x, y);
    }
}

// A lit sphere with a soft terminator, used by several pictures.
void drawPlanet(QPainter& p, QPointF centre, double radius, QColor light, QColor dark) {
    QRadialGradient g(centre - QPointF(radius * 0.45, radius * 0.45), radius * 1.6);
    g.setColorAt(0.0, light);
    g.setColorAt(0.55, dark);
    g.setColorAt(1.0, Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

QPixmap spacePicture(int w, int h, quint32 seed) {
    QPixmap pix(w, h);
    pix.fill(QColor(6, 8, 20));
    QPainter p(&pix);
    drawStars(p, pix.rect(), w * h / 90, seed);
    return pix;
}

QPixmap badge(QColor light, QColor dark, const QString& sign, quint32 seed) {
    QPixmap pix = spacePicture(96, 96, seed);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    drawPlanet(p, QPointF(48, 48), 34, light, dark);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(44);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 230));
    p.drawText(QRect(14, 14, 68, 68), Qt::AlignCenter, sign);
    return pix;
}

QPixmap dragImage(int width, const QString& label) {
    QPixmap pix(width, 16);
    pix.fill(QColor(40, 60, 120));
    QPainter p(&pix);
    p.setPen(QColor(220, 230, 255));
    p.drawRect(0, 0, width - 1, 15);
    QFont f = p.font();
    f.setPixelSize(11);
    p.setFont(f);
    p.drawText(QRect(2, 0, width - 4, 16), Qt::AlignCenter, label);
    return pix;
}

}  // namespace

const QPixmap& backgroundTile64() {
    static const QPixmap tile = mottledTile(64, QColor(200, 200, 200), 7, 171);
    return tile;
}

const QPixmap& frameTile32() {
    static const QPixmap tile = mottledTile(32, QColor(214, 216, 222), 6, 172);
    return tile;
}

const QPixmap& launchPadPicture() {
    static const QPixmap picture = [] {
        QPixmap pix = spacePicture(434, 316, 132);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        drawPlanet(p, QPointF(70, 60), 26, QColor(255, 250, 210), QColor(250, 190, 60));  // star
        QPointF c(250, 190);
        // The back half of the ring, the planet, then the front half over it.
        QPen ring(QColor(210, 190, 150, 200), 9);
        p.setPen(ring);
        p.setBrush(Qt::NoBrush);
        QRectF ringRect(c.x() - 150, c.y() - 34, 300, 68);
        p.drawArc(ringRect, 0, 180 * 16);
        drawPlanet(p, c, 88, QColor(240, 210, 160), QColor(170, 110, 60));
        p.setPen(ring);
        p.setBrush(Qt::NoBrush);
        p.drawArc(ringRect, 180 * 16, 180 * 16);
        drawPlanet(p, QPointF(380, 70), 12, QColor(200, 220, 255), QColor(60, 90, 160));  // moon
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(30);
        p.setFont(f);
        p.setPen(QColor(230, 235, 255));
        p.drawText(QRect(0, 266, 434, 40), Qt::AlignCenter, QStringLiteral("Celestrix"));
        return pix;
    }();
    return picture;
}

const QPixmap& errorPicture() {
    static const QPixmap pix = badge(QColor(255, 140, 110), QColor(170, 30, 20), "!", 189);
    return pix;
}

const QPixmap& messagePicture() {
    static const QPixmap pix = badge(QColor(150, 200, 255), QColor(30, 70, 170), "i", 194);
    return pix;
}

const QPixmap& warningPicture() {
    static const QPixmap pix = badge(QColor(255, 225, 120), QColor(190, 120, 10), "?", 192);
    return pix;
}

const QPixmap& dragImageOneRow() {
    static const QPixmap pix = dragImage(88, QStringLiteral("1 object"));
    return pix;
}

const QPixmap& dragImageManyRows() {
    static const QPixmap pix = dragImage(89, QStringLiteral("objects"));
    return pix;
}

const QIcon& launcherIcon() {
    static const QIcon icon = [] {
        QPixmap pix(64, 64);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        drawPlanet(p, QPointF(32, 32), 20, QColor(240, 210, 160), QColor(170, 110, 60));
        p.setPen(QPen(QColor(210, 190, 150), 4));
        p.drawEllipse(QRectF(4, 24, 56, 16));
        return QIcon(pix);
    }();
    return icon;
}
