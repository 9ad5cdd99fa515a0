// SPDX-License-Identifier: MIT
#include "platform/qt/toolbar_icons.h"

#include <QBitmap>
#include <QColor>
#include <QString>

namespace platform::qt {

QPixmap toolbarPicture(const char* file) {
    QPixmap pixmap(QStringLiteral(":/toolbar/") + QString::fromUtf8(file), "XPM");
    if (!pixmap.isNull()) pixmap.setMask(pixmap.createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
    return pixmap;
}

}  // namespace platform::qt
