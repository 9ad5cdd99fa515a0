// SPDX-License-Identifier: MIT
#include "app/help_text.h"

#include <algorithm>

#include "ui/texts.h"

#ifndef KALEIDOMAT_VERSION
#define KALEIDOMAT_VERSION "0.0"
#endif

namespace app {

namespace {

// A caption as the menu shows it: "開く(&O)..." reads "開く(O)...".
std::string Shown(const std::string& caption) {
    std::string out;
    for (const char* c = caption.c_str(); *c; ++c)
        if (*c != '&' || c[1] == '&') out += *c;
    return out;
}

// The captions of the submenus between the menu of the bar and the command,
// then the command's own: "反転(V) > 左右(R)".
std::string PathOf(const CommandRegistry& commands, const platform::Command& command, const Translate& tr) {
    std::string path = Shown(tr(command.caption));
    const auto parent = [&](const platform::Command* c) {
        const CommandRow* row = c->in ? commands.find(*c->in) : nullptr;
        return row ? &row->look : nullptr;
    };
    for (const platform::Command* c = parent(&command); c && c->in; c = parent(c))
        path = Shown(tr(c->caption)) + " > " + path;
    return path;
}

// A key as users read it: the keypad's "Num++" is "テンキー +", "Del" is "Delete".
std::string KeyAsRead(const std::string& key, const Translate& tr) {
    if (key.starts_with("Num+") && key.size() > 4) return tr(texts::kHelpKeypad) + key.substr(4);
    if (key == "Del") return "Delete";
    return key;
}

// Every command with its key and toolbar button, grouped by menu: `menu`
// runs for each menu of the bar (and the pop-up), `item` for each command.
template <typename MenuFn, typename ItemFn>
void ForEachCommand(const CommandRegistry& commands, MenuFn menu, ItemFn item, const Translate& tr = Untranslated) {
    for (const CommandRow& row : commands.rows()) {
        const platform::Command& c = row.look;
        if (c.kind == platform::CommandKind::PopupMenu) menu(tr(texts::kHelpPopupHeading));
        else if (!c.in && c.kind == platform::CommandKind::Menu) menu(Shown(tr(c.caption)));
        if (!NeedsHelpLine(c)) continue;
        // Several keys of one command are listed "Ctrl+Y / Ctrl+Shift+Z", each as users read it.
        std::string extras;
        const std::string keys = c.key;
        for (std::size_t from = 0; from < keys.size();) {
            const std::size_t end = std::min(keys.find("; ", from), keys.size());
            extras += (extras.empty() ? "" : " / ") + KeyAsRead(keys.substr(from, end - from), tr);
            from = end + 2;
        }
        if (c.button != platform::Button::None)
            extras += std::string(extras.empty() ? "" : ", ") + tr(texts::kHelpToolbarOpen) + tr(c.toolTip) +
                      tr(texts::kHelpToolbarClose);
        const std::string line = row.behaviour.help ? tr(row.behaviour.help) : std::string();
        // A command reached only by keys is named by its keys.
        if (c.kind == platform::CommandKind::KeyOnly) item(tr(texts::kHelpKeysOnly) + extras, "", line);
        else item(PathOf(commands, c, tr), extras, line);
    }
}

// Text for roff: a line that would start with "." or "'" is protected, a
// backslash and a minus are written as such, and with `breaks` a line may
// break after any Japanese character ("\:"), as Japanese text has no blanks.
std::string Roff(const std::string& text, bool breaks = false) {
    std::string out = text.empty() || (text[0] != '.' && text[0] != '\'') ? "" : "\\&";
    int pending = 0;  // continuation bytes still to come of a three-byte character
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        out += c == '\\' ? std::string("\\e") : c == '-' ? std::string("\\-") : std::string(1, c);
        if ((u & 0xF0) == 0xE0) pending = 2;
        else if ((u & 0xC0) == 0x80 && pending > 0 && --pending == 0 && breaks) out += "\\:";
    }
    return out;
}

}  // namespace

bool NeedsHelpLine(const platform::Command& command) {
    // The radio items of a submenu are described by the submenu's line, and
    // so are items captioned only while the program runs (the recent files).
    const bool listItem = command.kind == platform::CommandKind::Item && !*command.caption;
    return command.in && command.kind != platform::CommandKind::Separator && !command.radio && !listItem;
}

std::string KeysHelpText(const CommandRegistry& commands, const Translate& tr) {
    std::string text = tr(texts::kHelpMenusHeading) + "\n";
    ForEachCommand(commands, [&](const std::string& menu) { text += "\n" + menu + "\n"; },
                   [&](const std::string& path, const std::string& extras, const std::string& line) {
                       text += "  " + path + (extras.empty() ? "" : "  [" + extras + "]") + "\n      " + line + "\n";
                   },
                   tr);
    const auto section = [&](const char* title, const auto& lines) {
        text += "\n■ " + tr(title) + "\n";
        for (const auto& [what, line] : lines) text += "  " + tr(what) + "\n      " + tr(line) + "\n";
    };
    section(texts::kHelpMouseHeading, texts::kHelpMouseLines);
    section(texts::kHelpBoardKeysHeading, texts::kHelpBoardKeyLines);
    section(texts::kHelpStatusHeading, texts::kHelpStatusLines);
    section(texts::kHelpFilesHeading, texts::kHelpFileLines);
    return text;
}

std::string KeysManSection(const CommandRegistry& commands) {
    std::string roff = ".SH MENUS AND KEYS\n.ad l\n";
    ForEachCommand(commands, [&](const std::string& menu) { roff += ".SS " + Roff(menu) + "\n"; },
                   [&](const std::string& path, const std::string& extras, const std::string& line) {
                       roff += ".TP\n.B " + Roff(path) + (extras.empty() ? "" : " (" + Roff(extras) + ")") + "\n" +
                               Roff(line, true) + "\n";
                   });
    const auto section = [&](const char* title, const auto& lines) {
        roff += std::string(".SS ") + title + "\n";
        for (const auto& [what, line] : lines) roff += ".TP\n.B " + Roff(what) + "\n" + Roff(line, true) + "\n";
    };
    section("MOUSE", texts::kHelpMouseLines);
    section("BOARD KEYS", texts::kHelpBoardKeyLines);
    section("STATUS BAR", texts::kHelpStatusLines);
    section("FILE TYPES", texts::kHelpFileLines);
    return roff + ".ad\n";
}

std::string AboutText(const std::string& toolkitVersion, const Translate& tr) {
    std::string text = std::string(texts::kAppTitle) + " " + KALEIDOMAT_VERSION + "\n" + tr(texts::kAboutSummary) +
                       "\n\n" + tr(texts::kAboutLicence) + "\n";
    if (!toolkitVersion.empty()) text += toolkitVersion + "\n";
    return text + texts::kAboutCopyright + "\n\n" + tr(texts::kAboutCalm);
}

}  // namespace app
