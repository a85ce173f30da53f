#include "word/messages.h"

#include "tests/support/rows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

namespace
{

struct MessageRow {
    const char *name;
    word::HostNames names;
    const char *noDocument;
    const char *fatal;
};

class HostMessages : public testing::TestWithParam<MessageRow>
{
};

TEST_P(HostMessages, NameTheHostInTheSameSentences)
{
    const auto &row = GetParam();
    const auto noDocument = word::noDocumentMessage(row.names);
    EXPECT_EQ(noDocument.text, row.noDocument);
    EXPECT_EQ(noDocument.title, "Error");
    EXPECT_EQ(noDocument.icon, word::Icon::Critical);
    EXPECT_EQ(noDocument.buttons, word::Buttons::Ok);

    const auto fatal = word::fatalMessage(row.names);
    EXPECT_EQ(fatal.text, row.fatal);
    EXPECT_EQ(fatal.title, "Fatal Error");
    EXPECT_EQ(fatal.icon, word::Icon::Critical);
    EXPECT_EQ(fatal.buttons, word::Buttons::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts,
    HostMessages,
    testing::Values(MessageRow{"Word",
                               {"Microsoft Word", "Word"},
                               "No Word document found.  Open a Word document and try again.",
                               "Unable to start Microsoft Word.  This application requires Microsoft\r\n"
                               "Word.  Make sure that it is properly installed, or open a Word\r\n"
                               "document and try again."},
                    MessageRow{"LibreOffice",
                               {"LibreOffice Writer", "LibreOffice Writer"},
                               "No LibreOffice Writer document found.  Open a LibreOffice Writer document and try "
                               "again.",
                               "Unable to start LibreOffice Writer.  This application requires LibreOffice\r\n"
                               "Writer.  Make sure that it is properly installed, or open a LibreOffice Writer\r\n"
                               "document and try again."},
                    MessageRow{"BuiltIn",
                               {"Tonvale's word processor", ""},
                               "No document found in Tonvale's word processor.  Open a song sheet in it and try again.",
                               "Unable to start Tonvale's word processor.  This application requires Tonvale's word\r\n"
                               "processor.  Make sure that it is properly installed, or open a\r\n"
                               "document and try again."}),
    testsupport::RowName());

} // namespace

namespace
{

/// A host that knows why it has no document (as Word does for one in Protected View).
class ReasonHost : public word::builtin::Host
{
public:
    explicit ReasonHost(std::string reason)
        : m_reason(std::move(reason))
    {
    }
    std::string noDocumentReason() override
    {
        return m_reason;
    }

private:
    std::string m_reason;
};

TEST(NoDocumentMessage, TheHostsReasonReplacesThePlainText)
{
    ReasonHost plain("");
    EXPECT_EQ(word::noDocumentMessage(plain), word::noDocumentMessage(plain.names()));

    ReasonHost protectedView("Open it for editing first.");
    EXPECT_EQ(word::noDocumentMessage(protectedView),
              (word::Message{"Open it for editing first.", "Error", word::Icon::Critical, word::Buttons::Ok}));
}

} // namespace
