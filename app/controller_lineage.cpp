// SPDX-License-Identifier: MIT
// The lineage view (表示 › 系譜): live cells coloured by their founder in one
// colour channel or by their age, and the ancestry tracer, which marks the
// kin of a clicked cell in each channel and outlines where its founders came
// to life. The view asks the session for the board's lineage while it is
// on and gives it back when it is off, so with the view off drawing is the
// plain drawing of the board.

#include <algorithm>
#include <string>
#include <tuple>

#include "app/window_controller.h"
#include "ui/texts.h"

namespace app {

using Colouring = WindowController::LineageColouring;


void WindowController::registerLineageCommands() {
    using platform::CommandKind;
    using platform::Menu;
    CommandRegistry& r = commands_;
    lineageMenu_.submenu =
        r.add({.kind = CommandKind::Menu, .id = Menu::Unassigned, .in = Menu::View, .caption = texts::kMenuViewLineage},
              {.help = texts::kHelpViewLineage});
    // The colourings are radio items: the submenu's help line describes them.
    const auto colouring = [&](Colouring c, const char* caption) {
        return r.add({.id = Menu::Unassigned, .in = lineageMenu_.submenu, .caption = caption,
                      .checked = c == Colouring::Normal, .radio = true},
                     {.run = [this, c] { colourByLineage(c); },
                      .checked = [this, c] { return lineageColouring_ == c; }});
    };
    lineageMenu_.red = colouring(Colouring::Red, texts::kMenuLineageRed);
    lineageMenu_.green = colouring(Colouring::Green, texts::kMenuLineageGreen);
    lineageMenu_.blue = colouring(Colouring::Blue, texts::kMenuLineageBlue);
    lineageMenu_.age = colouring(Colouring::Age, texts::kMenuLineageAge);
    lineageMenu_.normal = colouring(Colouring::Normal, texts::kMenuLineageNormal);
    lineageMenu_.trace =
        r.add({.id = Menu::Unassigned, .in = lineageMenu_.submenu, .caption = texts::kMenuLineageTrace, .checked = false},
              {.help = texts::kHelpLineageTrace, .run = [this] { toggleTracing(); },
               .checked = [this] { return tracing_; }});
}

// 通常の色 ends tracing too: it brings back the normal colours in one command.
void WindowController::colourByLineage(Colouring colouring) {
    lineageColouring_ = colouring;
    if (colouring == Colouring::Normal) {
        tracing_ = false;
        trace_.reset();
    }
    wantLineage(lineageViewOn());
    ShowBoard();
}

void WindowController::toggleTracing() {
    tracing_ = !tracing_;
    trace_.reset();
    wantLineage(lineageViewOn());
    ShowBoard();
}

void WindowController::wantLineage(bool wanted) {
    if (wanted == lineageWanted_) return;
    lineageWanted_ = wanted;
    session_.needLineage(wanted);
    lineageView_.reset();
}

const engine::Board& WindowController::ShownBoard() {
    const engine::Lineage* lineage = session_.lineage();
    if (!lineageViewOn() || !lineage) return board;
    lineageView_.followBirths(board, *lineage);
    // A lineage started afresh (another board, an undo past its start)
    // numbers its founders anew: a traced founder whose number now names
    // another record is no longer the one traced.
    if (trace_)
        for (int c = 0; c < engine::kChannels; ++c) {
            const std::optional<engine::Founder>& was = trace_->records[static_cast<std::size_t>(c)];
            const engine::Founder* now = lineage->founder(trace_->founders[static_cast<std::size_t>(c)]);
            if (was && now && std::tie(was->origin, was->x, was->y, was->kind) != std::tie(now->origin, now->x, now->y, now->kind)) {
                trace_.reset();
                break;
            }
        }
    if (tracing_ && trace_)
        LineageView::paintTrace(board, *lineage, trace_->founders, viewBoard_);
    else if (lineageColouring_ == Colouring::Age)
        lineageView_.paintByAge(board, *lineage, viewBoard_);
    else if (lineageColouring_ != Colouring::Normal)
        lineageView_.paintByFounder(board, *lineage, static_cast<int>(lineageColouring_) - static_cast<int>(Colouring::Red),
                                    viewBoard_);
    else
        return board;  // tracing, nothing traced yet
    return viewBoard_;
}

void WindowController::DrawLineageMarks(std::vector<display::PixelRect>& changed) {
    if (!tracing_ || !trace_) return;
    // Outermost red, then green, then blue on the cell's own edge, two
    // pixels each, so that outlines of one cell do not hide each other.
    for (int c = 0; c < engine::kChannels; ++c) {
        const std::optional<engine::Founder>& f = trace_->records[static_cast<std::size_t>(c)];
        if (!f || f->x > board.GridMax || f->y > board.GridMax) continue;
        const int grow = 3 * (engine::kChannels - 1 - c);
        display::PixelRect r = display::CellPixelRect(f->x, f->y, board.side(), picBuffer.width, picBuffer.height);
        r = {std::max(0, r.left - grow), std::max(0, r.top - grow), std::min(picBuffer.width, r.right + grow),
             std::min(picBuffer.height, r.bottom + grow)};
        const uint32_t colour = kOriginOutlines[static_cast<std::size_t>(c)];
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (x < r.left + 2 || x >= r.right - 2 || y < r.top + 2 || y >= r.bottom - 2) picBuffer.at(x, y) = colour;
        changed.push_back(r);
        marksDrawn_ = true;
    }
}

void WindowController::traceCellAt(const platform::PointedCell& at) {
    const engine::Lineage* lineage = session_.lineage();
    if (!lineage || !at.onBoard || !board.contains(at.column, at.row)) return;
    const int32_t cx = at.column, cy = at.row;
    if (!board.cell(cx, cy).live()) {
        trace_.reset();
        window().setPanelText(platform::Panel::Pointer, tr(texts::kTraceDeadCell));
        ShowBoard();
        return;
    }
    lineageView_.followBirths(board, *lineage);
    Trace t;
    t.x = cx;
    t.y = cy;
    for (int c = 0; c < engine::kChannels; ++c) {
        const auto i = static_cast<std::size_t>(c);
        t.founders[i] = lineage->founderAt(cx, cy, c);
        if (const engine::Founder* f = lineage->founder(t.founders[i])) t.records[i] = *f;
    }
    t.bornClock = lineageView_.bornClock(cx, cy, board);
    t.bornGeneration = lineageView_.bornGeneration(cx, cy, board);
    trace_ = t;
    ShowTrace();
    ShowBoard();
}

void WindowController::ShowTrace() {
    if (!trace_) return;
    std::string line;
    std::string descent;
    for (int c = 0; c < engine::kChannels; ++c) {
        const std::optional<engine::Founder>& f = trace_->records[static_cast<std::size_t>(c)];
        line += tr(texts::kTraceChannels[c]);
        if (c > 0) descent += tr(texts::kTraceDescentSeparator);
        if (!f) {
            line += tr(texts::kTraceUnknown);
            descent += "-";
            continue;
        }
        for (const std::string& part :
             {tr(texts::kTraceNumber), std::to_string(f->id), tr(texts::kTraceGenerationOpen), std::to_string(f->generation),
              tr(texts::kTraceGenerationKind), tr(texts::kTraceKinds[static_cast<int>(f->kind)]), tr(texts::kTraceClose)})
            line += part;
        descent += std::to_string(trace_->bornClock - std::min(trace_->bornClock, f->origin));
    }
    for (const std::string& part : {tr(texts::kTraceBirth), std::to_string(trace_->bornGeneration), tr(texts::kTraceDescent), descent,
                                    tr(texts::kTraceDescentEnd)})
        line += part;
    window().setPanelText(platform::Panel::Pointer, line);
}

}  // namespace app
