#pragma once

// "Get Font Parameters from Selected Text": the chord font taken from a sample chord selected in the document.

#include "word/automation.h"
#include "word/messages.h"

#include <optional>
#include <string>

namespace prefs
{

/// The boxes the command sets; an absent value leaves its box as it is.
struct SampleResult {
    std::optional<int> bold; ///< new value of Check1 "Bold" (set first)
    std::optional<int> italic; ///< new value of Check2 "Italics" (set second)
    std::optional<int> underline; ///< new value of Check7 "Underline" (set third)
    std::optional<std::string> red; ///< new text of Text1
    std::optional<std::string> green; ///< new text of Text2
    std::optional<std::string> blue; ///< new text of Text3

    bool operator==(const SampleResult &) const = default;
};

/// Runs the command's steps through the host: the document and selection checks, then Bold, Italic and
/// Underline, then the colour split into its decimal components. Messages go through prompter. The window
/// applies the result as user clicks would, so the style box interlock runs. Host failures propagate.
SampleResult GetFontParameters(word::Application &app, word::Prompter &prompter);

} // namespace prefs
