// SPDX-License-Identifier: MIT
#pragma once

// Every text the user sees, byte for byte, in one place.

namespace texts {

inline constexpr const char* kAppTitle = "Kaleidomat";
inline constexpr const char* kClipboardFormatName = "Chromatessellator CellData";

// Menus.
inline constexpr const char* kMenuFile = "ファイル(&F)";
inline constexpr const char* kMenuFileOpen = "開く(&O)...";
inline constexpr const char* kMenuFileSave = "保存(&S)...";
inline constexpr const char* kMenuFileExit = "終了";
inline constexpr const char* kMenuFileSaveAs = "名前を付けて保存(&A)...";
inline constexpr const char* kMenuFileRestore = "前回の盤面を復元(&R)";
inline constexpr const char* kMenuExec = "実行(&E)";
inline constexpr const char* kMenuExecStart = "開始(&E)";
inline constexpr const char* kMenuExecStop = "停止(&S)";
inline constexpr const char* kMenuExecStep = "ステップ実行(&P)";
inline constexpr const char* kMenuExecStimulate = "変化を促す(&A)";
inline constexpr const char* kMenuExecSpeed = "速度(&V)";
inline constexpr const char* kMenuExecSpeed1 = "1 世代/秒";
inline constexpr const char* kMenuExecSpeed2 = "2 世代/秒";
inline constexpr const char* kMenuExecSpeed5 = "5 世代/秒";
inline constexpr const char* kMenuExecSpeed10 = "10 世代/秒";
inline constexpr const char* kMenuExecSpeed20 = "20 世代/秒";
inline constexpr const char* kMenuExecSpeed50 = "50 世代/秒";
inline constexpr const char* kMenuExecSpeed100 = "100 世代/秒";
inline constexpr const char* kMenuExecSpeed200 = "200 世代/秒";
inline constexpr const char* kMenuExecSpeed500 = "500 世代/秒";
inline constexpr const char* kMenuExecSpeed1000 = "1,000 世代/秒";
inline constexpr const char* kMenuExecSpeedMax = "最高速";
inline constexpr const char* kMenuEdit = "編集(&M)";
inline constexpr const char* kMenuEditCut = "切り取り(&X)";
inline constexpr const char* kMenuEditCopy = "コピー(&C)";
inline constexpr const char* kMenuEditPaste = "貼り付け(&V)";
inline constexpr const char* kMenuEditUndo = "元に戻す(&U)";
inline constexpr const char* kMenuEditRedo = "やり直し(&R)";
inline constexpr const char* kMenuExecBack = "1世代戻る(&B)";
inline constexpr const char* kMenuPattern = "パターン(&P)";
inline constexpr const char* kMenuPatternCommon = "登録済(&D)";
inline constexpr const char* kMenuPatternRandom = "ランダム(&R)";
inline constexpr const char* kMenuPatternClear = "クリア(&C)";
inline constexpr const char* kMenuPatternColor = "色(&L)";
inline constexpr const char* kMenuPatternReverse = "反転(&V)";
inline constexpr const char* kMenuPatternReverseRL = "左右(&R)";
inline constexpr const char* kMenuPatternReverseTB = "上下(&T)";
inline constexpr const char* kMenuPatternRotate = "回転(&T)";
inline constexpr const char* kMenuPatternExpand = "拡大(&X)";
inline constexpr const char* kMenuPatternReduction = "縮小(&E)";
inline constexpr const char* kMenuView = "表示(&V)";
inline constexpr const char* kMenuViewRaised = "立体表示(&D)";
inline constexpr const char* kMenuPopup1 = "Popup1";
inline constexpr const char* kMenuPopup1Reset = "リセット(&R)";

// The pattern submenu.
inline constexpr const char* kBuiltinPatternNames[5] = {"r-Pentomino", "Glider", "Glider gun", "Queen bee", "Spiral"};
inline constexpr const char* kSeparatorCaption = "-";
inline constexpr const char* kRegisterPattern = "パターン登録";

// Status bar: design texts and prefixes.
inline constexpr const char* kPanel1Design = "世代 = 10,000";
inline constexpr const char* kPanel2Design = "セル数 = 1,000";
inline constexpr const char* kPanel3Design = "x = 100, y = 100";
inline constexpr const char* kPanel4Design = "RGB = &HFFFFFF";
inline constexpr const char* kGenerationPrefix = "世代 = ";
inline constexpr const char* kPopulationPrefix = "セル数 = ";
inline constexpr const char* kGenerationReset = "世代 = 0";
inline constexpr const char* kColorPrefix = "RGB = &H";

// Messages.
// The file named on the command line is not there: "'" + its path + this.
inline constexpr const char* kNotFoundSuffix = "' is not found.";
inline constexpr const char* kExtinct = "全滅しました...";
inline constexpr const char* kNotOurData = "このプログラムのデータではありません！";
inline constexpr const char* kOverwriteSuffix = "' を上書きしますか？";
inline constexpr const char* kSaveChanges = "変更を保存しますか？";
inline constexpr const char* kCaptionPrefix = "Chromatessellator  - ";
inline constexpr const char* kCaptionSuffix = " -";
// A save that failed; the file's name and the reason follow on their own lines.
inline constexpr const char* kSaveFailed = "ファイルを保存できませんでした。";

// Clipboard failures: the clipboard could not be taken over for a copy; the
// cell block was gone when a paste came to read it; the block held no bytes.
inline constexpr const char* kOpenClipboardFailed = "OpenClipboard failed!";
inline constexpr const char* kGetClipboardDataFailed = "GetClipboardData failed!";
inline constexpr const char* kGlobalSizeFailed = "GlobalSize failed!";

// File dialogs.
inline constexpr const char* kOpenDialogTitle = "ファイルを開く";
inline constexpr const char* kSaveDialogTitle = "ファイルを保存";
// The names of the dialogs' file types; each kind's files, then every file.
inline constexpr const char* kBoardFilterName = "ライフデータファイル (*.hxa)";
inline constexpr const char* kPatternFilterName = "ライフパターンファイル (*.hxq)";
inline constexpr const char* kAllFilesFilterName = "すべてのファイル (*.*)";
inline constexpr const char* kBoardExtension = "hxa";
inline constexpr const char* kPatternExtension = "hxq";

// ---- files and clipboard (controller_files.cpp, controller_clipboard.cpp) ----
// A board file that could not be read; the file's name follows on its own line.
inline constexpr const char* kOpenFailed = "ファイルを開けませんでした。";
// 前回の盤面を復元 with no board kept by an earlier or another copy.
inline constexpr const char* kNothingToRestore = "復元できる盤面がありません。";
// Told once in the status bar's pointer panel, the reason after them: the
// board could not be kept (closing then asks whether to save), or the
// remembered settings could not be saved.
inline constexpr const char* kKeepFailed = "盤面を保持できません: ";
inline constexpr const char* kSettingsSaveFailed = "設定を保存できません: ";
// The graph's export clicked during a run.
inline constexpr const char* kGraphExportWhileRunning = "実行中は書き出せません。停止してから書き出してください。";
inline constexpr const char* kNoStateFolder = "状態フォルダがありません";  // the reason when there is none

// Tool tips of the toolbar buttons.
inline constexpr const char* kToolTipOpen = "開く";
inline constexpr const char* kToolTipSave = "保存";
inline constexpr const char* kToolTipStart = "開始";
inline constexpr const char* kToolTipStop = "停止";
inline constexpr const char* kToolTipStep = "ステップ実行";
inline constexpr const char* kToolTipAutoStimulate = "変化を促す";
inline constexpr const char* kToolTipCut = "切り取り";
inline constexpr const char* kToolTipCopy = "コピー";
inline constexpr const char* kToolTipPaste = "貼り付け";
inline constexpr const char* kToolTipNewRegistration = "パターン登録";
inline constexpr const char* kToolTipRandom = "ランダム";
inline constexpr const char* kToolTipClear = "クリア";
inline constexpr const char* kToolTipColor = "色";
inline constexpr const char* kToolTipReverseRL = "左右反転";
inline constexpr const char* kToolTipReverseTB = "上下反転";
inline constexpr const char* kToolTipRotate = "回転";
inline constexpr const char* kToolTipExpand = "拡大";
inline constexpr const char* kToolTipReduction = "縮小";

// ---- mouse editing (controller_mouse.cpp) ----
// Status panel 3: "x = " + column + ", y = " + row.
inline constexpr const char* kPointerXPrefix = "x = ";
inline constexpr const char* kPointerYPrefix = ", y = ";
// ---- end of mouse editing ----

// ---- Life patterns (RLE, plaintext) in the window (controller_import.cpp) ----
// The open dialog's type for the Life community's text patterns.
inline constexpr const char* kLifePatternFilterName = "Life パターン (*.rle *.cells)";
inline constexpr const char* kRleExtension = "rle";
inline constexpr const char* kPlaintextExtension = "cells";
// After the pattern's file name in the caption: the board came from it but is
// not stored in it.
inline constexpr const char* kImportedMark = " (インポート)";
// A pattern that could not be taken; the file's name and the reader's reason
// follow on their own lines.
inline constexpr const char* kImportFailed = "Life パターンを読み込めませんでした。";
// The reader's reason, after the line it was found on ("3 行目: "). Where a
// reason names part of the text (a rule, a character, a size), it stands
// between the text's two halves.
inline constexpr const char* kLifeTextAtLine = "%1 行目: ";  // %1: the line's number
inline constexpr const char* kLifeTextUnreadable = "Life パターンとして読めません";
inline constexpr const char* kLifeTextLineTooLong = "行が長すぎます";
inline constexpr const char* kLifeTextTooLarge[] = {"パターンが大きすぎます（", " × ", " セルまで）"};
inline constexpr const char* kLifeTextNotConway[] = {"ルール (rule)「", "」はコンウェイのライフゲーム (B3/S23) ではありません"};
inline constexpr const char* kLifeTextUnsupportedGrid[] = {"ルール (rule)「", "」の盤面には対応していません（並べて 10 から 2048 までの正方形になるトーラスのみ）"};
inline constexpr const char* kLifeTextBadHeader = "ヘッダー (x = 幅, y = 高さ) が正しくありません";
inline constexpr const char* kLifeTextBadRunCount = "セルの繰り返し数が正しくありません";
inline constexpr const char* kLifeTextUnexpected[] = {"読めない文字 ", " があります"};
inline constexpr const char* kLifeTextTorus[] = {"パターンが ", " のトーラスに収まりません"};  // around "W × H"
// ---- end of Life patterns ----
// ---- Golly's formats in the window (controller_import.cpp, controller_files.cpp) ----
// The open dialog's type for macrocell, Life 1.05/1.06 and gzipped patterns.
inline constexpr const char* kGollyPatternFilterName = "Golly・Life 1.05/1.06 パターン (*.mc *.lif *.life *.gz)";
inline constexpr const char* kMacrocellExtension = "mc";
inline constexpr const char* kLife105Extension = "lif";
inline constexpr const char* kLife106Extension = "life";
inline constexpr const char* kGzipExtension = "gz";
// The readers' reasons, as kLifeTextTooLarge and its neighbours are used.
inline constexpr const char* kLifeTextBadCompression = "gzip の圧縮データが壊れているか、途中で切れています";
inline constexpr const char* kLifeTextUnpackedTooLarge[] = {"展開すると ", " MiB を超えます"};
inline constexpr const char* kLifeTextBadNode = "マクロセルのノードが正しくありません";
inline constexpr const char* kLifeTextBadCoordinates = "座標が 2 つの整数ではありません";
// ---- end of Golly's formats ----

// ---- help (app/help_text.cpp) ----
inline constexpr const char* kMenuHelp = "ヘルプ(&H)";
inline constexpr const char* kMenuHelpKeys = "操作方法(&K)...";
inline constexpr const char* kMenuHelpAbout = "バージョン情報(&A)...";
inline constexpr const char* kHelpKeysTitle = "操作方法";
inline constexpr const char* kAboutSummary = "色のついたセルで動くコンウェイのライフゲーム";
inline constexpr const char* kAboutLicence = "ライセンス: MIT License";
inline constexpr const char* kAboutCopyright = "Copyright (c) 2026 The Kaleidomat developers";
// ---- end of help ----
// ---- the graph window (controller_graph.cpp, platform/qt/graph_window.cpp) ----
inline constexpr const char* kMenuViewGraph = "グラフ(&G)";
inline constexpr const char* kGraphTitle = "グラフ - Kaleidomat";
inline constexpr const char* kGraphPopulation = "個体数";
inline constexpr const char* kGraphBirths = "誕生";
inline constexpr const char* kGraphDeaths = "死亡";
inline constexpr const char* kGraphColours = "色の数";
inline constexpr const char* kGraphTopShare = "最多色の割合";
inline constexpr const char* kGraphFamilies = "色の構成";
inline constexpr const char* kGraphGeneration = "世代";
// The horizontal axis counts every generation since the record began; the
// board's own counter (shown when pointing) restarts with auto-stimulation.
inline constexpr const char* kGraphAxisGeneration = "記録開始からの世代";
inline constexpr const char* kGraphEmpty = "記録された世代はまだありません";
inline constexpr const char* kGraphExportCsv = "CSV に保存...";
inline constexpr const char* kGraphExportPng = "PNG に保存...";
inline constexpr const char* kGraphExportSvg = "SVG に保存...";
inline constexpr const char* kCsvFilterName = "CSV ファイル (*.csv)";
inline constexpr const char* kPngFilterName = "PNG 画像 (*.png)";
inline constexpr const char* kSvgFilterName = "SVG 画像 (*.svg)";
// The families of the colour band, in the order of analysis::kFamilies.
inline constexpr const char* kFamilyNames[] = {"赤", "橙", "黄", "黄緑", "緑", "青緑", "水色",
                                               "空色", "青", "紫", "赤紫", "ピンク", "灰色"};
// ---- end of the graph window ----
// ---- the graph window's diversity and founders (graph_window.cpp, controller_graph.cpp) ----
inline constexpr const char* kGraphShannon = "シャノン多様度";
inline constexpr const char* kGraphSimpson = "シンプソン多様度";
inline constexpr const char* kGraphFounders = "創始者の割合";
inline constexpr const char* kGraphOtherFounders = "その他";
inline constexpr const char* kGraphSurvivors = "生き残る創始者";
inline constexpr const char* kGraphFounderPrefix = "#";
inline constexpr const char* kGraphFounderChannel = "創始者の色:";
// The colour channels, red, green and blue.
inline constexpr const char* kGraphChannelNames[] = {"赤", "緑", "青"};
inline constexpr const char* kGraphExportLineage = "系譜を保存...";
// ---- end of the graph window's diversity and founders ----


// ---- everyday use: speed readout, recent files, selection keys, calm mode ----
// Status panel 5: the rung in use, as the 速度 menu names it; its widest text.
inline constexpr const char* kPanel5Design = "1,000 世代/秒";
inline constexpr const char* kNoticeSpeedPrefix = "速度: ";  // the notice over the board when the rung changes
inline constexpr const char* kMenuFileRecent = "最近使ったファイル(&J)";
// A recent file that is no longer there; its path follows on its own line.
inline constexpr const char* kRecentMissing = "ファイルが見つかりません。最近使ったファイルの一覧から外しました。";
inline constexpr const char* kMenuViewCalm = "点滅を抑える(&F)";
// The board's pop-up menu: the selection's edit commands after its pattern commands.
inline constexpr const char* kMenuPopupCut = "切り取り(&K)";
inline constexpr const char* kMenuPopupCopy = "コピー(&Y)";
inline constexpr const char* kMenuPopupPaste = "貼り付け(&P)";
inline constexpr const char* kMenuPopupRegister = "パターン登録(&N)";
// The open dialog's first type: every kind of file 開く takes.
inline constexpr const char* kOpenableFilterName = "開けるすべてのファイル (*.hxa *.hxq *.rle *.cells)";
// Export names proposed from the board's file name: "<name>-graph.csv"; "graph.csv" without one.
inline constexpr const char* kExportNameSuffix = "-graph";
inline constexpr const char* kExportNameUnnamed = "graph";
inline constexpr const char* kHelpFileRecent = "最近開いたか保存した盤面とパターン (8 つまで) を開きます。なくなったファイルは一覧から外します。";
inline constexpr const char* kHelpViewCalm = "入のとき、連続実行中の盤面の描き直しを 1 秒に 3 回までに抑えます (実行の速さは変わりません)。光の点滅に敏感な方に。";
inline constexpr const char* kHelpEditDelete = "選択範囲のセルを消します。";
inline constexpr const char* kHelpEditSelectAll = "盤面全体を選択します。";
inline constexpr const char* kHelpEditDeselect = "選択を解除します。";
inline constexpr const char* kHelpPopupCut = "選択範囲をクリップボードに移し、盤面から消します (編集 > 切り取り と同じ)。";
inline constexpr const char* kHelpPopupCopy = "選択範囲をクリップボードにコピーします (編集 > コピー と同じ)。";
inline constexpr const char* kHelpPopupPaste = "クリップボードのパターンを選択範囲の左上から貼り付けます (編集 > 貼り付け と同じ)。";
inline constexpr const char* kHelpPopupRegister = "選択範囲をパターンファイル (.hxq) に保存し、登録済の一覧に加えます。";
inline constexpr const char* kHelpKeypad = "テンキー ";  // before a key of the numeric keypad
inline constexpr const char* kAboutCalm = "光の点滅に敏感な方は 表示 > 点滅を抑える を入にしてください。";
// ---- end of everyday use ----

// The help: one line per command the user can choose.
inline constexpr const char* kHelpFileOpen = "盤面ファイル (.hxa) を開きます。Life パターン (.rle, .cells) は新しい盤面として読み込みます。";
inline constexpr const char* kHelpFileSave = "盤面を盤面ファイル (.hxa) に保存します。名前がまだなければ尋ねます。";
inline constexpr const char* kHelpFileExit = "プログラムを終了します。保存していない変更は失われます。";
inline constexpr const char* kHelpExecStart = "世代を連続して進めます。";
inline constexpr const char* kHelpExecStop = "連続実行を止めます。";
inline constexpr const char* kHelpExecStep = "1 世代だけ進めます。";
inline constexpr const char* kHelpExecStimulate = "入のとき、セル数が止まるか 2 つの値を繰り返すと、生きたセルの隣に 1 つセルを生まれさせます。";
inline constexpr const char* kHelpEditCut = "選択範囲をクリップボードに移し、盤面から消します。";
inline constexpr const char* kHelpEditCopy = "選択範囲をクリップボードにコピーします (セル、画像、RLE テキスト)。";
inline constexpr const char* kHelpEditPaste = "クリップボードのセル、または RLE やプレーンテキストのパターンを選択範囲の左上から貼り付けます。";
inline constexpr const char* kHelpPatternCommon = "組み込みパターンや登録したパターンファイルを選択範囲の左上に置きます。";
inline constexpr const char* kHelpPatternRegister = "選択範囲をパターンファイル (.hxq) に保存し、登録済の一覧に加えます。";
inline constexpr const char* kHelpPatternRandom = "盤面をランダムなセルで埋め直します。";
inline constexpr const char* kHelpPatternClear = "盤面のセルをすべて消します。";
inline constexpr const char* kHelpPatternColor = "選択範囲の生きたセルの色を選びます。";
inline constexpr const char* kHelpPatternReverse = "選択範囲を反転します。";
inline constexpr const char* kHelpPatternReverseRL = "選択範囲を左右に反転します。";
inline constexpr const char* kHelpPatternReverseTB = "選択範囲を上下に反転します。";
inline constexpr const char* kHelpPatternRotate = "選択範囲を 90 度回転します。";
inline constexpr const char* kHelpPatternExpand = "盤面を縦横 10 セルずつ大きくします (最大 200 × 200)。";
inline constexpr const char* kHelpPatternReduction = "盤面を縦横 10 セルずつ小さくします (最小 10 × 10)。";
inline constexpr const char* kHelpPopup1Reset = "世代を 0 に戻します (ステータスバーの世代欄を右クリック)。";
inline constexpr const char* kHelpFileSaveAs = "盤面を新しい名前の盤面ファイル (.hxa) に保存します。";
inline constexpr const char* kHelpFileRestore = "前回終了したとき (強制終了も含む) の盤面を、名前のない盤面として開きます。";
inline constexpr const char* kHelpEditUndo = "直前の変更 (編集、読み込み、ステップ実行、連続実行の 1 回分) を元に戻します。";
inline constexpr const char* kHelpEditRedo = "元に戻した変更をやり直します。";
inline constexpr const char* kHelpExecBack = "1 世代前の盤面に戻します。続けて押すとさらに前へ、ステップ実行で同じ盤面を先へ進みます。";
inline constexpr const char* kHelpExecSpeed = "連続実行の速さ (1 秒あたりの世代数: 1 から 1,000、または 最高速) を選びます。選んだ速さは次回も使われます。";
inline constexpr const char* kHelpExecFaster = "速度を 1 段上げます (連続実行中も)。";
inline constexpr const char* kHelpExecSlower = "速度を 1 段下げます (連続実行中も)。";
inline constexpr const char* kHelpViewRaised = "入のときセルを立体的に、切のとき色だけの平らな四角で描きます。";
inline constexpr const char* kHelpViewGraph = "個体数、誕生、死亡、色の数と色の構成の推移を示すグラフの窓を開くか閉じます。";
inline constexpr const char* kHelpHelpKeys = "この一覧を表示します。";
inline constexpr const char* kHelpHelpAbout = "バージョン、ライセンス、Qt のバージョンを表示します。";

// The help's other lists: the thing described, then its line.
struct HelpEntry {
    const char* what;
    const char* line;
};
// What the mouse does on the board, what the status bar shows, and the files.
inline constexpr HelpEntry kHelpMouseLines[] = {
    {"左ドラッグ", "範囲を選択します。"},
    {"左クリック", "1 つのセルを選択します。"},
    {"Shift+左クリック", "セルを生かす (ランダムな色) か、消します。"},
    {"Shift+左ドラッグ", "なぞった線上のセルを生かす (死んだセルから始めたとき) か、消します (生きたセルから始めたとき)。"},
    {"右クリック", "選択範囲のパターンメニューを開きます (選択範囲の外ならそのセルを選択してから)。"},
    {"ファイルのドロップ", "開く と同じように開きます。"},
};
inline constexpr HelpEntry kHelpStatusLines[] = {
    {"世代 =", "今の世代。右クリックで リセット のメニューが開きます。"},
    {"セル数 =", "生きたセルの数。"},
    {"x =, y =", "ポインタの下のセルの位置。"},
    {"RGB = &H", "そのセルの色 (赤、緑、青の 16 進数)。"},
};
inline constexpr HelpEntry kHelpFileLines[] = {
    {".hxa", "盤面ファイル: 盤面の大きさと、生きたセルとその色。"},
    {".hxq",
     "パターンファイル: セルの長方形。プログラムのフォルダーと ~/.local/share/kaleidomat/patterns にあるものは 登録済 に並びます。"},
    {".rle", "RLE (Life プログラムの標準形式): 開くと新しい盤面になります。規則 B3/S23:Tn,n は n × n の盤面。"},
    {".cells", "プレーンテキストのパターン: 開くと新しい盤面になります。"},
};

// ---- the lineage view and the ancestry tracer (controller_lineage.cpp) ----
inline constexpr const char* kMenuViewLineage = "系譜(&K)";
inline constexpr const char* kMenuLineageRed = "赤の祖先で色分け(&R)";
inline constexpr const char* kMenuLineageGreen = "緑の祖先で色分け(&G)";
inline constexpr const char* kMenuLineageBlue = "青の祖先で色分け(&B)";
inline constexpr const char* kMenuLineageAge = "年齢で色分け(&A)";
inline constexpr const char* kMenuLineageNormal = "通常の色(&N)";
inline constexpr const char* kMenuLineageTrace = "祖先をたどる(&T)";
inline constexpr const char* kHelpViewLineage =
    "赤・緑・青の値がどのセルから受け継がれてきたか (系譜) を盤面に示します。祖先で色分けすると、"
    "生きたセルをその色の値を受け継いだ祖先ごとに、大きな家系から順に別々の色で、残りを灰色で描きます。"
    "年齢で色分けすると、生まれたばかりのセルが白、古いセルほど赤、紫、青になります。通常の色で本来の色に戻ります。";
inline constexpr const char* kHelpLineageTrace =
    "入のとき、生きたセルをクリックすると、赤・緑・青の祖先が同じセルをそれぞれ赤・緑・青で示し、"
    "祖先が生まれた場所を枠で囲みます。クリックで盤面は変わりません。";
// The tracer's line in the pointer panel: per channel the founder's number,
// the generation it came to life at and its kind, then the cell's birth and
// the generations from each founder to it.
inline constexpr const char* kTraceChannels[3] = {"赤", "緑", "青"};
inline constexpr const char* kTraceNumber = "#";
inline constexpr const char* kTraceGenerationOpen = "(第";
inline constexpr const char* kTraceGenerationKind = "世代・";
inline constexpr const char* kTraceClose = ") ";
inline constexpr const char* kTraceKinds[4] = {"開始", "編集", "刺激", "変異"};
inline constexpr const char* kTraceUnknown = "不明 ";
inline constexpr const char* kTraceBirth = "誕生 第";
inline constexpr const char* kTraceDescent = "世代、祖先から ";
inline constexpr const char* kTraceDescentSeparator = "・";
inline constexpr const char* kTraceDescentEnd = " 世代";
inline constexpr const char* kTraceDeadCell = "生きたセルをクリックしてください";
// ---- end of the lineage view ----

// The help's headings and the words around a command's keys.
inline constexpr const char* kHelpMenusHeading = "■ メニュー";
inline constexpr const char* kHelpPopupHeading = "世代欄のメニュー (右クリック)";
inline constexpr const char* kHelpMouseHeading = "盤面のマウス操作";
inline constexpr const char* kHelpStatusHeading = "ステータスバー";
inline constexpr const char* kHelpFilesHeading = "ファイルの種類";
inline constexpr const char* kHelpKeysOnly = "キー ";
inline constexpr const char* kHelpToolbarOpen = "ツールバー「";
inline constexpr const char* kHelpToolbarClose = "」";

// ---- boards larger than 200 x 200 ----
inline constexpr const char* kMenuPatternSize = "盤面の大きさ(&S)...";
inline constexpr const char* kHelpPatternSize =
    "盤面の一辺のセル数を 10 から 2048 までで指定します。収まるセルはそのまま残ります "
    "(200 を超える盤面で 縮小 を選ぶと 200 × 200 になります)。";
inline constexpr const char* kBoardSizeTitle = "盤面の大きさ";
inline constexpr const char* kBoardSizeLabel = "一辺のセル数 (10 ～ 2048):";
inline constexpr const char* kPatternTooLarge =
    "パターンファイルに登録できるのは 200 × 200 セルまでです。選択範囲を小さくしてください。";
// ---- end of boards larger than 200 x 200 ----
// ---- the window's language (controller_language.cpp) ----
inline constexpr const char* kMenuViewLanguage = "言語(&L)";
// The items of the 言語 submenu, each in its own language in either language.
inline constexpr const char* kLanguageNames[] = {"日本語(&J)", "&English"};
inline constexpr const char* kHelpViewLanguage =
    "メニュー、メッセージ、ヘルプなどの言語を 日本語 か English に切り替えます。選んだ言語は次回も使われます。";
// ---- end of the window's language ----
// ---- the keyboard cursor and screen readers ----
// What the board's keys do, for the help.
inline constexpr const char* kHelpBoardKeysHeading = "盤面のキーボード操作";
inline constexpr HelpEntry kHelpBoardKeyLines[] = {
    {"Tab", "盤面にキーボードの焦点を移し、カーソルを表示します。"},
    {"矢印キー", "カーソルを動かしてそのセルを選択します (端から反対の端へ回ります)。カーソルが出ていないときは表示を動かします。"},
    {"Shift+矢印キー", "カーソルのあったセルからカーソルまでの範囲を選択します (盤面の端で止まります)。"},
    {"Space", "カーソルのセルを Shift+左クリック と同じように生かすか、消します。"},
    {"カーソルが消えるとき", "盤面をクリックしたとき (カーソルはそのセルに移ります) と、焦点がほかの部品に移ったとき。"},
};
// What a screen reader says of the board: "盤面、x = 3, y = 4、生きたセル RGB = &H0A141E"
// while the cursor is shown, and as its description the size, the
// generation and the population besides.
inline constexpr const char* kAccessBoardName = "盤面";
inline constexpr const char* kAccessSeparator = "、";
inline constexpr const char* kAccessBoardSizeTimes = " × ";
inline constexpr const char* kAccessBoardSizeUnit = " セル";
inline constexpr const char* kAccessLiveCell = "生きたセル ";
inline constexpr const char* kAccessDeadCell = "死んだセル";
// The other parts of the windows.
inline constexpr const char* kAccessToolbarName = "ツールバー";
inline constexpr const char* kAccessStatusName = "ステータスバー";
inline constexpr const char* kAccessGraphPlotName = "グラフ";
inline constexpr const char* kAccessGraphPlotDescription =
    "記録開始からの個体数、誕生、死亡、色の数、最多色の割合、多様度と色の構成の推移";
inline constexpr const char* kAccessGraphRecorded = "、記録された世代 ";
// ---- end of the keyboard cursor and screen readers ----
// ---- the view: zoom, moving the view, grid ----
inline constexpr const char* kMenuViewZoomIn = "拡大表示(&Z)";
inline constexpr const char* kMenuViewZoomOut = "縮小表示(&X)";
inline constexpr const char* kMenuViewWhole = "全体を表示(&W)";
inline constexpr const char* kMenuViewActualSize = "実寸(&A)";
inline constexpr const char* kMenuViewGrid = "格子(&R)";
inline constexpr const char* kHelpViewZoomIn = "盤面を 2 倍に拡大して表示します。マウスのホイールでは指した所を中心に拡大・縮小します。";
inline constexpr const char* kHelpViewZoomOut = "盤面を半分に縮小して表示します。盤面全体が収まる所まで縮めると 全体を表示 に戻ります。";
inline constexpr const char* kHelpViewWhole = "盤面全体を窓いっぱいに表示します (起動したときの表示)。";
inline constexpr const char* kHelpViewActualSize = "1 セルを画面の 1 ピクセルで表示します。";
inline constexpr const char* kHelpViewGrid = "入のとき、セルが 8 ピクセル以上の大きさで表示されているとセルの間に格子線を引きます。";
inline constexpr const char* kHelpViewPanLeft = "表示を左へ動かし、盤面の左の方を見せます。中ボタンか、スペースキーを押しながら左ボタンでドラッグしても動かせます。盤面はつながっているので、端を越えると反対側が見えます。";
inline constexpr const char* kHelpViewPanRight = "表示を右へ動かし、盤面の右の方を見せます。";
inline constexpr const char* kHelpViewPanUp = "表示を上へ動かし、盤面の上の方を見せます。";
inline constexpr const char* kHelpViewPanDown = "表示を下へ動かし、盤面の下の方を見せます。";
// ---- end of the view ----

}  // namespace texts
