// One transposition pass (29 formatted Replace-Alls) over a 2,000-line song sheet in a headless
// LibreOffice Writer, inside one undo step with the document's redrawing held back.
//   build/uno/bench/uno/uno_bench  (or build/release/...: cmake -DTONVALE_UNO=ON)

#include "word/builtin/host.h"
#include "word/replacetext.h"
#include "word/uno/unohost.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

struct Phase {
    const char *find;
    int tone;
};

// The note names in the order the pass replaces them (two-letter names first) with their tone numbers.
constexpr Phase phaseOne[] = {{"Bb", 2},
                              {"Db", 5},
                              {"Eb", 7},
                              {"Gb", 10},
                              {"Ab", 12},
                              {"A#", 2},
                              {"C#", 5},
                              {"D#", 7},
                              {"F#", 10},
                              {"G#", 12},
                              {"A", 1},
                              {"B", 3},
                              {"C", 4},
                              {"D", 6},
                              {"E", 8},
                              {"F", 9},
                              {"G", 11}};
constexpr const char *flatNames[] = {"", "A", "Bb", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};
constexpr int phaseTwo[] = {2, 5, 7, 10, 12, 1, 3, 4, 6, 8, 9, 11};

int shifted(int tone, int delta)
{
    return ((tone - 1 + delta) % 12 + 12) % 12 + 1;
}

std::string marker(int tone)
{
    return "*:" + std::to_string(tone) + ":*";
}

// The pass as the Transpose command runs it: 17 note names to markers, 12 markers to names.
void transpose(word::Application &app, const word::ChordFont &font, int delta, bool oneUndoStep)
{
    std::optional<word::UndoGroup> group;
    if (oneUndoStep) {
        group.emplace(app, "Transpose");
    }
    for (const auto &step : phaseOne) {
        word::ReplaceText(app, font, step.find, marker(shifted(step.tone, delta)), false);
    }
    for (const int tone : phaseTwo) {
        word::ReplaceText(app, font, marker(tone), flatNames[tone], false);
    }
    app.ScreenRefresh();
}

// 1,000 bold chord lines over 1,000 lyric lines.
std::vector<word::uno::TextRun> songSheet()
{
    const char *chords[] = {"C", "G/B", "Am7", "F#m7b5", "Bb", "Ebmaj7", "D7sus4", "E"};
    const char *lyrics = "Amazing grace how sweet the sound that saved a wretch like me";
    std::vector<word::uno::TextRun> runs;
    for (int line = 0; line < 1000; ++line) {
        for (int k = 0; k < 4; ++k) {
            word::uno::TextRun chord;
            chord.text = chords[(line + k) % 8];
            chord.bold = true;
            runs.push_back(chord);
            runs.push_back({"    "});
        }
        std::string lyricLine = "\r";
        lyricLine += lyrics;
        lyricLine += '\r';
        runs.push_back({lyricLine});
    }
    return runs;
}

struct Office {
    std::string root;
    int group = -1;
    std::unique_ptr<word::uno::Host> host;

