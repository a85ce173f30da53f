// Selection and ActiveDocument of the built-in host: font readings, moves, cut, paste, delete.

#include "hoststate.h"

#include <cstdlib>

namespace word::builtin
{

namespace
{

bool isLineEnd(char32_t c)
{
    return c == paragraphMark || c == lineBreak;
}

std::string moveLine(const char *name, int32_t unit, int16_t count, std::optional<int32_t> extend)
{
    std::string line =
        std::string("Selection.") + name + " Unit:=" + std::to_string(unit) + ", Count:=" + std::to_string(count);
    if (extend) {
        line += ", Extend:=" + std::to_string(*extend);
    }
    return line;
}

int32_t fontValue(FontProperty property, const CharFormat &f)
{
    switch (property) {
    case FontProperty::Bold:
        return f.bold ? wdTrue : 0;
    case FontProperty::Italic:
        return f.italic ? wdTrue : 0;
    case FontProperty::Underline:
        return f.underline;
    case FontProperty::Color:
        return f.color;
    }
    return 0;
}

class SelectionHandle : public Selection
{
public:
    explicit SelectionHandle(Host::State &state)
        : m_state(state)
    {
    }

    int32_t Start() override
    {
        m_state.call("Selection.Start", "Selection.Start");
        return static_cast<int32_t>(m_state.doc().start());
    }

    int32_t End() override
    {
        m_state.call("Selection.End", "Selection.End");
        return static_cast<int32_t>(m_state.doc().end());
    }

    int32_t font(FontProperty property) override
    {
        const std::string name = std::string("Selection.Font.") + propertyName(property);
        m_state.call(name, name);
        const DocEntry &d = m_state.doc();
        std::size_t s = d.start();
        std::size_t e = d.end();
        if (s == e) {
            // An insertion point reads the character before it (after it at the start).
            s = s > 0 ? s - 1 : 0;
            e = s + 1;
        }
        const TextDocument &doc = d.doc;
        const std::size_t bs = doc.byteOffset(s);
        const std::size_t be = doc.byteOffset(e);
        const auto &spans = doc.spans();
        std::optional<int32_t> value;
        for (std::size_t k = doc.spanAt(bs); k < spans.size(); ++k) {
            const int32_t v = fontValue(property, doc.formatOf(spans[k].format));
            if (value && *value != v) {
                return wdUndefined;
            }
            value = v;
            if (spans[k].end >= be) {
                break;
            }
        }
        return value.value_or(0);
    }

    int32_t MoveLeft(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveLeft", wdCharacter, -1, unit, count, extend);
    }

    int32_t MoveRight(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveRight", wdCharacter, 1, unit, count, extend);
    }

    int32_t MoveUp(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveUp", wdLine, -1, unit, count, extend);
    }

    int32_t MoveDown(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveDown", wdLine, 1, unit, count, extend);
    }

    void Cut() override
    {
        m_state.call("Selection.Cut", "Selection.Cut");
        DocEntry &d = m_state.doc();
        const std::size_t s = d.start();
        const std::size_t e = d.end();
        // A collapsed selection leaves an empty clipboard and the document as it is.
        TextDocument clip;
        clip.insert(0, d.doc, s, e);
        m_state.clipboard = std::move(clip);
        m_state.clipboardLength = e - s;
        if (s < e) {
            m_state.recordUndo(d);
            d.doc.erase(s, e);
        }
        d.collapse(std::min(s, d.doc.length() - 1));
        d.preferredColumn.reset();
        m_state.changed();
    }

    void PasteAndFormat(int32_t type) override
    {
        m_state.call("Selection.PasteAndFormat", "Selection.PasteAndFormat Type:=" + std::to_string(type));
        DocEntry &d = m_state.doc();
        std::size_t s = d.start();
        const std::size_t e = d.end();
        if (m_state.clipboardLength == 0 && s == e) {
            return;
        }
        m_state.recordUndo(d);
        d.doc.erase(s, e);
        s = std::min(s, d.doc.length() - 1);
        d.doc.insert(s, m_state.clipboard, 0, m_state.clipboardLength);
        d.collapse(s + m_state.clipboardLength);
        d.preferredColumn.reset();
        m_state.changed();
    }

    int32_t Delete(int32_t unit, int16_t count) override
    {
        m_state.call("Selection.Delete",
                     "Selection.Delete Unit:=" + std::to_string(unit) + ", Count:=" + std::to_string(count));
        checkUnit(unit, wdCharacter);
        DocEntry &d = m_state.doc();
        const std::size_t s = d.start();
        const std::size_t e = d.end();
        const std::size_t last = d.doc.length() - 1; // the final mark
        std::size_t from = s;
        std::size_t to = e;
        int32_t deleted = 1;
        if (s == e) {
            // Forward from an insertion point (never the final mark), backward with a negative count.
            if (count >= 0) {
                to = std::min(s + static_cast<std::size_t>(count), last);
            } else {
                from = s - std::min(s, static_cast<std::size_t>(-static_cast<int32_t>(count)));
            }
            deleted = static_cast<int32_t>(to - from);
        } else if (s == last && e == last + 1) {
            deleted = 0; // only the final mark selected
        }
        if (deleted > 0) {
            m_state.recordUndo(d);
            d.doc.erase(from, to);
        }
        d.collapse(std::min(from, d.doc.length() - 1));
        d.preferredColumn.reset();
        m_state.changed();
        return deleted;
    }

