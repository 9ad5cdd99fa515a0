#pragma once

#include <QStringList>

#include "platform/services.h"

class QWidget;

namespace platform::qt {

// Turns "description|pattern|description|pattern" into QFileDialog name
// filters. Each filter is the description followed by its patterns in
// parentheses; shown with QFileDialog::HideNameFilterDetails the user sees
// the description alone, byte for byte. "*.*" means every file (as it does
// where these filters come from), so it becomes "*", which also matches
// names without a dot.
QStringList toNameFilters(const std::string& filter);

// Message boxes, file dialogs and the colour dialog, modal over `parent`.
class QtDialogs : public platform::Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    MessageAnswer message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons, MessageAnswer defaultButton) override;
    std::string openFile(const FileDialogRequest& request) override;
    std::string saveFile(const FileDialogRequest& request) override;
    ColorDialogResult chooseColor(int32_t initial, int32_t flags, std::array<int32_t, 16>& customColors) override;

private:
    std::string fileDialog(const FileDialogRequest& request, bool open);
    QWidget* parent_;
};

}  // namespace platform::qt
