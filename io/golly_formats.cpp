// SPDX-License-Identifier: MIT
#include "io/golly_formats.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace io {

namespace {

constexpr int kMaxSide = kMaxTextPatternSide;
// No line a valid file needs comes near this (as for RLE).
constexpr std::size_t kMaxLine = 64 * 1024;
// A pattern that fits 2048 x 2048 has far fewer distinct nodes (under 400,000
// even with 2 x 2 leaves); the limit bounds the memory a file can ask for.
constexpr std::size_t kMaxNodes = std::size_t{1} << 20;
// Node coordinates are kept in 64 bits.
constexpr int kMaxLevel = 62;
// Life 1.05 and 1.06 coordinates: far beyond any pattern, and no overflow
// when two of them are subtracted.
constexpr int64_t kMaxCoordinate = int64_t{1} << 40;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

TextError refusedAt(std::size_t line, TextProblem problem, const std::string& what, std::string detail = {}) {
    return TextError{"line " + std::to_string(line) + ": " + what, problem, line, std::move(detail)};
}

TextError tooLarge(std::size_t line = 0) {
    const std::string what =
        "pattern larger than " + std::to_string(kMaxSide) + " x " + std::to_string(kMaxSide) + " cells";
    return line > 0 ? refusedAt(line, TextProblem::TooLarge, what, std::to_string(kMaxSide))
                    : TextError{what, TextProblem::TooLarge, 0, std::to_string(kMaxSide)};
}

TextError lineTooLong(std::size_t line) {
    return refusedAt(line, TextProblem::LineTooLong, "line longer than " + std::to_string(kMaxLine) + " characters");
}

// Splits text into lines at "\n" (a "\r" before it is dropped by trim).
class Lines {
public:
    explicit Lines(std::string_view text) : rest_(text) {}
    bool next(std::string_view& line) {
        if (rest_.empty()) return false;
        ++number_;
        const std::size_t end = rest_.find('\n');
        line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        return true;
    }
    std::size_t number() const { return number_; }

private:
    std::string_view rest_;
    std::size_t number_ = 0;
};

// The next blank-separated word of `s`, removed from it.
std::string_view nextWord(std::string_view& s) {
    s = trim(s);
    std::size_t end = 0;
    while (end < s.size() && !isBlank(s[end])) ++end;
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

// A whole number, optionally signed, within +-limit and nothing else.
template <typename T>
bool readWhole(std::string_view word, T& value, T limit) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    const auto [stop, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return !word.empty() && ec == std::errc() && stop == word.data() + word.size() && value <= limit &&
           value >= -limit;
}

// Checks a rule a file names; a refusal gets the line.
std::optional<TextError> checkRule(std::string_view rule, std::size_t line, PatternRule& read) {
    auto checked = ReadPatternRule(rule);
    if (auto* error = std::get_if<TextError>(&checked))
        return refusedAt(line, error->problem, error->message, error->detail);
    read = std::get<PatternRule>(checked);
    return std::nullopt;
}

// ---- macrocell -------------------------------------------------------------------

struct Node {
    std::array<uint32_t, 4> child{};  // nw, ne, sw, se; 0 for an empty square
    uint64_t bits = 0;                // a leaf's live cells, bit y * side + x
    int level = 0;                    // the node is 2^level cells a side
    bool leaf = false;
    // The live cells' extent within the node; x0 > x1 when it has none.
    int64_t x0 = 1, y0 = 1, x1 = 0, y1 = 0;

    bool empty() const { return x0 > x1; }
    void include(int64_t left, int64_t top, int64_t right, int64_t bottom) {
        if (empty()) {
            x0 = left, y0 = top, x1 = right, y1 = bottom;
            return;
        }
        x0 = std::min(x0, left), y0 = std::min(y0, top), x1 = std::max(x1, right), y1 = std::max(y1, bottom);
    }
};

class MacrocellReader {
public:
    std::optional<TextError> readLine(std::string_view line, std::size_t number) {
        line_ = number;
        if (line.size() > kMaxLine) return lineTooLong(number);
        line = trim(line);
        if (line.empty()) return std::nullopt;
        if (line.front() == '#') {
            if (line.size() >= 2 && (line[1] == 'R' || line[1] == 'r')) return checkRule(line.substr(2), number, rule_);
            return std::nullopt;
        }
        if (nodes_.size() >= kMaxNodes) return tooLarge(number);
        const char c = line.front();
        return c == '.' || c == '*' || c == '$' ? readLeaf8(line) : readInner(line);
    }

    std::variant<LifeGrid, TextError> grid() const {
        if (nodes_.empty() || nodes_.back().empty()) return PlaceOnTorus(LifeGrid{}, rule_);
        const Node& root = nodes_.back();
        const int64_t width = root.x1 - root.x0 + 1;
        const int64_t height = root.y1 - root.y0 + 1;
        if (width > kMaxSide || height > kMaxSide) return tooLarge();
        LifeGrid grid(static_cast<int>(width), static_cast<int>(height));
        paint(grid, nodes_.size(), -root.x0, -root.y0);
        return PlaceOnTorus(std::move(grid), rule_);
    }

private:
    TextError bad(const std::string& what) const { return refusedAt(line_, TextProblem::BadNode, what); }

    // An 8 x 8 leaf: rows of "." and "*", each ended by "$".
    std::optional<TextError> readLeaf8(std::string_view line) {
        Node node;
        node.level = 3;
        node.leaf = true;
        int x = 0, y = 0;
        for (const char c : line) {
            if (c == '$') {
                x = 0;
                ++y;
            } else if (c == '.' || c == '*') {
                if (x >= 8 || y >= 8) return bad("leaf node larger than 8 x 8 cells");
                if (c == '*') {
                    node.bits |= uint64_t{1} << (y * 8 + x);
                    node.include(x, y, x, y);
                }
                ++x;
            } else {
                return bad("unexpected character in a leaf node");
            }
        }
        nodes_.push_back(node);
        return std::nullopt;
    }

    // "1 a b c d" (a 2 x 2 leaf of states) or "level nw ne sw se".
    std::optional<TextError> readInner(std::string_view line) {
        std::array<uint32_t, 5> v{};
        for (uint32_t& value : v) {
            const std::string_view word = nextWord(line);
            const auto [stop, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
            if (word.empty() || ec != std::errc() || stop != word.data() + word.size())
                return bad("node is not five whole numbers");
        }
        if (!trim(line).empty()) return bad("node is not five whole numbers");
        if (v[0] < 1 || v[0] > static_cast<uint32_t>(kMaxLevel)) return bad("node level out of range");
        Node node;
        node.level = static_cast<int>(v[0]);
        if (node.level == 1) {
            node.leaf = true;
            const uint32_t highest = rule_.history ? 6 : 1;
            for (int i = 0; i < 4; ++i) {
                if (v[i + 1] > highest) return bad("cell state " + std::to_string(v[i + 1]) + " is not of the rule");
                if ((v[i + 1] & 1) == 0) continue;  // LifeHistory: odd states are live
                const int x = i % 2, y = i / 2;
                node.bits |= uint64_t{1} << (y * 2 + x);
                node.include(x, y, x, y);
            }
            nodes_.push_back(node);
            return std::nullopt;
        }
        const int64_t half = int64_t{1} << (node.level - 1);
        for (int i = 0; i < 4; ++i) {
            const uint32_t ref = v[i + 1];
            if (ref == 0) continue;
            if (ref > nodes_.size()) return bad("node refers to node " + std::to_string(ref) + ", not defined before it");
            const Node& child = nodes_[ref - 1];
            if (child.level != node.level - 1) return bad("node refers to a node of the wrong size");
            node.child[static_cast<std::size_t>(i)] = ref;
            if (child.empty()) continue;
            const int64_t dx = (i % 2) * half, dy = (i / 2) * half;
            node.include(child.x0 + dx, child.y0 + dy, child.x1 + dx, child.y1 + dy);
        }
        nodes_.push_back(node);
        return std::nullopt;
    }

    // Sets the live cells of node `ref` whose top-left corner lies at (left,
    // top) of the grid. Only nodes with live cells are entered, and they all
    // lie on the grid, so the work is bounded by the grid's area.
    void paint(LifeGrid& grid, std::size_t ref, int64_t left, int64_t top) const {
        const Node& node = nodes_[ref - 1];
        if (node.empty()) return;
        if (node.leaf) {
            const int side = node.level == 1 ? 2 : 8;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x)
                    if (node.bits >> (y * side + x) & 1) grid.set(static_cast<int>(left + x), static_cast<int>(top + y), true);
            return;
        }
        const int64_t half = int64_t{1} << (node.level - 1);
        for (int i = 0; i < 4; ++i)
            if (node.child[static_cast<std::size_t>(i)] != 0)
                paint(grid, node.child[static_cast<std::size_t>(i)], left + (i % 2) * half, top + (i / 2) * half);
    }

    std::vector<Node> nodes_;
    PatternRule rule_;
    std::size_t line_ = 0;
};

// ---- Life 1.05 and 1.06 ----------------------------------------------------------

// Live cells one at a time, read twice: first for their extent, then onto a
// grid of that size, so that no more than the grid is ever allocated.
using CellVisitor = std::function<void(int64_t x, int64_t y)>;
using CellScanner = std::function<std::optional<TextError>(const CellVisitor&)>;

std::variant<LifeGrid, TextError> gridFromScan(const CellScanner& scan) {
    int64_t x0 = std::numeric_limits<int64_t>::max(), y0 = x0;
    int64_t x1 = std::numeric_limits<int64_t>::min(), y1 = x1;
    if (auto error = scan([&](int64_t x, int64_t y) {
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }))
        return *std::move(error);
    if (x0 > x1) return LifeGrid{};
    if (x1 - x0 + 1 > kMaxSide || y1 - y0 + 1 > kMaxSide) return tooLarge();
    LifeGrid grid(static_cast<int>(x1 - x0 + 1), static_cast<int>(y1 - y0 + 1));
    scan([&](int64_t x, int64_t y) { grid.set(static_cast<int>(x - x0), static_cast<int>(y - y0), true); });
    return grid;
}

// A "#R" or "#N" line's rule; Life 1.05 and 1.06 carry no states or torus.
std::optional<TextError> lifeRule(std::string_view line, std::size_t number) {
    if (line.size() < 2 || (line[1] != 'R' && line[1] != 'r')) return std::nullopt;
    PatternRule rule;
    if (auto error = checkRule(line.substr(2), number, rule)) return error;
    if (rule.torusSide > 0 || rule.history)
        return refusedAt(number, TextProblem::NotConwaysRule, "rule '" + std::string(trim(line.substr(2))) +
                                                                  "' is not Conway's Life (B3/S23)",
                         std::string(trim(line.substr(2))));
    return std::nullopt;
}

std::optional<TextError> scanLife105(std::string_view text, const CellVisitor& visit) {
    Lines lines(text);
    std::string_view line;
    int64_t left = 0, row = 0;
    while (lines.next(line)) {
        if (line.size() > kMaxLine) return lineTooLong(lines.number());
        line = trim(line);
        if (line.empty()) continue;
        if (line.front() == '#') {
            if (line.size() >= 2 && (line[1] == 'P' || line[1] == 'p')) {
                std::string_view rest = line.substr(2);
                const std::string_view xs = nextWord(rest), ys = nextWord(rest);
                left = row = 0;
                if ((!xs.empty() || !ys.empty()) &&
                    (!readWhole(xs, left, kMaxCoordinate) || !readWhole(ys, row, kMaxCoordinate) ||
                     !trim(rest).empty()))
                    return refusedAt(lines.number(), TextProblem::BadCoordinates, "block position is not two whole numbers");
            } else if (auto error = lifeRule(line, lines.number())) {
                return error;
            }
            continue;
        }
        if (line.size() > static_cast<std::size_t>(kMaxSide)) return tooLarge(lines.number());
        for (std::size_t x = 0; x < line.size(); ++x) {
            const char c = line[x];
            if (c == '*' || c == 'O' || c == 'o')
                visit(left + static_cast<int64_t>(x), row);
            else if (c != '.')
                return refusedAt(lines.number(), TextProblem::UnexpectedCharacter, "unexpected character");
        }
        // Rows go on past any grid only in a pattern too large to read.
        if (++row > kMaxCoordinate + kMaxSide) return tooLarge(lines.number());
    }
    return std::nullopt;
}

std::optional<TextError> scanLife106(std::string_view text, const CellVisitor& visit) {
    Lines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (line.size() > kMaxLine) return lineTooLong(lines.number());
        line = trim(line);
        if (line.empty()) continue;
        if (line.front() == '#') {
            if (auto error = lifeRule(line, lines.number())) return error;
            continue;
        }
        int64_t x = 0, y = 0;
        const std::string_view xs = nextWord(line), ys = nextWord(line);
        if (!readWhole(xs, x, kMaxCoordinate) || !readWhole(ys, y, kMaxCoordinate) || !trim(line).empty())
            return refusedAt(lines.number(), TextProblem::BadCoordinates, "cell is not two whole numbers");
        visit(x, y);
    }
    return std::nullopt;
}

}  // namespace

