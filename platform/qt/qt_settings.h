// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QMap>
#include <QSettings>
#include <QTemporaryFile>
#include <memory>

#include "platform/services.h"

namespace platform::qt {

// The settings in $XDG_CONFIG_HOME/kaleidomat/kaleidomat.conf (~/.config/...
// without it), or in the given file, in QSettings' INI format. A missing or
// unreadable file, or a value of the wrong type, reads as nothing.
//
// QSettings never touches that file itself: it would open a FIFO and wait,
// and replace a device a symbolic link points to. The file is read with the
// bounded reader (a regular file only, without waiting) into a private copy
// that QSettings works on, and every value written is saved at once: the
// file is read again (for what other running copies saved meanwhile), the
// values this copy has not saved yet are laid over it, and the result
// replaces the file through the safe writer (through a symbolic link to a
// regular file only; never onto a device, FIFO or folder). A failed save is
// told once through unreportedSaveFailure().
class QtSettings : public platform::Settings {
public:
    QtSettings();
    explicit QtSettings(const QString& file);  // an INI file of its own
    ~QtSettings() override;

    std::optional<int> readInt(const std::string& key) const override;
    std::optional<bool> readBool(const std::string& key) const override;
    void writeInt(const std::string& key, int value) override;
    void writeBool(const std::string& key, bool value) override;
    std::optional<Error> unreportedSaveFailure() override;
    std::optional<std::vector<std::string>> readStrings(const std::string& key) const override;
    void writeStrings(const std::string& key, const std::vector<std::string>& values) override;

    // The window's geometry as QWidget::saveGeometry gives it.
    QByteArray readBytes(const std::string& key) const;
    void writeBytes(const std::string& key, const QByteArray& value);

private:
    void takeFileContents(const QByteArray& contents);
    void write(const QString& key, const QVariant& value);
    std::optional<Error> save();

    QString file_;
    std::unique_ptr<QTemporaryFile> copy_;  // what QSettings reads and writes
    std::unique_ptr<QSettings> settings_;
    QMap<QString, QVariant> unsaved_;  // values written since the last save that worked
    std::optional<Error> saveFailure_;
    bool failureReported_ = false;
};

}  // namespace platform::qt
