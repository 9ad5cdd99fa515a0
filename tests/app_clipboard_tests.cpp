// Cut, copy and paste through Form1 over the fake clipboard.

#include <gtest/gtest.h>

#include "app/texts.h"
#include "display/board_renderer.h"
#include "support/form_fixture.h"

using platform::ClipboardFailure;
using platform::MessageButtons;
using platform::MessageIcon;

namespace {

using Bytes = std::vector<uint8_t>;

struct Clipboard : ::testing::Test {
    FormFixture f;
    void SetUp() override { f.start(); }
    app::Form1& form() { return *f.form; }

    // A finished selection, with its focus rectangle drawn when `focus`.
    void select(int l, int t, int r, int b, bool focus = true) {
        auto& s = f.selection();
        if (s.FocusShown) form().DrawFocus();
        s.SelLeft = l, s.SelTop = t, s.SelRight = r, s.SelBottom = b;
        if (focus) form().DrawFocus();
    }
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
                out[at++] = static_cast<uint8_t>((dx + dy) % 3 != 0);
                out[at++] = static_cast<uint8_t>(dx + 1);
                out[at++] = static_cast<uint8_t>(dy + 1);
                out[at++] = 200;
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
    select(4, 7, 6, 8, /*focus=*/false);
    form().mnuEditCopy_Click();

    const Bytes expected{3, 0, 2, 0, 1, 1, 2, 3, 0, 0, 0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 5, 6};
    ASSERT_EQ(expected.size(), 28u);
    EXPECT_EQ(clip(), expected);
    EXPECT_TRUE(f.window.buttonEnabled("Paste"));
    EXPECT_TRUE(f.dialogs.messages.empty());

