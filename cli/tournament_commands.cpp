// SPDX-License-Identifier: MIT
#include "cli/tournament_commands.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cctype>
#include <filesystem>
#include <cstring>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>
#include <unordered_set>

#include "analysis/tournament.h"
#include "analysis/tournament_summary.h"
#include "cli/cell_files.h"
#include "cli/commands.h"
#include "io/safe_files.h"

#ifndef KALEIDOMAT_VERSION
#define KALEIDOMAT_VERSION "0.0"
#endif

namespace cli {

namespace {

using Clock = std::chrono::steady_clock;

std::optional<uint64_t> wholeNumber(std::string_view text) {
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::pair<std::size_t, std::size_t>> chunkFrom(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const auto i = wholeNumber(std::string_view(text).substr(0, slash));
    const auto n = wholeNumber(std::string_view(text).substr(slash + 1));
    if (!i || !n || *n < 1 || *n > 1000000 || *i < 1 || *i > *n) return std::nullopt;
    return std::pair<std::size_t, std::size_t>{*i, *n};
}

// "0.25" as 2500 ten-thousandths: above 0, at most 1, at most four decimals.
std::optional<int32_t> densityFrom(const std::string& text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = std::string_view(text).substr(0, point);
    const std::string_view fraction =
        point == std::string::npos ? std::string_view() : std::string_view(text).substr(point + 1);
    if ((whole.empty() && fraction.empty()) || whole.size() > 1 || fraction.size() > 4) return std::nullopt;
    if ((!whole.empty() && !wholeNumber(whole)) || (!fraction.empty() && !wholeNumber(fraction))) return std::nullopt;
    if (point != std::string::npos && fraction.empty()) return std::nullopt;
    int32_t value = whole.empty() ? 0 : static_cast<int32_t>(*wholeNumber(whole)) * 10000;
    int32_t scale = 1000;
    for (char digit : fraction) {
        value += (digit - '0') * scale;
        scale /= 10;
    }
    if (value <= 0 || value > 10000) return std::nullopt;
    return value;
}

// ---- where the rows go ----------------------------------------------------------

// An open file, closed when this goes: also when a constructor that opened
// it throws, so that a refused table does not stay open and locked.
struct OpenFile {
    int fd = -1;
    OpenFile() = default;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() {
        if (fd >= 0) ::close(fd);
    }
};

// Rows appended to a file one write at a time, each whole, so that a run that
// is killed leaves every row it finished and at most part of one more, which
// --resume finds and makes again. The file is locked while the run writes, so
// that two runs never append to one file.
class RowFile {
public:
    // `header` is written at the top of a new table ("" for none); a table
    // being continued may have `fullHeader`, the header of these settings.
    RowFile(const std::string& path, const std::string& header, const std::string& fullHeader,
            const std::string& prefix, bool resume)
        : path_(path) {
        if (!resume || !openExisting(header, fullHeader, prefix)) {
            refuseWhileLocked();
            if (const std::error_code error =
                    io::ReplaceFile(path, std::span(reinterpret_cast<const uint8_t*>(header.data()), header.size())))
                throw Failure(path + ": cannot write: " + error.message());
            fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
            if (fd_ < 0) fail("cannot open");
            lock();
        }
    }

    // The seeds whose rows the file already holds.
    const std::unordered_set<uint64_t>& done() const { return done_; }

    void append(const std::string& row) {
        std::string_view rest = row;
        while (!rest.empty()) {
            const ssize_t n = ::write(fd_, rest.data(), rest.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) fail("cannot write");
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
        // On disk now and then, so that a crash of the machine, too, costs at
        // most a second of rows.
        if (Clock::now() - lastSync_ > std::chrono::seconds(1)) sync();
    }

    void finish() {
        sync();
        if (::close(fd_) != 0) {
            fd_ = -1;
            fail("cannot write");
        }
        fd_ = -1;
    }

private:
    [[noreturn]] void fail(const char* what) const { throw Failure(path_ + ": " + what + ": " + std::strerror(errno)); }

    void sync() {
        if (::fdatasync(fd_) != 0 && errno != EINVAL) fail("cannot write");
        lastSync_ = Clock::now();
    }

    // A table another run is still writing is not replaced under its feet.
    void refuseWhileLocked() {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return;
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(fd);
        if (locked) throw Failure(path_ + ": another run is writing to it");
    }

    void lock() {
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0)
            throw Failure(path_ + ": another run is writing to it" + (errno == EWOULDBLOCK ? "" : std::string(": ") + std::strerror(errno)));
    }

    // Takes the rows of an existing table with the same settings; false when
    // there is no file yet. A last line without its newline was cut off while
    // it was written: it goes, and its seed runs again.
    bool openExisting(const std::string& header, const std::string& fullHeader, const std::string& prefix) {
        fd_ = ::open(path_.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
        if (fd_ < 0) {
            if (errno == ENOENT) return false;
            fail("cannot open");
        }
        struct stat st {};
        if (::fstat(fd_, &st) != 0) fail("cannot read");
        if (!S_ISREG(st.st_mode)) throw Failure(path_ + ": not a regular file");
        lock();
        std::string contents;
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail("cannot read");
            if (n == 0) break;
            contents.append(buffer, static_cast<std::size_t>(n));
        }
        const std::size_t complete = contents.rfind('\n') == std::string::npos ? 0 : contents.rfind('\n') + 1;
        if (complete < contents.size() && ::ftruncate(fd_, static_cast<off_t>(complete)) != 0) fail("cannot shorten");
        contents.resize(complete);
        if (contents.empty()) {
            append(header);
            return true;
        }
        std::size_t lineNumber = 0;
        for (std::size_t start = 0; start < contents.size();) {
            const std::size_t end = contents.find('\n', start);
            const std::string_view line = std::string_view(contents).substr(start, end - start);
            start = end + 1;
            ++lineNumber;
            const std::string where = path_ + ": line " + std::to_string(lineNumber) + " ";
            if (analysis::IsTournamentHeader(line)) {
                if (line != std::string_view(fullHeader).substr(0, fullHeader.size() - 1))
                    throw Failure(where + "is the header of another table; write to another file");
                continue;
            }
            std::string problem;
            const auto record = analysis::ParseTournamentRow(line, problem);
            if (!record) throw Failure(where + problem);
            if (line.substr(0, prefix.size()) != prefix)
                throw Failure(where + "comes from other settings or another version; write to another file");
            done_.insert(record->seed);
        }
        return true;
    }

    std::string path_;
    OpenFile file_;
    int& fd_ = file_.fd;
    std::unordered_set<uint64_t> done_;
    Clock::time_point lastSync_ = Clock::now();
};

// ---- progress -------------------------------------------------------------------

std::string duration(double seconds) {
    const long s = static_cast<long>(seconds + 0.5);
    if (s < 60) return std::to_string(s) + " s";
    if (s < 3600) return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
    return std::to_string(s / 3600) + " h " + std::to_string(s / 60 % 60) + " min";
}

// One line on standard error, rewritten in place.
class Progress {
public:
    Progress(std::ostream& err, bool shown, std::size_t total) : err_(err), shown_(shown), total_(total) {}

    void update(std::size_t done, bool last = false) {
        if (!shown_) return;
        const Clock::time_point now = Clock::now();
        if (!last && now - lastShown_ < std::chrono::milliseconds(200)) return;
        lastShown_ = now;
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        const double rate = elapsed > 0 ? static_cast<double>(done) / elapsed : 0.0;
        char rateText[32];
        std::snprintf(rateText, sizeof rateText, "%.1f", rate);
        err_ << "\rtournament: " << done << " of " << total_ << " seeds, " << rateText << " seeds/s";
        if (last)
            err_ << ", " << duration(elapsed) << "\033[K\n";
        else if (rate > 0)
            err_ << ", " << duration(static_cast<double>(total_ - done) / rate) << " left\033[K";
        err_ << std::flush;
    }

private:
    std::ostream& err_;
    bool shown_;
    std::size_t total_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastShown_{};
};

analysis::TournamentSettings settingsFrom(const Arguments& args) {
    analysis::TournamentSettings s;
    if (const auto groups = args.number("--groups")) s.groups = static_cast<int>(*groups);
    if (const std::string* layout = args.option("--layout")) s.layout = *analysis::LayoutFromName(*layout);
    if (const std::string* density = args.option("--density")) s.densityPerTenThousand = *densityFrom(*density);
    if (const auto size = args.number("--size")) s.size = static_cast<int32_t>(*size);
    if (const auto generations = args.number("--generations")) s.generations = static_cast<int32_t>(*generations);
    s.asWindow = args.option("--as-window") != nullptr;
    return s;
}

// The seeds in order, `threads` at a time; `emit` gets every row in the order
// of the seeds, as soon as it and all before it are done.
template <typename Emit>
void runSeeds(const analysis::TournamentSettings& settings, const std::vector<uint64_t>& seeds, std::size_t threads,
              Progress& progress, Emit emit) {
    const std::string version = KALEIDOMAT_VERSION;
    std::vector<std::string> rows(seeds.size());
    std::vector<char> ready(seeds.size(), 0);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    std::exception_ptr error;
    std::size_t done = 0;

    auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= seeds.size() || stop) return;
            std::string row;
            try {
                row = analysis::TournamentRow(version, settings, analysis::RunTournament(settings, seeds[i]));
            } catch (...) {
                const std::lock_guard<std::mutex> lock(mutex);
                if (!error) error = std::current_exception();
                stop = true;
                finished.notify_all();
                return;
            }
            const std::lock_guard<std::mutex> lock(mutex);
            rows[i] = std::move(row);
            ready[i] = 1;
            ++done;
            finished.notify_all();
        }
    };
    std::vector<std::thread> workers;
    const std::size_t count = std::max<std::size_t>(1, std::min(threads, seeds.size()));
    for (std::size_t t = 0; t < count; ++t) workers.emplace_back(work);
    try {
        for (std::size_t w = 0; w < seeds.size(); ++w) {
            std::string row;
            std::size_t doneNow = 0;
            {
                std::unique_lock<std::mutex> lock(mutex);
                while (!ready[w] && !error) {
                    finished.wait_for(lock, std::chrono::milliseconds(250));
                    const std::size_t d = done;
                    lock.unlock();
                    progress.update(d);
                    lock.lock();
                }
                if (error) break;
                row = std::move(rows[w]);
                rows[w] = std::string();
                doneNow = done;
            }
            emit(row);
            progress.update(doneNow);
        }
    } catch (...) {
        stop = true;
        for (std::thread& t : workers) t.join();
        throw;
    }
    for (std::thread& t : workers) t.join();
    if (error) std::rethrow_exception(error);
    progress.update(done, true);
}

