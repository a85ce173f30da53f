#pragma once

// The names the host and its library inside the office agree on (officejob.cpp, officehelper.cpp).

namespace word::uno::officejob
{

/// The library's file name, next to the program or the host's module.
inline constexpr const char *library = "libtonvale-office.so";
/// The job that moves the chord font's values from paragraphs onto their runs.
inline constexpr const char *implementation = "org.tonvale.office.ParagraphRuns";
/// The job's arguments: the text document, and the criteria as the office's search attributes.
inline constexpr const char *document = "Document";
inline constexpr const char *criteria = "Criteria";

} // namespace word::uno::officejob
