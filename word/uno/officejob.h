#pragma once

// The names the host and its library inside the office agree on (officejob.cpp, officehelper.cpp).

namespace word::uno::officejob
{

/// The library's file name, next to the program or the host's module.
inline constexpr const char *library = "libtonvale-office.so";
/// The job that tells whether the office's formatted search may miss matches of the criteria,
/// because paragraphs give searched values that runs override, and moves such values onto their runs
/// when asked: true where they may be missed (before the move).
inline constexpr const char *implementation = "org.tonvale.office.ParagraphRuns";
/// The job's arguments: the text document, the criteria as the office's search attributes, and
/// whether to move (a boolean; not given, no).
inline constexpr const char *document = "Document";
inline constexpr const char *criteria = "Criteria";
inline constexpr const char *move = "Move";

} // namespace word::uno::officejob
