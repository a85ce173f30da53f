// Whole-document Replace-All on generated song sheets with the built-in host: one transposition
// pass (29 literal replacements in the chord font), the chord marking passes (20 wildcard
// patterns with replacement formatting), and a floor: the same needles found with
// std::string_view::find in the plain UTF-8 text.

#include "chords/marking.h"
#include "word/builtin/host.h"
#include "word/replacetext.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace word::builtin;

namespace
{

constexpr int32_t chordColor = 0x0000C0;

const char *const phaseOneNames[] =
    {"Bb", "Db", "Eb", "Gb", "Ab", "A#", "C#", "D#", "F#", "G#", "A", "B", "C", "D", "E", "F", "G"};
const int phaseOneTones[] = {2, 5, 7, 10, 12, 2, 5, 7, 10, 12, 1, 3, 4, 6, 8, 9, 11};
const char *const phaseTwo[][2] = {{"*:2:*", "Bb"},
                                   {"*:5:*", "Db"},
                                   {"*:7:*", "Eb"},
                                   {"*:10:*", "Gb"},
                                   {"*:12:*", "Ab"},
                                   {"*:1:*", "A"},
                                   {"*:3:*", "B"},
                                   {"*:4:*", "C"},
                                   {"*:6:*", "D"},
                                   {"*:8:*", "E"},
                                   {"*:9:*", "F"},
                                   {"*:11:*", "G"}};

// A song sheet of the given number of lines: chord lines (chords bold and coloured, the spaces
// between them plain) alternating with plain lyric lines.
TextDocument songSheet(int lines)
{
    static const char *const chords[] =
        {"G", "D/F#", "Em7", "C", "Am", "Bb", "F#m7b5", "Ebmaj7", "C#m", "Ab", "Dsus4", "E7", "Gb", "B7", "Fadd9", "A"};
    static const char *const words[] = {"Amazing", "grace",  "how",  "sweet", "the",  "sound", "that", "saved",
                                        "a",       "wretch", "like", "me",    "I",    "once",  "was",  "lost",
                                        "but",     "now",    "am",   "found", "Dear", "Bella", "Ebb",  "Gently"};
    std::mt19937 random(7);
    auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const CharFormat plain;
    CharFormat chord;
    chord.bold = true;
    chord.color = chordColor;
    StoredText stored;
    auto put = [&](std::string_view text, const CharFormat &format) {
        stored.append(text, format);
    };
    for (int line = 0; line < lines; ++line) {
        if (line % 2 == 0) {
            for (int k = 0; k < 4; ++k) {
                put(chords[pick(std::size(chords))], chord);
                put("    ", plain);
            }
        } else {
            for (int k = 0; k < 7; ++k) {
                put(words[pick(std::size(words))], plain);
                put(" ", plain);
            }
        }
        put("\r", plain);
    }
    put("\r", plain);
    TextDocument doc;
    doc.assign(std::move(stored));
    return doc;
}

void transpositionPass(Host &host, int delta)
{
    const word::ChordFont font{1, 1, 1, 0, 0, chordColor};
    for (std::size_t i = 0; i < std::size(phaseOneNames); ++i) {
        const int tone = (phaseOneTones[i] + delta + 11) % 12 + 1;
        word::ReplaceText(host, font, phaseOneNames[i], "*:" + std::to_string(tone) + ":*", false);
    }
    for (const auto &step : phaseTwo) {
        word::ReplaceText(host, font, step[0], step[1], false);
    }
}

void markingPasses(Host &host)
{
    word::ChordFont bold;
    bold.useStyle = 1;
    bold.bold = 1;
    for (const auto pattern : chords::catalogue) {
        chords::FindChord(host, bold, std::string(pattern));
    }
}

// The floor: every occurrence of the 29 needles found in the plain text.
std::size_t floorScan(std::string_view text)
{
    std::size_t hits = 0;
    auto scan = [&](std::string_view needle) {
        for (std::size_t p = text.find(needle); p != std::string_view::npos; p = text.find(needle, p + needle.size())) {
            ++hits;
        }
    };
    for (const char *name : phaseOneNames) {
        scan(name);
    }
    for (const auto &step : phaseTwo) {
        scan(step[0]);
    }
    return hits;
}

// Processor time, which other load on the machine does not inflate.
double cpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double floorSeconds(const std::string &text)
{
    constexpr int rounds = 20;
    const double start = cpuSeconds();
    for (int r = 0; r < rounds; ++r) {
        benchmark::DoNotOptimize(floorScan(text));
    }
    return (cpuSeconds() - start) / rounds;
}

void setLineCounters(benchmark::State &state, int lines)
{
    state.counters["lines"] = lines;
    state.counters["per_line"] =
        benchmark::Counter(lines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_TranspositionPass(benchmark::State &state)
{
    const int lines = static_cast<int>(state.range(0));
    const TextDocument original = songSheet(lines);
    Host host;
    host.open(original);
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TextDocument copy = original;
        host.activeText()->swap(copy);
        state.ResumeTiming();
        const double start = cpuSeconds();
        {
            word::UndoGroup undo(host, "Transpose"); // as the Transpose command makes it
            transpositionPass(host, 2);
        }
        total += cpuSeconds() - start;
    }
    setLineCounters(state, lines);
    state.counters["x_floor"] = (total / static_cast<double>(state.iterations())) / floorSeconds(original.bytes());
}

void BM_MarkingPasses(benchmark::State &state)
{
    const int lines = static_cast<int>(state.range(0));
    const TextDocument original = songSheet(lines);
    Host host;
    host.open(original);
    for (auto _ : state) {
        state.PauseTiming();
        TextDocument copy = original;
        host.activeText()->swap(copy);
        state.ResumeTiming();
        markingPasses(host);
    }
    setLineCounters(state, lines);
}

void BM_FloorFind(benchmark::State &state)
{
    const int lines = static_cast<int>(state.range(0));
    const std::string text = songSheet(lines).bytes();
    for (auto _ : state) {
        benchmark::DoNotOptimize(floorScan(text));
    }
    setLineCounters(state, lines);
}

BENCHMARK(BM_TranspositionPass)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkingPasses)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorFind)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
