// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <vector>
#include <functional>
#include <optional>

#include "platform/qt/repaint_pacer.h"
#include "platform/services.h"

class QPainter;

namespace platform::qt {

// The visible board: a square drawing area inside a sunken two-pixel border,
// the largest square that fits in the widget (never less than the board
// picture's first size), centred in it. It shows the last picture it was
// given and, on top of it, the focus rectangle (a dotted outline that inverts
// the pixels below it).
//
// The picture is drawn at the screen's device pixels: on a screen with two
// device pixels per logical pixel, a 480-pixel area takes a 960-pixel
// picture, so cell edges stay sharp. Positions and rectangles handed in and
// out (pictures, the focus rectangle, mouse positions) are in the picture's
// pixels.
//
// Repaints come from two sources. Those the widget asks for itself, because
// it got a new picture or focus rectangle, only paint. Every other repaint
// (the window shown, uncovered, restored or resized) first calls `exposed`,
// so the owner can draw the board afresh, at the picture size of the moment;
// a picture handed over during that call is the one painted, and it
// schedules no further repaint.
//
// A new picture or part of one is taken over at once (image() shows it), but
// reaches the screen through a RepaintPacer: during a continuous run the
// changed parts of many pictures are gathered and repainted together.
class BoardView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorder = 2;
    static constexpr int kMinAreaSize = display::kBoardPictureSize;  // logical pixels a side, at least
    static constexpr int kTile = 16;  // picture pixels a side of the squares the changed area is kept in

    enum class MouseKind { Press, Move, Release };
    // A mouse event with its button, the modifier keys and the position in
    // pixels of the picture (device pixels from the drawing area's top-left
    // corner).
    using MouseHandler =
        std::function<void(MouseKind kind, MouseButton button, Modifiers modifiers, QPointF position)>;

    explicit BoardView(QWidget* parent = nullptr);

    void setMouseHandler(MouseHandler handler) { mouse_ = std::move(handler); }
    // ---- the keyboard cursor ----
    // The board's keys (arrows, Space) while it has the focus; the handler
    // says whether it took the key. The focus handler hears the focus going
    // to another control of the window (not to a dialog or another window).
    using KeyHandler = std::function<bool(BoardKey key, Modifiers modifiers)>;
    void setKeyHandler(KeyHandler handler) { key_ = std::move(handler); }
    void setFocusLeftHandler(std::function<void()> handler) { focusLeft_ = std::move(handler); }
    // The keyboard cursor's cell, outlined just outside it in black and yellow; none hides it.
    void setKeyCursor(const std::optional<PixelRect>& rect);
    bool keyCursorShown() const { return keyCursor_.has_value(); }
    // ---- end of the keyboard cursor ----
    void setExposedHandler(std::function<void()> handler) { exposed_ = std::move(handler); }
    // The wheel turned over the drawing area by whole notches (positive:
    // away from the user), at a position in the picture's pixels.
    using WheelHandler = std::function<void(int steps, QPointF position)>;
    void setWheelHandler(WheelHandler handler) { wheel_ = std::move(handler); }
    // Whether the space bar is held while the window has the keyboard.
    bool spaceHeld() const { return spaceHeld_; }

    void showImage(const PixelImage& image);
    // Takes over only the `changed` rectangles (not overlapping, in rows from
    // the top) of an image the same size as the last one (anything else is
    // taken whole) and repaints only them.
    void showImagePart(const PixelImage& image, const std::vector<PixelRect>& changed);
    void setFocusRect(const std::optional<PixelRect>& rect);
    // A short text over the top of the board, gone after kNoticeMs.
    static constexpr int kNoticeMs = 1000;
    void showNotice(const QString& text);
    const QString& notice() const { return notice_; }

    const QImage& image() const { return image_; }
    // The drawing area in the widget's (logical) pixels.
    QRect drawingArea() const;
    // Pixels a side of the picture that fills the drawing area on this screen.
    int pictureSize() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;  // Tab and the arrows while the cursor is shown
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // Follows the space bar in the whole window (a left drag with it held moves the view).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Marks the image's pixels from (left, top) to (right, bottom), exclusive,
    // to be repainted.
    void markChanged(int left, int top, int right, int bottom);
    // A tile grid for a picture of this many pixels a side, nothing marked.
    void resetTiles(int pictureSide);
    // The widget's pixels that show the picture's pixels from (left, top) to
    // (right, bottom), rounded outwards.
    QRect toWidget(int left, int top, int right, int bottom) const;
    // A mouse position in the picture's pixels.
    QPointF toPicture(QPointF widgetPosition) const;
    // Something is marked: let the pacer repaint it.
    void changed();
    // Asks Qt to repaint everything marked so far.
    void repaintChanged();

    // The steps of a paint, in order: the picture brought up to date where
    // the paint was not the view's own, what the paint covers no longer
    // marked, then the border, the picture and the focus outline. The
    // picture's step leaves the painter in the picture's pixels, clipped to
    // the drawing area, as the focus outline needs it.
    void updatePictureBeforePaint();
    void forgetChangesPaintedBy(const QRegion& painted);
    void paintFrame(QPainter& painter, const QRegion& region, const QRect& area) const;
    void paintPicture(QPainter& painter, const QRegion& region, const QRect& area) const;
    static void paintFocusOutline(QPainter& painter, const PixelRect& focus);
    static void paintKeyCursor(QPainter& painter, const PixelRect& cell);
    void paintNotice(QPainter& painter) const;

    Modifiers modifiersOf(Qt::KeyboardModifiers keys) const;

    MouseHandler mouse_;
    WheelHandler wheel_;
    int wheelAngle_ = 0;  // eighths of a degree not yet a whole notch
    bool spaceHeld_ = false;
    std::function<void()> exposed_;
    QImage image_;
    std::optional<PixelRect> focus_;
    std::vector<uint8_t> dirtyTiles_;  // per tile of the picture: changed, not yet repainted
    int tilesAcross_ = 0;
    bool wholeDirty_ = false;          // the whole widget (border, focus rectangle) to repaint
    RepaintPacer pacer_;
    bool ownRepaintPending_ = false;
    bool painting_ = false;
    Qt::MouseButtons pressedButtons_;  // presses that were reported, so their releases are too
    QString notice_;
    QTimer noticeTimer_;
    KeyHandler key_;
    std::function<void()> focusLeft_;
    std::optional<PixelRect> keyCursor_;
};

// The button of a Qt mouse event: the first of left, right and middle among
// `buttons`, None when there is none of them.
MouseButton mouseButton(Qt::MouseButtons buttons);
// The modifier keys of a Qt event.
Modifiers mouseModifiers(Qt::KeyboardModifiers modifiers);

// The cell under a position in the board picture's pixels, on a picture
// `pixels` a side that shows `cells` cells a side (none while no size is
// known). A pointer on a pixel stands for the pixel's centre, so that it lies
// on the cell drawn there: cell edges are rounded to whole pixels, and a
// cell's first pixel may begin a little before the cell.
PointedCell cellAtPicturePosition(QPointF position, int pixels, int cells);

}  // namespace platform::qt
