// SPDX-License-Identifier: MIT
#include "platform/qt/qt_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QStandardPaths>
#include <system_error>

#include "io/safe_files.h"

namespace platform::qt {

namespace {

QString keyOf(const std::string& key) { return QString::fromStdString(key); }

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The contents of the file, or nothing when it is missing or cannot be read
// (not a regular file, over 64 MiB, no permission).
std::optional<QByteArray> readContents(const QString& file) {
    std::vector<uint8_t> bytes;
    if (io::ReadFile(localPath(file), bytes)) return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

Error systemReason(std::errc error) { return Error{std::make_error_code(error).message()}; }

}  // namespace

QtSettings::QtSettings()
    : QtSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/kaleidomat/kaleidomat.conf")) {}

QtSettings::QtSettings(const QString& file) : file_(file) {
    takeFileContents(readContents(file_).value_or(QByteArray()));
}

QtSettings::~QtSettings() = default;

// A fresh private copy holding `contents`, and QSettings over it. A new copy
// (a new name) each time, so that QSettings, which keeps what it parsed by
// file name, parses these contents.
void QtSettings::takeFileContents(const QByteArray& contents) {
    settings_.reset();
    copy_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/kaleidomat-settings-XXXXXX.conf"));
    if (!copy_->open() || copy_->write(contents) != contents.size() || !copy_->flush()) {
        copy_.reset();
        return;
    }
    copy_->close();
    settings_ = std::make_unique<QSettings>(copy_->fileName(), QSettings::IniFormat);
}

// A value is read only as text written the way writeInt and writeBool write
// it: a damaged file may hold anything.
std::optional<int> QtSettings::readInt(const std::string& key) const {
    const QVariant value = settings_ ? settings_->value(keyOf(key)) : QVariant();
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    bool ok = false;
    const int number = value.toString().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

std::optional<bool> QtSettings::readBool(const std::string& key) const {
    const QVariant value = settings_ ? settings_->value(keyOf(key)) : QVariant();
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    const QString text = value.toString();
    if (text == QLatin1String("true")) return true;
    if (text == QLatin1String("false")) return false;
    return std::nullopt;
}

QByteArray QtSettings::readBytes(const std::string& key) const {
    const QVariant value = settings_ ? settings_->value(keyOf(key)) : QVariant();
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void QtSettings::writeInt(const std::string& key, int value) { write(keyOf(key), QString::number(value)); }

void QtSettings::writeBool(const std::string& key, bool value) {
    write(keyOf(key), value ? QStringLiteral("true") : QStringLiteral("false"));
}

// A list of one is read back as a plain text; any other type is nothing.
std::optional<std::vector<std::string>> QtSettings::readStrings(const std::string& key) const {
    const QVariant value = settings_ ? settings_->value(keyOf(key)) : QVariant();
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QStringList) return std::nullopt;
    std::vector<std::string> out;
    for (const QString& text : value.toStringList()) out.push_back(text.toStdString());
    return out;
}

void QtSettings::writeStrings(const std::string& key, const std::vector<std::string>& values) {
    QStringList list;
    for (const std::string& text : values) list.append(QString::fromStdString(text));
    write(keyOf(key), list);
}

void QtSettings::writeBytes(const std::string& key, const QByteArray& value) { write(keyOf(key), value); }

void QtSettings::write(const QString& key, const QVariant& value) {
    unsaved_[key] = value;
    // What the file holds now (another running copy may have saved since),
    // with the values this copy has not saved yet over it.
    if (const std::optional<QByteArray> contents = readContents(file_)) takeFileContents(*contents);
    if (!settings_) takeFileContents(QByteArray());
    if (settings_)
        for (auto it = unsaved_.cbegin(); it != unsaved_.cend(); ++it) settings_->setValue(it.key(), it.value());
    std::optional<Error> failure = save();
    if (!failure)
        unsaved_.clear();
    else if (!saveFailure_)
        saveFailure_ = std::move(failure);
}

std::optional<Error> QtSettings::save() {
    if (!settings_) return systemReason(std::errc::io_error);
    settings_->sync();
    if (settings_->status() != QSettings::NoError) return systemReason(std::errc::io_error);
    std::vector<uint8_t> bytes;
    if (const std::error_code error = io::ReadFile(localPath(copy_->fileName()), bytes)) return Error{error.message()};
    QDir().mkpath(QFileInfo(file_).absolutePath());
    if (const std::error_code error = io::ReplaceFile(localPath(file_), bytes)) return Error{error.message()};
    return std::nullopt;
}

std::optional<Error> QtSettings::unreportedSaveFailure() {
    if (failureReported_ || !saveFailure_) return std::nullopt;
    failureReported_ = true;
    return saveFailure_;
}

}  // namespace platform::qt
