// SPDX-License-Identifier: MIT
#pragma once

// The help of the program: every command of the window with its key, the
// mouse on the board, the status bar and the file types. The list of commands
// is made from the command table (platform/commands.h) and one line of help
// per command, so it cannot leave a command out; the help window and the
// manual page kaleidomat(1) show the same lists.

#include <string>

#include "platform/commands.h"

namespace app {

// Whether a row of the command table is one the user chooses (an item, a
// submenu, the registration item) and so needs a help line; menus of the bar
// and separators do not.
bool NeedsHelpLine(const platform::Command& command);

// The help line of a command, nullptr when it has none.
const char* HelpLineOf(platform::Menu id);

// The help window's text.
std::string KeysHelpText();

// The same lists as sections of a manual page (roff).
std::string KeysManSection();

// Name, version, summary, licence, the window system's library (as given)
// and copyright.
std::string AboutText(const std::string& toolkitVersion);

}  // namespace app
