// SPDX-License-Identifier: MIT
// The help menu: the list of every command with its key, the mouse actions,
// the status bar and the file types; and the version information.

#include "app/form1.h"
#include "app/help_text.h"
#include "ui/texts.h"

namespace app {

void Form1::mnuHelpKeys_Click() { services_.dialogs.showText(texts::kHelpKeysTitle, KeysHelpText()); }

void Form1::mnuHelpAbout_Click() {
    services_.dialogs.message(AboutText(services_.dialogs.toolkitVersion()), texts::kHelpAboutTitle,
                              platform::MessageIcon::Information, platform::MessageButtons::Ok,
                              platform::MessageAnswer::Ok);
}

}  // namespace app
