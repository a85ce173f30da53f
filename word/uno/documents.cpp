// Documents for tests and tools: new documents from runs, opening and storing files, reading a
// document back as runs, selecting, undoing.

#include "hostimpl.h"

#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XParagraphCursor.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>

namespace word::uno
{

namespace
{

constexpr const char *docxFilter = "MS Word 2007 XML";

// A new window of the office showing the document at url.
Reference<css::lang::XComponent> load(const Reference<css::frame::XDesktop2> &desktop, const OUString &url)
{
    Reference<css::frame::XComponentLoader> loader(desktop, UNO_QUERY_THROW);
    return loader->loadComponentFromURL(url, ou("_blank"), 0, Sequence<css::beans::PropertyValue>());
}

// The office's character properties of a run; explicitDefaults sets the default ones too.
PropertyValues runAttributes(const TextRun &run, bool explicitDefaults)
{
    FontSettings font;
    if (run.color != wdColorAutomatic || explicitDefaults) {
        font.color = run.color;
    }
    if (run.italic || explicitDefaults) {
        font.italic = run.italic ? wdTrue : 0;
    }
    if (run.underline != wdUnderlineNone || explicitDefaults) {
        font.underline = run.underline;
    }
    if (run.bold || explicitDefaults) {
        font.bold = run.bold ? wdTrue : 0;
    }
    return officeAttributes(font, false);
}

} // namespace

void Host::newDocument(const std::vector<TextRun> &runs, RunFormatting formatting)
{
    m_impl->guarded([&] {
        Reference<css::text::XTextDocument> doc(load(m_impl->desktop, ou("private:factory/swriter")), UNO_QUERY_THROW);
        Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
        model->lockControllers();
        const auto text = doc->getText();
        const auto cursor = text->createTextCursor();
        const Reference<css::text::XTextRange> at(cursor.get());
        Reference<css::beans::XPropertySet> props(cursor, UNO_QUERY_THROW);
        Reference<css::beans::XPropertyState> states(cursor, UNO_QUERY_THROW);
        Reference<css::text::XParagraphCursor> paragraphCursor(cursor, UNO_QUERY_THROW);
        const bool explicitDefaults = formatting != RunFormatting::Defaults;
        // The pieces of the paragraph being written: their length and formatting (none for a line break).
        std::vector<std::pair<sal_Int32, std::optional<PropertyValues>>> paragraph;
        const auto endParagraph = [&] {
            if (formatting == RunFormatting::WholeLineFirst && !paragraph.empty() && paragraph.front().second) {
                // The whole line takes its first piece's formatting, then each piece its own.
                paragraphCursor->gotoStartOfParagraph(true);
                resetAttributes(props, states, *paragraph.front().second);
                cursor->collapseToStart();
                for (const auto &[length, values] : paragraph) {
                    cursor->goRight(static_cast<sal_Int16>(length), values.has_value());
                    // Set over the line's formatting, not reset first: a reset of part of the line
                    // would hand the line's formatting back to its runs.
                    if (values) {
                        setAttributes(props, *values);
                    }
                    cursor->collapseToEnd();
                }
            }
            paragraph.clear();
        };
        for (const auto &run : runs) {
            // Only what differs from the default is set, as a word processor stores typed text:
            // the default attributes are left to the paragraph style.
            const PropertyValues values = runAttributes(run, explicitDefaults);
            std::string piece;
            const auto flush = [&] {
                if (piece.empty()) {
                    return;
                }
                const OUString s = ou(piece);
                text->insertString(at, s, false);
                cursor->goLeft(static_cast<sal_Int16>(s.getLength()), true);
                resetAttributes(props, states, values);
                cursor->collapseToEnd();
                paragraph.emplace_back(s.getLength(), values);
                piece.clear();
            };
            for (const char c : run.text) {
                if (c == '\r' || c == '\v') {
                    flush();
                    if (c == '\r') {
                        endParagraph();
                    } else {
                        paragraph.emplace_back(1, std::nullopt);
                    }
                    text->insertControlCharacter(at,
                                                 c == '\r' ? css::text::ControlCharacter::PARAGRAPH_BREAK
                                                           : css::text::ControlCharacter::LINE_BREAK,
                                                 false);
                } else {
                    piece += c;
                    if (piece.size() > 8000) {
                        flush();
                    }
                }
            }
            flush();
        }
        endParagraph();
        model->unlockControllers();
        Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(), UNO_QUERY);
        if (supplier.is()) {
            supplier->getViewCursor()->gotoStart(false);
        }
    });
}

