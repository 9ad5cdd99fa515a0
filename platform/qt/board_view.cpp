// SPDX-License-Identifier: MIT
#include "platform/qt/board_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <qdrawutil.h>

namespace platform::qt {

MouseButton mouseButton(Qt::MouseButtons buttons) {
    if (buttons & Qt::LeftButton) return MouseButton::Left;
    if (buttons & Qt::RightButton) return MouseButton::Right;
    if (buttons & Qt::MiddleButton) return MouseButton::Middle;
    return MouseButton::None;
}

Modifiers mouseModifiers(Qt::KeyboardModifiers modifiers) { return {(modifiers & Qt::ShiftModifier) != 0}; }

PointedCell cellAtPicturePosition(QPointF position, int pixels, int cells) {
    if (pixels <= 0 || cells <= 0) return {};
    // Computed in single precision, the unit the position had before it
    // became a cell, so that a pixel maps to the same cell as always.
    const auto x = static_cast<float>((std::floor(position.x()) + 0.5) * cells / pixels);
    const auto y = static_cast<float>((std::floor(position.y()) + 0.5) * cells / pixels);
    const float limit = static_cast<float>(cells);
    if (!(x >= 0.0f && x < limit && y >= 0.0f && y < limit)) return {};  // also refuses NaN
    return {static_cast<int32_t>(x), static_cast<int32_t>(y), true};
}

namespace {
constexpr int kMinWidgetSize = BoardView::kMinAreaSize + 2 * BoardView::kBorder;
}  // namespace

BoardView::BoardView(QWidget* parent) : QWidget(parent), pacer_(this, [this] { repaintChanged(); }) {
    setMinimumSize(kMinWidgetSize, kMinWidgetSize);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);  // moves without a button held are reported too
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reached by Tab and by a click, so that the keyboard can edit the board.
    setFocusPolicy(Qt::StrongFocus);
    resetTiles(pictureSize());
    qApp->installEventFilter(this);
    noticeTimer_.setSingleShot(true);
    connect(&noticeTimer_, &QTimer::timeout, this, [this] {
        notice_.clear();
        wholeDirty_ = true;
        changed();
    });
}

// Repainted by the view's own means, so the owner is not asked for a fresh picture.
void BoardView::showNotice(const QString& text) {
    notice_ = text;
    noticeTimer_.start(kNoticeMs);
    wholeDirty_ = true;
    changed();
}

void BoardView::paintNotice(QPainter& painter) const {
    painter.resetTransform();
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = this->font();
    font.setPixelSize(18);
    painter.setFont(font);
    const QRect area = drawingArea();
    QRect box = painter.fontMetrics().boundingRect(notice_).adjusted(-12, -6, 12, 6);
    box.moveCenter(QPoint(area.center().x(), area.top() + 12 + box.height() / 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 190));
    painter.drawRoundedRect(box, 6, 6);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, notice_);
}

QSize BoardView::sizeHint() const { return QSize(kMinWidgetSize, kMinWidgetSize); }

QRect BoardView::drawingArea() const {
    const int side = std::max(std::min(width(), height()) - 2 * kBorder, kMinAreaSize);
    return QRect((width() - side) / 2, (height() - side) / 2, side, side);
}

int BoardView::pictureSize() const { return qRound(drawingArea().width() * devicePixelRatioF()); }

QRect BoardView::toWidget(int left, int top, int right, int bottom) const {
    const qreal dpr = devicePixelRatioF();
    const QPoint origin = drawingArea().topLeft();
    const int l = qFloor(left / dpr), t = qFloor(top / dpr);
    return QRect(origin.x() + l, origin.y() + t, qCeil(right / dpr) - l, qCeil(bottom / dpr) - t);
}

QPointF BoardView::toPicture(QPointF widgetPosition) const {
    return (widgetPosition - QPointF(drawingArea().topLeft())) * devicePixelRatioF();
}

void BoardView::resetTiles(int pictureSide) {
    tilesAcross_ = (std::max(pictureSide, 0) + kTile - 1) / kTile;
    dirtyTiles_.assign(static_cast<std::size_t>(tilesAcross_) * static_cast<std::size_t>(tilesAcross_), 0);
}

