// SPDX-License-Identifier: MIT
#pragma once

// What a graph of a run shows, in bounded memory: the generations recorded so
// far gathered into at most kMaxBuckets buckets of equal length (a power of
// two). Each bucket keeps the least and the greatest value of every line, the
// mean share of every colour family and the last generation in it, so a
// drawing that gives each pixel column the extremes of its buckets loses no
// spike however long the run. When the buckets are full, neighbours merge in
// pairs and the length doubles. Standard C++ only: the window draws it.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace analysis {

// Twelve hue families of 30 degrees each, red first, then one for the greys
// (colours of little saturation).
inline constexpr int kFamilyCount = 13;
inline constexpr int kGreyFamily = 12;

struct Family {
    const char* name;  // the CSV column's name
    uint8_t red, green, blue;  // the colour the band is painted in
};

inline constexpr std::array<Family, kFamilyCount> kFamilies{{
    {"red", 230, 40, 40},       {"orange", 240, 140, 30},  {"yellow", 235, 220, 40},
    {"chartreuse", 150, 220, 40}, {"green", 50, 190, 60},  {"spring", 40, 210, 150},
    {"cyan", 40, 200, 220},     {"azure", 40, 130, 230},   {"blue", 50, 60, 220},
    {"violet", 140, 60, 220},   {"magenta", 220, 50, 210}, {"rose", 230, 50, 130},
    {"grey", 150, 150, 150},
}};

// The lines of the graph. Shannon and Simpson are the diversity of the live
// cells' colours (distinct colour values); the survivors are the founders
// carried by a live cell in each channel, not a number (NaN) while the
// lineage is not followed.
enum Line {
    Population,
    Births,
    Deaths,
    Colours,
    TopShare,
    Shannon,
    Simpson,
    SurvivorsRed,
    SurvivorsGreen,
    SurvivorsBlue,
    kLineCount
};
inline constexpr int kLineageChannels = 3;  // red, green, blue

// A founder's share of the live cells in one channel; founder 0 is none.
struct FounderShare {
    uint64_t founder = 0;
    float share = 0;
    friend bool operator==(const FounderShare&, const FounderShare&) = default;
};
// The largest founders a sample keeps per channel.
inline constexpr int kTopFounders = 8;
using TopFounders = std::array<FounderShare, kTopFounders>;  // largest first, then founder 0

// `into` (the mean of `weight` samples) and `other` (of `otherWeight`) as
// one mean, of the largest founders of both: a founder missing from a list
// counts as 0 there.
inline void MergeTopFounders(TopFounders& into, float weight, const TopFounders& other, float otherWeight) {
    std::array<FounderShare, 2 * kTopFounders> all{};
    std::size_t n = 0;
    const float total = weight + otherWeight;
    if (total <= 0) return;
    for (const FounderShare& f : into)
        if (f.founder != 0) all[n++] = {f.founder, f.share * weight / total};
    for (const FounderShare& f : other) {
        if (f.founder == 0) continue;
        std::size_t k = 0;
        while (k < n && all[k].founder != f.founder) ++k;
        if (k == n) all[n++] = {f.founder, 0};
        all[k].share += f.share * otherWeight / total;
    }
    std::sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n), [](const FounderShare& a, const FounderShare& b) {
        return a.share != b.share ? a.share > b.share : a.founder < b.founder;
    });
    into = {};
    std::copy_n(all.begin(), std::min<std::size_t>(n, kTopFounders), into.begin());
}

// One recorded generation.
struct Sample {
    int32_t generation = 0;  // the board's own counter
    std::array<double, kLineCount> values{};
    std::array<float, kFamilyCount> shares{};  // of the live cells, 0 to 1; all 0 on an empty board
    std::array<TopFounders, kLineageChannels> founders{};  // empty while the lineage is not followed
};

// The least and the greatest value seen; empty (low > high) before the first.
struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    bool empty() const { return low > high; }
    void add(double v) {
        if (std::isnan(v)) return;  // a value that was not measured
        low = std::min(low, v);
        high = std::max(high, v);
    }
    void merge(const Extent& other) {
        low = std::min(low, other.low);
        high = std::max(high, other.high);
    }
};

struct Bucket {
    int64_t count = 0;  // recorded generations in it
    std::array<Extent, kLineCount> lines{};
    std::array<float, kFamilyCount> shares{};  // means
    std::array<TopFounders, kLineageChannels> founders{};  // means of the largest
    Sample last;