// An output named for its format (any case), as the other commands want it.
void requireExtension(const std::string& path, const char* extension, const char* option) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext != extension) throw UsageError(std::string(option) + ": '" + path + "' is not a " + (extension + 1) + " file name (" + extension + ")");
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

// ---- option checks --------------------------------------------------------------

std::vector<uint64_t> ParseSeeds(const std::string& text) {
    std::vector<uint64_t> seeds;
    std::unordered_set<uint64_t> seen;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view item = std::string_view(text).substr(start, comma - start);
        start = comma + 1;
        const std::size_t dash = item.find('-');
        const auto first = wholeNumber(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : wholeNumber(item.substr(dash + 1));
        if (!first || !last) throw UsageError("--seeds: '" + std::string(item) + "' is neither a seed nor a range A-B");
        if (*last < *first) throw UsageError("--seeds: the range '" + std::string(item) + "' runs backwards");
        if (*last - *first >= kMaxSeeds - seeds.size())
            throw UsageError("--seeds: more than " + std::to_string(kMaxSeeds) + " seeds");
        for (uint64_t s = *first;; ++s) {
            if (!seen.insert(s).second) throw UsageError("--seeds: seed " + std::to_string(s) + " is listed twice");
            seeds.push_back(s);
            if (s == *last) break;
        }
    }
    return seeds;
}

