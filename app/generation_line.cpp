// SPDX-License-Identifier: MIT
#include "app/generation_line.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>

#include "app/stimulation.h"

namespace app {

void GenerationLine::clear() { *this = GenerationLine(); }

void GenerationLine::beforeStep(const engine::Board& board, const engine::RandomSequence& random,
                                bool autoStimulate, const engine::Lineage* lineage) {
    if (!started_) {
        started_ = true;
        flag_ = autoStimulate;
        if (board.side() > kLargeBoardSide) {
            byteLimit_ = kLargeBoardByteLimit;
            spacing_ = std::bit_floor(std::max<std::size_t>(1, board.Cells.size() / kCellsPerFirstSpacing));
        }
        addCheckpoint(0, board, random, autoStimulate, true, lineage);
        return;
    }
    dropAhead();
    noteSwitch(autoStimulate);
}

void GenerationLine::afterStep(const engine::Board& board, const engine::RandomSequence& random,
                               const engine::Lineage* lineage) {
    if (!started_) return;
    end_ = ++cursor_;
    if (cursor_ % spacing_ == 0) {
        addCheckpoint(cursor_, board, random, flag_, true, lineage);
        thin();
    }
}

void GenerationLine::drawn(bool running, bool autoStimulate) {
    if (!started_) return;
    dropAhead();
    // Only a drawing while a run or step stands can stimulate, and only
    // then does the switch matter.
    if (running) noteSwitch(autoStimulate);
    // Ten drawings of a standing board fill the whole population history
    // with its count; more change nothing (repaints of an idle window).
    if (!running && events_.size() >= engine::kHistoryLength &&
        std::all_of(events_.end() - engine::kHistoryLength, events_.end(),
                    [&](const Event& e) { return e.at == cursor_ && e.kind == EventKind::Drawn; }))
        return;
    events_.push_back({cursor_, running ? EventKind::DrawnRunning : EventKind::Drawn});
}

void GenerationLine::generationReset() {
    if (!started_) return;
    dropAhead();
    events_.push_back({cursor_, EventKind::GenerationReset});
}

void GenerationLine::noteSwitch(bool autoStimulate) {
    if (autoStimulate == flag_) return;
    flag_ = autoStimulate;
    events_.push_back({cursor_, autoStimulate ? EventKind::SwitchOn : EventKind::SwitchOff});
}

// What was computed beyond the position shown no longer follows from it.
void GenerationLine::dropAhead() {
    if (cursor_ == end_) return;
    for (auto it = checkpoints_.upper_bound(cursor_); it != checkpoints_.end();) {
        bytes_ -= it->second.bytes();
        it = checkpoints_.erase(it);
    }
    while (!events_.empty() && events_.back().at > cursor_) events_.pop_back();
    end_ = cursor_;
}

void GenerationLine::addCheckpoint(uint64_t at, const engine::Board& board, const engine::RandomSequence& random,
                                   bool flag, bool regular, const engine::Lineage* lineage) {
    auto [it, added] = checkpoints_.try_emplace(at);
    if (!added) {
        it->second.regular = it->second.regular || regular;
        return;
    }
    it->second = {BoardImage::capture(board), random.position(), flag, regular, std::nullopt};
    if (lineage && lineage->on()) it->second.lineage = *lineage;
    bytes_ += it->second.bytes();
}

void GenerationLine::forgetLineage() {
    for (auto& [at, checkpoint] : checkpoints_) {
        bytes_ -= checkpoint.bytes();
        checkpoint.lineage.reset();
        bytes_ += checkpoint.bytes();
    }
}

// Too many checkpoints, or too large: the spacing doubles and the ones off
// it go. The start always stays.
void GenerationLine::thin() {
    while ((checkpoints_.size() > kCheckpointLimit || bytes_ > byteLimit_) && spacing_ <= end_) {
        spacing_ *= 2;
        for (auto it = std::next(checkpoints_.begin()); it != checkpoints_.end();) {
            if (it->first % spacing_ != 0) {
                bytes_ -= it->second.bytes();
                it = checkpoints_.erase(it);
            } else {
                it->second.regular = true;
                ++it;
            }
        }
    }
}

void GenerationLine::replayEvents(uint64_t at, engine::Board& board, engine::RandomSequence& random, bool& flag,
                                  engine::Lineage* lineage) const {
    auto it = std::lower_bound(events_.begin(), events_.end(), at,
                               [](const Event& e, uint64_t position) { return e.at < position; });
    for (; it != events_.end() && it->at == at; ++it) {
        switch (it->kind) {
            case EventKind::Drawn: RecordDrawing(board, random, false, flag, lineage); break;
            case EventKind::DrawnRunning: RecordDrawing(board, random, true, flag, lineage); break;
            case EventKind::GenerationReset: board.Generation = 0; break;
            case EventKind::SwitchOn: flag = true; break;
            case EventKind::SwitchOff: flag = false; break;
        }
    }
}

void GenerationLine::back(engine::Board& board, engine::RandomSequence& random, engine::Stepper& stepper,
                          engine::Lineage* lineage) {
    if (!canGoBack()) return;
    const uint64_t target = cursor_ - 1;
    auto from = std::prev(checkpoints_.upper_bound(target));
    const uint64_t start = from->first;

    const bool modified = board.Modified;
    from->second.board.restore(board);
    random.restore(from->second.random);
    bool flag = from->second.autoStimulate;
    if (lineage && !lineage->on()) lineage = nullptr;
    // Without a copy the lineage starts at the generation gone back to.
    const bool restartLineage = lineage && !from->second.lineage;
    if (lineage && from->second.lineage) *lineage = *from->second.lineage;
    engine::Lineage* carried = restartLineage ? nullptr : lineage;
    // Positions on the way are kept at the square root of the distance, so
    // the next steps back start close by.
    const uint64_t distance = target - start;
    const uint64_t stride = std::max<uint64_t>(2, static_cast<uint64_t>(std::ceil(std::sqrt(double(distance)))));
    for (uint64_t at = start;;) {
        replayEvents(at, board, random, flag, carried);
        if (at == target) break;
        AdvanceGeneration(board, random, stepper, flag, carried);
        ++at;
        if (at < target && (at - start) % stride == 0 && bytes_ < byteLimit_ + byteLimit_ / 2)
            addCheckpoint(at, board, random, flag, false, carried);
    }
    if (restartLineage) lineage->start(board);
    board.Modified = modified;
    cursor_ = target;
    flag_ = flag;

    // Those left above on earlier ways back have served.
    for (auto it = checkpoints_.upper_bound(target); it != checkpoints_.end();) {
        if (!it->second.regular) {
            bytes_ -= it->second.bytes();
            it = checkpoints_.erase(it);
        } else {
            ++it;
        }
    }
}

void GenerationLine::forward(engine::Board& board, engine::RandomSequence& random, engine::Stepper& stepper,
                             engine::Lineage* lineage) {
    if (!canGoForward()) return;
    // The board shown is exactly this position, so the next one is one
    // generation and its events away.
    if (lineage && !lineage->on()) lineage = nullptr;
    const bool modified = board.Modified;
    bool flag = flag_;
    AdvanceGeneration(board, random, stepper, flag, lineage);
    ++cursor_;
    replayEvents(cursor_, board, random, flag, lineage);
    board.Modified = modified;
    flag_ = flag;
}

}  // namespace app
