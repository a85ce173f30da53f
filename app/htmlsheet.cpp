#include "htmlsheet.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>

#include <utility>

namespace app
{

using word::builtin::CharFormat;
using word::builtin::TextDocument;

namespace
{

constexpr char16_t noBreakSpace = 0x00A0;
constexpr char16_t objectReplacement = 0xFFFC;

/// Word's underline styles and the Qt styles that show them; any other style either way is a single underline.
constexpr std::pair<int32_t, QTextCharFormat::UnderlineStyle> underlineStyles[] = {
    {word::wdUnderlineNone, QTextCharFormat::NoUnderline},
    {word::wdUnderlineDotted, QTextCharFormat::DotLine},
    {word::wdUnderlineDash, QTextCharFormat::DashUnderline},
    {word::wdUnderlineWavy, QTextCharFormat::WaveUnderline},
};

CharFormat fromQt(const QTextCharFormat &qt)
{
    CharFormat format;
    format.bold = qt.fontWeight() >= QFont::DemiBold;
    format.italic = qt.fontItalic();
    format.underline = word::wdUnderlineSingle;
    for (const auto &[underline, style] : underlineStyles) {
        if (style == qt.underlineStyle()) {
            format.underline = underline;
        }
    }
    if (qt.foreground().style() != Qt::NoBrush) {
        const QColor color = qt.foreground().color();
        format.color = color.red() + 256 * color.green() + 65536 * color.blue();
    }
    return format;
}

/// The characters of a fragment as the document holds them.
std::u32string documentText(const QString &fragment)
{
    std::u32string text;
    for (char32_t c : fragment.toStdU32String()) {
        if (c == QChar::LineSeparator) {
            text += word::builtin::lineBreak;
        } else if (c == noBreakSpace) {
            text += U' ';
        } else if (c < 0x20 && c != U'\t') {
            // Control characters (a NUL in a broken file) are no text of a sheet, and would not survive a save.
        } else if (c != objectReplacement && c != QChar::ParagraphSeparator) {
            text += c;
        }
    }
    return text;
}

bool onlyNoBreakSpace(const QTextBlock &block)
{
    return block.text() == QString(QChar(noBreakSpace));
}

/// text as HTML. afterBlank: whether what comes before it would swallow a blank (a paragraph's or a line's
/// start, a blank of the run before); updated for the run after.
QString escaped(std::u32string_view text, bool &afterBlank)
{
    QString html;
    for (char32_t c : text) {
        const bool blank = c == U' ';
        if (blank) {
            // A blank at a paragraph's start or after another blank would collapse: write it as a no-break space.
            html += afterBlank ? QStringLiteral("&nbsp;") : QStringLiteral(" ");
        } else if (c == U'\t') {
            html += QStringLiteral("<span style=\"white-space:pre\">\t</span>");
        } else if (c == U'&') {
            html += QStringLiteral("&amp;");
        } else if (c == U'<') {
            html += QStringLiteral("&lt;");
        } else if (c == U'>') {
            html += QStringLiteral("&gt;");
        } else {
            html += QString::fromUcs4(&c, 1);
        }
        afterBlank = blank;
    }
    return html;
}

QString colorName(int32_t color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF).name();
}

QString openTags(const CharFormat &format)
{
    QString tags;
    if (format.bold) {
        tags += QStringLiteral("<b>");
    }
    if (format.italic) {
        tags += QStringLiteral("<i>");
    }
    if (format.underline == word::wdUnderlineSingle) {
        tags += QStringLiteral("<u>");
    } else if (format.underline != word::wdUnderlineNone) {
        const char *style = format.underline == word::wdUnderlineDouble ? "double"
            : format.underline == word::wdUnderlineDotted               ? "dotted"
            : format.underline == word::wdUnderlineDash                 ? "dashed"
            : format.underline == word::wdUnderlineWavy                 ? "wavy"
                                                                        : "solid";
        tags += QStringLiteral("<u style=\"text-decoration-style:%1\">").arg(QLatin1String(style));
    }
    if (format.color != word::wdColorAutomatic) {
        tags += QStringLiteral("<span style=\"color:%1\">").arg(colorName(format.color));
    }
    return tags;
}

QString closeTags(const CharFormat &format)
{
    QString tags;
    if (format.color != word::wdColorAutomatic) {
        tags += QStringLiteral("</span>");
    }
    if (format.underline != word::wdUnderlineNone) {
        tags += QStringLiteral("</u>");
    }
    if (format.italic) {
        tags += QStringLiteral("</i>");
    }
    if (format.bold) {
        tags += QStringLiteral("</b>");
    }
    return tags;
}

} // namespace

