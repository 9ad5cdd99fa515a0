// SPDX-License-Identifier: MIT
#include "platform/qt/qt_dialogs.h"

#include <algorithm>

#include <QColor>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QFontMetricsF>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtGlobal>

#include "platform/qt/qt_strings.h"

namespace platform::qt {

QStringList toNameFilters(const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) patterns << toQString(pattern);
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        const QString shown = filter.name.empty() ? patterns.join(QLatin1Char(' ')) : toQString(filter.name);
        names << shown + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return names;
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
    const QStringList filters = toNameFilters(request.filters);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(toQString(request.defaultExtension));
    if (open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);  // asks before an existing file is returned
        if (!request.initialName.empty()) dialog.selectFile(toQString(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted) return "";
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return "";
    return toStdString(QDir::toNativeSeparators(QFileInfo(chosen.first()).absoluteFilePath()));
}

std::string QtDialogs::openFile(const FileDialogRequest& request) { return fileDialog(request, true); }

std::string QtDialogs::saveFile(const FileDialogRequest& request) { return fileDialog(request, false); }

namespace {
QColor toQColor(RgbColour colour) { return QColor(colour.red, colour.green, colour.blue); }
RgbColour fromQColor(const QColor& color) {
    return {static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()), static_cast<uint8_t>(color.blue())};
}
}  // namespace

std::optional<RgbColour> QtDialogs::chooseColor(RgbColour initial, std::vector<RgbColour>& customColors) {
    const int count = std::min<int>(QColorDialog::customCount(), static_cast<int>(customColors.size()));
    for (int i = 0; i < count; ++i) QColorDialog::setCustomColor(i, toQColor(customColors[i]));
    QColorDialog dialog(parent_);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    dialog.setCurrentColor(toQColor(initial));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // Custom colours defined in the dialog are kept for its next use, also
    // when it was cancelled.
    customColors.resize(static_cast<std::size_t>(QColorDialog::customCount()));
    for (std::size_t i = 0; i < customColors.size(); ++i)
        customColors[i] = fromQColor(QColorDialog::customColor(static_cast<int>(i)));
    if (!accepted) return std::nullopt;
    return fromQColor(dialog.selectedColor());
}

std::optional<int> QtDialogs::askNumber(const std::string& title, const std::string& label, int value, int minimum,
                                        int maximum) {
    bool accepted = false;
    const int number = QInputDialog::getInt(parent_, toQString(title), toQString(label), std::clamp(value, minimum, maximum),
                                            minimum, maximum, 1, &accepted);
    if (!accepted) return std::nullopt;
    return std::clamp(number, minimum, maximum);
}

void QtDialogs::showText(const std::string& title, const std::string& text) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(toQString(title));
    auto* view = new QTextEdit(&dialog);
    view->setReadOnly(true);
    view->setAcceptRichText(false);
    // Long lines wrap at the window's width, so nothing needs scrolling
    // sideways, and each line is a paragraph indented by its leading blanks,
    // so that its wrapped part stays in line under it.
    view->setLineWrapMode(QTextEdit::WidgetWidth);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QTextCursor cursor(view->document());
    const qreal blank = QFontMetricsF(view->font()).horizontalAdvance(QLatin1Char(' '));
    bool first = true;
    for (const QString& line : toQString(text).split(QLatin1Char('\n'))) {
        qsizetype indent = 0;
        while (indent < line.size() && line[indent] == QLatin1Char(' ')) ++indent;
        QTextBlockFormat format;
        format.setLeftMargin(static_cast<qreal>(indent) * blank);
        if (first) cursor.setBlockFormat(format);
        else cursor.insertBlock(format);
        first = false;
        cursor.insertText(line.mid(indent));
    }
    view->moveCursor(QTextCursor::Start);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(view);
    layout->addWidget(buttons);
    dialog.resize(640, 560);
    dialog.exec();
}

std::string QtDialogs::toolkitVersion() { return std::string("Qt ") + qVersion(); }

}  // namespace platform::qt
