// SPDX-License-Identifier: MIT
#include "platform/qt/board_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <algorithm>
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
constexpr int kTilesAcross = (BoardView::kAreaSize + BoardView::kTile - 1) / BoardView::kTile;
}  // namespace

BoardView::BoardView(QWidget* parent)
    : QWidget(parent),
      dirtyTiles_(static_cast<std::size_t>(kTilesAcross) * kTilesAcross, 0),
      pacer_(this, [this] { repaintChanged(); }) {
    setFixedSize(kAreaSize + 2 * kBorder, kAreaSize + 2 * kBorder);
    setMouseTracking(true);  // moves without a button held are reported too
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void BoardView::markChanged(int left, int top, int right, int bottom) {
    left = std::max(left, 0), top = std::max(top, 0);
    right = std::min(right, kAreaSize), bottom = std::min(bottom, kAreaSize);
    if (left >= right || top >= bottom) return;
    const int firstTile = left / kTile, tiles = (right - 1) / kTile - firstTile + 1;
    for (int ty = top / kTile; ty <= (bottom - 1) / kTile; ++ty)
        std::memset(&dirtyTiles_[static_cast<std::size_t>(ty) * kTilesAcross + firstTile], 1,
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
    const QPoint offset = drawingArea().topLeft();
    for (int ty = 0; ty < kTilesAcross; ++ty) {
        uint8_t* row = &dirtyTiles_[static_cast<std::size_t>(ty) * kTilesAcross];
        for (int tx = 0; tx < kTilesAcross; ++tx) {
            if (!row[tx]) continue;
            const int first = tx;
            while (tx + 1 < kTilesAcross && row[tx + 1]) ++tx;
            std::fill(row + first, row + tx + 1, 0);
            parts.push_back(QRect(offset.x() + first * kTile, offset.y() + ty * kTile, (tx + 1 - first) * kTile,
                                  kTile) & drawingArea());
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
        if (image_.width() != image.width || image_.height() != image.height)
            image_ = QImage(image.width, image.height, QImage::Format_RGB32);
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
    if (!ownRepaintPending_ && exposed_) {
        painting_ = true;
        exposed_();
        painting_ = false;
    }
    ownRepaintPending_ = false;
    // What this paint covers need not be repainted again.
    if ((QRegion(rect()) - event->region()).isEmpty()) {
        wholeDirty_ = false;
        std::fill(dirtyTiles_.begin(), dirtyTiles_.end(), 0);
    }

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

    if (focus_) {
        // The dotted outline of the focus rectangle, inverting the pixels below.
        QPolygon dots;
        display::ForEachFocusDot(*focus_, [&](int x, int y) { dots << QPoint(area.left() + x, area.top() + y); });
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0));
        painter.drawPoints(dots);
    }
    // Changes made by the owner during this paint, outside what it repaints.
    if (wholeDirty_ || std::find(dirtyTiles_.begin(), dirtyTiles_.end(), 1) != dirtyTiles_.end())
        pacer_.changed();
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
