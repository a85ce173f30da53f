// The selection (the office's view cursor) and the clipboard: positions counted as Word counts
// them, moves by characters and lines, the font of the selection, Cut, Paste and Delete.

#include "hostimpl.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/datatransfer/DataFlavor.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/datatransfer/clipboard/SystemClipboard.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/view/XLineCursor.hpp>
#include <com/sun/star/view/XViewCursor.hpp>

namespace word::uno
{

bool moveBy(const Reference<css::text::XTextCursor> &cursor, sal_Int32 n, bool right, bool expand)
{
    while (n > 0) {
        const auto step = static_cast<sal_Int16>(std::min<sal_Int32>(n, 32767));
        if (!(right ? cursor->goRight(step, expand) : cursor->goLeft(step, expand))) {
            return false;
        }
        n -= step;
    }
    return true;
}

void Host::Impl::unlockForView()
{
    // The selection moves by the layout, which a locked model does not keep up to date.
    for (auto &group : groups) {
        if (group.locked) {
            group.model->unlockControllers();
            group.locked = false;
        }
    }
}

Reference<css::text::XTextViewCursor> Host::Impl::viewCursor(bool unlock)
{
    if (unlock) {
        restoreSelection(); // the selection is used: put it back where the command found it
        unlockForView();
    }
    const auto doc = activeDocument();
    Reference<css::text::XTextViewCursorSupplier> supplier(controller(doc), UNO_QUERY_THROW);
    return supplier->getViewCursor();
}

int32_t Host::Impl::offset(const Reference<css::text::XTextRange> &position)
{
    const auto text = position->getText();
    const auto cursor = text->createTextCursor();
    cursor->gotoStart(false);
    cursor->gotoRange(position, true);
    return wordLength(cursor->getString());
}

Reference<css::datatransfer::clipboard::XClipboard> Host::Impl::clipboard()
{
    try {
        return Reference<css::datatransfer::clipboard::XClipboard>(
            css::datatransfer::clipboard::SystemClipboard::create(remote),
            UNO_QUERY);
    } catch (const css::uno::RuntimeException &) {
        throw;
    } catch (const css::uno::Exception &) {
        return {};
    }
}

void Host::Impl::recordCutFormatting(const Reference<css::text::XTextViewCursor> &selection)
{
    cutPieces.clear();
    const auto text = selection->getText();
    const auto range = text->createTextCursorByRange(Reference<css::text::XTextRange>(selection.get()));
    Reference<css::container::XEnumerationAccess> paragraphs(range, UNO_QUERY);
    if (!paragraphs.is()) {
        return;
    }
    bool first = true;
    const auto paragraphEnum = paragraphs->createEnumeration();
    while (paragraphEnum->hasMoreElements()) {
        Reference<css::container::XEnumerationAccess> portions(paragraphEnum->nextElement(), UNO_QUERY);
        if (!portions.is()) {
            continue;
        }
        if (!first) {
            CutPiece mark;
            mark.length = 1;
            mark.paragraphBreak = true;
            cutPieces.push_back(mark);
        }
        first = false;
        const auto portionEnum = portions->createEnumeration();
        while (portionEnum->hasMoreElements()) {
            Reference<css::text::XTextRange> portion(portionEnum->nextElement(), UNO_QUERY);
            Reference<css::beans::XPropertySet> props(portion, UNO_QUERY);
            Reference<css::beans::XPropertyState> states(portion, UNO_QUERY);
            if (!portion.is() || !props.is() || !states.is()) {
                continue;
            }
            CutPiece piece;
            piece.length = portion->getString().getLength();
            if (piece.length == 0) {
                continue;
            }
            // Formatting the paragraph gives (its whole line formatted at once) reads as a default
            // state but shows: keep every value that is not the default one too.
            constexpr FontProperty which[] = {FontProperty::Color,
                                              FontProperty::Italic,
                                              FontProperty::Underline,
                                              FontProperty::Bold};
            constexpr int32_t plain[] = {wdColorAutomatic, 0, wdUnderlineNone, 0};
            for (std::size_t k = 0; k < std::size(characterAttributes); ++k) {
                const OUString name = ou(characterAttributes[k]);
                const Any value = props->getPropertyValue(name);
                if (states->getPropertyState(name) != css::beans::PropertyState_DEFAULT_VALUE
                    || wordValue(which[k], value) != plain[k]) {
                    piece.attributes.push_back(property(characterAttributes[k], value));
                }
            }
            cutPieces.push_back(piece);
        }
    }
}

void Host::Impl::restoreCutFormatting()
{
    sal_Int32 total = 0;
    for (const auto &piece : cutPieces) {
        total += piece.length;
    }
    if (total == 0) {
        return;
    }
    const auto view = viewCursor();
    const auto text = view->getText();
    const auto cursor = text->createTextCursorByRange(view->getEnd());
    if (!moveBy(cursor, total, false, false)) {
        return;
    }
    Reference<css::beans::XPropertySet> props(cursor, UNO_QUERY_THROW);
    Reference<css::beans::XPropertyState> states(cursor, UNO_QUERY_THROW);
    for (const auto &piece : cutPieces) {
        cursor->collapseToEnd();
        cursor->goRight(static_cast<sal_Int16>(std::min<sal_Int32>(piece.length, 32767)), true);
        if (!piece.paragraphBreak) {
            resetAttributes(props, states, piece.attributes);
        }
    }
}

namespace
{

class UnoSelection : public Selection
{
public:
    explicit UnoSelection(Host::Impl &impl)
        : m(impl)
    {
    }

