#include "platform/qt/board_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <cstring>
#include <qdrawutil.h>

namespace platform::qt {

int buttonMask(Qt::MouseButtons buttons) {
    int mask = 0;
    if (buttons & Qt::LeftButton) mask |= 1;
    if (buttons & Qt::RightButton) mask |= 2;
    if (buttons & Qt::MiddleButton) mask |= 4;
    return mask;
}

namespace {
int shiftMask(Qt::KeyboardModifiers modifiers) { return (modifiers & Qt::ShiftModifier) ? 1 : 0; }
}  // namespace

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
    setFixedSize(kAreaSize + 2 * kBorder, kAreaSize + 2 * kBorder);
    setMouseTracking(true);  // moves without a button held are reported too
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void BoardView::requestOwnRepaint(const QRegion& part) {
    if (painting_) return;  // the paint going on shows the new state
    ownRepaintPending_ = true;
    update(part);
}

void BoardView::showImage(const PixelImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        image_ = QImage();
    } else {
        // One copy into a picture of the same layout; the caller's buffer is
        // not kept, so it may change or go away at any time.
        if (image_.width() != image.width || image_.height() != image.height)
            image_ = QImage(image.width, image.height, QImage::Format_RGB32);
        const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
        if (static_cast<std::size_t>(image_.bytesPerLine()) == rowBytes) {
            std::memcpy(image_.bits(), image.pixels.data(), rowBytes * static_cast<std::size_t>(image.height));
        } else {
            for (int y = 0; y < image.height; ++y)
                std::memcpy(image_.scanLine(y), image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                            rowBytes);
        }
    }
    requestOwnRepaint();
}

void BoardView::showImagePart(const PixelImage& image, const std::vector<PixelRect>& changed) {
    const bool whole = changed.size() == 1 && changed[0] == PixelRect{0, 0, image.width, image.height};
    if (whole || image.width != image_.width() || image.height != image_.height() || image_.isNull() ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        showImage(image);
        return;
    }
    std::vector<QRect> parts;
    parts.reserve(changed.size());
    const QPoint offset = drawingArea().topLeft();
    for (const PixelRect& c : changed) {
        const QRect part = QRect(c.left, c.top, c.width(), c.height()) & image_.rect();
        if (part.isEmpty()) continue;
        const std::size_t bytes = static_cast<std::size_t>(part.width()) * 4;
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::memcpy(image_.scanLine(y) + static_cast<std::size_t>(part.left()) * 4,
                        image.pixels.data() + static_cast<std::size_t>(y) * image.width + part.left(), bytes);
        parts.push_back(part.translated(offset));
    }
    if (parts.empty()) return;
    QRegion region;
    region.setRects(parts.data(), static_cast<int>(parts.size()));
    requestOwnRepaint(region);
}

void BoardView::setFocusRect(const std::optional<PixelRect>& rect) {
    if (focus_ == rect) return;
    focus_ = rect;
    requestOwnRepaint();
}

void BoardView::paintEvent(QPaintEvent* event) {
    if (!ownRepaintPending_ && exposed_) {
        painting_ = true;
        exposed_();
        painting_ = false;
    }
    ownRepaintPending_ = false;

    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), /*sunken=*/true);
    const QRect area = drawingArea();
    painter.setClipRect(area);
    const QRect covered = QRect(area.topLeft(), image_.size()) & area;
    if (covered != area) {
        const QRegion uncovered = QRegion(area) - QRegion(covered);
        for (const QRect& part : uncovered) painter.fillRect(part, Qt::black);
    }
    if (!image_.isNull()) {
        // Only the parts being repainted: during a run, the cells that changed.
        for (const QRect& part : event->region()) {
            const QRect target = part & covered;
            if (!target.isEmpty()) painter.drawImage(target, image_, target.translated(-area.topLeft()));
        }
    }

    if (focus_ && focus_->width() > 0 && focus_->height() > 0) {
        // The dotted outline of a focus rectangle: every other pixel of the
        // rectangle's edge, inverted, each pixel once.
        const PixelRect& r = *focus_;
        QPolygon dots;
        auto dot = [&](int x, int y) {
            if (((x + y) & 1) == 0) dots << QPoint(area.left() + x, area.top() + y);
        };
        for (int x = r.left; x < r.right; ++x) {
            dot(x, r.top);
            if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
        }
        for (int y = r.top + 1; y < r.bottom - 1; ++y) {
            dot(r.left, y);
            if (r.right - 1 > r.left) dot(r.right - 1, y);
        }
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0));
        painter.drawPoints(dots);
    }
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    const QPointF position = event->position() - QPointF(drawingArea().topLeft());
    const int button = buttonMask(event->button());
    // Presses on the border are not on the board.
    const bool onArea = position.x() >= 0 && position.x() < kAreaSize && position.y() >= 0 && position.y() < kAreaSize;
    if (button == 0 || !onArea) return;
    pressedButtons_ |= button;
    if (mouse_) mouse_(MouseKind::Press, button, shiftMask(event->modifiers()), position);
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF position = event->position() - QPointF(drawingArea().topLeft());
    if (mouse_) mouse_(MouseKind::Move, buttonMask(event->buttons()), shiftMask(event->modifiers()), position);
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF position = event->position() - QPointF(drawingArea().topLeft());
    const int button = buttonMask(event->button());
    if ((pressedButtons_ & button) == 0) return;  // its press was not reported
    pressedButtons_ &= ~button;
    if (mouse_) mouse_(MouseKind::Release, button, shiftMask(event->modifiers()), position);
}

}  // namespace platform::qt
