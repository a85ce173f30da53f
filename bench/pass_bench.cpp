// The whole transposition pass as the Transpose command runs it on the built-in host, with and without
// keeping chord columns (which adds about forty Replace-Alls, two of them over every blank of the sheet).

#include "music/transpose.h"
#include "tests/support/prompter.h"
#include "word/builtin/host.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

using namespace word::builtin;

namespace
{

// Chord lines (chords bold, the blanks between them plain) over lyric lines.
TextDocument songSheet(int lines)
{
    static const char *const chords[] = {"G", "D/F#", "Em7", "C", "Am", "Bb", "F#m7b5", "Ebmaj7", "C#m", "N.C."};
    std::mt19937 random(7);
    CharFormat chord;
    chord.bold = true;
    StoredText stored;
    for (int line = 0; line < lines; ++line) {
        if (line % 2 == 0) {
            for (int k = 0; k < 4; ++k) {
                stored.append(chords[std::uniform_int_distribution<std::size_t>(0, std::size(chords) - 1)(random)],
                              chord);
                stored.append("    ", CharFormat{});
            }
        } else {
            stored.append("Amazing grace, how sweet the sound that saved a wretch like me", CharFormat{});
        }
        stored.append("\r", CharFormat{});
    }
    stored.append("\r", CharFormat{});
    TextDocument doc;
    doc.assign(std::move(stored));
    return doc;
}

void BM_Pass(benchmark::State &state)
{
    const int lines = static_cast<int>(state.range(0));
    music::PassOptions options;
    options.spelling = music::Spelling::Sharps;
    options.keepColumns = state.range(1) != 0;
    word::ChordFont font;
    font.useStyle = true;
    font.bold = true;
    const TextDocument original = songSheet(lines);
    Host host;
    host.open(original);
    testsupport::TestPrompter prompter; // answers Yes
    for (auto _ : state) {
        state.PauseTiming();
        TextDocument copy = original;
        host.activeText()->swap(copy);
        state.ResumeTiming();
        word::UndoGroup undo(host, "Transpose");
        music::ReplaceChords(host, prompter, font, options, 2);
    }
    state.counters["lines"] = lines;
}

} // namespace

BENCHMARK(BM_Pass)
    ->ArgNames({"lines", "keepColumns"})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
