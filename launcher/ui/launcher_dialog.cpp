// Tiled background painting and dialog-unit sizing for all launcher dialogs.
#include "launcher_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPainter>
#include <QStyleOptionGroupBox>

#include "artwork.h"

CLauncherDialog::CLauncherDialog(QWidget* parent) : QDialog(parent) {
    setWindowIcon(launcherIcon());
}

void CLauncherDialog::decorateFrame(QGroupBox* frame, FrameTile tile) {
    m_frames.push_back({frame, tile});
}

QSize CLauncherDialog::dialogUnits(int x, int y) const {
    QFontMetrics fm(font());
    return QSize((x * fm.averageCharWidth() + 3) / 4, (y * fm.height() + 7) / 8);
}

void CLauncherDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawTiledPixmap(rect(), backgroundTile64());
    for (const DecoratedFrame& d : m_frames) {
        if (!d.frame || !d.frame->isVisible()) continue;
        QStyleOptionGroupBox option;
        option.initFrom(d.frame);
        option.text = d.frame->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        QRect inner = d.frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxFrame, d.frame);
        // Start below the caption (at least 8 pixels below the frame's top), so it stays on the
        // plain background; the last row of tiles is cut at the frame's edge.
        int top = std::max(inner.top() + 2, 8);
        QRect area(inner.left() + 2, top, inner.width() - 4, inner.bottom() - 1 - top);
        area.translate(d.frame->mapTo(this, QPoint(0, 0)));
        if (area.isEmpty()) continue;
        const QPixmap& tile = d.tile == FrameTile::Tile32 ? frameTile32() : backgroundTile64();
        p.drawTiledPixmap(area, tile, QPoint(0, 0));
    }
}

void applyLauncherPalette() {
    QPalette pal = QApplication::palette();
    pal.setColor(QPalette::Window, QColor(200, 200, 200));
    // Black text in the active and inactive states only: disabled controls keep their grey text.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, Qt::black);
        pal.setColor(group, QPalette::ButtonText, Qt::black);
        pal.setColor(group, QPalette::Text, Qt::black);
    }
    QApplication::setPalette(pal);
}
