// SPDX-License-Identifier: MIT
#include "app/form1.h"

#include "ui/texts.h"
#include "engine/rules.h"
#include "io/formats.h"

namespace app {

using platform::Menu;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

Form1::Form1(Services services, Options options) : services_(services), options_(std::move(options)) {
    picBuffer.resize(services_.window.boardPixelWidth(), services_.window.boardPixelHeight());
    if (services_.graph) {
        services_.graph->setEvents(this);
        services_.graph->showSeries(&recorder_.series());
    }
}

Form1::~Form1() {
    if (services_.graph) {
        services_.graph->setEvents(nullptr);
        services_.graph->showSeries(nullptr);
    }
}

platform::MessageAnswer Form1::Message(const std::string& text, MessageIcon icon, MessageButtons buttons,
                                       MessageAnswer defaultButton) {
    return services_.dialogs.message(text, texts::kAppTitle, icon, buttons, defaultButton);
}

void Form1::Form_Load() {
    random.reseed(options_.seed ? *options_.seed : engine::RandomSequence::clockSeed());
    // The toolbar pictures belong to the window and are in place already.
    // The clipboard knows the cell block's format by its name; there is
    // nothing to register.
    run.AutoStimulate = true;
    LoadSettings();

    selection.SelLeft = -1;
    board.GridMax = engine::kStartGridMax;

    bool loaded = false;
    const std::string& path = options_.commandLine;
    if (!path.empty()) {
        if (services_.files.exists(path)) {
            // A refused file has shown its message; start-up then goes on as
            // without a file, so a board exists before the first drawing.
            loaded = OpenFile(path);
            if (loaded) ReDraw();
            if (loaded) RecordStartupOpen();
        } else {
            Message("'" + path + texts::kNotFoundSuffix, MessageIcon::Warning);
        }
    }
    if (!loaded) {
        board.create(board.GridMax);
        engine::Init(board, random);
        ScalePictures();
        ReDraw();
    }
    FillPatternMenu();
    // The board the program starts with is not kept: only a change is, so
    // that merely starting and closing a copy keeps nothing of it.
    keptBytes_ = io::EncodeBoardFile(board);
}

void Form1::FillPatternMenu() {
    platform::MainWindow& w = services_.window;
    // Item 0 exists from the start; the other built-ins and the separator follow.
    for (int i = 1; i < 5; ++i) w.addPatternItem(texts::kBuiltinPatternNames[i]);
    w.addPatternItem(texts::kSeparatorCaption);
    patternFiles_.assign(w.patternItemCount(), std::string());
    // The pattern files beside the program, then those of the user's folder.
    std::vector<std::string> folders{services_.files.programDirectory()};
    if (services_.userFiles) folders.push_back(services_.userFiles->patternFolder());
    const std::string ext = std::string(".") + texts::kPatternExtension;
    for (const std::string& folder : folders) {
        for (const std::string& name : services_.files.list(folder, ext)) {
            w.addPatternItem(name.substr(0, name.size() - ext.size()));
            patternFiles_.push_back(folder + "/" + name);
        }
    }
    w.addPatternItem(texts::kRegisterPattern);
    patternFiles_.emplace_back();
}

void Form1::Form_Unload() {
    if (unloaded_) return;
    run.RunMode = RunMode::Stopped;  // a run loop waiting in its yield ends when it next looks
    KeepBoard();
    board.Cells.clear();
    board.Cells.shrink_to_fit();
    stepper = engine::Stepper();  // its work space too
    unloaded_ = true;
}

void Form1::mnuFileExit_Click() {
    run.RunMode = RunMode::Stopped;
    services_.window.close();  // runs Form_Unload through windowClosing
    Form_Unload();
}

// ---- events from the window ---------------------------------------------------
// Nothing reaches the handlers once the window has been unloaded.

void Form1::menuTriggered(Menu item) {
    if (!unloaded_) RunCommand(item);
}

// The one place that knows each command's handler.
void Form1::RunCommand(Menu item) {
    if (RunAsChange(item)) return;  // an undo step around the command, or the history's own
    switch (item) {
        case Menu::FileOpen: mnuFileOpen_Click(); break;
        case Menu::FileSave: mnuFileSave_Click(); break;
        case Menu::FileSaveAs: mnuFileSaveAs_Click(); break;
        case Menu::FileRestore: mnuFileRestore_Click(); break;
        case Menu::FileExit: mnuFileExit_Click(); break;
        case Menu::ExecStart: mnuExecStart_Click(); break;
        case Menu::ExecStop: mnuExecStop_Click(); break;
        case Menu::ExecStep: mnuExecStep_Click(); break;
        case Menu::ExecStimulate: mnuExecStimulate_Click(); break;
        case Menu::EditCut: mnuEditCut_Click(); break;
        case Menu::EditCopy: mnuEditCopy_Click(); break;
        case Menu::EditPaste: mnuEditPaste_Click(); break;
        // The registration item is the last of the pattern list, however many
        // pattern files it lists.
        case Menu::PatternRegister: mnuPatternCommonItem_Click(services_.window.patternItemCount() - 1); break;
        case Menu::PatternRandom: mnuPatternRandom_Click(); break;
        case Menu::PatternClear: mnuPatternClear_Click(); break;
        case Menu::PatternColor: mnuPatternColor_Click(); break;
        case Menu::PatternReverseRL: mnuPatternReverseRL_Click(); break;
        case Menu::PatternReverseTB: mnuPatternReverseTB_Click(); break;
        case Menu::PatternRotate: mnuPatternRotate_Click(); break;
        case Menu::PatternExpand: mnuPatternExpand_Click(); break;
        case Menu::PatternReduction: mnuPatternReduction_Click(); break;
        case Menu::Popup1Reset: mnuPopup1Reset_Click(); break;
        case Menu::ViewRaised: mnuViewRaised_Click(); break;
        case Menu::ExecFaster: ChangeSpeed(+1); break;
        case Menu::ExecSlower: ChangeSpeed(-1); break;
        case Menu::ExecSpeed1: case Menu::ExecSpeed2: case Menu::ExecSpeed5: case Menu::ExecSpeed10:
        case Menu::ExecSpeed20: case Menu::ExecSpeed50: case Menu::ExecSpeed100: case Menu::ExecSpeed200:
        case Menu::ExecSpeed500: case Menu::ExecSpeed1000: case Menu::ExecSpeedMax: mnuExecSpeed_Click(item); break;
        case Menu::HelpKeys: mnuHelpKeys_Click(); break;
        case Menu::HelpAbout: mnuHelpAbout_Click(); break;
        case Menu::ViewGraph: mnuViewGraph_Click(); break;
        default: break;  // menus, submenus and separators do nothing when chosen
    }
}

void Form1::menuAboutToShow(Menu menu) {
    if (unloaded_) return;
    if (menu == Menu::Edit) mnuEdit_Click();
    if (menu == Menu::Pattern) mnuPattern_Click();
}

void Form1::patternItemTriggered(int index) {
    if (!unloaded_) RecordChange([&] { mnuPatternCommonItem_Click(index); });
}

void Form1::toolbarButtonClicked(platform::Button button) {
    if (!unloaded_) Toolbar1_ButtonClick(button);
}

void Form1::boardMouseDown(int button, int shift, float x, float y) {
    if (!unloaded_) RecordChange([&] { picDraw_MouseDown(button, shift, x, y); });
}

void Form1::boardMouseMove(int button, int shift, float x, float y) {
    if (!unloaded_) picDraw_MouseMove(button, shift, x, y);
}

void Form1::boardMouseUp(int button, int shift, float x, float y) {
    if (!unloaded_) picDraw_MouseUp(button, shift, x, y);
}

void Form1::boardExposed() {
    if (!unloaded_) picDraw_Paint();
}

void Form1::statusBarMouse(int button, int shift, int x, int y) {
    if (!unloaded_) StatusBar1_MouseButton(button, shift, x, y);
}

void Form1::windowClosing() { Form_Unload(); }

}  // namespace app
