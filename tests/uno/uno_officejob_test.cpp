// The host's library inside the office: the office loads it, the host uses it unless told not to,
// and its job moves the chord font's values from a paragraph onto the runs that show them.

#include "support/office.h"
#include "word/uno/names.h"
#include "word/uno/office.h"
#include "word/uno/strings.h"

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/lang/XSingleComponentFactory.hpp>
#include <com/sun/star/loader/XImplementationLoader.hpp>
#include <com/sun/star/registry/XRegistryKey.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <osl/file.hxx>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{

using namespace word::uno::names;
using word::uno::ou;
using word::uno::utf8;

using unotest::office;
using word::uno::RunFormatting;

Reference<css::uno::XComponentContext> context()
{
    return word::uno::connectPipe(unotest::officeOptions().pipeName).remote;
}

// The job, loaded by the office from the library this build made.
Reference<css::task::XJob> job()
{
    const auto remote = context();
    Reference<css::loader::XImplementationLoader> loader(
        remote->getServiceManager()->createInstanceWithContext(ou("com.sun.star.loader.SharedLibrary"), remote),
        UNO_QUERY_THROW);
    OUString url;
    osl::FileBase::getFileURLFromSystemPath(ou(TONVALE_OFFICE_LIBRARY_BUILT), url);
    Reference<css::lang::XSingleComponentFactory> factory(
        loader->activate(ou("org.tonvale.office.ParagraphRuns"), OUString(), url, nullptr),
        UNO_QUERY_THROW);
    return Reference<css::task::XJob>(factory->createInstanceWithContext(remote), UNO_QUERY_THROW);
}

Reference<css::text::XTextDocument> activeDocument()
{
    return {css::frame::Desktop::create(context())->getCurrentComponent(), UNO_QUERY_THROW};
}

// The weight the first paragraph gives its text, and the text and weight of each of its portions.
std::pair<float, std::vector<std::pair<std::string, float>>> firstParagraphWeights()
{
    Reference<css::container::XEnumerationAccess> body(activeDocument()->getText(), UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> paragraph(body->createEnumeration()->nextElement(), UNO_QUERY_THROW);
    float given = 0;
    paragraph->getPropertyValue(ou("CharWeight")) >>= given;
    std::vector<std::pair<std::string, float>> portions;
    const auto runs = Reference<css::container::XEnumerationAccess>(paragraph, UNO_QUERY_THROW)->createEnumeration();
    while (runs->hasMoreElements()) {
        Reference<css::text::XTextRange> run(runs->nextElement(), UNO_QUERY_THROW);
        float weight = 0;
        Reference<css::beans::XPropertySet>(run, UNO_QUERY_THROW)->getPropertyValue(ou("CharWeight")) >>= weight;
        portions.emplace_back(utf8(run->getString()), weight);
    }
    return {given, portions};
}

// The job's arguments: the document, bold as the criterion where withCriteria, and move where given.
Sequence<css::beans::NamedValue> arguments(const Any &document, bool withCriteria, std::optional<bool> move = {})
{
    css::beans::PropertyValue bold;
    bold.Name = ou("CharWeight");
    bold.Value <<= css::awt::FontWeight::BOLD;
    std::vector<css::beans::NamedValue> out{{ou("Document"), document}};
    if (withCriteria) {
        out.emplace_back(ou("Criteria"), Any(Sequence<css::beans::PropertyValue>(&bold, 1)));
    }
    if (move) {
        out.emplace_back(ou("Move"), Any(*move));
    }
    return {out.data(), static_cast<sal_Int32>(out.size())};
}

bool answer(const Any &value)
{
    bool out = false;
    EXPECT_TRUE(value >>= out);
    return out;
}

TEST(HostsJobInsideTheOffice, IsUsedUnlessTheLibraryIsSetEmpty)
{
    const char *chosen = std::getenv("TONVALE_OFFICE_LIBRARY");
    EXPECT_EQ(office().officeJobLoaded(), chosen == nullptr || *chosen != '\0');
}

TEST(HostsJobInsideTheOffice, MovesTheBoldOfAWholeLineOntoItsChords)
{
    auto &host = office();
    host.closeAllDocuments();
    // The whole line bold as its paragraph's, its blanks then made not bold.
    host.newDocument(unotest::runsFromNotation("{b|G}  {b|D7}\nlyrics"), RunFormatting::WholeLineFirst);
    ASSERT_EQ(firstParagraphWeights().first, css::awt::FontWeight::BOLD);

    EXPECT_TRUE(answer(job()->execute(arguments(Any(activeDocument()), true, true))));

    const auto [given, portions] = firstParagraphWeights();
    EXPECT_EQ(given, css::awt::FontWeight::NORMAL);
    const std::vector<std::pair<std::string, float>> expected{{"G", css::awt::FontWeight::BOLD},
                                                              {"  ", css::awt::FontWeight::NORMAL},
                                                              {"D7", css::awt::FontWeight::BOLD}};
    EXPECT_EQ(portions, expected);
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), "{b|G}  {b|D7}\nlyrics");
}

TEST(HostsJobInsideTheOffice, OnlyTellsUnlessAskedToMove)
{
    const struct {
        const char *sheet;
        RunFormatting formatting;
        bool mayBeMissed;
    } rows[] = {
        {"{b|G}  {b|D7}\nlyrics", RunFormatting::WholeLineFirst, true},
        {"{b|G}  {b|D7}\nlyrics", RunFormatting::Defaults, false}, // bold run by run
        {"{b|G D7}\nlyrics", RunFormatting::WholeLineFirst, false}, // nothing overrides the line's bold
    };
    auto &host = office();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.sheet);
        host.closeAllDocuments();
        host.newDocument(unotest::runsFromNotation(row.sheet), row.formatting);
        const auto before = firstParagraphWeights();
        EXPECT_EQ(answer(job()->execute(arguments(Any(activeDocument()), true))), row.mayBeMissed);
        EXPECT_EQ(firstParagraphWeights(), before);
    }
}

TEST(HostsJobInsideTheOffice, RefusesMissingArguments)
{
    auto &host = office();
    host.closeAllDocuments();
    host.newDocument(unotest::runsFromNotation("{b|G}"));
    const auto theJob = job();
    EXPECT_THROW(theJob->execute({}), css::lang::IllegalArgumentException);
    EXPECT_THROW(theJob->execute(arguments(Any(activeDocument()), false)), css::lang::IllegalArgumentException);
    EXPECT_THROW(theJob->execute(arguments(Any(), true)), css::lang::IllegalArgumentException);
    EXPECT_EQ(unotest::notationOf(host.documentRuns()), "{b|G}");
}

} // namespace
