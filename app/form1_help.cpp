// SPDX-License-Identifier: MIT
// The help menu: the list of every command with its key, the mouse actions,
// the status bar and the file types; and the version information.

#include "app/form1.h"
#include "app/help_text.h"
#include "ui/texts.h"

namespace app {

void Form1::mnuHelpKeys_Click() { services_.dialogs.showText(texts::kHelpKeysTitle, KeysHelpText()); }

// A message box titled, as every one of the program's, with its name.
void Form1::mnuHelpAbout_Click() {
    Message(AboutText(services_.dialogs.toolkitVersion()), platform::MessageIcon::Information);
}

}  // namespace app
