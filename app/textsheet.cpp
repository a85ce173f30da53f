#include "textsheet.h"

#include "htmlsheet.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace app
{

using word::builtin::TextDocument;

TextDocument sheetFromText(const QString &text)
{
    std::u32string chars;
    chars.reserve(static_cast<std::size_t>(text.size()));
    const std::u32string all = text.toStdU32String();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == U'\r' || all[i] == U'\n') {
            if (all[i] == U'\r' && i + 1 < all.size() && all[i + 1] == U'\n') {
                ++i;
            }
            if (i + 1 < all.size()) { // the end of the last line is the document's final paragraph mark
                chars += word::builtin::paragraphMark;
            }
        } else {
            chars += all[i];
        }
    }
    TextDocument doc;
    doc.insert(0, chars, word::builtin::CharFormat{});
    return doc;
}

QString sheetToText(const TextDocument &doc)
{
    std::u32string_view text = doc.text();
    if (text.size() <= 1) {
        return QString();
    }
    std::u32string out(text);
    for (char32_t &c : out) {
        if (c == word::builtin::paragraphMark || c == word::builtin::lineBreak) {
            c = U'\n';
        }
    }
    return QString::fromStdU32String(out);
}

std::optional<QString> decodeText(const QByteArray &bytes)
{
    if (bytes.contains('\0')) {
        return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    QStringDecoder windows("windows-1252");
    if (windows.isValid()) {
        text = windows.decode(bytes);
        if (!windows.hasError()) {
            return text;
        }
    }
    return QString::fromLatin1(bytes);
}

bool isTextSheet(const QString &path)
{
    return path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
}

std::optional<TextDocument> loadSheetFile(const QString &path, QString *error)
{
    if (!isTextSheet(path)) {
        return loadSheet(path, error);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const auto text = decodeText(file.readAll());
    if (!text) {
        *error = QStringLiteral("%1 is not a text file.").arg(path);
        return std::nullopt;
    }
    return sheetFromText(*text);
}

bool saveSheetFile(const QString &path, const TextDocument &doc, QString *error)
{
    if (!isTextSheet(path)) {
        return saveSheet(path, doc, error);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    file.write(sheetToText(doc).toUtf8());
    if (!file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace app
