// SPDX-License-Identifier: MIT
#pragma once

// The help of the program: every command of the window with its key, the
// mouse on the board, the status bar and the file types. The list of commands
// is made from the command registry, each row with its help line, so it
// cannot leave a command out; the help window and the manual page
// kaleidomat(1) show the same lists.

#include <functional>
#include <string>

#include "app/command_registry.h"

namespace app {

// Whether a row of the command table is one the user chooses (an item, a
// submenu, the registration item) and so needs a help line; menus of the bar
// and separators do not.
bool NeedsHelpLine(const platform::Command& command);

// A text of ui/texts.h in the window's language; the identity keeps the Japanese.
using Translate = std::function<std::string(const char*)>;
inline std::string Untranslated(const char* text) { return text; }

// The help window's text, in the language `translate` gives.
std::string KeysHelpText(const CommandRegistry& commands, const Translate& translate = Untranslated);

// The same lists as sections of a manual page (roff).
std::string KeysManSection(const CommandRegistry& commands);

// Name, version, summary, licence, the window system's library (as given)
// and copyright.
std::string AboutText(const std::string& toolkitVersion, const Translate& translate = Untranslated);

}  // namespace app
