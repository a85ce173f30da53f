// One transposition pass (29 formatted Replace-Alls) over a 2,000-line song sheet in a headless
// LibreOffice Writer, inside one undo step with the document's redrawing held back.
//   build/uno/bench/uno/uno_bench  (or build/release/...: cmake -DTONVALE_UNO=ON)

#include "word/replacetext.h"
#include "word/uno/unohost.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
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
void transpose(word::Application &app, const word::ChordFont &font, int delta)
{
    word::UndoGroup group(app, "Transpose");
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

void BM_UnoTransposePass(benchmark::State &state)
{
    static Office office;
    word::ChordFont font;
    font.useStyle = 1;
    font.bold = 1;
    for (auto _ : state) {
        transpose(*office.host, font, 2);
    }
}
BENCHMARK(BM_UnoTransposePass)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
