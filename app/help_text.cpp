// SPDX-License-Identifier: MIT
#include "app/help_text.h"

#include <utility>

#include "ui/texts.h"

#ifndef KALEIDOMAT_VERSION
#define KALEIDOMAT_VERSION "0.0"
#endif

namespace app {

namespace {

using platform::Menu;

// One line per command the user can choose. A command added to the table
// needs its line here (a test fails otherwise).
constexpr std::pair<Menu, const char*> kHelpLines[] = {
    {Menu::FileOpen, "盤面ファイル (.hxa) を開きます。Life パターン (.rle, .cells) は新しい盤面として読み込みます。"},
    {Menu::FileSave, "盤面を盤面ファイル (.hxa) に保存します。名前がまだなければ尋ねます。"},
    {Menu::FileExit, "プログラムを終了します。保存していない変更は失われます。"},
    {Menu::ExecStart, "世代を連続して進めます。"},
    {Menu::ExecStop, "連続実行を止めます。"},
    {Menu::ExecStep, "1 世代だけ進めます。"},
    {Menu::ExecStimulate,
     "入のとき、セル数が止まるか 2 つの値を繰り返すと、生きたセルの隣に 1 つセルを生まれさせます。"},
    {Menu::EditCut, "選択範囲をクリップボードに移し、盤面から消します。"},
    {Menu::EditCopy, "選択範囲をクリップボードにコピーします (セル、画像、RLE テキスト)。"},
    {Menu::EditPaste,
     "クリップボードのセル、または RLE やプレーンテキストのパターンを選択範囲の左上から貼り付けます。"},
    {Menu::PatternCommon, "組み込みパターンや登録したパターンファイルを選択範囲の左上に置きます。"},
    {Menu::PatternRegister, "選択範囲をパターンファイル (.hxq) に保存し、登録済の一覧に加えます。"},
    {Menu::PatternRandom, "盤面をランダムなセルで埋め直します。"},
    {Menu::PatternClear, "盤面のセルをすべて消します。"},
    {Menu::PatternColor, "選択範囲の生きたセルの色を選びます。"},
    {Menu::PatternReverse, "選択範囲を反転します。"},
    {Menu::PatternReverseRL, "選択範囲を左右に反転します。"},
    {Menu::PatternReverseTB, "選択範囲を上下に反転します。"},
    {Menu::PatternRotate, "選択範囲を 90 度回転します。"},
    {Menu::PatternExpand, "盤面を縦横 10 セルずつ大きくします (最大 200 × 200)。"},
    {Menu::PatternReduction, "盤面を縦横 10 セルずつ小さくします (最小 10 × 10)。"},
    {Menu::Popup1Reset, "世代を 0 に戻します (ステータスバーの世代欄を右クリック)。"},
    {Menu::FileSaveAs, "盤面を新しい名前の盤面ファイル (.hxa) に保存します。"},
    {Menu::FileRestore, "前回終了したとき (強制終了も含む) の盤面を、名前のない盤面として開きます。"},
    {Menu::EditUndo, "直前の変更 (編集、読み込み、ステップ実行、連続実行の 1 回分) を元に戻します。"},
    {Menu::EditRedo, "元に戻した変更をやり直します。"},
    {Menu::ExecBack, "1 世代前の盤面に戻します。続けて押すとさらに前へ、ステップ実行で同じ盤面を先へ進みます。"},
    {Menu::ExecSpeed,
     "連続実行の速さ (1 秒あたりの世代数: 1 から 1,000、または 最高速) を選びます。選んだ速さは次回も使われます。"},
    {Menu::ExecFaster, "速度を 1 段上げます (連続実行中も)。"},
    {Menu::ExecSlower, "速度を 1 段下げます (連続実行中も)。"},
    {Menu::ViewRaised, "入のときセルを立体的に、切のとき色だけの平らな四角で描きます。"},
    {Menu::ViewGraph, "個体数、誕生、死亡、色の数と色の構成の推移を示すグラフの窓を開くか閉じます。"},
    {Menu::HelpKeys, "この一覧を表示します。"},
    {Menu::HelpAbout, "バージョン、ライセンス、Qt のバージョンを表示します。"},
};

// What the mouse does on the board, what the status bar shows, and the files.
constexpr std::pair<const char*, const char*> kMouseLines[] = {
    {"左ドラッグ", "範囲を選択します。"},
    {"左クリック", "1 つのセルを選択します。"},
    {"Shift+左クリック", "セルを生かす (ランダムな色) か、消します。"},
    {"右クリック", "選択範囲のパターンメニューを開きます (選択範囲の外ならそのセルを選択してから)。"},
    {"ファイルのドロップ", "開く と同じように開きます。"},
};
constexpr std::pair<const char*, const char*> kStatusLines[] = {
    {"世代 =", "今の世代。右クリックで リセット のメニューが開きます。"},
    {"セル数 =", "生きたセルの数。"},
    {"x =, y =", "ポインタの下のセルの位置。"},
    {"RGB = &H", "そのセルの色 (赤、緑、青の 16 進数)。"},
};
constexpr std::pair<const char*, const char*> kFileLines[] = {
    {".hxa", "盤面ファイル: 盤面の大きさと、生きたセルとその色。"},
    {".hxq",
     "パターンファイル: セルの長方形。プログラムのフォルダーと ~/.local/share/kaleidomat/patterns にあるものは 登録済 に並びます。"},
    {".rle", "RLE (Life プログラムの標準形式): 開くと新しい盤面になります。規則 B3/S23:Tn,n は n × n の盤面。"},
    {".cells", "プレーンテキストのパターン: 開くと新しい盤面になります。"},
};

// A caption as the menu shows it: "開く(&O)..." reads "開く(O)...".
std::string Shown(const char* caption) {
    std::string out;
    for (const char* c = caption; *c; ++c)
        if (*c != '&' || c[1] == '&') out += *c;
    return out;
}

// The captions of the submenus between the menu of the bar and the command,
// then the command's own: "反転(V) > 左右(R)".
std::string PathOf(const platform::Command& command) {
    std::string path = Shown(command.caption);
    for (const platform::Command* c = command.in ? platform::FindCommand(*command.in) : nullptr; c && c->in;
         c = c->in ? platform::FindCommand(*c->in) : nullptr)
        path = Shown(c->caption) + " > " + path;
    return path;
}

// Every command with its key and toolbar button, grouped by menu: `menu`
// runs for each menu of the bar (and the pop-up), `item` for each command.
template <typename MenuFn, typename ItemFn>
void ForEachCommand(MenuFn menu, ItemFn item) {
    for (const platform::Command& c : platform::kCommands) {
        if (c.kind == platform::CommandKind::PopupMenu) menu("世代欄のメニュー (右クリック)");
        else if (!c.in && c.kind == platform::CommandKind::Menu) menu(Shown(c.caption));
        if (!NeedsHelpLine(c)) continue;
        // Several keys of one command are listed "Ctrl+Y / Ctrl+Shift+Z".
        std::string extras;
        for (const char* k = c.key; *k; ++k) extras += (k[0] == ';' && k[1] == ' ') ? (++k, " / ") : std::string(1, *k);
        if (c.button != platform::Button::None)
            extras += std::string(extras.empty() ? "" : ", ") + "ツールバー「" + c.toolTip + "」";
        const char* line = HelpLineOf(c.id);
        // A command reached only by keys is named by its keys.
        if (c.kind == platform::CommandKind::KeyOnly) item("キー " + extras, "", line ? line : "");
        else item(PathOf(c), extras, line ? line : "");
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
    // The radio items of a submenu are described by the submenu's line.
    return command.in && command.kind != platform::CommandKind::Separator && !command.radio;
}

const char* HelpLineOf(Menu id) {
    for (const auto& [menu, line] : kHelpLines)
        if (menu == id) return line;
    return nullptr;
}

std::string KeysHelpText() {
    std::string text = "■ メニュー\n";
    ForEachCommand([&](const std::string& menu) { text += "\n" + menu + "\n"; },
                   [&](const std::string& path, const std::string& extras, const char* line) {
                       text += "  " + path + (extras.empty() ? "" : "  [" + extras + "]") + "\n      " + line + "\n";
                   });
    const auto section = [&](const char* title, const auto& lines) {
        text += std::string("\n■ ") + title + "\n";
        for (const auto& [what, line] : lines) text += std::string("  ") + what + "\n      " + line + "\n";
    };
    section("盤面のマウス操作", kMouseLines);
    section("ステータスバー", kStatusLines);
    section("ファイルの種類", kFileLines);
    return text;
}

std::string KeysManSection() {
    std::string roff = ".SH MENUS AND KEYS\n.ad l\n";
    ForEachCommand([&](const std::string& menu) { roff += ".SS " + Roff(menu) + "\n"; },
                   [&](const std::string& path, const std::string& extras, const char* line) {
                       roff += ".TP\n.B " + Roff(path) + (extras.empty() ? "" : " (" + Roff(extras) + ")") + "\n" +
                               Roff(line, true) + "\n";
                   });
    const auto section = [&](const char* title, const auto& lines) {
        roff += std::string(".SS ") + title + "\n";
        for (const auto& [what, line] : lines) roff += ".TP\n.B " + Roff(what) + "\n" + Roff(line, true) + "\n";
    };
    section("MOUSE", kMouseLines);
    section("STATUS BAR", kStatusLines);
    section("FILE TYPES", kFileLines);
    return roff + ".ad\n";
}

std::string AboutText(const std::string& toolkitVersion) {
    std::string text = std::string(texts::kAppTitle) + " " + KALEIDOMAT_VERSION + "\n" + texts::kAboutSummary + "\n\n" +
                       texts::kAboutLicence + "\n";
    if (!toolkitVersion.empty()) text += toolkitVersion + "\n";
    return text + texts::kAboutCopyright;
}

}  // namespace app
