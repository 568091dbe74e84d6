// CLauncherDialog: the base of every launcher dialog. It carries the launcher context, sets the
// icon, and paints the tiled background: the whole client area with the 64-pixel tile, then each
// decorative frame the dialog names with its own tile, from just below the frame's caption.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QSize>
#include <vector>

#include "launcher_context.h"

class QGroupBox;

enum class FrameTile { Tile32, Tile64 };

class CLauncherDialog : public QDialog {
    Q_OBJECT
public:
    explicit CLauncherDialog(QWidget* parent = nullptr);

    const CLauncherContext& context() const { return m_context; }
    CLauncherContext& context() { return m_context; }

protected:
    // Frames named here get their inside tiled; frames not named stay on the dialog background.
    void decorateFrame(QGroupBox* frame, FrameTile tile = FrameTile::Tile32);
    // Dialog units of the desktop's font: x is a quarter of the average character width, y an
    // eighth of the line height, so sizes given in them follow the font size and scale.
    QSize dialogUnits(int x, int y) const;
    void paintEvent(QPaintEvent* event) override;

    CLauncherContext m_context;

private:
    struct DecoratedFrame {
        QPointer<QGroupBox> frame;
        FrameTile tile;
    };
    std::vector<DecoratedFrame> m_frames;
};

// The dialogs' shared look: light grey background and black text, as a palette for the application.
void applyLauncherPalette();
