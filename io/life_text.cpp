// SPDX-License-Identifier: MIT
#include "io/life_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <memory>
#include <numeric>
#include <utility>

namespace io {

namespace {

constexpr int kMaxSide = kMaxTextPatternSide;
constexpr int kMinTorusSide = 10;
constexpr std::size_t kMaxRleLine = 70;
// Numbers of up to 9 digits: 999,999,999 at most, no overflow, and far beyond any board.
constexpr int kMaxRunDigits = 9;
constexpr std::size_t kMaxNumberDigits = 9;
// No line a valid pattern needs comes near this; longer ones (a header of a
// million items) are refused before they cost time or memory.
constexpr std::size_t kMaxLine = 64 * 1024;
// Messages quote at most this many bytes of the text they refuse.
constexpr std::size_t kMaxQuoted = 60;

// The cells read so far, column by column with a column of kMaxSide cells.
// It grows with the rightmost live cell, so a small pattern costs little and
// reading never allocates more than the largest pattern needs, whatever the
// text claims.
class Sheet {
public:
    void setLive(int x, int y) {
        const std::size_t column = static_cast<std::size_t>(x) * kMaxSide;
        if (cells_.size() <= column) cells_.resize(column + kMaxSide, 0);
        cells_[column + static_cast<std::size_t>(y)] = 1;
        width_ = std::max(width_, x + 1);
        height_ = std::max(height_, y + 1);
    }
    int liveWidth() const { return width_; }
    int liveHeight() const { return height_; }

    LifeGrid toGrid(int width, int height) const {
        if (width == 0 || height == 0) return LifeGrid{};
        LifeGrid grid(width, height);
        for (int x = 0; x < width_; ++x)
            for (int y = 0; y < height_; ++y)
                if (cells_[static_cast<std::size_t>(x) * kMaxSide + static_cast<std::size_t>(y)]) grid.set(x, y, true);
        return grid;
    }

private:
    std::vector<uint8_t> cells_;
    int width_ = 0;
    int height_ = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view skipByteOrderMark(std::string_view text) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

// A printable rendering of one character for messages.
std::string shown(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) return std::string("'") + c + "'";
    static const char* hex = "0123456789ABCDEF";
    return std::string("byte 0x") + hex[u >> 4] + hex[u & 0xF];
}

std::string atLine(std::size_t line) { return "line " + std::to_string(line) + ": "; }

// A refusal at a line of the text.
TextError refusedAt(std::size_t line, TextProblem problem, const std::string& what, std::string detail = {}) {
    return TextError{atLine(line) + what, problem, line, std::move(detail)};
}

// Text from the input as a message quotes it: its first kMaxQuoted bytes,
// cut between characters, and "..." where it goes on.
std::string quoted(std::string_view text) {
    if (text.size() <= kMaxQuoted) return std::string(text);
    std::size_t end = kMaxQuoted;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end)) + "...";
}

std::string tooLong() { return "line longer than " + std::to_string(kMaxLine) + " characters"; }

std::string tooLarge() {
    return "pattern larger than " + std::to_string(kMaxSide) + " x " + std::to_string(kMaxSide) + " cells";
}

// Where the first line of `text` ends: at its first "\r" or "\n" (npos for
// none). Two memchr scans rather than find_first_of, which tests every byte
// against both characters: a text of tens of megabytes without a line break
// is measured at memory speed.
std::size_t lineEnd(std::string_view text) {
    const void* newline = std::memchr(text.data(), '\n', text.size());
    const std::size_t end = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - text.data())
                                    : std::string_view::npos;
    const void* cr = std::memchr(text.data(), '\r', std::min(end, text.size()));
    return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - text.data()) : end;
}

// Splits text into lines at "\n", "\r\n" or a lone "\r".
class Lines {
public:
    explicit Lines(std::string_view text) : rest_(text) {}
    bool next(std::string_view& line) {
        if (rest_.empty()) return false;
        ++number_;
        const std::size_t end = lineEnd(rest_);
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = rest_.substr(rest_.size());
            return true;
        }
        line = rest_.substr(0, end);
        const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
        rest_.remove_prefix(end + (crlf ? 2 : 1));
        return true;
    }
    std::size_t number() const { return number_; }
    // The text from the start of the next line on.
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
    std::size_t number_ = 0;
};

