// The LibreOffice extension's Transpose against the office's own calls, both inside the office, on
// song sheets of 100 and 400 lines in a headless office with the freshly built package installed:
//   floor  the bare calls of one transposition pass (one search descriptor, controllers locked, one
//          undo context, the 29 Replace-Alls with a bold search attribute) as a Basic macro of the
//          document, started with one call from this client (XScript.invoke);
//   ours   the extension's Transpose ("vnd.tonvale:transpose"), started with one dispatch;
//   ratio  ours / floor.
// Both times include one round trip from this client. Medians of the runs, which alternate.
//   build/uno/bench/uno/oxt_bench [runs]

#include "extoffice.h"
#include "music/transpose.h"
#include "word/builtin/host.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/script/XLibraryContainer.hpp>
#include <com/sun/star/script/provider/XScript.hpp>
#include <com/sun/star/script/provider/XScriptProvider.hpp>
#include <com/sun/star/script/provider/XScriptProviderSupplier.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace
{

namespace css = ::com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

class AnswerNo : public word::Prompter
{
public:
    word::Answer show(const word::Message &) override
    {
        return word::Answer::No;
    }
};

// The find and replacement texts of the pass's Replace-Alls, as the built-in host logs them.
std::vector<std::pair<std::string, std::string>> transpositionCalls(int delta)
{
    word::builtin::Host host;
    host.open(word::builtin::fromNotation("C"));
    host.setLogging(true);
    word::ChordFont font;
    font.useStyle = true;
    font.bold = true;
    AnswerNo prompter;
    music::ReplaceChords(host, prompter, font, {}, delta);
    std::vector<std::pair<std::string, std::string>> calls;
    std::string text, replacement;
    for (const auto &line : host.callLog()) {
        const auto value = [&](const std::string &prefix, std::string &to) {
            if (line.rfind(prefix, 0) == 0) {
                to = line.substr(prefix.size());
            }
        };
        value("Find.Text = ", text);
        value("Find.Replacement.Text = ", replacement);
        if (line.rfind("Find.Execute", 0) == 0) {
            calls.emplace_back(text, replacement);
        }
    }
    return calls;
}

std::string basicString(const std::string &text)
{
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

// The floor as a Basic module: the bare calls, nothing else.
std::string floorMacro(const std::vector<std::pair<std::string, std::string>> &calls)
{
    std::string code =
        "Sub Floor\n"
        "  Dim doc As Object : doc = ThisComponent\n"
        "  doc.lockControllers()\n"
        "  Dim undo As Object : undo = doc.getUndoManager()\n"
        "  undo.enterUndoContext(\"floor\")\n"
        "  Dim d As Object : d = doc.createReplaceDescriptor()\n"
        "  d.SearchCaseSensitive = True\n"
        "  d.SearchStyles = True\n"
        "  Dim bold(0) As New com.sun.star.beans.PropertyValue\n"
        "  bold(0).Name = \"CharWeight\" : bold(0).Value = com.sun.star.awt.FontWeight.BOLD\n"
        "  d.setSearchAttributes(bold())\n";
    for (const auto &[find, replace] : calls) {
        code += "  d.SearchString = " + basicString(find) + " : d.ReplaceString = " + basicString(replace)
            + " : doc.replaceAll(d)\n";
    }
    code +=
        "  undo.leaveUndoContext()\n"
        "  doc.unlockControllers()\n"
        "End Sub\n";
    return code;
}

// The macro, to be started with one call (XScript.invoke) from here.
Reference<css::script::provider::XScript> floorScript()
{
    const auto desktop = css::frame::Desktop::create(oxttest::officeContext());
    Reference<css::script::provider::XScriptProviderSupplier> doc(desktop->getCurrentComponent(), UNO_QUERY_THROW);
    return doc->getScriptProvider()->getScript(
        "vnd.sun.star.script:Standard.Bench.Floor?language=Basic&location=document");
}

void runFloor(const Reference<css::script::provider::XScript> &script)
{
    css::uno::Sequence<Any> in;
    css::uno::Sequence<sal_Int16> outIndex;
    css::uno::Sequence<Any> out;
    script->invoke(in, outIndex, out);
}

void addMacro(const std::string &code)
{
    const auto desktop = css::frame::Desktop::create(oxttest::officeContext());
    Reference<css::beans::XPropertySet> doc(desktop->getCurrentComponent(), UNO_QUERY_THROW);
    Reference<css::script::XLibraryContainer> libraries(doc->getPropertyValue("BasicLibraries"), UNO_QUERY_THROW);
    if (!libraries->hasByName("Standard")) {
        libraries->createLibrary("Standard");
    }
    Reference<css::container::XNameContainer> standard(libraries->getByName("Standard"), UNO_QUERY_THROW);
    const rtl::OUString source(code.data(), static_cast<sal_Int32>(code.size()), RTL_TEXTENCODING_UTF8);
    if (standard->hasByName("Bench")) {
        standard->replaceByName("Bench", Any(source));
    } else {
        standard->insertByName("Bench", Any(source));
    }
}

std::vector<word::uno::TextRun> songSheet(int lines)
{
    const char *chordNames[] = {"C", "G/B", "Am7", "F#m7b5", "Bb", "Ebmaj7", "D7sus4", "E"};
    const char *lyrics = "Amazing grace how sweet the sound that saved a wretch like me";
    std::vector<word::uno::TextRun> runs;
    for (int line = 0; line < lines / 2; ++line) {
        for (int k = 0; k < 4; ++k) {
            runs.push_back({chordNames[(line + k) % 8], true});
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

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void check(const oxttest::Dispatched &done, const char *what)
{
    if (!done.ok) {
        throw std::runtime_error(std::string(what) + " failed: " + done.result);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    // A shift of 0 keeps the sheet's text for every run; the calls are those of any other shift.
    const std::string oursUrl = "vnd.tonvale:transpose?Check4=1&Check1=1&Combo1=C&Combo2=C";
    const auto macro = floorMacro(transpositionCalls(0));
    int status = 0;
    try {
        auto &office = oxttest::office();
        // The floor does the pass's work: with a shift of 2 its calls turn the first chord C into D.
        office.closeAllDocuments();
        office.newDocument(songSheet(4));
        addMacro(floorMacro(transpositionCalls(2)));
        runFloor(floorScript());
        if (office.documentRuns().front().text != "D") {
            throw std::runtime_error("the floor's calls did not transpose the sheet");
        }
        std::printf("%-40s %10s %10s %7s\n", "In the office, median of runs", "floor ms", "ours ms", "ratio");
        for (const int lines : {100, 400}) {
            office.closeAllDocuments();
            office.newDocument(songSheet(lines));
            addMacro(macro);
            const auto script = floorScript();
            const auto floor = [&] {
                runFloor(script);
            };
            const auto ours = [&] {
                check(oxttest::dispatch(oursUrl), "Transpose");
            };
            floor();
            ours();
            std::vector<double> f, o;
            for (int run = 0; run < runs; ++run) {
                f.push_back(milliseconds(floor));
                o.push_back(milliseconds(ours));
            }
            const double fm = median(f), om = median(o);
            std::printf("%5d lines, transpose (29 Replace-Alls)  %10.1f %10.1f %7.2f\n", lines, fm, om, om / fm);
            std::fflush(stdout);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    oxttest::stopOffice();
    return status;
}