    void add(const Sample& s) {
        for (int i = 0; i < kLineCount; ++i) lines[i].add(s.values[i]);
        for (int f = 0; f < kFamilyCount; ++f)
            shares[f] = (shares[f] * static_cast<float>(count) + s.shares[f]) / static_cast<float>(count + 1);
        for (int c = 0; c < kLineageChannels; ++c)
            MergeTopFounders(founders[c], static_cast<float>(count), s.founders[c], 1);
        last = s;
        ++count;
    }
    void merge(const Bucket& later) {
        if (later.count == 0) return;
        for (int i = 0; i < kLineCount; ++i) lines[i].merge(later.lines[i]);
        const float total = static_cast<float>(count + later.count);
        for (int f = 0; f < kFamilyCount; ++f)
            shares[f] = (shares[f] * static_cast<float>(count) + later.shares[f] * static_cast<float>(later.count)) /
                        total;
        for (int c = 0; c < kLineageChannels; ++c)
            MergeTopFounders(founders[c], static_cast<float>(count), later.founders[c], static_cast<float>(later.count));
        count += later.count;
        last = later.last;
    }
};

class GraphSeries {
public:
    static constexpr std::size_t kMaxBuckets = 4096;  // at least 2048 in use: finer than a screen's columns

    void clear() {
        buckets_.clear();
        length_ = 1;
        size_ = 0;
        firstGeneration_ = 0;
    }

    // The sample of generation `at` since the start (0 first), at or after
    // those added before; generations left out in between stay gaps.
    void add(const Sample& s, int64_t at) {
        if (size_ == 0) firstGeneration_ = s.generation;
        at = std::max(at, size_ == 0 ? int64_t{0} : size_ - 1);
        while (static_cast<std::size_t>(at / length_) >= kMaxBuckets) halve();
        const std::size_t k = static_cast<std::size_t>(at / length_);
        if (buckets_.size() <= k) buckets_.resize(k + 1);
        buckets_[k].add(s);
        size_ = at + 1;
    }
    void add(const Sample& s) { add(s, size_); }

    // Generations since the start up to the last one recorded.
    int64_t size() const { return size_; }
    // The board's generation counter at the first sample.
    int32_t firstGeneration() const { return firstGeneration_; }
    int64_t bucketLength() const { return length_; }
    const std::vector<Bucket>& buckets() const { return buckets_; }

    // The buckets of generations [from, to) merged: every extreme of them,
    // the mean shares and the last sample. Count 0 when none was recorded there.
    Bucket span(int64_t from, int64_t to) const {
        Bucket b;
        from = std::max<int64_t>(from, 0);
        to = std::min(to, size_);
        if (from >= to) return b;
        const int64_t last = (to - 1) / length_;
        for (int64_t i = from / length_; i <= last; ++i) b.merge(buckets_[static_cast<std::size_t>(i)]);
        return b;
    }

    // The extremes of one line over all that was recorded.
    Extent extent(Line line) const {
        Extent e;
        for (const Bucket& b : buckets_) e.merge(b.lines[line]);
        return e;
    }

private:
    void halve() {
        std::vector<Bucket> merged((buckets_.size() + 1) / 2);
        for (std::size_t i = 0; i < buckets_.size(); ++i) merged[i / 2].merge(buckets_[i]);
        buckets_ = std::move(merged);
        length_ *= 2;
    }

    std::vector<Bucket> buckets_;
    int64_t length_ = 1;  // generations per bucket
    int64_t size_ = 0;
    int32_t firstGeneration_ = 0;
};

// About `wanted` round values (1, 2 or 5 times a power of ten) from low to
// high, both included when they are round: the ticks of an axis.
inline std::vector<double> AxisTicks(double low, double high, int wanted) {
    std::vector<double> ticks;
    if (!(high > low) || wanted < 1) {
        ticks.push_back(low);
        return ticks;
    }
    const double rough = (high - low) / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= rough) {
            step = m * power;
            break;
        }
    for (double v = std::ceil(low / step - 1e-9) * step; v <= high + step * 1e-9; v += step)
        ticks.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
    return ticks;
}

// The ticks of a logarithmic axis from 1 to at least `high`: the powers of
// ten, and 2 and 5 times them while there are few decades.
inline std::vector<double> LogAxisTicks(double high) {
    std::vector<double> ticks;
    const double top = std::pow(10.0, std::ceil(std::log10(std::max(high, 10.0)) - 1e-9));
    const bool fine = top <= 100;
    for (double p = 1; p <= top * (1 + 1e-9); p *= 10) {
        ticks.push_back(p);
        if (fine && p < top) {
            ticks.push_back(2 * p);
            ticks.push_back(5 * p);
        }
    }
    return ticks;
}

}  // namespace analysis