bool IsGzip(std::span<const uint8_t> bytes) { return bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B; }

std::variant<std::string, TextError> Gunzip(std::span<const uint8_t> bytes, std::size_t limit) {
    const auto damaged = [] { return TextError{"gzip data is damaged or cut off", TextProblem::BadCompression}; };
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return damaged();
    std::string out;
    std::array<char, 64 * 1024> chunk;
    // zlib counts in 32 bits: the input is fed in pieces it can count.
    std::span<const uint8_t> rest = bytes;
    int status = Z_OK;
    bool tooLarge = false;
    while (true) {
        if (stream.avail_in == 0 && !rest.empty()) {
            const std::size_t piece = std::min<std::size_t>(rest.size(), 1U << 30);
            stream.next_in = const_cast<Bytef*>(rest.data());
            stream.avail_in = static_cast<uInt>(piece);
            rest = rest.subspan(piece);
        }
        stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
        stream.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t produced = chunk.size() - stream.avail_out;
        if (out.size() + produced > limit) {
            tooLarge = true;
            break;
        }
        out.append(chunk.data(), produced);
        if (status == Z_STREAM_END) {
            // Another member may follow; anything else after the end is ignored.
            // What is left of the piece being read runs on into the rest.
            const std::span<const uint8_t> after(stream.next_in, stream.avail_in + rest.size());
            if (!IsGzip(after)) break;
            inflateReset(&stream);
            continue;
        }
        if (status != Z_OK) break;  // damaged data, or cut off (no progress possible)
    }
    inflateEnd(&stream);
    if (tooLarge)
        return TextError{"gzip data unpacks to more than " + std::to_string(limit >> 20) + " MiB",
                         TextProblem::UnpackedTooLarge, 0, std::to_string(limit >> 20)};
    if (status != Z_STREAM_END) return damaged();
    return out;
}

std::variant<LifeGrid, TextError> ParseMacrocell(std::string_view text) {
    Lines lines(text);
    std::string_view line;
    if (!lines.next(line) || line.substr(0, 4) != "[M2]")
        return refusedAt(1, TextProblem::Other, "not a macrocell file (no [M2] line)");
    MacrocellReader reader;
    while (lines.next(line))
        if (auto error = reader.readLine(line, lines.number())) return *std::move(error);
    return reader.grid();
}

std::variant<LifeGrid, TextError> ParseLife105(std::string_view text) {
    return gridFromScan([text](const CellVisitor& visit) { return scanLife105(text, visit); });
}

std::variant<LifeGrid, TextError> ParseLife106(std::string_view text) {
    return gridFromScan([text](const CellVisitor& visit) { return scanLife106(text, visit); });
}

}  // namespace io
