#include "matcher.h"

#include "literalreplace.h"
#include "word/wildcards/utf8.h"

#include <algorithm>

namespace word::builtin
{

char32_t charBefore(std::string_view text, std::size_t pos, const Before &before, bool &has)
{
    if (pos == before.resume) {
        has = before.has;
        return before.c;
    }
    has = pos > 0;
    return has ? utf8::at(text, utf8::prev(text, pos)) : 0;
}

Matcher::Matcher(const TextDocument &doc, const FindRequest &request)
    : m_text(doc.bytes())
    , m_request(request)
    , m_criteria(request.format && request.criteria.any())
    , m_spans(doc.spans())
    , m_cursor(doc.spans())
{
    if (m_criteria) {
        // Whether each format of the palette meets the criteria, decided once per call.
        for (const CharFormat &format : doc.palette()) {
            m_accepted.push_back(request.criteria.accepts(format) ? 1 : 0);
        }
    }
    if (request.wildcards) {
        m_program = std::make_unique<wildcard::Program>(wildcard::Program::compile(request.text));
        m_replacement = wildcards::Replacement::parse(request.replacement, m_program->groupCount());
        if (m_criteria) {
            m_allowed.resize(m_text.size());
            std::size_t start = 0;
            for (const Span &span : doc.spans()) {
                std::fill(m_allowed.begin() + static_cast<std::ptrdiff_t>(start),
                          m_allowed.begin() + span.end,
                          m_accepted[span.format]);
                start = span.end;
            }
        }
    } else {
        m_needle = toUtf8(toU32(request.text)); // only valid UTF-8 can match
        if (!request.matchCase) {
            for (const char32_t c : toU32(m_needle)) {
                m_folded.push_back(utf8::foldCase(c));
            }
        }
    }
}

std::optional<MatchRange> Matcher::next(std::size_t from, const Before &before)
{
    return m_program ? nextWildcard(from, before) : nextLiteral(from, before);
}

void Matcher::replacement(std::string &out) const
{
    out.clear();
    if (m_program) {
        m_replacement.expand(m_text, m_captures, out);
    } else {
        out = m_request.replacement;
    }
}

std::optional<MatchRange> Matcher::nextWildcard(std::size_t p, const Before &before)
{
    const std::size_t n = m_text.size();
    wildcard::Subject subject{m_text,
                              before.resume,
                              before.c,
                              before.has,
                              m_allowed.empty() ? nullptr : m_allowed.data()};
    while (p < n) {
        while (p < n && !m_program->canStartWith(static_cast<unsigned char>(m_text[p]))) {
            ++p;
        }
        if (p >= n) {
            break;
        }
        if (m_program->matchAt(subject, p, m_captures) && m_captures[1] > m_captures[0]) {
            return MatchRange{m_captures[0], m_captures[1]};
        }
        do {
            ++p;
        } while (p < n && !utf8::isLead(m_text[p]));
    }
    return std::nullopt;
}

std::optional<MatchRange> Matcher::nextLiteral(std::size_t p, const Before &before)
{
    if (m_needle.empty()) {
        return std::nullopt;
    }
    const std::size_t n = m_text.size();
    while (p < n) {
        std::size_t end = 0;
        if (m_request.matchCase) {
            p = findBytes(m_text, m_needle, p);
            if (p == std::string_view::npos) {
                return std::nullopt;
            }
            end = p + m_needle.size();
        } else if (!foldedAt(p, end)) {
            do {
                ++p;
            } while (p < n && !utf8::isLead(m_text[p]));
            continue;
        }
        if ((!m_criteria || m_cursor.allAccepted(p, end, m_accepted))
            && (!m_request.wholeWord || wholeWordAt(p, end, before))) {
            return MatchRange{p, end};
        }
        do {
            ++p;
        } while (p < n && !utf8::isLead(m_text[p]));
    }
    return std::nullopt;
}

bool Matcher::foldedAt(std::size_t p, std::size_t &end) const
{
    for (const char32_t want : m_folded) {
        if (p >= m_text.size() || utf8::foldCase(utf8::decode(m_text, p)) != want) {
            return false;
        }
    }
    end = p;
    return true;
}

bool Matcher::wholeWordAt(std::size_t s, std::size_t e, const Before &before) const
{
    bool has = false;
    const char32_t prev = charBefore(m_text, s, before, has);
    return !(has && utf8::isWordChar(prev)) && !(e < m_text.size() && utf8::isWordChar(utf8::at(m_text, e)));
}

} // namespace word::builtin