std::string SeedsProblem(const std::string& text) {
    try {
        ParseSeeds(text);
        return "";
    } catch (const UsageError& e) {
        return std::string(e.what()).substr(9);  // without "--seeds: ", which the parser adds in its own words
    }
}

std::string ChunkProblem(const std::string& text) {
    return chunkFrom(text) ? "" : "needs i/N with 1 <= i <= N <= 1000000, not '" + text + "'";
}

std::string DensityProblem(const std::string& text) {
    return densityFrom(text) ? "" : "needs a number above 0 and at most 1 with at most four decimals, not '" + text + "'";
}

std::string LayoutProblem(const std::string& text) {
    return analysis::LayoutFromName(text) ? "" : "needs halves, quadrants, stripes, checker or scatter, not '" + text + "'";
}

std::pair<std::size_t, std::size_t> ChunkBounds(std::size_t count, std::size_t i, std::size_t n) {
    // In 128 bits: count × i overflows 64 for long lists and many slices.
    const auto bound = [&](std::size_t k) {
        return static_cast<std::size_t>(static_cast<unsigned __int128>(count) * k / n);
    };
    return {bound(i - 1), bound(i)};
}

// ---- the commands ---------------------------------------------------------------

int TournamentCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    const analysis::TournamentSettings settings = settingsFrom(args);
    std::vector<uint64_t> seeds = ParseSeeds(*args.option("--seeds"));
    if (const std::string* chunk = args.option("--chunk")) {
        const auto [i, n] = *chunkFrom(*chunk);
        const auto [first, end] = ChunkBounds(seeds.size(), i, n);
        seeds = std::vector<uint64_t>(seeds.begin() + static_cast<std::ptrdiff_t>(first),
                                      seeds.begin() + static_cast<std::ptrdiff_t>(end));
    }
    const std::string path = args.option("--csv") ? *args.option("--csv") : std::string(kStandardOutput);
    if (path != kStandardOutput) requireExtension(path, ".csv", "--csv");
    const bool resume = args.option("--resume") != nullptr;
    if (resume && path == kStandardOutput) throw UsageError("--resume needs --csv with a file to continue");
    const std::string fullHeader = analysis::TournamentHeader(settings);
    const std::string header = args.option("--no-header") ? "" : fullHeader;
    const std::string prefix = analysis::TournamentRowPrefix(KALEIDOMAT_VERSION, settings);
    const std::size_t threads =
        args.number("--threads").value_or(std::max(1u, std::thread::hardware_concurrency()));
    const bool showProgress = args.option("--progress") || ::isatty(STDERR_FILENO) == 1;

    if (path == kStandardOutput) {
        out << header << std::flush;
        Progress progress(err, showProgress, seeds.size());
        runSeeds(settings, seeds, threads, progress, [&](const std::string& row) {
            out << row << std::flush;
            if (!out) throw Failure("cannot write to standard output");
        });
        return kExitOk;
    }
    RowFile file(path, header, fullHeader, prefix, resume);
    std::erase_if(seeds, [&](uint64_t seed) { return file.done().count(seed) > 0; });
    Progress progress(err, showProgress, seeds.size());
    runSeeds(settings, seeds, threads, progress, [&](const std::string& row) { file.append(row); });
    file.finish();
    return kExitOk;
}

int SummarizeCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::string* svg = args.option("--svg");
    if (svg) {
        requireExtension(*svg, ".svg", "--svg");
        for (const std::string& path : args.files)
            if (sameFile(path, *svg)) throw UsageError("'" + *svg + "' is the input file '" + path + "'; write the picture to another file");
    }
    std::vector<analysis::TournamentRecord> records;
    // Where each seed of each set of settings was read, to name both places of a duplicate.
    std::map<std::pair<std::string, uint64_t>, std::string> seen;
    for (const std::string& path : args.files) {
        const std::vector<uint8_t> bytes = ReadWholeFile(path);
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::size_t lineNumber = 0;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find('\n', start);
            ++lineNumber;
            if (end == std::string_view::npos) {
                err << "kaleidomat-cli: " << path << ": line " << lineNumber
                    << " has no end (a run still writing, or one that was stopped) and is left out\n";
                break;
            }
            std::string_view line = text.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty() || analysis::IsTournamentHeader(line)) continue;
            const std::string where = path + ": line " + std::to_string(lineNumber);
            std::string problem;
            auto record = analysis::ParseTournamentRow(line, problem);
            if (!record) throw Failure(where + " " + problem);
            const auto [it, fresh] = seen.emplace(std::pair{record->settings, record->seed}, where);
            if (!fresh)
                throw Failure("seed " + std::to_string(record->seed) + " with the same settings is in " + it->second +
                              " and in " + where + "; each seed may be counted once");
            records.push_back(std::move(*record));
        }
    }
    if (records.empty()) throw Failure("no tournament rows in the files given");
    const auto summaries = analysis::SummarizeTournaments(records);
    if (svg) {
        const std::string picture = analysis::SummarySvg(summaries);
        WriteWholeFile(*svg, std::span(reinterpret_cast<const uint8_t*>(picture.data()), picture.size()));
    }
    out << analysis::SummaryText(summaries);
    return kExitOk;
}

}  // namespace cli
