// Cut, copy and paste through Form1 over the fake clipboard.

#include <gtest/gtest.h>

#include "ui/texts.h"
#include "support/form_fixture.h"

using platform::ClipboardFailure;
using platform::MessageIcon;

namespace {

using Bytes = std::vector<uint8_t>;

struct Clipboard : Started {
    app::Form1& form() { return *f.form; }
    Bytes& clip() { return f.clipboard.contents[form().ClipFormat]; }

    // A w x h block whose entry (dx, dy) tells its place; every third entry
    // is dead but keeps a colour.
    static Bytes block(int w, int h) {
        Bytes out(4 + 4 * static_cast<std::size_t>(w) * h);
        out[0] = static_cast<uint8_t>(w);
        out[2] = static_cast<uint8_t>(h);
        std::size_t at = 4;
        for (int dx = 0; dx < w; ++dx)
            for (int dy = 0; dy < h; ++dy) {
                const engine::CellRecord e = entryOf(dx, dy);
                for (int v : {e.State, e.Red, e.Green, e.Blue}) out[at++] = static_cast<uint8_t>(v);
            }
        return out;
    }
    static engine::CellRecord entryOf(int dx, int dy) { return {(dx + dy) % 3 != 0, dx + 1, dy + 1, 200}; }
};

TEST_F(Clipboard, CopyPutsTheCellBlockAndAPictureOfTheSelection) {
    f.clearBoard();
    f.setLive(4, 7, 1, 2, 3);
    f.setLive(6, 8, 4, 5, 6);
    f.board().cell(5, 7) = {0, 7, 8, 9};
    form().ReDraw();
    f.drag(4, 7, 6, 8);
    form().DrawFocus();  // the rectangle off: the picture is the drawn board alone
    form().mnuEditCopy_Click();
    const Bytes expected{3, 0, 2, 0, 1, 1, 2, 3, 0, 0, 0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 5, 6};
    ASSERT_EQ(expected.size(), 28u);
    EXPECT_EQ(clip(), expected);
    EXPECT_TRUE(f.window.buttonEnabled("Paste"));
    EXPECT_TRUE(f.dialogs.messages.empty());

    // The board under the selected cells, cut at the focus rectangle's edges.
    ASSERT_TRUE(f.clipboard.hasPicture);
    const auto& pic = f.clipboard.picture;
    const platform::PixelRect area{38, 67, 67, 86};
    ASSERT_EQ(pic.width, area.width());
    ASSERT_EQ(pic.height, area.height());
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            ASSERT_EQ(pic.at(x, y), form().picBuffer.at(area.left + x, area.top + y)) << x << "," << y;

    // With the rectangle shown, its dotted outline is in the picture too.
    f.drag(0, 0, 9, 9);
    form().mnuEditCopy_Click();
    ASSERT_EQ(pic.width, 96);
    EXPECT_EQ(pic.at(0, 0), form().picBuffer.at(0, 0) ^ 0x00FFFFFFu);
    EXPECT_EQ(pic.at(1, 0), form().picBuffer.at(1, 0));
    EXPECT_EQ(pic.at(40, 40), form().picBuffer.at(40, 40));  // the inside is untouched
}

TEST_F(Clipboard, PasteLaysTheBlockFromTheSelectionsCornerCutToTheSelection) {
    struct Case {
        SelectionBox box;
        int w, h;                   // block
        int right, bottom;          // selection afterwards = the written area
        platform::PixelRect focus;  // around it, 9.6 pixels a cell
    };
    const Case cases[] = {
        {{45, 45, 45, 45}, 10, 10, 49, 49, {432, 432, 480, 480}},  // a single cell widens to the board's corner
        {{10, 10, 11, 11}, 5, 5, 11, 11, {96, 96, 115, 115}},
        {{10, 10, 19, 19}, 3, 3, 12, 12, {96, 96, 125, 125}},
        {{0, 0, 5, 1}, 2, 4, 1, 1, {0, 0, 19, 19}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        for (auto& cell : f.board().Cells) cell = {1, 9, 9, 9};
        f.drag(c.box[0], c.box[1], c.box[2], c.box[3]);
        clip() = block(c.w, c.h);
        form().mnuEditPaste_Click();
        const int l = c.box[0], t = c.box[1];
        EXPECT_EQ(f.box(), (SelectionBox{l, t, c.right, c.bottom}));
        for (int x = 0; x <= 49; ++x)
            for (int y = 0; y <= 49; ++y) {
                const bool written = x >= l && x <= c.right && y >= t && y <= c.bottom;
                const engine::CellRecord expected = written ? entryOf(x - l, y - t) : engine::CellRecord{1, 9, 9, 9};
                ASSERT_EQ(f.board().cell(x, y), expected) << x << "," << y;
            }
        EXPECT_EQ(f.board().Population(), f.board().countLive());  // drawn and counted again
        EXPECT_TRUE(f.selection().FocusShown);
        EXPECT_EQ(f.window.focus, c.focus);
    }
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST_F(Clipboard, CutThenPasteRestoresTheCellsWithTheirColours) {
    f.board().cell(21, 21) = {0, 40, 50, 60};  // a dead cell keeps its colour through the clipboard
    form().ReDraw();
    f.drag(20, 20, 27, 24);
    const auto before = f.board().Cells;
    const bool modified = f.board().Modified;
    const int generation = f.board().Generation;
    form().mnuEditCut_Click();
    for (int x = 20; x <= 27; ++x)
        for (int y = 20; y <= 24; ++y) ASSERT_EQ(f.board().cell(x, y), engine::CellRecord{});
    EXPECT_EQ(f.board().Population(), f.board().countLive());
    EXPECT_TRUE(f.window.buttonEnabled("Paste"));
    EXPECT_EQ(f.box(), (SelectionBox{20, 20, 27, 24}));  // the selection stays

    form().mnuEditPaste_Click();
    EXPECT_TRUE(f.board().Cells == before);
    EXPECT_EQ(f.board().Modified, modified);
    EXPECT_EQ(f.board().Generation, generation);
}

TEST_F(Clipboard, PasteWithoutTheCellBlockOnlyWidensASingleCell) {
    f.drag(45, 45, 45, 45);
    f.clipboard.putForeign();  // text or a picture from another program
    const auto before = f.board().Cells;
    form().mnuEditPaste_Click();
    EXPECT_TRUE(f.board().Cells == before);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.box(), (SelectionBox{45, 45, 49, 49}));
    EXPECT_TRUE(f.selection().FocusShown);
    EXPECT_EQ(f.window.focus, (platform::PixelRect{432, 432, 480, 480}));

    f.drag(3, 3, 3, 3);
    form().DrawFocus();  // without the rectangle on the screen, none appears
    form().mnuEditPaste_Click();
    EXPECT_FALSE(f.selection().FocusShown);
    EXPECT_FALSE(f.window.focus.has_value());
}

TEST_F(Clipboard, MalformedBlockIsRefusedWhole) {
    Bytes cut = block(3, 3);
    cut.pop_back();
    for (const Bytes& bytes : {cut, Bytes{2, 0}, Bytes{0xC9, 0, 1, 0}}) {
        SCOPED_TRACE(bytes.size());
        f.drag(10, 10, 12, 12);
        f.dialogs.messages.clear();
        clip() = bytes;
        const auto before = f.board().Cells;
        form().mnuEditPaste_Click();
        EXPECT_TRUE(f.board().Cells == before);
        expectOnlyMessage(f.dialogs.messages, "このプログラムのデータではありません！", MessageIcon::Exclamation);
        EXPECT_EQ(f.box(), (SelectionBox{10, 10, 12, 12}));
        EXPECT_TRUE(f.window.focus.has_value());
    }
}

TEST_F(Clipboard, EveryClipboardFailureHasItsMessageAndChangesNoCell) {
    struct Case {
        char command;  // 'c'opy, cut ('x') or paste ('v')
        ClipboardFailure failure;
        const char* text;
    };
    const Case cases[] = {
        {'c', ClipboardFailure::Open, "OpenClipboard failed!"},
        {'c', ClipboardFailure::Empty, "EmptyClipboard failed!"},
        {'x', ClipboardFailure::Open, "OpenClipboard failed!"},
        {'v', ClipboardFailure::Open, "OpenClipboard failed!"},
        {'v', ClipboardFailure::GetData, "GetClipboardData failed!"},
        {'v', ClipboardFailure::Size, "GlobalSize failed!"},
        {'v', ClipboardFailure::Lock, "GlobalLock failed!"},
    };
    const auto before = f.board().Cells;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " " << c.text);
        f.drag(5, 5, 6, 6);  // with nothing on the clipboard: Paste off
        clip() = block(2, 2);
        f.dialogs.messages.clear();
        f.clipboard.failPut = f.clipboard.failGet = ClipboardFailure::None;
        (c.command == 'v' ? f.clipboard.failGet : f.clipboard.failPut) = c.failure;
        f.press(c.command == 'c' ? "Copy" : c.command == 'x' ? "Cut" : "Paste");
        expectOnlyMessage(f.dialogs.messages, c.text, MessageIcon::Exclamation);
        EXPECT_TRUE(f.board().Cells == before);
        if (c.command != 'v') {
            EXPECT_TRUE(f.window.buttonEnabled("Paste"));  // enabled all the same
        }
        f.clipboard.contents.clear();
    }
}

TEST_F(Clipboard, NothingSelectedMeansNothingHappens) {
    clip() = block(2, 2);
    const auto before = f.board().Cells;
    for (const char* key : {"Cut", "Copy", "Paste"}) f.press(key);
    EXPECT_TRUE(f.board().Cells == before);
    EXPECT_EQ(clip(), block(2, 2));
    EXPECT_TRUE(f.dialogs.messages.empty());
}

}  // namespace
