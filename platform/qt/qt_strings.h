// SPDX-License-Identifier: MIT
#pragma once

// Conversions between the logic's UTF-8 strings and Qt's strings.

#include <QString>
#include <string>

namespace platform::qt {

inline QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStdString(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace platform::qt