// Reads a whole decimal number of at most kMaxNumberDigits digits and
// nothing else (no sign, no blanks); false if there is none or it is longer.
bool readNumber(std::string_view s, int& value) {
    unsigned v = 0;
    const char* end = s.data() + s.size();
    const auto [stop, ec] = std::from_chars(s.data(), end, v);
    if (s.empty() || s.size() > kMaxNumberDigits || ec != std::errc() || stop != end) return false;
    value = static_cast<int>(v);
    return true;
}

struct RuleHalves {
    std::string birth;
    std::string survival;
};

// Digits of one half of a rule, sorted and without repeats; false for
// anything but the digits 0 .. 8.
bool digitSet(std::string_view s, std::string& out) {
    std::array<bool, 9> seen{};
    for (char c : s) {
        if (c < '0' || c > '8') return false;
        seen[static_cast<std::size_t>(c - '0')] = true;
    }
    out.clear();
    for (int d = 0; d < 9; ++d)
        if (seen[static_cast<std::size_t>(d)]) out += static_cast<char>('0' + d);
    return true;
}

bool parseRule(std::string_view rule, RuleHalves& halves) {
    rule = trim(rule);
    std::string_view a, b;
    const std::size_t slash = rule.find('/');
    if (slash != std::string_view::npos) {
        if (rule.find('/', slash + 1) != std::string_view::npos) return false;
        a = trim(rule.substr(0, slash));
        b = trim(rule.substr(slash + 1));
    } else {
        // "B3S23": the second half starts at the second letter.
        if (rule.empty() || isDigit(rule.front())) return false;
        std::size_t second = 1;
        while (second < rule.size() && isDigit(rule[second])) ++second;
        if (second >= rule.size()) return false;
        a = rule.substr(0, second);
        b = rule.substr(second);
    }
    const bool lettered = !a.empty() && !b.empty() && !isDigit(a.front()) && !isDigit(b.front());
    if (lettered) {
        const char la = lower(a.front());
        const char lb = lower(b.front());
        a.remove_prefix(1);
        b.remove_prefix(1);
        if (la == 'b' && lb == 's') return digitSet(a, halves.birth) && digitSet(b, halves.survival);
        if (la == 's' && lb == 'b') return digitSet(b, halves.birth) && digitSet(a, halves.survival);
        return false;
    }
    // The older "survival/birth" form, digits only.
    return slash != std::string_view::npos && digitSet(a, halves.survival) && digitSet(b, halves.birth);
}

std::string ruleRefusal(std::string_view rule) {
    return "rule '" + quoted(trim(rule)) + "' is not Conway's Life (B3/S23)";
}

std::string gridRefusal(std::string_view rule, const std::string& what) {
    return "rule '" + quoted(trim(rule)) + "' asks for " + what +
           ", which is not supported (only a torus :Tw,h whose copies fill a square of side " +
           std::to_string(kMinTorusSide) + " to " + std::to_string(kMaxSide) + ")";
}

// Reads one side of a bounded grid: digits, then an optional twist "*" or
// shift "+n" / "-n" as other Life programs write them.
bool readGridSide(std::string_view& s, int& side, bool& twisted, bool& shifted) {
    std::size_t digits = 0;
    while (digits < s.size() && isDigit(s[digits])) ++digits;
    if (!readNumber(s.substr(0, digits), side)) return false;
    s.remove_prefix(digits);
    if (!s.empty() && s.front() == '*') {
        twisted = true;
        s.remove_prefix(1);
    }
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        std::size_t n = 1;
        while (n < s.size() && isDigit(s[n])) ++n;
        int shift = 0;
        if (!readNumber(s.substr(1, n - 1), shift)) return false;
        shifted = shifted || shift != 0;
        s.remove_prefix(n);
    }
    return true;
}

