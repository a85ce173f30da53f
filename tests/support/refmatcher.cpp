#include "refmatcher.h"

#include <functional>
#include <memory>
#include <vector>

namespace testsupport
{

namespace
{

struct Item {
    enum Kind { Literal, AnyChar, Set, Start, End, Group } kind = Literal;
    char32_t ch = 0;
    std::vector<std::pair<char32_t, char32_t>> ranges;
    bool negated = false;
    std::vector<Item> body; // a group's items
    int index = 0; // a group's number
    unsigned lo = 1;
    unsigned hi = 1; // ~0u: no limit
    bool lazy = false;
    bool counted = false;
};

constexpr unsigned noLimit = ~0u;

struct Invalid {
};

// Recursive descent over the pattern; throws Invalid.
struct Reader {
    std::u32string_view p;
    size_t i = 0;
    int groups = 0;

    bool more() const
    {
        return i < p.size();
    }

    char32_t code()
    {
        // after "^"
        if (!more()) {
            throw Invalid{};
        }
        char32_t c = p[i];
        if (c >= U'0' && c <= U'9') {
            unsigned v = 0;
            int digits = 0;
            while (more() && digits < 3 && p[i] >= U'0' && p[i] <= U'9') {
                v = v * 10 + (p[i] - U'0');
                ++i;
                ++digits;
            }
            if (v == 0) {
                throw Invalid{};
            }
            return v;
        }
        ++i;
        if (c == U'p') {
            return U'\r';
        }
        if (c == U'l') {
            return U'\v';
        }
        if (c == U't') {
            return U'\t';
        }
        if (c == U'^') {
            return U'^';
        }
        throw Invalid{};
    }

    char32_t oneInSet()
    {
        char32_t c = p[i++];
        if (c == U'\\') {
            if (!more()) {
                throw Invalid{};
            }
            return p[i++];
        }
        return c == U'^' ? code() : c;
    }

    unsigned digits()
    {
        if (!more() || p[i] < U'0' || p[i] > U'9') {
            throw Invalid{};
        }
        unsigned v = 0;
        while (more() && p[i] >= U'0' && p[i] <= U'9') {
            v = v * 10 + (p[i++] - U'0');
            if (v > 255) {
                throw Invalid{};
            }
        }
        return v;
    }

