#pragma once

// Song sheets as HTML files, the form both Word and LibreOffice Writer open and save: one <p> per
// paragraph, <br> for a line break, <b>, <i>, <u> and a colour span for the formatting.

#include "word/builtin/textdocument.h"

#include <QString>
#include <QTextCharFormat>

#include <optional>

namespace app
{

/// The sheet in html as the built-in host's document. Runs of blanks are kept; a no-break space reads
/// as a plain space and a paragraph holding nothing but one no-break space as an empty paragraph
/// (how word processors write blank lines and runs of blanks).
word::builtin::TextDocument sheetFromHtml(const QString &html);

/// doc as a complete HTML page titled title, in a fixed-width font so that chords stay above their words.
/// FIXME: underline styles other than single are written with a CSS style but read back as single.
QString sheetToHtml(const word::builtin::TextDocument &doc, const QString &title);

/// The Qt character format that shows a document format in the editor.
QTextCharFormat toQt(const word::builtin::CharFormat &format);

/// The sheet in the file path, or std::nullopt with the reason in error.
std::optional<word::builtin::TextDocument> loadSheet(const QString &path, QString *error);

/// Write doc to path; false with the reason in error.
bool saveSheet(const QString &path, const word::builtin::TextDocument &doc, QString *error);

} // namespace app