// Checks a header's rule value: Conway's rule or LifeHistory, alone (the
// plane) or on a bounded grid written after a colon, of which only a torus
// "Tw,h" whose board (PatternRule::torusSide) is 10 .. kMaxSide a side is a
// world this program runs.
bool readRule(std::string_view value, PatternRule& rule, TextError& error) {
    value = trim(value);
    const std::size_t colon = value.find(':');
    rule = PatternRule{};
    rule.history = IsLifeHistoryRule(value.substr(0, colon));
    if (!rule.history && !IsConwayRule(value.substr(0, colon))) {
        error = {ruleRefusal(value), TextProblem::NotConwaysRule, 0, quoted(value)};
        return false;
    }
    if (colon == std::string_view::npos) return true;
    std::string_view grid = trim(value.substr(colon + 1));
    const char kind = grid.empty() ? '\0' : lower(grid.front());
    if (kind != '\0') grid.remove_prefix(1);
    int width = 0, height = 0;
    bool twisted = false, shifted = false;
    bool understood = readGridSide(grid, width, twisted, shifted);
    height = width;
    if (understood && !grid.empty() && grid.front() == ',') {
        grid.remove_prefix(1);
        understood = readGridSide(grid, height, twisted, shifted);
    }
    understood = understood && grid.empty();
    if (!understood || kind == '\0' || std::string_view("tpksc").find(kind) == std::string_view::npos) {
        error = {gridRefusal(value, "a bounded grid it does not know"), TextProblem::UnsupportedGrid, 0, quoted(value)};
        return false;
    }
    // An oblong torus repeats its cells to fill the smallest square whose
    // sides both its sides divide: the same world, on a square board.
    const int64_t side = width == height ? width : std::lcm(int64_t{width}, int64_t{height});
    std::string what;
    if (kind == 'p') what = "a bounded plane";
    else if (kind == 'k') what = "a Klein bottle";
    else if (kind == 's') what = "a sphere";
    else if (kind == 'c') what = "a cross-surface";
    else if (twisted) what = "a twisted torus";
    else if (shifted) what = "a shifted torus";
    else if (width == 0 || height == 0) what = "a torus with an infinite side";
    else if (width != height && (side < kMinTorusSide || side > kMaxSide))
        what = "a torus of " + std::to_string(width) + " x " + std::to_string(height) +
               " cells, which repeats as a square of side " + std::to_string(side);
    else if (side < kMinTorusSide || side > kMaxSide) what = "a torus of side " + std::to_string(width);
    if (!what.empty()) {
        error = {gridRefusal(value, what), TextProblem::UnsupportedGrid, 0, quoted(value)};
        return false;
    }
    rule.torusSide = static_cast<int>(side);
    rule.torusWidth = width;
    rule.torusHeight = height;
    return true;
}

bool isName(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!(isDigit(c) || (lower(c) >= 'a' && lower(c) <= 'z') || c == '_')) return false;
    return true;
}

// Reads a header line: "x = W", "y = H" and "rule = R" in any order and
// spacing, separated by commas; a rule may itself contain commas ("B3/S23:T48,48").
bool parseHeader(std::string_view line, int& width, int& height, PatternRule& rule, TextError& error) {
    bool haveX = false, haveY = false;
    std::vector<std::pair<std::string, std::string>> items;
    while (!line.empty()) {
        const std::size_t comma = line.find(',');
        const std::string_view item = trim(line.substr(0, comma));
        line = comma == std::string_view::npos ? std::string_view{} : line.substr(comma + 1);
        const std::size_t eq = item.find('=');
        const std::string_view key = eq == std::string_view::npos ? std::string_view{} : trim(item.substr(0, eq));
        if (isName(key)) {
            std::string name(key);
            for (char& c : name) c = lower(c);
            items.emplace_back(name, std::string(trim(item.substr(eq + 1))));
        } else if (!items.empty() && items.back().first == "rule") {
            items.back().second += ',';
            items.back().second += item;
        } else {
            error = {"header item '" + quoted(item) + "' is not 'name = value'", TextProblem::BadHeader};
            return false;
        }
    }
    for (const auto& [key, value] : items) {
        if (key == "x" || key == "y") {
            int v = 0;
            if (!readNumber(value, v)) {
                const bool digitsOnly = !value.empty() && std::all_of(value.begin(), value.end(), isDigit);
                error = digitsOnly ? TextError{tooLarge(), TextProblem::TooLarge, 0, std::to_string(kMaxSide)}
                                   : TextError{"header size '" + quoted(value) + "' is not a whole number",
                                               TextProblem::BadHeader};
                return false;
            }
            if (v > kMaxSide) {
                error = {tooLarge(), TextProblem::TooLarge, 0, std::to_string(kMaxSide)};
                return false;
            }
            (key == "x" ? width : height) = v;
            (key == "x" ? haveX : haveY) = true;
        } else if (key == "rule") {
            if (!readRule(value, rule, error)) return false;
        }
        // Other items (some programs add their own) do not change the pattern.
    }
    if (!haveX || !haveY) {
        error = {"header lacks x or y", TextProblem::BadHeader};
        return false;
    }
    return true;
}

