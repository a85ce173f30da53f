#pragma once

// Expected call-log lines of the built-in host for the commands' Word calls.

#include "word/replacetext.h"

#include <string>
#include <vector>

namespace testsupport
{

using Log = std::vector<std::string>;

/// The find criteria lines the chord font gives, in the order they are set.
inline Log fontCriteria(const word::ChordFont &font, const std::string &side = "Find.Font.")
{
    Log lines;
    if (font.useColor == 1) {
        lines.push_back(side + "Color = " + std::to_string(font.lColor));
    }
    if (font.useStyle == 1) {
        if (font.bold == 1) {
            lines.push_back(side + "Bold = -1");
        }
        if (font.italic == 1) {
            lines.push_back(side + "Italic = -1");
        }
        if (font.underline == 1) {
            lines.push_back(side + "Underline = -1");
        }
    }
    return lines;
}

/// The lines of one ReplaceText call.
inline Log
replaceTextLog(const word::ChordFont &font, const std::string &sFind, const std::string &sReplace, bool bWildcards)
{
    Log lines{"Find.ClearFormatting",
              "Find.Replacement.ClearFormatting",
              "Find.Text = " + sFind,
              "Find.Replacement.Text = " + sReplace,
              "Find.Forward = True",
              "Find.Wrap = 1",
              "Find.Format = True",
              "Find.MatchCase = True"};
    const Log criteria = fontCriteria(font);
    lines.insert(lines.end(), criteria.begin(), criteria.end());
    lines.insert(lines.end(),
                 {"Find.MatchWholeWord = False",
                  std::string("Find.MatchWildcards = ") + (bWildcards ? "True" : "False"),
                  "Find.MatchSoundsLike = False",
                  "Find.MatchAllWordForms = False",
                  "Find.Execute Replace:=2"});
    return lines;
}

inline void append(Log &log, const Log &more)
{
    log.insert(log.end(), more.begin(), more.end());
}

/// The log without the lines that only fetch objects ("Selection.Find" and the like, when a host logs them).
inline Log operations(const Log &log)
{
    Log kept;
    for (const auto &line : log) {
        if (line.rfind("Find.", 0) == 0 || line.rfind("Application.", 0) == 0 || line.rfind("Selection.", 0) == 0
            || line.rfind("Documents.", 0) == 0) {
            if (line != "Selection.Find" && line != "Selection.Find.Replacement") {
                kept.push_back(line);
            }
        }
    }
    return kept;
}

} // namespace testsupport
