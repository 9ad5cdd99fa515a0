// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QSettings>

#include "platform/services.h"

namespace platform::qt {

// The settings through QSettings, in $XDG_CONFIG_HOME/kaleidomat/kaleidomat.conf
// (~/.config/... without it), or in the given file. A missing or unreadable
// file, or a value of the wrong type, reads as nothing.
class QtSettings : public platform::Settings {
public:
    QtSettings();
    explicit QtSettings(const QString& file);  // an INI file of its own

    std::optional<int> readInt(const std::string& key) const override;
    std::optional<bool> readBool(const std::string& key) const override;
    void writeInt(const std::string& key, int value) override;
    void writeBool(const std::string& key, bool value) override;

    // The window's geometry as QWidget::saveGeometry gives it.
    QByteArray readBytes(const std::string& key) const;
    void writeBytes(const std::string& key, const QByteArray& value);

private:
    mutable QSettings settings_;
};

}  // namespace platform::qt
