// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <vector>
#include <functional>
#include <optional>

#include "platform/qt/repaint_pacer.h"
#include "platform/services.h"

namespace platform::qt {

// The visible board: a square drawing area (the board picture's size) inside a sunken two-pixel
// border. It shows the last picture it was given and, on top of it, the
// focus rectangle (a dotted outline that inverts the pixels below it).
//
// Repaints come from two sources. Those the widget asks for itself, because
// it got a new picture or focus rectangle, only paint. Every other repaint
// (the window shown, uncovered or restored) first calls `exposed`, so the
// owner can draw the board afresh; a picture handed over during that call is
// the one painted, and it schedules no further repaint.
//
// A new picture or part of one is taken over at once (image() shows it), but
// reaches the screen through a RepaintPacer: during a continuous run the
// changed parts of many pictures are gathered and repainted together.
class BoardView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorder = 2;
    static constexpr int kAreaSize = display::kBoardPictureSize;
    static constexpr int kTile = 16;  // pixels a side of the squares the changed area is kept in

    enum class MouseKind { Press, Move, Release };
    // A mouse event with the button mask (1 left, 2 right, 4 middle), the
    // Shift mask and the position in pixels of the drawing area.
    using MouseHandler = std::function<void(MouseKind kind, int buttons, int shift, QPointF position)>;

    explicit BoardView(QWidget* parent = nullptr);

    void setMouseHandler(MouseHandler handler) { mouse_ = std::move(handler); }
    void setExposedHandler(std::function<void()> handler) { exposed_ = std::move(handler); }

    void showImage(const PixelImage& image);
    // Takes over only the `changed` rectangles (not overlapping, in rows from
    // the top) of an image the same size as the last one (anything else is
    // taken whole) and repaints only them.
    void showImagePart(const PixelImage& image, const std::vector<PixelRect>& changed);
    void setFocusRect(const std::optional<PixelRect>& rect);

    const QImage& image() const { return image_; }
    QRect drawingArea() const { return QRect(kBorder, kBorder, kAreaSize, kAreaSize); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Marks the image's pixels from (left, top) to (right, bottom), exclusive,
    // to be repainted.
    void markChanged(int left, int top, int right, int bottom);
    // Something is marked: let the pacer repaint it.
    void changed();
    // Asks Qt to repaint everything marked so far.
    void repaintChanged();

    MouseHandler mouse_;
    std::function<void()> exposed_;
    QImage image_;
    std::optional<PixelRect> focus_;
    std::vector<uint8_t> dirtyTiles_;  // per tile of the drawing area: changed, not yet repainted
    bool wholeDirty_ = false;          // the whole widget (border, focus rectangle) to repaint
    RepaintPacer pacer_;
    bool ownRepaintPending_ = false;
    bool painting_ = false;
    int pressedButtons_ = 0;  // presses that were reported, so their releases are too
};

// Mouse buttons of a Qt event as the logic's bit mask.
int buttonMask(Qt::MouseButtons buttons);

}  // namespace platform::qt