// ---- RLE ------------------------------------------------------------------------

// What comes before the runs: the header's size and torus, and where the runs start.
struct RleHeader {
    int width = 0, height = 0;
    PatternRule rule;
    std::string_view runs;     // the text from the first run on
    std::size_t runsLine = 0;  // the line number the runs start on
};

// Skips blank and comment lines and reads the header line if there is one;
// the first other line starts the runs.
std::optional<TextError> readRleHeader(std::string_view text, RleHeader& header) {
    Lines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (line.size() > kMaxLine) return refusedAt(lines.number(), TextProblem::LineTooLong, tooLong());
        const std::string_view t = trim(line);
        if (t.empty()) continue;
        if (t.front() == '#') {
            // "#r 23/3" gives the rule in XLife's way.
            if (t.size() >= 2 && t[1] == 'r' && !IsConwayRule(t.substr(2)) && !IsLifeHistoryRule(t.substr(2)))
                return refusedAt(lines.number(), TextProblem::NotConwaysRule, ruleRefusal(t.substr(2)),
                                 quoted(trim(t.substr(2))));
            continue;
        }
        if (t.find('=') != std::string_view::npos) {  // runs never contain "="
            TextError error;
            if (!parseHeader(t, header.width, header.height, header.rule, error))
                return refusedAt(lines.number(), error.problem, error.message, error.detail);
            header.runsLine = lines.number() + 1;
            header.runs = lines.rest();
        } else {
            // This line and everything after it are runs.
            header.runsLine = lines.number();
            header.runs = text.substr(static_cast<std::size_t>(line.data() - text.data()));
        }
        break;
    }
    return std::nullopt;
}

// Reads the runs ("3o2b$", up to "!") onto the sheet, keeping the position,
// the pending run count and the line number for messages.
class RunReader {
public:
    RunReader(Sheet& sheet, std::size_t firstLine, bool history)
        : sheet_(sheet), line_(firstLine), history_(history) {}

    std::optional<TextError> read(std::string_view runs) {
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const char c = runs[i];
            if (c == '\n' || (c == '\r' && !(i + 1 < runs.size() && runs[i + 1] == '\n'))) {
                ++line_;
                atLineStart_ = true;
                continue;
            }
            if (isBlank(c)) continue;
            if (atLineStart_ && c == '#') {  // a comment line among the runs
                while (i + 1 < runs.size() && runs[i + 1] != '\n' && runs[i + 1] != '\r') ++i;
                continue;
            }
            atLineStart_ = false;
            if (c == '!') return digits_ > 0 ? error(TextProblem::BadRunCount, "run count before '!'") : std::nullopt;
            if (auto failure = isDigit(c) ? addDigit(c) : endRun(c)) return failure;
        }
        if (digits_ > 0) return error(TextProblem::BadRunCount, "run count without a cell");
        return std::nullopt;
    }