    std::vector<Item> items(bool inGroup)
    {
        std::vector<Item> out;
        auto quantifiable = [&out] {
            return !out.empty() && !out.back().counted && out.back().kind != Item::Start
                && out.back().kind != Item::End;
        };
        while (more()) {
            char32_t c = p[i++];
            Item it;
            if (c == U')') {
                if (!inGroup) {
                    throw Invalid{};
                }
                --i;
                return out;
            } else if (c == U'(') {
                if (++groups > 9) {
                    throw Invalid{};
                }
                it.kind = Item::Group;
                it.index = groups;
                it.body = items(true);
                if (!more() || p[i] != U')') {
                    throw Invalid{};
                }
                ++i;
            } else if (c == U'[') {
                it.kind = Item::Set;
                if (more() && p[i] == U'!') {
                    it.negated = true;
                    ++i;
                }
                while (true) {
                    if (!more()) {
                        throw Invalid{};
                    }
                    if (p[i] == U']') {
                        ++i;
                        break;
                    }
                    char32_t a = oneInSet();
                    char32_t b = a;
                    if (i + 1 < p.size() && p[i] == U'-' && p[i + 1] != U']') {
                        ++i;
                        b = oneInSet();
                        if (b < a) {
                            throw Invalid{};
                        }
                    }
                    it.ranges.push_back({a, b});
                }
                if (it.ranges.empty()) {
                    throw Invalid{};
                }
            } else if (c == U']' || c == U'}') {
                throw Invalid{};
            } else if (c == U'@') {
                if (!quantifiable()) {
                    throw Invalid{};
                }
                out.back().lo = 1;
                out.back().hi = noLimit;
                out.back().counted = true;
                continue;
            } else if (c == U'{') {
                if (!quantifiable()) {
                    throw Invalid{};
                }
                unsigned lo = digits();
                unsigned hi = lo;
                if (more() && p[i] == U',') {
                    ++i;
                    hi = (more() && p[i] == U'}') ? noLimit : digits();
                }
                if (!more() || p[i] != U'}' || hi < lo) {
                    throw Invalid{};
                }
                ++i;
                out.back().lo = lo;
                out.back().hi = hi;
                out.back().counted = true;
                continue;
            } else if (c == U'?') {
                it.kind = Item::AnyChar;
            } else if (c == U'*') {
                it.kind = Item::AnyChar;
                it.lo = 0;
                it.hi = noLimit;
                it.lazy = true;
                it.counted = true;
            } else if (c == U'<') {
                it.kind = Item::Start;
            } else if (c == U'>') {
                it.kind = Item::End;
            } else if (c == U'\\') {
                if (!more()) {
                    throw Invalid{};
                }
                it.ch = p[i++];
            } else if (c == U'^') {
                it.ch = code();
            } else {
                it.ch = c;
            }
            out.push_back(std::move(it));
        }
        if (inGroup) {
            throw Invalid{};
        }
        return out;
    }
};

bool wordChar(char32_t c)
{
    // The reference only ever sees ASCII and a few Latin letters in its tests.
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z')
        || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

using Next = std::function<bool(size_t)>;

struct Run {
    std::u32string_view text;
    size_t resume = 0;
    std::optional<char32_t> before; // the character before resume as the text now stands
    size_t caps[10][2] = {};

    bool wordBefore(size_t at) const
    {
        if (at == resume) {
            return before && wordChar(*before);
        }
        return at > 0 && wordChar(text[at - 1]);
    }
    bool wordAt(size_t at) const
    {
        return at < text.size() && wordChar(text[at]);
    }

    bool seq(const std::vector<Item> &items, size_t k, size_t at, const Next &next)
    {
        if (k == items.size()) {
            return next(at);
        }
        return repeat(items[k], 0, at, [&](size_t to) {
            return seq(items, k + 1, to, next);
        });
    }

    bool repeat(const Item &it, unsigned n, size_t at, const Next &next)
    {
        if (n < it.lo) {
            return once(it, at, [&](size_t to) {
                return repeat(it, n + 1, to, next);
            });
        }
        auto another = [&] {
            if (n >= it.hi) {
                return false;
            }
            return once(it, at, [&](size_t to) {
                // an unlimited repeat never loops without moving on
                if (it.hi == noLimit && to == at) {
                    return false;
                }
                return repeat(it, n + 1, to, next);
            });
        };
        if (it.lazy) {
            return next(at) || another();
        }
        return another() || next(at);
    }

    bool once(const Item &it, size_t at, const Next &next)
    {
        switch (it.kind) {
        case Item::Literal:
            return at < text.size() && text[at] == it.ch && next(at + 1);
        case Item::AnyChar:
            return at < text.size() && next(at + 1);
        case Item::Set: {
            if (at >= text.size()) {
                return false;
            }
            bool in = false;
            for (auto [a, b] : it.ranges) {
                in = in || (text[at] >= a && text[at] <= b);
            }
            return in != it.negated && next(at + 1);
        }
        case Item::Start:
            return wordAt(at) && !wordBefore(at) && next(at);
        case Item::End:
            return !wordAt(at) && wordBefore(at) && next(at);
        case Item::Group: {
            const size_t old0 = caps[it.index][0];
            const size_t old1 = caps[it.index][1];
            const bool ok = seq(it.body, 0, at, [&](size_t to) {
                const size_t inner0 = caps[it.index][0];
                const size_t inner1 = caps[it.index][1];
                caps[it.index][0] = at;
                caps[it.index][1] = to;
                if (next(to)) {
                    return true;
                }
                caps[it.index][0] = inner0;
                caps[it.index][1] = inner1;
                return false;
            });
            if (!ok) {
                caps[it.index][0] = old0;
                caps[it.index][1] = old1;
            }
            return ok;
        }
        }
        return false;
    }
};

} // namespace

bool refValid(std::u32string_view pattern)
{
    try {
        Reader r;
        r.p = pattern;
        r.items(false);
        return true;
    } catch (const Invalid &) {
        return false;
    }
}

std::optional<std::u32string>
refReplaceAll(std::u32string_view pattern, std::u32string_view replacement, std::u32string_view text, bool keepLast)
{
    std::vector<Item> items;
    int groups = 0;
    try {
        Reader r;
        r.p = pattern;
        items = r.items(false);
        groups = r.groups;
    } catch (const Invalid &) {
        return std::nullopt;
    }
    for (size_t k = 0; k < replacement.size(); ++k) {
        if (replacement[k] == U'\\') {
            if (k + 1 >= replacement.size()) {
                return std::nullopt;
            }
            ++k;
            if (replacement[k] >= U'1' && replacement[k] <= U'9' && int(replacement[k] - U'0') > groups) {
                return std::nullopt;
            }
        }
    }
    std::u32string out;
    size_t copied = 0;
    size_t at = 0;
    Run run;
    run.text = text;
    while (at < text.size()) {
        run.resume = copied;
        run.before = out.empty() ? std::nullopt : std::optional<char32_t>(out.back());
        if (copied == 0 && out.empty()) {
            run.before.reset();
        }
        for (auto &c : run.caps) {
            c[0] = c[1] = std::u32string_view::npos;
        }
        size_t end = 0;
        const bool found = run.seq(items, 0, at, [&](size_t to) {
            end = to;
            return true;
        });
        if (!found || end == at) {
            ++at;
            continue;
        }
        out.append(text.substr(copied, at - copied));
        for (size_t k = 0; k < replacement.size(); ++k) {
            if (replacement[k] == U'\\') {
                const char32_t d = replacement[++k];
                if (d >= U'1' && d <= U'9') {
                    const auto &c = run.caps[d - U'0'];
                    if (c[0] != std::u32string_view::npos) {
                        out.append(text.substr(c[0], c[1] - c[0]));
                    }
                    continue;
                }
                out.push_back(d);
            } else {
                out.push_back(replacement[k]);
            }
        }
        if (end == text.size() && keepLast) {
            out.push_back(text.back()); // the final mark stays
        }
        copied = at = end;
    }
    if (copied < text.size()) {
        out.append(text.substr(copied));
    }
    return out;
}

} // namespace testsupport
