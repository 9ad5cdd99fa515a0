// SPDX-License-Identifier: MIT
// The help menu: the list of every command with its key, the mouse actions,
// the status bar and the file types; and the version information.

#include "app/help_text.h"
#include "app/window_controller.h"
#include "ui/texts.h"

namespace app {

void WindowController::showKeysHelp() { services_.dialogs.showText(texts::kHelpKeysTitle, KeysHelpText(commands_)); }

// A message box titled, as every one of the program's, with its name.
void WindowController::showAbout() {
    Message(AboutText(services_.dialogs.toolkitVersion()), platform::MessageIcon::Information);
}

}  // namespace app
