#include "benchsupport.h"

#include "music/transpose.h"
#include "tests/support/prompter.h"
#include "word/builtin/host.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace unobench
{

namespace
{

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

word::ChordFont boldFont()
{
    word::ChordFont font;
    font.useStyle = true;
    font.bold = true;
    return font;
}

std::vector<Call> replaceAlls(const std::function<void(word::Application &)> &command)
{
    word::builtin::Host host;
    host.open(word::builtin::fromNotation("C"));
    host.setLogging(true);
    command(host);
    std::vector<Call> calls;
    Call call;
    for (const auto &line : host.callLog()) {
        const auto value = [&](const std::string &prefix, std::string &to) {
            if (line.rfind(prefix, 0) == 0) {
                to = line.substr(prefix.size());
            }
        };
        value("Find.Text = ", call.find);
        value("Find.Replacement.Text = ", call.replace);
        if (line == "Find.ClearFormatting") {
            call.boldCriterion = false;
        } else if (line == "Find.Replacement.ClearFormatting") {
            call.boldReplacement = false;
        } else if (line == "Find.Font.Bold = -1") {
            call.boldCriterion = true;
        } else if (line == "Find.Replacement.Font.Bold = -1") {
            call.boldReplacement = true;
        } else if (line.rfind("Find.MatchWildcards = ", 0) == 0) {
            call.wildcards = line == "Find.MatchWildcards = True";
        } else if (line.rfind("Find.Execute", 0) == 0) {
            calls.push_back(call);
        }
    }
    return calls;
}

void transposePass(word::Application &app, int delta, bool keepColumns)
{
    word::UndoGroup group(app, "Transpose");
    testsupport::TestPrompter prompter; // never asked: the chord font is bold
    prompter.answer = word::Answer::No;
    music::PassOptions options;
    options.keepColumns = keepColumns;
    music::ReplaceChords(app, prompter, boldFont(), options, delta);
}

std::vector<word::uno::TextRun> songSheet(int lines)
{
    const char *chordNames[] = {"C", "G/B", "Am7", "F#m7b5", "Bb", "Ebmaj7", "D7sus4", "E"};
    const char *lyrics = "Amazing grace how sweet the sound that saved a wretch like me";
    std::vector<word::uno::TextRun> runs;
    for (int line = 0; line < lines / 2; ++line) {
        for (int k = 0; k < 4; ++k) {
            word::uno::TextRun chord;
            chord.text = chordNames[(line + k) % 8];
            chord.bold = true;
            runs.push_back(chord);
            runs.push_back({"    "});
        }
        runs.push_back({std::string("\r") + lyrics + "\r"});
    }
    return runs;
}

double milliseconds(const std::function<void()> &f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

Row measure(const char *what,
            int runs,
            const std::function<void()> &floor,
            const std::function<void()> &ours,
            const Setup &setup)
{
    const auto floorRun = [&] {
        if (setup.beforeFloor) {
            setup.beforeFloor();
        }
        const double ms = milliseconds(floor);
        if (setup.afterFloor) {
            setup.afterFloor();
        }
        return ms;
    };
    floorRun();
    ours();
    std::vector<double> f, o;
    for (int run = 0; run < runs; ++run) {
        f.push_back(floorRun());
        o.push_back(milliseconds(ours));
    }
    return {what, median(f), median(o)};
}

void printRow(int lines, const Row &row, int width)
{
    std::printf("%5d lines, %-*s %10.1f %10.1f %7.2f\n",
                lines,
                width,
                row.what,
                row.floor,
                row.ours,
                row.ours / row.floor);
}

} // namespace unobench