    int32_t Start() override
    {
        return m.guarded([&] {
            const auto cursor = m.viewCursor();
            return std::min(m.offset(cursor->getStart()), m.offset(cursor->getEnd()));
        });
    }

    int32_t End() override
    {
        return m.guarded([&] {
            const auto cursor = m.viewCursor();
            return std::max(m.offset(cursor->getStart()), m.offset(cursor->getEnd()));
        });
    }

    int32_t font(FontProperty which) override
    {
        return m.guarded([&]() -> int32_t {
            const auto cursor = m.viewCursor();
            Reference<css::beans::XPropertySet> props(cursor, UNO_QUERY_THROW);
            Reference<css::beans::XPropertyState> state(cursor, UNO_QUERY_THROW);
            const OUString name = ou(officeName(which));
            if (state->getPropertyState(name) == css::beans::PropertyState_AMBIGUOUS_VALUE) {
                return wdUndefined;
            }
            const Any value = props->getPropertyValue(name);
            return value.hasValue() ? wordValue(which, value) : wdUndefined;
        });
    }

    int32_t MoveLeft(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return horizontal(unit, count, extend, false);
    }

    int32_t MoveRight(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return horizontal(unit, count, extend, true);
    }

    int32_t MoveUp(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return vertical(unit, count, extend, false);
    }

    int32_t MoveDown(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return vertical(unit, count, extend, true);
    }

    void Cut() override
    {
        m.guarded([&] {
            m.haveColumn = false;
            m.paragraphCriteria.reset(); // the document's runs and paragraphs change
            m.uniformKerning.reset();
            const auto cursor = m.viewCursor();
            if (cursor->isCollapsed()) {
                return;
            }
            Reference<css::datatransfer::XTransferableSupplier> supplier(m.controller(m.activeDocument()),
                                                                         UNO_QUERY_THROW);
            const auto transferable = supplier->getTransferable();
            m.cut = transferable;
            m.recordCutFormatting(cursor);
            if (const auto clipboard = m.clipboard(); clipboard.is()) {
                clipboard->setContents(transferable, nullptr);
            }
            cursor->setString(OUString());
        });
    }

    void PasteAndFormat(int32_t) override
    {
        m.guarded([&] {
            m.haveColumn = false;
            m.paragraphCriteria.reset(); // the document's runs and paragraphs change
            m.uniformKerning.reset();
            m.viewCursor();
            Reference<css::datatransfer::XTransferable> transferable;
            if (const auto clipboard = m.clipboard(); clipboard.is()) {
                transferable = clipboard->getContents();
            }
            if (!transferable.is()) {
                transferable = m.cut;
            }
            if (!transferable.is()) {
                throw AutomationError("The clipboard is empty.");
            }
            Reference<css::datatransfer::XTransferableSupplier> supplier(m.controller(m.activeDocument()),
                                                                         UNO_QUERY_THROW);
            supplier->insertTransferable(transferable);
            if (transferable == m.cut) {
                m.restoreCutFormatting();
            }
        });
    }

    int32_t Delete(int32_t unit, int16_t count) override
    {
        return m.guarded([&]() -> int32_t {
            checkCharacterUnit(unit);
            m.haveColumn = false;
            m.paragraphCriteria.reset(); // the document's runs and paragraphs change
            m.uniformKerning.reset();
            const auto cursor = m.viewCursor();
            if (!cursor->isCollapsed()) {
                cursor->setString(OUString());
                return 1;
            }
            int32_t deleted = 0;
            for (int32_t i = 0; i < count && cursor->goRight(1, true); ++i) {
                ++deleted;
            }
            if (deleted > 0) {
                cursor->setString(OUString());
            }
            return deleted;
        });
    }

