#pragma once

// Song sheets as plain text, the form most chord sheets come in: chords over lyrics, lined up in a
// fixed-width font. A plain-text sheet has no formatting, so nothing in it is in the chord font until
// the user marks the chords or sets their font. The song-sheet files of the document window are
// either this or HTML (htmlsheet.h), told apart by the file's name.

#include "word/builtin/textdocument.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace app
{

/// The lines of text (ended by LF, CR LF or CR) as paragraphs, every character unformatted. A final line
/// end ends the last line; it starts no empty paragraph.
word::builtin::TextDocument sheetFromText(const QString &text);

/// doc's text, each paragraph and each line break ended by LF, without its formatting; an empty document
/// is an empty text.
QString sheetToText(const word::builtin::TextDocument &doc);

/// The bytes of a plain-text file as text: UTF-8 (a byte-order mark skipped); bytes that are not UTF-8 are
/// read as Windows-1252, in which older chord sheets were written. std::nullopt for a file holding a
/// zero byte, which is no text file.
std::optional<QString> decodeText(const QByteArray &bytes);

/// Whether path names a plain-text sheet (".txt", any case); every other name is an HTML sheet.
bool isTextSheet(const QString &path);

/// The sheet in the file path, read as plain text or HTML by its name; std::nullopt with the reason in error.
std::optional<word::builtin::TextDocument> loadSheetFile(const QString &path, QString *error);

/// Write doc to path as plain text (UTF-8) or HTML by its name; false with the reason in error.
bool saveSheetFile(const QString &path, const word::builtin::TextDocument &doc, QString *error);

} // namespace app
