// The LibreOffice Writer host against the office's own speed. For song sheets of 50 to 2,000 lines,
// each in two formats, one table in one run:
//   floor  the bare office calls the command needs, from a client over a pipe: one search descriptor,
//          controllers locked, one undo context, then for each Replace-All of the command its
//          search and replacement (a wildcard pattern as a regular expression), the bold search
//          attribute where the command searches in the chord font, and replaceAll (a formatting-only
//          pass of the chord marking: the match replaced by itself in bold);
//   ours   the same command through the host (ReplaceChords, also keeping chord columns; the
//          twenty FindChord passes);
//   ratio  ours / floor.
// On lines bold as a whole the office's own formatted search finds only each line's first chord, so
// the floor there does a fraction of the work; the first command on such a sheet gives the chords
// their font run by run (once), and the later ones search the office's own way.
// Medians of the runs, which alternate between the two. Build and run: ./dev bench uno
//   (build/uno-release/bench/uno/uno_bench [runs [sizes, as 50,400]]).

#include "chords/marking.h"
#include "music/transpose.h"
#include "word/builtin/host.h"
#include "word/replacetext.h"
#include "word/uno/office.h"
#include "word/uno/unohost.h"
#include "word/uno/wildcards.h"

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XPropertyReplace.hpp>
#include <com/sun/star/util/XReplaceable.hpp>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{

namespace css = ::com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

rtl::OUString ou(const std::string &s)
{
    return rtl::OUString(s.data(), static_cast<sal_Int32>(s.size()), RTL_TEXTENCODING_UTF8);
}

word::ChordFont boldFont()
{
    word::ChordFont font;
    font.useStyle = true;
    font.bold = true;
    return font;
}

class AnswerNo : public word::Prompter
{
public:
    word::Answer show(const word::Message &) override
    {
        return word::Answer::No;
    }
};

// One Replace-All of a command: what the office needs to know of it.
struct Call {
    std::string find, replace;
    bool wildcards = false;
    bool boldCriterion = false; // Find.Font.Bold
    bool boldReplacement = false; // Find.Replacement.Font.Bold
};

// Every Execute a command makes, with its settings, as the built-in host logs them.
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

void transposePass(word::Application &app, int delta, bool keepColumns = false)
{
    word::UndoGroup group(app, "Transpose");
    AnswerNo prompter; // never asked: the chord font is bold
    music::PassOptions options;
    options.keepColumns = keepColumns;
    music::ReplaceChords(app, prompter, boldFont(), options, delta);
}

void markChords(word::Application &app)
{
    word::UndoGroup group(app, "Find and Mark Chords");
    for (const auto pattern : chords::catalogue) {
        chords::FindChord(app, boldFont(), std::string(pattern));
    }
}

enum class Format {
    RunByRun, ///< each chord bold on its own, the blanks between them plain
    WholeLines, ///< each chord line made bold as a whole, then its blanks not bold
};

// lines lines: chord lines of four bold chords over lyric lines.
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

// The office, and a second connection to it that makes the bare calls.
struct Office {
    std::string root;
    int group = -1;
    word::uno::Options options;
    std::unique_ptr<word::uno::Host> host;
    word::uno::PipeConnection bare;
    Reference<css::frame::XDesktop2> desktop;

