#pragma once

// What the LibreOffice benchmarks share: the Replace-Alls a command makes (read from the built-in host's
// call log), the song sheets they run on, and the timing of floor against ours.

#include "word/automation.h"
#include "word/replacetext.h"
#include "word/uno/unohost.h"

#include <functional>
#include <string>
#include <vector>

namespace unobench
{

/// The chord font of the benchmarks: bold.
word::ChordFont boldFont();

/// One Replace-All of a command: what the office needs to know of it.
struct Call {
    std::string find, replace;
    bool wildcards = false;
    bool boldCriterion = false; ///< Find.Font.Bold
    bool boldReplacement = false; ///< Find.Replacement.Font.Bold
};

/// Every Execute command makes, with its settings, run on the built-in host over a one-chord sheet.
std::vector<Call> replaceAlls(const std::function<void(word::Application &)> &command);

/// One transposition pass by delta semitones in the bold chord font, in one undo group, as the Transpose
/// command makes it.
void transposePass(word::Application &app, int delta, bool keepColumns = false);

/// lines lines: chord lines of four bold chords, the blanks between them plain, over lyric lines.
std::vector<word::uno::TextRun> songSheet(int lines);

/// How long f takes, in milliseconds.
double milliseconds(const std::function<void()> &f);

/// The floor's and our medians, in milliseconds.
struct Row {
    const char *what;
    double floor, ours;
};

/// Untimed steps around the floor's runs of a row.
struct Setup {
    std::function<void()> beforeFloor; ///< e.g. a fresh sheet, for a command that changes it the first time
    std::function<void()> afterFloor; ///< e.g. the bare calls taken back
};

/// Runs floor and ours alternately, runs times each after one warm-up, and gives the medians.
Row measure(const char *what,
            int runs,
            const std::function<void()> &floor,
            const std::function<void()> &ours,
            const Setup &setup = {});

/// Prints row as a line of the table: "<lines> lines, <what>" (what padded to width), the floor, ours, their ratio.
void printRow(int lines, const Row &row, int width);

} // namespace unobench