void BoardView::markChanged(int left, int top, int right, int bottom) {
    const int side = tilesAcross_ * kTile;
    left = std::max(left, 0), top = std::max(top, 0);
    right = std::min(right, side), bottom = std::min(bottom, side);
    if (left >= right || top >= bottom) return;
    const int firstTile = left / kTile, tiles = (right - 1) / kTile - firstTile + 1;
    for (int ty = top / kTile; ty <= (bottom - 1) / kTile; ++ty)
        std::memset(&dirtyTiles_[static_cast<std::size_t>(ty) * tilesAcross_ + firstTile], 1,
                    static_cast<std::size_t>(tiles));
}

void BoardView::changed() {
    // A paint going on shows what the widget holds now; whatever lies outside
    // the part it repaints follows with the pacer.
    if (!painting_) pacer_.changed();
}

void BoardView::repaintChanged() {
    if (wholeDirty_) {
        wholeDirty_ = false;
        std::fill(dirtyTiles_.begin(), dirtyTiles_.end(), 0);
        ownRepaintPending_ = true;
        update();
        return;
    }
    // The marked tiles, runs of a row as one rectangle, rows from the top.
    std::vector<QRect> parts;
    const QRect area = drawingArea();
    for (int ty = 0; ty < tilesAcross_; ++ty) {
        uint8_t* row = &dirtyTiles_[static_cast<std::size_t>(ty) * tilesAcross_];
        for (int tx = 0; tx < tilesAcross_; ++tx) {
            if (!row[tx]) continue;
            const int first = tx;
            while (tx + 1 < tilesAcross_ && row[tx + 1]) ++tx;
            std::fill(row + first, row + tx + 1, 0);
            parts.push_back(toWidget(first * kTile, ty * kTile, (tx + 1) * kTile, (ty + 1) * kTile) & area);
        }
    }
    if (parts.empty()) return;
    QRegion region;
    region.setRects(parts.data(), static_cast<int>(parts.size()));
    ownRepaintPending_ = true;
    update(region);
}

void BoardView::showImage(const PixelImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        image_ = QImage();
    } else {
        // One copy into a picture of the same layout; the caller's buffer is
        // not kept, so it may change or go away at any time.
        if (image_.width() != image.width || image_.height() != image.height) {
            image_ = QImage(image.width, image.height, QImage::Format_RGB32);
            resetTiles(std::max(image.width, image.height));
        }
        const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
        uchar* bits = image_.bits();
        const auto stride = static_cast<std::size_t>(image_.bytesPerLine());
        if (stride == rowBytes) {
            std::memcpy(bits, image.pixels.data(), rowBytes * static_cast<std::size_t>(image.height));
        } else {
            for (int y = 0; y < image.height; ++y)
                std::memcpy(bits + y * stride, image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                            rowBytes);
        }
    }
    wholeDirty_ = true;
    changed();
}

void BoardView::showImagePart(const PixelImage& image, const std::vector<PixelRect>& changedParts) {
    const bool whole = changedParts.size() == 1 && changedParts[0] == PixelRect{0, 0, image.width, image.height};
    if (whole || image.width != image_.width() || image.height != image_.height() || image_.isNull() ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        showImage(image);
        return;
    }
    if (changedParts.empty()) return;
    auto* const bits = reinterpret_cast<uint32_t*>(image_.bits());  // one detach check, not one per row
    const auto stride = static_cast<std::size_t>(image_.bytesPerLine()) / 4;
    const int width = image.width, height = image.height;
    for (const PixelRect& c : changedParts) {
        // A run of changed cells is a few pixels wide: a plain loop beats a
        // library call per row.
        const int left = std::max(c.left, 0), right = std::min(c.right, width);
        const int top = std::max(c.top, 0), bottom = std::min(c.bottom, height);
        if (left >= right || top >= bottom) continue;
        for (int y = top; y < bottom; ++y) {
            const uint32_t* from = image.pixels.data() + static_cast<std::size_t>(y) * width;
            uint32_t* to = bits + static_cast<std::size_t>(y) * stride;
            for (int x = left; x < right; ++x) to[x] = from[x];
        }
        markChanged(left, top, right, bottom);
    }
    changed();
}

void BoardView::setFocusRect(const std::optional<PixelRect>& rect) {
    if (focus_ == rect) return;
    focus_ = rect;
    wholeDirty_ = true;
    changed();
}

