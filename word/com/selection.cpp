// Word's Selection and Document objects behind the interface's.

#include "hoststate.h"

#include <string>
#include <utility>
#include <vector>

namespace word::com
{

namespace
{

class ComSelection final : public Selection
{
public:
    ComSelection(Host::State &state, Dispatch selection)
        : m_state(state)
        , m_selection(std::move(selection))
    {
    }

    int32_t Start() override
    {
        return toInt32(m_selection.get("Start"), "Selection.Start");
    }
    int32_t End() override
    {
        return toInt32(m_selection.get("End"), "Selection.End");
    }
    int32_t font(FontProperty property) override
    {
        const char *name = propertyName(property);
        return toInt32(m_selection.object("Font", "Font").get(name), std::string("Selection.Font.") + name);
    }
    int32_t MoveLeft(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveLeft", unit, count, extend);
    }
    int32_t MoveRight(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveRight", unit, count, extend);
    }
    int32_t MoveUp(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveUp", unit, count, extend);
    }
    int32_t MoveDown(int32_t unit, int16_t count, std::optional<int32_t> extend) override
    {
        return move("MoveDown", unit, count, extend);
    }
    void Cut() override
    {
        m_selection.call("Cut");
        m_state.changed = true;
    }
    void PasteAndFormat(int32_t type) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::int32(type));
        m_selection.call("PasteAndFormat", std::move(args));
        m_state.changed = true;
    }
    int32_t Delete(int32_t unit, int16_t count) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::int32(unit));
        args.push_back(Variant::int16(count));
        const int32_t deleted = toInt32(m_selection.call("Delete", std::move(args)), "Selection.Delete");
        m_state.changed = m_state.changed || deleted != 0;
        return deleted;
    }
    std::unique_ptr<Find> find() override
    {
        return makeFind(m_state, m_selection);
    }

private:
    // Unit and Extend are Longs, Count an Integer; an omitted Extend is left out of the call.
    int32_t move(const char *method, int32_t unit, int16_t count, std::optional<int32_t> extend)
    {
        std::vector<Variant> args;
        args.push_back(Variant::int32(unit));
        args.push_back(Variant::int16(count));
        if (extend) {
            args.push_back(Variant::int32(*extend));
        }
        return toInt32(m_selection.call(method, std::move(args)), std::string("Selection.") + method);
    }

    Host::State &m_state; ///< changed: set when a call changed the document
    Dispatch m_selection;
};

class ComDocument final : public Document
{
public:
    explicit ComDocument(Dispatch document)
        : m_document(std::move(document))
    {
    }

    void FollowHyperlink(const std::string &address, bool newWindow) override
    {
        std::vector<NamedArgument> named;
        named.push_back({"Address", Variant::string(address)});
        named.push_back({"NewWindow", Variant::boolean(newWindow)});
        m_document.call("FollowHyperlink", {}, std::move(named));
    }

private:
    Dispatch m_document;
};

} // namespace

std::unique_ptr<Selection> makeSelection(Host::State &state, Dispatch selection)
{
    return std::make_unique<ComSelection>(state, std::move(selection));
}

std::unique_ptr<Document> makeDocument(Dispatch document)
{
    return std::make_unique<ComDocument>(std::move(document));
}

} // namespace word::com
