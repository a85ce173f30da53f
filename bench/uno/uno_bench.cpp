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
// their font run by run (once, inside the office where it can load the host's library), and the
// later ones search the office's own way. A third row for such sheets sets that first command
// against the floor of the later ones: the same bare calls where they find every chord.
// Medians of the runs, which alternate between the two. Build and run: ./dev bench uno
//   (build/uno-release/bench/uno/uno_bench [runs [sizes, as 50,400]]; TONVALE_OFFICE_LIBRARY= before it
//   does without the host's library inside the office).

#include "benchsupport.h"
#include "chords/marking.h"
#include "word/replacetext.h"
#include "word/uno/names.h"
#include "word/uno/office.h"
#include "word/uno/strings.h"
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

using namespace word::uno::names;
using namespace unobench;
using word::uno::ou;

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
        std::printf("The host's library inside the office: %s\n",
                    host.officeJobLoaded() ? "loaded" : "not loaded, its work goes over the pipe");
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
                    const Row &first = rows[rows.size() - 2];
                    rows.push_back(Row{"  first command, floor finding all", rows.back().floor, first.ours});
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
                printRow(lines, row, 38);
            }
            std::fflush(stdout);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
