// The LibreOffice extension's Transpose against the office's own calls, both inside the office, on
// song sheets of 100 and 400 lines in a headless office with the freshly built package installed:
//   floor  the bare calls of one transposition pass (one search descriptor, controllers locked, one
//          undo context, the 29 Replace-Alls with a bold search attribute) as a Basic macro of the
//          document, started with one call from this client (XScript.invoke);
//   ours   the extension's Transpose ("vnd.tonvale:transpose"), started with one dispatch;
//   ratio  ours / floor.
// Both times include one round trip from this client. Medians of the runs, which alternate.
//   build/uno/bench/uno/oxt_bench [runs]

#include "benchsupport.h"
#include "extoffice.h"
#include "word/uno/names.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/script/XLibraryContainer.hpp>
#include <com/sun/star/script/provider/XScript.hpp>
#include <com/sun/star/script/provider/XScriptProvider.hpp>
#include <com/sun/star/script/provider/XScriptProviderSupplier.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace
{

using namespace word::uno::names;
using namespace unobench;

// The find and replacement texts of a transposition pass's Replace-Alls.
std::vector<Call> transpositionCalls(int delta)
{
    return replaceAlls([delta](word::Application &app) {
        transposePass(app, delta);
    });
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
std::string floorMacro(const std::vector<Call> &calls)
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
    for (const auto &call : calls) {
        code += "  d.SearchString = " + basicString(call.find) + " : d.ReplaceString = " + basicString(call.replace)
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
            printRow(lines, measure("transpose (29 Replace-Alls)", runs, floor, ours), 28);
            std::fflush(stdout);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    oxttest::stopOffice();
    return status;
}