    // The picture is the drawn board under the selected cells, cut at the
    // focus rectangle's pixel edges: 480 pixels for 50 cells.
    ASSERT_TRUE(f.clipboard.hasPicture);
    const auto& pic = f.clipboard.picture;
    const platform::PixelRect area{38, 67, 67, 86};
    ASSERT_EQ(pic.width, area.width());
    ASSERT_EQ(pic.height, area.height());
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            ASSERT_EQ(pic.at(x, y), form().picBuffer.at(area.left + x, area.top + y)) << x << "," << y;
}

TEST_F(Clipboard, PictureShowsTheFocusRectangleWhenItIsDrawn) {
    form().ReDraw();
    select(0, 0, 9, 9);
    ASSERT_TRUE(f.selection().FocusShown);
    form().mnuEditCopy_Click();
    const auto& pic = f.clipboard.picture;
    ASSERT_EQ(pic.width, 96);
    const auto& board = form().picBuffer;
    EXPECT_EQ(pic.at(0, 0), board.at(0, 0) ^ 0x00FFFFFFu);  // a dot of the outline
    EXPECT_EQ(pic.at(1, 0), board.at(1, 0));
    EXPECT_EQ(pic.at(95, 1), board.at(95, 1) ^ 0x00FFFFFFu);
    EXPECT_EQ(pic.at(40, 40), board.at(40, 40));  // the inside is untouched
}

TEST_F(Clipboard, PasteLaysTheBlockFromTheSelectionsCornerCutToTheSelection) {
    struct Case {
        const char* name;
        int l, t, r, b;       // selection
        int w, h;             // block
        int right, bottom;    // selection afterwards = the written area
    };
    const Case cases[] = {
        {"single cell widens to the board's corner", 45, 45, 45, 45, 10, 10, 49, 49},
        {"block larger than the selection", 10, 10, 11, 11, 5, 5, 11, 11},
        {"block smaller than the selection", 10, 10, 19, 19, 3, 3, 12, 12},
        {"block narrower than a tall selection", 0, 0, 5, 1, 2, 4, 1, 1},
        {"whole 50 x 50 board into a single cell at the origin", 0, 0, 0, 0, 50, 50, 49, 49},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto& cell : f.board().Cells) cell = {1, 9, 9, 9};
        const auto before = f.board().Cells;
        select(c.l, c.t, c.r, c.b);
        clip() = block(c.w, c.h);
        form().mnuEditPaste_Click();

        const auto& s = f.selection();
        EXPECT_EQ(s.SelLeft, c.l);
        EXPECT_EQ(s.SelTop, c.t);
        EXPECT_EQ(s.SelRight, c.right);
        EXPECT_EQ(s.SelBottom, c.bottom);
        for (int x = 0; x <= 49; ++x)
            for (int y = 0; y <= 49; ++y) {
                const bool written = x >= c.l && x <= c.right && y >= c.t && y <= c.bottom;
                const engine::CellRecord expected = written ? entryOf(x - c.l, y - c.t) : before[f.board().index(x, y)];
                ASSERT_EQ(f.board().cell(x, y), expected) << x << "," << y;
            }
        // The board is drawn and counted again, the rectangle around the new selection.
        EXPECT_EQ(f.board().Population(), f.board().countLive());
        EXPECT_TRUE(s.FocusShown);
        ASSERT_TRUE(f.window.focus.has_value());
        const auto tl = display::CellPixelRect(c.l, c.t, 50, 480, 480);
        const auto br = display::CellPixelRect(c.right, c.bottom, 50, 480, 480);
        EXPECT_EQ(*f.window.focus, (platform::PixelRect{tl.left, tl.top, br.right, br.bottom}));
    }
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST_F(Clipboard, CutThenPasteRestoresTheCellsWithTheirColours) {
    f.board().cell(21, 21) = {0, 40, 50, 60};  // a dead cell keeps its colour through the clipboard
    form().ReDraw();
    select(20, 20, 27, 24);
    const auto before = f.board().Cells;
    const bool modified = f.board().Modified;
    const int generation = f.board().Generation;
    form().mnuEditCut_Click();

    for (int x = 20; x <= 27; ++x)
        for (int y = 20; y <= 24; ++y) ASSERT_EQ(f.board().cell(x, y), engine::CellRecord{});
    EXPECT_EQ(f.board().Population(), f.board().countLive());
    EXPECT_TRUE(f.window.buttonEnabled("Paste"));
    EXPECT_EQ(f.selection().SelRight, 27);  // the selection stays

    form().mnuEditPaste_Click();
    EXPECT_TRUE(f.board().Cells == before);
    EXPECT_EQ(f.board().Modified, modified);
    EXPECT_EQ(f.board().Generation, generation);
}

TEST_F(Clipboard, BlockFromAnotherInstanceWithAnotherBoardSize) {
    FormFixture other;
    other.start("", 999);
    other.board().create(99);
    other.form->ScalePictures();
    other.form->ReDraw();
    for (int d = 0; d < 60; ++d) other.setLive(d, 99 - d, 1, 2, 3);
    auto& os = other.selection();
    os.SelLeft = 40, os.SelTop = 40, os.SelRight = 99, os.SelBottom = 99;
    other.form->CopyToClipboard();

    // The same format name gives the same number in both.
    ASSERT_EQ(other.form->ClipFormat, form().ClipFormat);
    f.clipboard.contents = other.clipboard.contents;
    select(30, 30, 30, 30);
    form().PasteFromClipboard();
    EXPECT_EQ(f.selection().SelRight, 49);
    for (int dx = 0; dx < 20; ++dx)
        for (int dy = 0; dy < 20; ++dy)
            ASSERT_EQ(f.board().cell(30 + dx, 30 + dy), other.board().cell(40 + dx, 40 + dy));
}

TEST_F(Clipboard, PasteWithoutTheCellBlockOnlyWidensASingleCell) {
    select(45, 45, 45, 45);
    f.clipboard.putForeign();  // text or a picture from another program
    const auto before = f.board().Cells;
    form().mnuEditPaste_Click();
    EXPECT_TRUE(f.board().Cells == before);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.selection().SelRight, 49);
    EXPECT_EQ(f.selection().SelBottom, 49);
    // The focus rectangle on the screen agrees with the flag and the selection.
    EXPECT_TRUE(f.selection().FocusShown);
    ASSERT_TRUE(f.window.focus.has_value());
    const auto tl = display::CellPixelRect(45, 45, 50, 480, 480);
    EXPECT_EQ(*f.window.focus, (platform::PixelRect{tl.left, tl.top, 480, 480}));

