// The HTML sheet reader takes any bytes; a sheet it read and wrote again reads back to the same text.

#include "app/htmlsheet.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const QString html = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const word::builtin::TextDocument sheet = app::sheetFromHtml(html);
    const word::builtin::TextDocument again = app::sheetFromHtml(app::sheetToHtml(sheet, QStringLiteral("fuzz")));
    if (again.text() != sheet.text()) {
        std::abort();
    }
    return 0;
}