void BoardView::paintEvent(QPaintEvent* event) {
    updatePictureBeforePaint();
    forgetChangesPaintedBy(event->region());
    QPainter painter(this);
    const QRect area = drawingArea();
    paintFrame(painter, event->region(), area);
    paintPicture(painter, event->region(), area);
    if (focus_) paintFocusOutline(painter, *focus_);
    if (keyCursor_) paintKeyCursor(painter, *keyCursor_);
    if (!notice_.isEmpty()) paintNotice(painter);
    // Changes made by the owner during this paint, outside what it repaints.
    if (wholeDirty_ || std::find(dirtyTiles_.begin(), dirtyTiles_.end(), 1) != dirtyTiles_.end())
        pacer_.changed();
}

void BoardView::updatePictureBeforePaint() {
    // A paint the view did not ask for (the window was uncovered, say) has
    // the owner draw the picture afresh first, and so does a picture of
    // another size than the area's (the window was resized, or moved to a
    // screen of another pixel density).
    const bool fits = image_.width() == pictureSize() && image_.height() == pictureSize();
    if ((!ownRepaintPending_ || !fits) && exposed_) {
        painting_ = true;
        exposed_();
        painting_ = false;
    }
    ownRepaintPending_ = false;
}

void BoardView::forgetChangesPaintedBy(const QRegion& painted) {
    // What this paint covers need not be repainted again.
    if ((QRegion(rect()) - painted).isEmpty()) {
        wholeDirty_ = false;
        std::fill(dirtyTiles_.begin(), dirtyTiles_.end(), 0);
    }
}

void BoardView::paintFrame(QPainter& painter, const QRegion& region, const QRect& area) const {
    const QRect frame = area.adjusted(-kBorder, -kBorder, kBorder, kBorder);
    if (frame != rect()) {
        // A window larger than the board: the room around the frame.
        for (const QRect& part : region - QRegion(frame)) painter.fillRect(part, palette().window());
    }
    qDrawWinPanel(&painter, frame, palette(), /*sunken=*/true);
}

void BoardView::paintPicture(QPainter& painter, const QRegion& region, const QRect& area) const {
    painter.setClipRect(area);
    // From here on, in the picture's pixels: one picture pixel is one device pixel.
    const qreal dpr = devicePixelRatioF();
    painter.translate(area.topLeft());
    painter.scale(1 / dpr, 1 / dpr);
    const QRect picture(0, 0, pictureSize(), pictureSize());
    const QRect covered = QRect(QPoint(0, 0), image_.size()) & picture;
    if (covered != picture) {
        const QRegion uncovered = QRegion(picture) - QRegion(covered);
        for (const QRect& part : uncovered) painter.fillRect(part, Qt::black);
    }
    if (!image_.isNull()) {
        // Only the parts being repainted: during a run, the cells that changed.
        for (const QRect& part : region) {
            const QRectF inPicture(QPointF(part.topLeft() - area.topLeft()) * dpr, QSizeF(part.size()) * dpr);
            const QRect target = inPicture.toAlignedRect() & covered;
            if (!target.isEmpty()) painter.drawImage(target, image_, target);
        }
    }
}

void BoardView::paintFocusOutline(QPainter& painter, const PixelRect& focus) {
    // Two-tone dashes around the selection's edge pixels, four black, four
    // white, clockwise from the top-left corner: one of the two tones stands
    // out on any colour, where an inverting dotted line fades on mid grey.
    if (focus.width() <= 0 || focus.height() <= 0) return;
    QPolygon tones[2];
    int along = 0;
    const auto put = [&](int x, int y) { tones[(along++ / 4) & 1] << QPoint(x, y); };
    for (int x = focus.left; x < focus.right; ++x) put(x, focus.top);
    for (int y = focus.top + 1; y < focus.bottom; ++y) put(focus.right - 1, y);
    if (focus.bottom - 1 > focus.top)
        for (int x = focus.right - 2; x >= focus.left; --x) put(x, focus.bottom - 1);
    if (focus.right - 1 > focus.left)
        for (int y = focus.bottom - 2; y > focus.top; --y) put(focus.left, y);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawPoints(tones[0]);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawPoints(tones[1]);
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    const MouseButton button = mouseButton(event->button());
    // Presses on the border or beside the board are not on it.
    const QRectF area(drawingArea());
    const QPointF at = event->position();
    const bool onArea = at.x() >= area.left() && at.x() < area.right() + 1 && at.y() >= area.top() &&
                        at.y() < area.bottom() + 1;
    if (button == MouseButton::None || !onArea) return;
    pressedButtons_ |= event->button();
    if (mouse_) mouse_(MouseKind::Press, button, modifiersOf(event->modifiers()), toPicture(at));
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF position = toPicture(event->position());
    if (mouse_) mouse_(MouseKind::Move, mouseButton(event->buttons()), modifiersOf(event->modifiers()), position);
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF position = toPicture(event->position());
    if (!(pressedButtons_ & event->button())) return;  // its press was not reported
    pressedButtons_ &= ~event->button();
    if (mouse_) mouse_(MouseKind::Release, mouseButton(event->button()), modifiersOf(event->modifiers()), position);
}