    Office()
    {
        char dir[] = "/tmp/tonvale-uno-bench-XXXXXX";
        root = mkdtemp(dir);
        options.pipeName = "tonvale-bench-" + std::to_string(getpid());
        options.headless = true;
        options.profileDir = root + "/profile";
        options.launched = [this](int g) {
            group = g;
        };
        host = word::uno::start(options);
        bare = word::uno::connectPipe(options.pipeName);
        desktop = css::frame::Desktop::create(bare.remote);
    }
    ~Office()
    {
        host.reset();
        try {
            bare.bridge->dispose();
        } catch (...) {
        }
        if (group > 0) {
            kill(-group, SIGKILL);
        }
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // The bare calls over the active document: one replaceAll each, the descriptor told what changes.
    void bareCalls(const std::vector<Call> &calls)
    {
        Reference<css::text::XTextDocument> doc(desktop->getCurrentComponent(), UNO_QUERY_THROW);
        Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
        const auto undo = Reference<css::document::XUndoManagerSupplier>(doc, UNO_QUERY_THROW)->getUndoManager();
        model->lockControllers();
        undo->enterUndoContext(ou("bare"));
        Reference<css::util::XReplaceable> replaceable(doc, UNO_QUERY_THROW);
        const auto descriptor = replaceable->createReplaceDescriptor();
        Reference<css::beans::XPropertySet> settings(descriptor, UNO_QUERY_THROW);
        settings->setPropertyValue(ou("SearchCaseSensitive"), Any(true));
        css::uno::Sequence<css::beans::PropertyValue> bold(1);
        bold.getArray()[0].Name = ou("CharWeight");
        bold.getArray()[0].Value <<= css::awt::FontWeight::BOLD;
        Reference<css::util::XPropertyReplace> attributes(descriptor, UNO_QUERY_THROW);
        std::optional<bool> regex, criterion, formatting;
        for (const auto &call : calls) {
            const bool markOnly = call.boldReplacement && call.replace.empty();
            if (regex != (call.wildcards || markOnly)) {
                regex = call.wildcards || markOnly;
                settings->setPropertyValue(ou("SearchRegularExpression"), Any(*regex));
            }
            if (criterion != call.boldCriterion) {
                criterion = call.boldCriterion;
                settings->setPropertyValue(ou("SearchStyles"), Any(*criterion));
                attributes->setSearchAttributes(*criterion ? bold : css::uno::Sequence<css::beans::PropertyValue>());
            }
            if (formatting != call.boldReplacement) {
                formatting = call.boldReplacement;
                attributes->setReplaceAttributes(*formatting ? bold : css::uno::Sequence<css::beans::PropertyValue>());
            }
            descriptor->setSearchString(ou(call.wildcards ? word::uno::wildcardToRegex(call.find) : call.find));
            descriptor->setReplaceString(ou(markOnly             ? "&"
                                                : call.wildcards ? word::uno::wildcardReplacementToRegex(call.replace)
                                                                 : call.replace));
            replaceable->replaceAll(Reference<css::util::XSearchDescriptor>(descriptor.get()));
        }
        undo->leaveUndoContext();
        model->unlockControllers();
    }

    // Takes the bare calls back (untimed): replayed without the command's own checks, the steps that
    // keep chord columns may leave characters behind that the command would then refuse.
    void undoBareCalls()
    {
        Reference<css::document::XUndoManagerSupplier>(desktop->getCurrentComponent(), UNO_QUERY_THROW)
            ->getUndoManager()
            ->undo();
    }
};

double milliseconds(const std::function<void()> &f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct Row {
    const char *what;
    double floor, ours;
};

// Untimed steps around the runs of a row.
struct Setup {
    std::function<void()> beforeFloor; // e.g. a fresh sheet, for a command that changes it the first time
    std::function<void()> afterFloor; // e.g. the bare calls taken back
};

// Runs floor and ours alternately, runs times each after one warm-up, and gives the medians.
Row measure(const char *what,
            int runs,
            const std::function<void()> &floor,
            const std::function<void()> &ours,
            const Setup &setup = {})
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

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<int> sizes{50, 100, 400, 2000};
    if (argc > 2) { // a list of sizes of its own: "50,400"
        sizes.clear();
        for (const char *p = argv[2]; *p;) {
            char *end = nullptr;
            sizes.push_back(static_cast<int>(std::strtol(p, &end, 10)));
            p = *end ? end + 1 : end;
        }
    }
    const auto transposition = replaceAlls([](word::Application &app) {
        transposePass(app, 0);
    });
    const auto keepingColumns = replaceAlls([](word::Application &app) {
        transposePass(app, 0, true);
    });
    const auto marking = replaceAlls([](word::Application &app) {
        markChords(app);
    });
    try {
        Office office;
        auto &host = *office.host;
        std::printf("%-50s %10s %10s %7s\n", "LibreOffice Writer, median of runs", "floor ms", "ours ms", "ratio");
        for (const int lines : sizes) {
            std::vector<Row> rows;
            for (const auto format : {Format::RunByRun, Format::WholeLines}) {
                const auto freshSheet = [&] {
                    host.closeAllDocuments();
                    host.newDocument(songSheet(lines),
                                     format == Format::RunByRun ? word::uno::RunFormatting::Defaults
                                                                : word::uno::RunFormatting::WholeLineFirst);
                };
                freshSheet();
                // A shift of 0 leaves the sheet as it is (after its first run has spelt F# as Gb), so
                // that every run works on the same text. Lines bold as a whole are given their chord
                // font run by run by the first command: each run has a sheet of its own then.
                rows.push_back(measure(
                    format == Format::RunByRun ? "transpose, chords bold run by run"
                                               : "transpose, chord lines bold as a whole",
                    runs,
                    [&] {
                        office.bareCalls(transposition);
                    },
                    [&] {
                        transposePass(host, 0);
                    },
                    format == Format::WholeLines ? Setup{freshSheet, {}} : Setup{}));
                if (format == Format::WholeLines) {
                    // The sheet as the first command left it: its next commands.
                    rows.push_back(measure(
                        "  the same, each later command",
                        runs,
                        [&] {
                            office.bareCalls(transposition);
                        },
                        [&] {
                            transposePass(host, 0);
                        }));
                }
            }
            host.closeAllDocuments();
            host.newDocument(songSheet(lines));
            rows.push_back(measure(
                "transpose keeping chord columns",
                runs,
                [&] {
                    office.bareCalls(keepingColumns);
                },
                [&] {
                    transposePass(host, 0, true);
                },
                Setup{{}, [&] {
                          office.undoBareCalls();
                      }}));
            rows.push_back(measure(
                "mark chords (20 passes)",
                runs,
                [&] {
                    office.bareCalls(marking);
                },
                [&] {
                    markChords(host);
                }));
            for (const auto &row : rows) {
                std::printf("%5d lines, %-38s %10.1f %10.1f %7.2f\n",
                            lines,
                            row.what,
                            row.floor,
                            row.ours,
                            row.ours / row.floor);
            }
            std::fflush(stdout);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
