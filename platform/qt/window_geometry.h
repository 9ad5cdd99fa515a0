// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;

namespace platform::qt {

// Where a window remembered from an earlier session may appear, given the
// available area of each screen there is now (in the desktop's coordinates):
// no larger than the screen it is on, no smaller than `smallest`, and where
// the user can reach it — its top edge on a screen with room to grab it, and
// at least half of it visible. Otherwise, or when it had to shrink, it is
// moved wholly onto the screen it overlaps most (or the nearest). Nothing for
// a damaged rectangle (no width or height) or when there is no screen: the
// window keeps its first geometry.
std::optional<QRect> FitToScreens(const QRect& saved, const QList<QRect>& screens, const QSize& smallest);

// Restores a geometry saved by QWidget::saveGeometry onto `window`, which is
// not shown yet, fitted to the screens as above (a maximised window's normal
// geometry too). A value that does not read as a geometry is ignored. True
// when a geometry was restored.
bool RestoreFittedGeometry(QWidget& window, const QByteArray& saved);

}  // namespace platform::qt