QTextCharFormat toQt(const CharFormat &format)
{
    QTextCharFormat qt;
    qt.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    qt.setFontItalic(format.italic);
    qt.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    for (const auto &[underline, style] : underlineStyles) {
        if (underline == format.underline) {
            qt.setUnderlineStyle(style);
        }
    }
    if (format.color != word::wdColorAutomatic) {
        qt.setForeground(QColor(format.color & 0xFF, (format.color >> 8) & 0xFF, (format.color >> 16) & 0xFF));
    }
    return qt;
}

TextDocument sheetFromHtml(const QString &html)
{
    // Blanks after the last paragraph (before </body> or </html>, or at the end) would read as a trailing
    // space of that paragraph.
    static const QRegularExpression trailingBlanks(QStringLiteral("\\s+(?=(</body>|</html>|\\s)*$)"),
                                                   QRegularExpression::CaseInsensitiveOption);
    QTextDocument source;
    source.setHtml(QString(html).remove(trailingBlanks));
    TextDocument doc;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        if (!onlyNoBreakSpace(block)) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const std::u32string text = documentText(fragment.text());
                doc.insert(doc.length() - 1, text, fromQt(fragment.charFormat()));
            }
        }
        if (block.next().isValid()) {
            doc.insert(doc.length() - 1, std::u32string(1, word::builtin::paragraphMark), fromQt(block.charFormat()));
        }
    }
    return doc;
}

QString sheetToHtml(const TextDocument &doc, const QString &title)
{
    QString html = QStringLiteral(
                       "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                       "<style>\np { margin: 0; font-family: 'Courier New', monospace; font-size: 11pt; }\n</style>\n"
                       "</head>\n<body>\n<p>")
                       .arg(title.toHtmlEscaped());
    const std::u32string_view text = doc.text();
    const std::size_t end = text.size() - 1; // the final paragraph mark closes the last <p>
    bool afterBlank = true; // a blank here would collapse, so it is written as a no-break space
    bool paragraphEmpty = true;
    for (const word::builtin::Run &run : doc.runs()) {
        std::size_t from = run.start;
        const std::size_t to = std::min(run.start + run.length, end);
        while (from < to) {
            std::size_t stop = from;
            while (stop < to && text[stop] != word::builtin::paragraphMark && text[stop] != word::builtin::lineBreak) {
                ++stop;
            }
            if (stop > from) {
                html +=
                    openTags(run.format) + escaped(text.substr(from, stop - from), afterBlank) + closeTags(run.format);
                paragraphEmpty = false;
            }
            if (stop < to) {
                if (text[stop] == word::builtin::paragraphMark) {
                    html += paragraphEmpty ? QStringLiteral("&nbsp;</p>\n<p>") : QStringLiteral("</p>\n<p>");
                    paragraphEmpty = true;
                } else {
                    html += QStringLiteral("<br>");
                    paragraphEmpty = false;
                }
                afterBlank = true;
                ++stop;
            }
            from = stop;
        }
    }
    html +=
        paragraphEmpty ? QStringLiteral("&nbsp;</p>\n</body>\n</html>\n") : QStringLiteral("</p>\n</body>\n</html>\n");
    return html;
}

std::optional<TextDocument> loadSheet(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    // Word writes its HTML in the system's code page and says so in a <meta> charset; UTF-8 otherwise.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    return sheetFromHtml(decoder.isValid() ? QString(decoder.decode(bytes)) : QString::fromUtf8(bytes));
}

bool saveSheet(const QString &path, const TextDocument &doc, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    file.write(sheetToHtml(doc, QFileInfo(path).completeBaseName()).toUtf8());
    if (!file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace app