private:
    std::optional<TextError> error(TextProblem problem, const std::string& what, std::string detail = {}) const {
        return refusedAt(line_, problem, what, std::move(detail));
    }

    std::optional<TextError> addDigit(char c) {
        if (++digits_ > kMaxRunDigits) return error(TextProblem::BadRunCount, "run count too long");
        count_ = count_ * 10 + (c - '0');
        return std::nullopt;
    }

    // A cell or line symbol ends the run: its count (1 when none was written) applies to it.
    std::optional<TextError> endRun(char c) {
        if (digits_ > 0 && count_ == 0) return error(TextProblem::BadRunCount, "run count of 0");
        const int run = digits_ > 0 ? count_ : 1;
        count_ = 0;
        digits_ = 0;
        // Rules with more states write "." for state 0 and "A" .. for states
        // 1 ..; Golly reads "." and "A" in two-state patterns too.
        if (c == '.' || (history_ && (c == 'B' || c == 'D' || c == 'F'))) c = 'b';  // LifeHistory's even states are dead
        if (c == 'A' || (history_ && (c == 'C' || c == 'E'))) c = 'o';              // and its odd states live
        if (history_ && (c == 'x' || c == 'y')) return error(TextProblem::UnexpectedCharacter, "unexpected " + shown(c), shown(c));
        switch (c) {
            case 'b':
                x_ += run;
                break;
            case 'o':
            case 'x':  // some collections mark parts of a pattern with x or y
            case 'y':
                if (y_ >= kMaxSide || x_ + run > kMaxSide) return error(TextProblem::TooLarge, tooLarge(), std::to_string(kMaxSide));
                for (int k = 0; k < run; ++k) sheet_.setLive(static_cast<int>(x_ + k), static_cast<int>(y_));
                x_ += run;
                break;
            case '$':
                y_ += run;
                x_ = 0;
                break;
            default:
                return error(TextProblem::UnexpectedCharacter, "unexpected " + shown(c), shown(c));
        }
        // Positions only matter up to the sheet's edge; keep them from growing without bound.
        x_ = std::min<int64_t>(x_, int64_t{1} << 40);
        y_ = std::min<int64_t>(y_, int64_t{1} << 40);
        return std::nullopt;
    }

    Sheet& sheet_;
    std::size_t line_;
    bool history_;
    bool atLineStart_ = true;
    int64_t x_ = 0, y_ = 0;
    int count_ = 0, digits_ = 0;
};

// The grid of the header's size, or the live cells' if they reach further;
// it must fit the torus the rule names.
std::variant<LifeGrid, TextError> rleGrid(const RleHeader& header, const Sheet& sheet) {
    const int width = std::max(header.width, sheet.liveWidth());
    const int height = std::max(header.height, sheet.liveHeight());
    return PlaceOnTorus(sheet.toGrid(width, height), header.rule);
}

}  // namespace

LifeGrid::LifeGrid(int w, int h)
    : width(std::clamp(w, 0, kMaxSide)), height(std::clamp(h, 0, kMaxSide)),
      cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

int LifeGrid::countLive() const {
    int n = 0;
    for (uint8_t c : cells) n += c != 0;
    return n;
}

LifeGrid GridFromBlock(const CellBlock& block) {
    if (block.w <= 0 || block.h <= 0) return LifeGrid{};
    LifeGrid grid(block.w, block.h);
    for (int dx = 0; dx < grid.width; ++dx)
        for (int dy = 0; dy < grid.height; ++dy) grid.set(dx, dy, block.at(dx, dy).State != 0);
    return grid;
}

bool IsConwayRule(std::string_view rule) {
    RuleHalves halves;
    return parseRule(rule, halves) && halves.birth == "3" && halves.survival == "23";
}