void Host::openDocument(const std::string &path)
{
    m_impl->guarded([&] {
        Reference<css::text::XTextDocument> doc(load(m_impl->desktop, fileUrl(path)), UNO_QUERY);
        if (!doc.is()) {
            throw AutomationError("Not a text document: " + path);
        }
    });
}

std::vector<TextRun> Host::documentRuns()
{
    return m_impl->guarded([&] {
        std::vector<TextRun> runs;
        const auto doc = m_impl->activeDocument();
        Reference<css::container::XEnumerationAccess> paragraphs(doc->getText(), UNO_QUERY_THROW);
        Sequence<OUString> names(std::size(characterAttributes));
        for (std::size_t i = 0; i < std::size(characterAttributes); ++i) {
            names.getArray()[i] = ou(characterAttributes[i]);
        }
        const auto add = [&runs](TextRun run) {
            if (!runs.empty()) {
                TextRun &last = runs.back();
                if (last.bold == run.bold && last.italic == run.italic && last.underline == run.underline
                    && last.color == run.color) {
                    last.text += run.text;
                    return;
                }
            }
            runs.push_back(std::move(run));
        };
        bool first = true;
        const auto paragraphEnum = paragraphs->createEnumeration();
        while (paragraphEnum->hasMoreElements()) {
            Reference<css::lang::XServiceInfo> info(paragraphEnum->nextElement(), UNO_QUERY);
            if (!info.is() || !info->supportsService(ou("com.sun.star.text.Paragraph"))) {
                continue;
            }
            if (!first) {
                // The paragraph mark: it carries the formatting of the text before it.
                TextRun mark = runs.empty() ? TextRun{} : runs.back();
                mark.text.clear();
                mark.text.push_back('\r');
                add(std::move(mark));
            }
            first = false;
            Reference<css::container::XEnumerationAccess> portions(info, UNO_QUERY_THROW);
            const auto portionEnum = portions->createEnumeration();
            while (portionEnum->hasMoreElements()) {
                Reference<css::text::XTextRange> portion(portionEnum->nextElement(), UNO_QUERY_THROW);
                Reference<css::beans::XPropertySet> portionProps(portion, UNO_QUERY_THROW);
                OUString type;
                portionProps->getPropertyValue(ou("TextPortionType")) >>= type;
                if (type != "Text") {
                    continue;
                }
                TextRun run;
                for (const char c : utf8(portion->getString())) {
                    run.text += c == '\n' ? '\v' : c;
                }
                if (run.text.empty()) {
                    continue;
                }
                Reference<css::beans::XMultiPropertySet> multi(portion, UNO_QUERY_THROW);
                const auto values = multi->getPropertyValues(names); // in characterAttributes' order
                run.color = wordValue(FontProperty::Color, values[0]);
                run.italic = wordValue(FontProperty::Italic, values[1]) == wdTrue;
                run.underline = wordValue(FontProperty::Underline, values[2]);
                run.bold = wordValue(FontProperty::Bold, values[3]) == wdTrue;
                add(std::move(run));
            }
        }
        return runs;
    });
}

void Host::storeAsDocx(const std::string &path)
{
    m_impl->guarded([&] {
        Reference<css::frame::XStorable> storable(m_impl->activeDocument(), UNO_QUERY_THROW);
        storable->storeToURL(fileUrl(path), properties({property("FilterName", Any(ou(docxFilter)))}));
    });
}

void Host::closeAllDocuments()
{
    m_impl->guarded([&] {
        for (const auto &doc : m_impl->writerDocuments()) {
            Reference<css::util::XCloseable> closeable(doc, UNO_QUERY);
            if (closeable.is()) {
                closeable->close(true);
            }
        }
    });
}

void Host::setSelection(int32_t start, int32_t end)
{
    m_impl->guarded([&] {
        const auto view = m_impl->viewCursor();
        const auto text = m_impl->activeDocument()->getText();
        const auto cursor = text->createTextCursor();
        cursor->gotoStart(false);
        moveBy(cursor, start, true, false);
        view->gotoRange(cursor->getStart(), false);
        moveBy(cursor, end - start, true, true);
        view->gotoRange(cursor->getEnd(), true);
        m_impl->haveColumn = false;
    });
}

bool Host::undo()
{
    return m_impl->guarded([&] {
        Reference<css::document::XUndoManagerSupplier> supplier(m_impl->activeDocument(), UNO_QUERY_THROW);
        const auto manager = supplier->getUndoManager();
        if (!manager->isUndoPossible()) {
            return false;
        }
        manager->undo();
        return true;
    });
}

} // namespace word::uno