    // Without the rectangle on the screen, none appears.
    select(3, 3, 3, 3, /*focus=*/false);
    form().mnuEditPaste_Click();
    EXPECT_FALSE(f.selection().FocusShown);
    EXPECT_FALSE(f.window.focus.has_value());
}

TEST_F(Clipboard, MalformedBlockIsRefusedWhole) {
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"entries cut short", [] {
             Bytes b = block(3, 3);
             b.resize(b.size() - 1);
             return b;
         }()},
        {"size fields only", Bytes{2, 0, 2, 0}},
        {"size fields cut off", Bytes{2, 0}},
        {"zero width", Bytes{0, 0, 1, 0}},
        {"wider than any board", Bytes{0xC9, 0, 1, 0}},
        {"negative height", Bytes{1, 0, 0xFF, 0xFF, 1, 1, 1, 1}},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        select(10, 10, 12, 12);
        f.dialogs.messages.clear();
        clip() = bytes;
        const auto before = f.board().Cells;
        form().mnuEditPaste_Click();
        EXPECT_TRUE(f.board().Cells == before);
        ASSERT_EQ(f.dialogs.messages.size(), 1u);
        EXPECT_EQ(f.dialogs.messages[0].text, "このプログラムのデータではありません！");
        EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(f.selection().SelRight, 12);
        EXPECT_TRUE(f.selection().FocusShown);
        EXPECT_TRUE(f.window.focus.has_value());
    }
}

TEST_F(Clipboard, EveryClipboardFailureHasItsMessage) {
    struct Case {
        bool copying;
        ClipboardFailure failure;
        const char* text;
    };
    const Case cases[] = {
        {true, ClipboardFailure::Open, "OpenClipboard failed!"},
        {true, ClipboardFailure::Empty, "EmptyClipboard failed!"},
        {false, ClipboardFailure::Open, "OpenClipboard failed!"},
        {false, ClipboardFailure::GetData, "GetClipboardData failed!"},
        {false, ClipboardFailure::Size, "GlobalSize failed!"},
        {false, ClipboardFailure::Lock, "GlobalLock failed!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FormFixture g;
        g.start();
        auto& s = g.selection();
        s.SelLeft = 5, s.SelTop = 5, s.SelRight = 6, s.SelBottom = 6;
        g.clipboard.contents[g.form->ClipFormat] = block(2, 2);
        const auto before = g.board().Cells;
        if (c.copying) {
            g.clipboard.failPut = c.failure;
            g.form->mnuEditCopy_Click();
        } else {
            g.clipboard.failGet = c.failure;
            g.form->mnuEditPaste_Click();
        }
        ASSERT_EQ(g.dialogs.messages.size(), 1u);
        const auto& m = g.dialogs.messages[0];
        EXPECT_EQ(m.text, c.text);
        EXPECT_EQ(m.title, "Kaleidomat");
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_TRUE(g.board().Cells == before);
        if (c.copying) {
            EXPECT_TRUE(g.window.buttonEnabled("Paste"));
        }
    }
}

TEST_F(Clipboard, CutWhoseCopyFailedKeepsTheCells) {
    select(0, 0, 49, 49);
    f.clipboard.failPut = ClipboardFailure::Open;
    const auto before = f.board().Cells;
    form().mnuEditCut_Click();
    EXPECT_TRUE(f.board().Cells == before);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, "OpenClipboard failed!");
    EXPECT_TRUE(f.window.buttonEnabled("Paste"));
}

TEST_F(Clipboard, NothingSelectedMeansNothingHappens) {
    select(1, 1, 3, 3, false);
    f.selection().SelLeft = -1;
    clip() = block(2, 2);
    const Bytes clipBefore = clip();
    const auto before = f.board().Cells;
    form().mnuEditCut_Click();
    form().mnuEditCopy_Click();
    form().mnuEditPaste_Click();
    EXPECT_TRUE(f.board().Cells == before);
    EXPECT_EQ(f.clipboard.putCount, 0);
    EXPECT_EQ(clip(), clipBefore);
    EXPECT_EQ(f.selection().SelRight, 3);
    EXPECT_TRUE(f.dialogs.messages.empty());
}

}  // namespace