bool IsLifeHistoryRule(std::string_view rule) {
    rule = trim(rule);
    constexpr std::string_view name = "lifehistory";
    if (rule.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (lower(rule[i]) != name[i]) return false;
    return true;
}

std::variant<PatternRule, TextError> ReadPatternRule(std::string_view rule) {
    PatternRule read;
    TextError error;
    if (!readRule(rule, read, error)) return error;
    return read;
}

std::variant<LifeGrid, TextError> PlaceOnTorus(LifeGrid grid, const PatternRule& rule) {
    if (rule.torusSide == 0) return grid;
    const int tw = rule.torusWidth, th = rule.torusHeight;
    if (grid.width > tw || grid.height > th)
        return TextError{"pattern of " + std::to_string(grid.width) + " x " + std::to_string(grid.height) +
                             " cells does not fit its " + std::to_string(tw) + " x " + std::to_string(th) + " torus",
                         TextProblem::DoesNotFitTorus, 0, std::to_string(tw) + " × " + std::to_string(th)};
    if (tw != th) {
        // Copies of the pattern every tw columns and th rows fill the square.
        LifeGrid tiled(rule.torusSide, rule.torusSide);
        for (int x = 0; x < grid.width; ++x)
            for (int y = 0; y < grid.height; ++y)
                if (grid.live(x, y))
                    for (int cx = x; cx < tiled.width; cx += tw)
                        for (int cy = y; cy < tiled.height; cy += th) tiled.set(cx, cy, true);
        grid = std::move(tiled);
    }
    grid.torusSide = rule.torusSide;
    return grid;
}

std::variant<LifeGrid, TextError> ParseRle(std::string_view text) {
    RleHeader header;
    if (auto error = readRleHeader(skipByteOrderMark(text), header)) return *std::move(error);
    Sheet sheet;
    if (auto error = RunReader(sheet, header.runsLine, header.rule.history).read(header.runs)) return *std::move(error);
    return rleGrid(header, sheet);
}

std::variant<LifeGrid, TextError> ParsePlaintext(std::string_view text) {
    text = skipByteOrderMark(text);
    Lines lines(text);
    std::string_view line;
    Sheet sheet;
    int row = 0, width = 0, height = 0;
    while (lines.next(line)) {
        if (line.size() > kMaxLine) return refusedAt(lines.number(), TextProblem::LineTooLong, tooLong());
        if (!line.empty() && line.front() == '!') continue;
        while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
        if (!line.empty()) {
            if (row >= kMaxSide || line.size() > static_cast<std::size_t>(kMaxSide))
                return refusedAt(lines.number(), TextProblem::TooLarge, tooLarge(), std::to_string(kMaxSide));
            for (std::size_t x = 0; x < line.size(); ++x) {
                const char c = line[x];
                if (c == 'O' || c == 'o' || c == '*')
                    sheet.setLive(static_cast<int>(x), row);
                else if (c != '.')
                    return refusedAt(lines.number(), TextProblem::UnexpectedCharacter, "unexpected " + shown(c),
                                     shown(c));
            }
            width = std::max(width, static_cast<int>(line.size()));
            height = row + 1;
        }
        // Empty rows past the last pattern row only count if a row follows.
        if (row < kMaxSide) ++row;
    }
    return sheet.toGrid(width, height);
}

std::string WriteRle(const LifeGrid& grid) {
    return WriteRleOf(grid.width, grid.height, [&grid](int x, int y) { return grid.live(x, y); }, grid.torusSide);
}

std::string WriteRleOf(int width, int height, const std::function<bool(int x, int y)>& live, int torusSide) {
    std::string out = "x = " + std::to_string(width) + ", y = " + std::to_string(height) + ", rule = B3/S23";
    if (torusSide > 0) out += ":T" + std::to_string(torusSide) + "," + std::to_string(torusSide);
    out += '\n';
    std::string line;
    auto emit = [&](int run, char tag) {
        std::string token = run > 1 ? std::to_string(run) : std::string();
        token += tag;
        if (line.size() + token.size() > kMaxRleLine) {
            out += line;
            out += '\n';
            line.clear();
        }
        line += token;
    };

    bool started = false;
    int emptyRows = 0;
    for (int y = 0; y < height; ++y) {
        int end = width;  // dead cells at the end of a row are left out
        while (end > 0 && !live(end - 1, y)) --end;
        if (end == 0) {
            ++emptyRows;
            continue;
        }
        if (started)
            emit(emptyRows + 1, '$');
        else if (emptyRows > 0)
            emit(emptyRows, '$');
        started = true;
        emptyRows = 0;
        for (int x = 0; x < end;) {
            const bool alive = live(x, y);
            int run = 1;
            while (x + run < end && live(x + run, y) == alive) ++run;
            emit(run, alive ? 'o' : 'b');
            x += run;
        }
    }
    emit(1, '!');
    out += line;
    out += '\n';
    return out;
}

std::string WritePlaintext(const LifeGrid& grid, std::string_view name) {
    std::string out;
    if (!name.empty()) {
        // A control character (a line break above all) would end the
        // comment and turn the rest of the name into rows.
        out += "!Name: ";
        for (const char c : name)
            if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
        out += '\n';
    }
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) out += grid.live(x, y) ? 'O' : '.';
        out += '\n';
    }
    return out;
}

}  // namespace io
