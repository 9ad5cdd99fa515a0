// SPDX-License-Identifier: MIT
// The help menu: the list of every command with its key, the mouse actions,
// the status bar and the file types; and the version information.

#include "app/help_text.h"
#include "app/window_controller.h"
#include "ui/texts.h"

namespace app {

void WindowController::showKeysHelp() {
    const Translate translate = [this](const char* text) { return tr(text); };
    services_.dialogs.showText(tr(texts::kHelpKeysTitle), KeysHelpText(commands_, translate));
}

// A message box titled, as every one of the program's, with its name.
void WindowController::showAbout() {
    Message(AboutText(services_.dialogs.toolkitVersion(), [this](const char* text) { return tr(text); }),
            platform::MessageIcon::Information);
}

}  // namespace app