    std::unique_ptr<Find> find() override
    {
        if (m.lost || m.terminated) {
            throw AutomationError(m.terminated ? quitMessage : lostMessage);
        }
        return makeFind(m);
    }

private:
    static void checkCharacterUnit(int32_t unit)
    {
        if (unit != wdCharacter) {
            throw AutomationError("LibreOffice Writer's host moves by characters here, not by unit "
                                  + std::to_string(unit) + ".");
        }
    }

    int32_t horizontal(int32_t unit, int16_t count, std::optional<int32_t> extend, bool right)
    {
        return m.guarded([&]() -> int32_t {
            checkCharacterUnit(unit);
            m.haveColumn = false;
            if (count < 0) {
                right = !right;
                count = static_cast<int16_t>(-count);
            }
            const bool expand = extend.value_or(wdMove) == wdExtend;
            const auto cursor = m.viewCursor();
            int32_t moved = 0;
            if (!expand && !cursor->isCollapsed() && count > 0) {
                // A selection collapses towards the move; that counts as one unit.
                const int32_t start = m.offset(cursor->getStart());
                const int32_t end = m.offset(cursor->getEnd());
                const bool startFirst = start <= end;
                if (right == startFirst) {
                    cursor->collapseToEnd();
                } else {
                    cursor->collapseToStart();
                }
                ++moved;
            }
            for (; moved < count; ++moved) {
                if (!(right ? cursor->goRight(1, expand) : cursor->goLeft(1, expand))) {
                    break;
                }
            }
            return moved;
        });
    }

    int32_t vertical(int32_t unit, int16_t count, std::optional<int32_t> extend, bool down)
    {
        return m.guarded([&]() -> int32_t {
            if (unit != wdLine) {
                throw AutomationError("LibreOffice Writer's host moves up and down by lines only.");
            }
            if (count < 0) {
                down = !down;
                count = static_cast<int16_t>(-count);
            }
            const bool expand = extend.value_or(wdMove) == wdExtend;
            const auto cursor = m.viewCursor();
            Reference<css::view::XViewCursor> lines(cursor, UNO_QUERY_THROW);
            const css::awt::Point before = cursor->getPosition();
            // Consecutive vertical moves keep the column they started from, as the editing keys do.
            const bool continuing = m.haveColumn && before.X == m.columnLeftAt.X && before.Y == m.columnLeftAt.Y;
            const sal_Int32 column = continuing ? m.column : before.X;
            int32_t moved = 0;
            for (; moved < count; ++moved) {
                // At the first or last line the office may still move along the line: no line moved.
                const sal_Int32 y = cursor->getPosition().Y;
                if (!(down ? lines->goDown(1, expand) : lines->goUp(1, expand)) || cursor->getPosition().Y == y) {
                    break;
                }
            }
            if (moved > 0 && continuing) {
                Reference<css::view::XLineCursor> line(cursor, UNO_QUERY);
                while (line.is() && cursor->getPosition().X < column && !line->isAtEndOfLine()) {
                    const sal_Int32 y = cursor->getPosition().Y;
                    if (!cursor->goRight(1, expand) || cursor->getPosition().Y != y) {
                        cursor->goLeft(1, expand);
                        break;
                    }
                }
            }
            m.haveColumn = true;
            m.column = column;
            m.columnLeftAt = cursor->getPosition();
            return moved;
        });
    }

    Host::Impl &m;
};

} // namespace

std::unique_ptr<Selection> makeSelection(Host::Impl &impl)
{
    return std::make_unique<UnoSelection>(impl);
}

std::string Host::clipboardText()
{
    return m_impl->guarded([&] {
        const auto clipboard = m_impl->clipboard();
        Reference<css::datatransfer::XTransferable> contents = clipboard.is() ? clipboard->getContents() : m_impl->cut;
        if (!contents.is()) {
            return std::string();
        }
        css::datatransfer::DataFlavor flavor(ou("text/plain;charset=utf-16"),
                                             ou("Unicode-Text"),
                                             cppu::UnoType<OUString>::get());
        OUString text;
        contents->getTransferData(flavor) >>= text;
        return utf8(text);
    });
}

} // namespace word::uno
