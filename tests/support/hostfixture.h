#pragma once

// Test helpers around the built-in host: a host with one document given in the test notation,
// and one Replace-All made through the automation interface with chosen settings.

#include "word/builtin/host.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport
{

/// One Find.Execute Replace:=wdReplaceAll with the settings a caller makes.
struct ReplaceCall {
    std::string find;
    std::string replacement;
    bool wildcards = false;
    bool matchCase = true;
    bool format = true;
    std::vector<std::pair<word::FontProperty, int32_t>> criteria; ///< Find.Font settings
    std::vector<std::pair<word::FontProperty, int32_t>> changes; ///< Find.Replacement.Font settings
};

/// Clear the find formatting, make every setting of call and execute it; Execute's result.
bool runReplace(word::Application &app, const ReplaceCall &call);

/// A built-in host with one open document.
class SheetHost
{
public:
    explicit SheetHost(std::string_view notation);
    /// The active document in the test notation.
    std::string sheet() const;
    word::builtin::Host host;
};

} // namespace testsupport