    Office()
    {
        char dir[] = "/tmp/tonvale-uno-bench-XXXXXX";
        root = mkdtemp(dir);
        word::uno::Options options;
        options.pipeName = "tonvale-bench-" + std::to_string(getpid());
        options.headless = true;
        options.profileDir = root + "/profile";
        options.launched = [this](int g) {
            group = g;
        };
        host = word::uno::start(options);
        host->newDocument(songSheet());
        // A new document is laid out in the background for a while: warm up until it is settled.
        word::ChordFont font;
        font.useStyle = 1;
        font.bold = 1;
        for (int pass = 0; pass < 3; ++pass) {
            transpose(*host, font, 0, true);
        }
    }
    ~Office()
    {
        host.reset();
        if (group > 0) {
            kill(-group, SIGKILL);
        }
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

Office &office()
{
    static Office instance;
    return instance;
}

// Argument 1: inside one undo step with redrawing held back (as the Transpose command runs it);
// 0: every Replace-All on its own, for comparison.
void BM_UnoTransposePass(benchmark::State &state)
{
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    auto &app = *office().host; // started before the timing
    for (auto _ : state) {
        transpose(app, font, 2, state.range(0) == 1);
    }
}
BENCHMARK(BM_UnoTransposePass)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The same pass over the same sheet stored with each chord line formatted as a whole (bold) and its
// blanks explicitly not bold: the office's own formatted search misses most chords there, so the
// host finds them by their text and reads their formatting.
void BM_UnoTransposePassWholeLines(benchmark::State &state)
{
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    auto &app = *office().host; // started before the timing
    app.closeAllDocuments();
    app.newDocument(songSheet(), word::uno::RunFormatting::WholeLineFirst);
    transpose(app, font, 0, true);
    for (auto _ : state) {
        transpose(app, font, 2, true);
    }
    app.closeAllDocuments();
    app.newDocument(songSheet());
}
BENCHMARK(BM_UnoTransposePassWholeLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The chord marking's twenty formatting-only wildcard passes over the same sheet.
void BM_UnoMarkChords(benchmark::State &state)
{
    static const char *catalogue[] = {"<[A-G]{1}>",
                                      "<[A-G]{1}[#bMm1-79+-]{1,7}",
                                      "<[A-G]{1}[#b]{1}sus>",
                                      "<[A-G]{1}[#b]{1}sus[24]{1}",
                                      "<[A-G]{1}sus>",
                                      "<[A-G]{1}sus[24]{1}",
                                      "<[A-G]{1}[#b]{1}dim>",
                                      "<[A-G]{1}dim>",
                                      "<[A-G]{1}[#b]{1}dim7",
                                      "<[A-G]{1}dim7",
                                      "<[A-G]{1}[#b]{1}[Mm]{1}aj",
                                      "<[A-G]{1}[Mm]{1}aj",
                                      "<[A-G]{1}[#b]{1}[Mm]{1}aj[7913]{1,2}",
                                      "<[A-G]{1}[Mm]{1}aj[7913]{1,2}",
                                      "<[A-G]{1}[#b]{1}[Aa]{1}ug",
                                      "<[A-G]{1}[Aa]{1}ug",
                                      "<[A-G]{1}[#b]{1}[Aa]{1}dd[249]{1}",
                                      "<[A-G]{1}[Aa]{1}dd[249]{1}",
                                      "<[A-G]{1}[#b]{1}7[Aa]{1}dd[249]{1}",
                                      "<[A-G]{1}7[Aa]{1}dd[249]{1}"};
    auto &app = *office().host;
    for (auto _ : state) {
        word::UndoGroup group(app, "Mark Chords");
        for (const char *pattern : catalogue) {
            auto find = app.selection()->find();
            find->ClearFormatting();
            find->ClearReplacementFormatting();
            find->setText(pattern);
            find->setReplacementText("");
            find->setFormat(true);
            find->setMatchWildcards(true);
            find->setReplacementFont(word::FontProperty::Bold, word::wdTrue);
            find->Execute(word::wdReplaceAll);
        }
    }
}
BENCHMARK(BM_UnoMarkChords)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The same pass over the same sheet on the built-in host, for comparison.
void BM_BuiltinTransposePass(benchmark::State &state)
{
    std::string notation;
    for (const auto &run : songSheet()) {
        for (const char c : run.text) {
            if (c == '\r') {
                notation += '\n';
            } else {
                notation += c;
            }
        }
        if (run.bold) {
            notation.insert(notation.size() - run.text.size(), "{b|");
            notation += '}';
        }
    }
    word::builtin::Host host;
    host.open(word::builtin::fromNotation(notation));
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    for (auto _ : state) {
        transpose(host, font, 2, true);
    }
}
BENCHMARK(BM_BuiltinTransposePass)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
