// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include "platform/services.h"

class QWidget;

namespace platform::qt {

// QFileDialog name filters: each filter's name followed by its patterns in
// parentheses. Shown with QFileDialog::HideNameFilterDetails, the user sees
// the name alone, byte for byte.
QStringList toNameFilters(const std::vector<FileFilter>& filters);

// Message boxes, file dialogs and the colour dialog, modal over `parent`.
class QtDialogs : public platform::Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    MessageAnswer message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons, MessageAnswer defaultButton) override;
    std::string openFile(const FileDialogRequest& request) override;
    std::string saveFile(const FileDialogRequest& request) override;
    std::optional<RgbColour> chooseColor(RgbColour initial, std::vector<RgbColour>& customColors) override;
    std::optional<int> askNumber(const std::string& title, const std::string& label, int value, int minimum,
                                 int maximum) override;
    void showText(const std::string& title, const std::string& text) override;
    std::string toolkitVersion() override;

private:
    std::string fileDialog(const FileDialogRequest& request, bool open);
    QWidget* parent_;
};

}  // namespace platform::qt
