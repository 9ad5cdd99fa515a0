// SPDX-License-Identifier: MIT
#include "platform/qt/qt_settings.h"

#include <QMetaType>

namespace platform::qt {

namespace {
QString keyOf(const std::string& key) { return QString::fromStdString(key); }
}  // namespace

// NativeFormat is an INI file named .conf on Linux.
QtSettings::QtSettings() : settings_(QSettings::NativeFormat, QSettings::UserScope, "kaleidomat", "kaleidomat") {}

QtSettings::QtSettings(const QString& file) : settings_(file, QSettings::IniFormat) {}

// A value is read only as text written the way writeInt and writeBool write
// it: a damaged file may hold anything.
std::optional<int> QtSettings::readInt(const std::string& key) const {
    const QVariant value = settings_.value(keyOf(key));
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    bool ok = false;
    const int number = value.toString().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

std::optional<bool> QtSettings::readBool(const std::string& key) const {
    const QVariant value = settings_.value(keyOf(key));
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    const QString text = value.toString();
    if (text == QLatin1String("true")) return true;
    if (text == QLatin1String("false")) return false;
    return std::nullopt;
}

void QtSettings::writeInt(const std::string& key, int value) { settings_.setValue(keyOf(key), QString::number(value)); }

void QtSettings::writeBool(const std::string& key, bool value) {
    settings_.setValue(keyOf(key), value ? QStringLiteral("true") : QStringLiteral("false"));
}

QByteArray QtSettings::readBytes(const std::string& key) const {
    const QVariant value = settings_.value(keyOf(key));
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void QtSettings::writeBytes(const std::string& key, const QByteArray& value) { settings_.setValue(keyOf(key), value); }

}  // namespace platform::qt
