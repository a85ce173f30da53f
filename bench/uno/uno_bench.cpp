// One transposition pass (29 formatted Replace-Alls) over a 2,000-line song sheet in a headless
// LibreOffice Writer, inside one undo step with the document's redrawing held back.
//   build/uno/bench/uno/uno_bench  (or build/release/...: cmake -DTONVALE_UNO=ON)

#include "chords/marking.h"
#include "music/transpose.h"
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

class AnswerNo : public word::Prompter
{
public:
    word::Answer show(const word::Message &) override
    {
        return word::Answer::No;
    }
};

// The pass as the Transpose command runs it: 17 note names to markers, 12 markers to names.
void transpose(word::Application &app, const word::ChordFont &font, int delta, bool oneUndoStep)
{
    std::optional<word::UndoGroup> group;
    if (oneUndoStep) {
        group.emplace(app, "Transpose");
    }
    AnswerNo prompter; // never asked: the chord font is bold
    music::ReplaceChords(app, prompter, font, {}, delta);
}

// 1,000 bold chord lines over 1,000 lyric lines; wholeLines makes each chord line bold as a whole,
// blanks too (as a line made bold at once).
std::vector<word::uno::TextRun> songSheet(bool wholeLines = false)
{
    const char *chords[] = {"C", "G/B", "Am7", "F#m7b5", "Bb", "Ebmaj7", "D7sus4", "E"};
    const char *lyrics = "Amazing grace how sweet the sound that saved a wretch like me";
    std::vector<word::uno::TextRun> runs;
    for (int line = 0; line < 1000; ++line) {
        for (int k = 0; k < 4; ++k) {
            word::uno::TextRun chord;
            chord.text = chords[(line + k) % 8];
            chord.bold = true;
            if (wholeLines && k > 0) {
                runs.back().text += chord.text; // one bold run: the line is made bold at once
            } else {
                runs.push_back(chord);
            }
            if (wholeLines) {
                runs.back().text += "    ";
            } else {
                runs.push_back({"    "});
            }
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

// The pass with "Keep Chord Columns", in one undo step: every blank of the sheet is stood in for and back.
void BM_UnoTransposePassKeepingColumns(benchmark::State &state)
{
    word::ChordFont font;
    font.useStyle = true;
    font.bold = true;
    music::PassOptions options;
    options.keepColumns = true;
    auto &app = *office().host;
    for (auto _ : state) {
        word::UndoGroup group(app, "Transpose");
        AnswerNo prompter;
        music::ReplaceChords(app, prompter, font, options, 2);
    }
}
BENCHMARK(BM_UnoTransposePassKeepingColumns)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

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

// The same pass over the same sheet with each chord line bold as a whole and no run overriding
// it: the office's own formatted search finds every chord there.
void BM_UnoTransposePassBoldLines(benchmark::State &state)
{
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    auto &app = *office().host; // started before the timing
    app.closeAllDocuments();
    app.newDocument(songSheet(true));
    transpose(app, font, 0, true);
    for (auto _ : state) {
        transpose(app, font, 2, true);
    }
    app.closeAllDocuments();
    app.newDocument(songSheet());
}
BENCHMARK(BM_UnoTransposePassBoldLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The chord marking's twenty formatting-only wildcard passes over the same sheet.
void BM_UnoMarkChords(benchmark::State &state)
{
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    auto &app = *office().host;
    for (auto _ : state) {
        word::UndoGroup group(app, "Mark Chords");
        for (const auto pattern : chords::catalogue) {
            chords::FindChord(app, font, std::string(pattern));
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
