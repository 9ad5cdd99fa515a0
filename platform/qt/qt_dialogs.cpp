#include "platform/qt/qt_dialogs.h"

#include <algorithm>

#include <QColor>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/qt/qt_strings.h"

namespace platform::qt {

QStringList toNameFilters(const std::string& filter) {
    const QStringList parts = toQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            if (p.isEmpty()) continue;
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        const QString shown = description.isEmpty() ? patterns.join(QLatin1Char(' ')) : description;
        filters << shown + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

MessageAnswer QtDialogs::message(const std::string& text, const std::string& title, MessageIcon icon,
                                 MessageButtons buttons, MessageAnswer defaultButton) {
    QMessageBox box(parent_);
    box.setWindowTitle(toQString(title));
    box.setTextFormat(Qt::PlainText);  // file names are shown as they are, never as markup
    box.setText(toQString(text));
    switch (icon) {
        case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MessageIcon::Warning:
        case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultButton == MessageAnswer::No ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::string QtDialogs::fileDialog(const FileDialogRequest& request, bool open) {
    QFileDialog dialog(parent_, toQString(request.title), toQString(request.initialDirectory));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const QStringList filters = toNameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(toQString(request.defaultExtension));
    if (open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);  // asks before an existing file is returned
    }
    if (dialog.exec() != QDialog::Accepted) return "";
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return "";
    return toStdString(QDir::toNativeSeparators(QFileInfo(chosen.first()).absoluteFilePath()));
}

std::string QtDialogs::openFile(const FileDialogRequest& request) { return fileDialog(request, true); }

std::string QtDialogs::saveFile(const FileDialogRequest& request) { return fileDialog(request, false); }

namespace {
QColor fromBgr(int32_t value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }
int32_t toBgr(const QColor& color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }
constexpr int32_t kStartOnColor = 1;
}  // namespace

ColorDialogResult QtDialogs::chooseColor(int32_t initial, int32_t flags, std::array<int32_t, 16>& customColors) {
    const int count = std::min<int>(QColorDialog::customCount(), static_cast<int>(customColors.size()));
    for (int i = 0; i < count; ++i) QColorDialog::setCustomColor(i, fromBgr(customColors[i]));
    QColorDialog dialog(parent_);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    dialog.setCurrentColor((flags & kStartOnColor) ? fromBgr(initial) : QColor(Qt::black));
    ColorDialogResult result;
    result.accepted = dialog.exec() == QDialog::Accepted;
    if (result.accepted) result.color = toBgr(dialog.selectedColor());
    // Custom colours defined in the dialog are kept for its next use.
    for (int i = 0; i < count; ++i) customColors[i] = toBgr(QColorDialog::customColor(i));
    return result;
}

}  // namespace platform::qt