    std::unique_ptr<Find> find() override
    {
        return makeFind(m_state);
    }

private:
    /// One of the four Move calls, logged under name: count characters (by wdCharacter) or lines (by wdLine),
    /// the unit the call takes, forward (direction 1) or back (-1).
    int32_t
    move(const char *name, int32_t by, int direction, int32_t unit, int16_t count, std::optional<int32_t> extend)
    {
        m_state.call(std::string("Selection.") + name, moveLine(name, unit, count, extend));
        checkUnit(unit, by);
        const int32_t delta = direction * count;
        return by == wdLine ? moveLines(delta, extending(extend)) : moveCharacters(delta, extending(extend));
    }

    static void checkUnit(int32_t unit, int32_t expected)
    {
        if (unit != expected) {
            throw AutomationError(badParameterText);
        }
    }

    static bool extending(std::optional<int32_t> extend)
    {
        if (!extend || *extend == wdMove) {
            return false;
        }
        if (*extend == wdExtend) {
            return true;
        }
        throw AutomationError(badParameterText);
    }

    // Move by delta characters (negative: left). Without extend a selection first collapses to
    // the side of the move, which counts as one unit.
    int32_t moveCharacters(int32_t delta, bool extend)
    {
        DocEntry &d = m_state.doc();
        const std::size_t length = d.doc.length();
        int32_t moved = 0;
        const auto steps = static_cast<std::size_t>(delta < 0 ? -static_cast<int64_t>(delta) : delta);
        if (extend) {
            const std::size_t target =
                delta < 0 ? d.active - std::min(d.active, steps) : std::min(d.active + steps, length);
            moved = static_cast<int32_t>(delta < 0 ? d.active - target : target - d.active);
            d.active = target;
        } else {
            std::size_t pos = d.active;
            std::size_t remaining = steps;
            if (d.anchor != d.active && remaining > 0) {
                pos = delta < 0 ? d.start() : std::min(d.end(), length - 1);
                --remaining;
                moved = 1;
            }
            const std::size_t target =
                delta < 0 ? pos - std::min(pos, remaining) : std::min(pos + remaining, length - 1);
            moved += static_cast<int32_t>(delta < 0 ? pos - target : target - pos);
            d.collapse(target);
        }
        d.preferredColumn.reset();
        m_state.changed();
        return moved;
    }

    // Move by delta display lines (negative: up), keeping the preferred column.
    int32_t moveLines(int32_t delta, bool extend)
    {
        DocEntry &d = m_state.doc();
        const std::u32string_view text = d.doc.text();
        const std::size_t length = text.size();
        std::size_t pos = extend ? d.active : (delta > 0 ? d.end() : d.start());
        pos = std::min(pos, length - 1);
        auto lineStart = [text](std::size_t p) {
            while (p > 0 && !isLineEnd(text[p - 1])) {
                --p;
            }
            return p;
        };
        auto lineEnd = [text](std::size_t p) {
            while (!isLineEnd(text[p])) {
                ++p;
            }
            return p;
        };
        const std::size_t column = d.preferredColumn.value_or(pos - lineStart(pos));
        int32_t moved = 0;
        for (int32_t i = 0; i < (delta < 0 ? -delta : delta); ++i) {
            std::size_t start = 0;
            if (delta > 0) {
                const std::size_t end = lineEnd(pos);
                if (end + 1 >= length) {
                    break;
                }
                start = end + 1;
            } else {
                const std::size_t here = lineStart(pos);
                if (here == 0) {
                    break;
                }
                start = lineStart(here - 1);
            }
            pos = start + std::min(column, lineEnd(start) - start);
            ++moved;
        }
        if (extend) {
            if (moved < std::abs(delta)) {
                // Past the first or last line the moving end goes to the document's edge (the
                // final mark included), as extending upward or downward there does in Word.
                pos = delta < 0 ? 0 : length;
            }
            d.active = pos;
        } else {
            d.collapse(pos);
        }
        d.preferredColumn = column;
        m_state.changed();
        return moved;
    }

    Host::State &m_state;
};

class DocumentHandle : public Document
{
public:
    explicit DocumentHandle(Host::State &state)
        : m_state(state)
    {
    }

    void FollowHyperlink(const std::string &address, bool newWindow) override
    {
        m_state.call("ActiveDocument.FollowHyperlink",
                     "ActiveDocument.FollowHyperlink Address:=" + address + ", NewWindow:=" + boolText(newWindow));
        m_state.doc();
        if (m_state.linkOpener && !m_state.linkOpener(address)) {
            throw AutomationError(cannotOpenText);
        }
    }

private:
    Host::State &m_state;
};

} // namespace

std::unique_ptr<Selection> makeSelection(Host::State &state)
{
    return std::make_unique<SelectionHandle>(state);
}

std::unique_ptr<Document> makeDocument(Host::State &state)
{
    return std::make_unique<DocumentHandle>(state);
}

} // namespace word::builtin
