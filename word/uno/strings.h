#pragma once

// Text between Tonvale (UTF-8) and the office (its own strings), for the host and for code that runs
// inside the office beside it.

#include <rtl/ustring.hxx>

#include <string>
#include <string_view>

namespace word::uno
{

/// UTF-8 text as the office's string.
rtl::OUString ou(std::string_view utf8);
/// ASCII text (a literal name) as the office's string.
rtl::OUString ou(const char *ascii);
/// The office's string as UTF-8 text.
std::string utf8(const rtl::OUString &text);

} // namespace word::uno