Modifiers BoardView::modifiersOf(Qt::KeyboardModifiers keys) const {
    Modifiers modifiers = mouseModifiers(keys);
    modifiers.space = spaceHeld_;
    return modifiers;
}

void BoardView::wheelEvent(QWheelEvent* event) {
    if (!drawingArea().contains(event->position().toPoint())) return event->ignore();
    // A mouse gives 120 a notch; a touchpad gives less, gathered into notches.
    wheelAngle_ += event->angleDelta().y();
    const int steps = wheelAngle_ / 120;
    wheelAngle_ -= steps * 120;
    if (steps != 0 && wheel_) wheel_(steps, toPicture(event->position()));
    event->accept();
}

bool BoardView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat() && widget && widget->window() == window())
            spaceHeld_ = type == QEvent::KeyPress;
    } else if (type == QEvent::ApplicationDeactivate || (type == QEvent::WindowDeactivate && watched == window())) {
        spaceHeld_ = false;  // its release goes elsewhere
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the keyboard cursor ----

void BoardView::setKeyCursor(const std::optional<PixelRect>& rect) {
    if (keyCursor_ == rect) return;
    keyCursor_ = rect;
    wholeDirty_ = true;
    changed();
}

void BoardView::paintKeyCursor(QPainter& painter, const PixelRect& cell) {
    // Two solid rings just outside the cell, yellow inside black, so that the
    // selection's dashes on the cell's own edge stay visible.
    if (cell.width() <= 0 || cell.height() <= 0) return;
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBrush(Qt::NoBrush);
    const QRect inner(cell.left - 1, cell.top - 1, cell.width() + 2, cell.height() + 2);
    painter.setPen(QPen(Qt::yellow, 0));
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(inner.adjusted(-1, -1, 0, 0));
}

void BoardView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers others = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    std::optional<BoardKey> key;
    switch (event->key()) {
        case Qt::Key_Left: key = BoardKey::Left; break;
        case Qt::Key_Right: key = BoardKey::Right; break;
        case Qt::Key_Up: key = BoardKey::Up; break;
        case Qt::Key_Down: key = BoardKey::Down; break;
        // A held Space toggles once, as a click does.
        case Qt::Key_Space:
            if (!event->isAutoRepeat()) key = BoardKey::Toggle;
            break;
        default: break;
    }
    if (key && others == Qt::NoModifier && key_ && key_(*key, mouseModifiers(event->modifiers()))) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool BoardView::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers others = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        const int k = key->key();
        const bool arrow = k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down;
        // While the cursor is shown the arrows are the board's, not the
        // window's shortcuts that move the view.
        if (type == QEvent::ShortcutOverride && arrow && others == Qt::NoModifier && keyCursorShown()) {
            event->accept();
            return true;
        }
        // Tab on the board with the cursor hidden shows it; otherwise Tab moves the focus on.
        if (type == QEvent::KeyPress && k == Qt::Key_Tab && key->modifiers() == Qt::NoModifier && !keyCursorShown() &&
            key_ && key_(BoardKey::Show, {})) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void BoardView::focusInEvent(QFocusEvent* event) {
    // Reached from the keyboard, the board shows its cursor at once.
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && key_) key_(BoardKey::Show, {});
    QWidget::focusInEvent(event);
}

void BoardView::focusOutEvent(QFocusEvent* event) {
    // A dialog, another window or a menu coming up leaves the cursor where it is.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
        reason != Qt::MenuBarFocusReason && focusLeft_)
        focusLeft_();
    QWidget::focusOutEvent(event);
}

}  // namespace platform::qt
