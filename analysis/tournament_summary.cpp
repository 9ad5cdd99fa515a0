// SPDX-License-Identifier: MIT
#include "analysis/tournament_summary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

namespace analysis {

namespace {

constexpr const char* kChannelNames[kChannels] = {"red", "green", "blue"};
constexpr std::size_t kFixedColumns = 19;  // up to blue_held_since
constexpr std::size_t kSettingsFirst = 1, kSettingsCount = 6;

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

template <typename T>
std::optional<T> whole(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

double median(std::vector<int32_t> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (static_cast<double>(values[n / 2 - 1]) + values[n / 2]) / 2.0;
}

double mean(const std::vector<int32_t>& values) {
    double sum = 0.0;
    for (int32_t v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

// "groups 2, layout halves, density 0.2000, size 64, generations 5000, pure rule"
std::string settingsTitle(const std::string& settings) {
    const std::vector<std::string_view> f = splitFields(settings);
    if (f.size() != kSettingsCount) return settings;
    return "groups " + std::string(f[0]) + ", layout " + std::string(f[1]) + ", density " + std::string(f[2]) +
           ", size " + std::string(f[3]) + ", generations " + std::string(f[4]) +
           (f[5] == "1" ? ", the window's rule" : ", pure rule");
}

std::string share(int64_t part, int64_t whole) {
    return format("%.1f %%", whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

std::string optionalNumber(const std::optional<double>& value) { return value ? format("%.1f", *value) : "-"; }

std::string padLeft(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string padRight(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

bool IsTournamentHeader(std::string_view line) { return line.substr(0, 8) == "version,"; }

std::optional<TournamentRecord> ParseTournamentRow(std::string_view line, std::string& problem) {
    const std::vector<std::string_view> f = splitFields(line);
    TournamentRecord r;
    const auto groups = f.size() > 1 ? whole<int>(f[1]) : std::nullopt;
    if (!groups || *groups < kMinGroups || *groups > kMaxGroups) {
        problem = "is not a tournament row";
        return std::nullopt;
    }
    r.groups = *groups;
    if (f.size() != kFixedColumns + static_cast<std::size_t>(kChannels * r.groups)) {
        problem = "has " + std::to_string(f.size()) + " columns, not the " +
                  std::to_string(kFixedColumns + static_cast<std::size_t>(kChannels * r.groups)) + " of a row with " +
                  std::to_string(r.groups) + " groups";
        return std::nullopt;
    }
    // The settings go into text and pictures as written, so they must be what
    // a tournament writes.
    const bool densityOk = !f[3].empty() && f[3].find_first_not_of("0123456789.") == std::string_view::npos;
    if (!LayoutFromName(std::string(f[2])) || !densityOk || !whole<int32_t>(f[4]) || !whole<int32_t>(f[5]) ||
        (f[6] != "0" && f[6] != "1")) {
        problem = "has no valid settings";
        return std::nullopt;
    }
    r.version = std::string(f[0]);
    for (std::size_t i = kSettingsFirst; i < kSettingsFirst + kSettingsCount; ++i)
        r.settings += (i == kSettingsFirst ? "" : ",") + std::string(f[i]);
    const auto seed = whole<uint64_t>(f[7]);
    const auto run = whole<int32_t>(f[8]);
    std::optional<Ending> ending;
    for (Ending e : {Ending::Fixation, Ending::Extinction, Ending::Limit})
        if (f[9] == EndingName(e)) ending = e;
    if (!seed || !run || !ending) {
        problem = "has no valid seed, generations run or ending";
        return std::nullopt;
    }
    r.seed = *seed;
    r.generationsRun = *run;
    r.ending = *ending;
    for (std::size_t c = 0; c < kChannels; ++c) {
        const auto holder = whole<int>(f[13 + 2 * c]);
        const auto since = whole<int32_t>(f[14 + 2 * c]);
        if (!holder || *holder < 0 || *holder > r.groups || (*holder > 0) != since.has_value()) {
            problem = std::string("has no valid ") + kChannelNames[c] + " holder";
            return std::nullopt;
        }
        r.holder[c] = *holder - 1;
        r.heldSince[c] = since.value_or(-1);
    }
    return r;
}

Interval WilsonInterval(int64_t successes, int64_t trials, double z) {
    if (trials <= 0) return {};
    const double n = static_cast<double>(trials), p = static_cast<double>(successes) / n, z2 = z * z;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::vector<TournamentSummary> SummarizeTournaments(const std::vector<TournamentRecord>& records) {
    std::vector<TournamentSummary> summaries;
    std::map<std::string, std::vector<const TournamentRecord*>> bySettings;
    for (const TournamentRecord& r : records) {
        auto& list = bySettings[r.settings];
        if (list.empty()) summaries.push_back(TournamentSummary{r.settings, {}, r.groups, 0, 0, 0, 0, {}, {}, {}});
        list.push_back(&r);
    }
    for (TournamentSummary& s : summaries) {
        const auto& list = bySettings[s.settings];
        s.runs = static_cast<int64_t>(list.size());
        std::vector<int32_t> fixedAfter;
        std::vector<std::vector<int32_t>> heldSince(static_cast<std::size_t>(s.groups * kChannels));
        for (const TournamentRecord* r : list) {
            s.versions.insert(r->version);
            switch (r->ending) {
                case Ending::Fixation: ++s.fixations; fixedAfter.push_back(r->generationsRun); break;
                case Ending::Extinction: ++s.extinctions; break;
                case Ending::Limit: ++s.limits; break;
            }
            for (std::size_t c = 0; c < kChannels; ++c)
                if (r->holder[c] >= 0)
                    heldSince[static_cast<std::size_t>(r->holder[c]) * kChannels + c].push_back(r->heldSince[c]);
        }
        if (!fixedAfter.empty()) {
            s.meanFixation = mean(fixedAfter);
            s.medianFixation = median(fixedAfter);
        }
        for (int g = 0; g < s.groups; ++g)
            for (int c = 0; c < kChannels; ++c) {
                const auto& held = heldSince[static_cast<std::size_t>(g * kChannels + c)];
                ChannelWins w;
                w.group = g;
                w.channel = c;
                w.wins = static_cast<int64_t>(held.size());
                w.rate = static_cast<double>(w.wins) / static_cast<double>(s.runs);
                w.interval = WilsonInterval(w.wins, s.runs);
                if (!held.empty()) {
                    w.meanHeldSince = mean(held);
                    w.medianHeldSince = median(held);
                }
                s.wins.push_back(w);
            }
    }
    return summaries;
}

std::string SummaryText(const std::vector<TournamentSummary>& summaries) {
    std::string text;
    for (const TournamentSummary& s : summaries) {
        if (!text.empty()) text += '\n';
        std::string versions;
        for (const std::string& v : s.versions) versions += (versions.empty() ? "" : ", ") + v;
        text += settingsTitle(s.settings) + " (version " + versions + "): " + std::to_string(s.runs) +
                (s.runs == 1 ? " run\n" : " runs\n");
        text += "  fixation " + std::to_string(s.fixations) + " (" + share(s.fixations, s.runs) + "), died out " +
                std::to_string(s.extinctions) + " (" + share(s.extinctions, s.runs) + "), limit reached " +
                std::to_string(s.limits) + " (" + share(s.limits, s.runs) + ")\n";
        text += "  generations to fixation: mean " + optionalNumber(s.meanFixation) + ", median " +
                optionalNumber(s.medianFixation) + "\n";
        text += "  group  channel    wins  win rate  95 % interval    held since: mean    median\n";
        for (const ChannelWins& w : s.wins) {
            text += "  " + padRight(std::to_string(w.group + 1), 7) + padRight(kChannelNames[w.channel], 8) +
                    padLeft(std::to_string(w.wins), 7) + padLeft(format("%.4f", w.rate), 10) + "  " +
                    format("%.4f", w.interval.low) + " - " + format("%.4f", w.interval.high) +
                    padLeft(optionalNumber(w.meanHeldSince), 19) + padLeft(optionalNumber(w.medianHeldSince), 10) + "\n";
        }
    }
    return text;
}

std::string SummarySvg(const std::vector<TournamentSummary>& summaries) {
    // One panel per set of settings: per group three bars (red, green and
    // blue channel) in the group's colour, each with its interval as a
    // whisker, on a scale from 0 to 1.
    constexpr int kBar = 18, kGap = 16, kLeft = 56, kRight = 16, kPlotHeight = 180, kPanelHeight = 270;
    int width = 560;
    for (const TournamentSummary& s : summaries)
        width = std::max(width, kLeft + kRight + s.groups * (kChannels * kBar + kGap));
    const int height = std::max(1, static_cast<int>(summaries.size())) * kPanelHeight;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
                      std::to_string(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (std::size_t p = 0; p < summaries.size(); ++p) {
        const TournamentSummary& s = summaries[p];
        const int top = static_cast<int>(p) * kPanelHeight + 50, bottom = top + kPlotHeight;
        auto y = [&](double v) { return format("%.1f", bottom - v * kPlotHeight); };
        svg += "<text x=\"" + std::to_string(kLeft) + "\" y=\"" + std::to_string(top - 28) + "\" font-size=\"12\">" +
               settingsTitle(s.settings) + "</text>\n";
        svg += "<text x=\"" + std::to_string(kLeft) + "\" y=\"" + std::to_string(top - 12) + "\">" + std::to_string(s.runs) +
               " runs: how often each group came to hold each channel, with 95 % intervals</text>\n";
        for (int tick = 0; tick <= 4; ++tick) {
            const std::string ty = y(tick / 4.0);
            svg += "<line x1=\"" + std::to_string(kLeft) + "\" x2=\"" + std::to_string(width - kRight) + "\" y1=\"" + ty +
                   "\" y2=\"" + ty + "\" stroke=\"#ddd\"/>\n";
            svg += "<text x=\"" + std::to_string(kLeft - 6) + "\" y=\"" + ty + "\" text-anchor=\"end\" dy=\"4\">" +
                   format("%.2f", tick / 4.0) + "</text>\n";
        }
        for (const ChannelWins& w : s.wins) {
            const GroupColour c = ColourOfGroup(w.group);
            char fill[8];
            std::snprintf(fill, sizeof fill, "#%02x%02x%02x", c.red, c.green, c.blue);
            const int x = kLeft + w.group * (kChannels * kBar + kGap) + kGap / 2 + w.channel * kBar;
            const std::string middle = std::to_string(x + kBar / 2);
            svg += "<rect x=\"" + std::to_string(x + 2) + "\" y=\"" + y(w.rate) + "\" width=\"" + std::to_string(kBar - 4) +
                   "\" height=\"" + format("%.1f", w.rate * kPlotHeight) + "\" fill=\"" + fill + "\"><title>group " +
                   std::to_string(w.group + 1) + " " + kChannelNames[w.channel] + ": " + format("%.4f", w.rate) + " (" +
                   format("%.4f", w.interval.low) + " - " + format("%.4f", w.interval.high) + ")</title></rect>\n";
            svg += "<path d=\"M" + middle + " " + y(w.interval.low) + "V" + y(w.interval.high) + "M" +
                   std::to_string(x + 5) + " " + y(w.interval.low) + "h" + std::to_string(kBar - 10) + "M" +
                   std::to_string(x + 5) + " " + y(w.interval.high) + "h" + std::to_string(kBar - 10) +
                   "\" stroke=\"black\" fill=\"none\"/>\n";
            svg += "<text x=\"" + middle + "\" y=\"" + std::to_string(bottom + 14) + "\" text-anchor=\"middle\">" +
                   std::string(1, kChannelNames[w.channel][0]) + "</text>\n";
            if (w.channel == 1)
                svg += "<text x=\"" + middle + "\" y=\"" + std::to_string(bottom + 30) +
                       "\" text-anchor=\"middle\">group " + std::to_string(w.group + 1) + "</text>\n";
        }
    }
    return svg + "</svg>\n";
}

}  // namespace analysis
