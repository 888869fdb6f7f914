#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// Picks the fonts reports print with and measures text for the layout.
//
// Qt writes a PDF's text layer from the font's character map read backwards, taking the lowest
// code point of each glyph. The Noto CJK fonts map the Kangxi radicals (U+2F00…) and the CJK
// radicals supplement (U+2E80…) to the glyphs of the ideographs, so a PDF made with them
// copies 生 as ⽣. Report fonts are therefore resolved to installed families whose radicals
// have glyphs of their own (or none): "宋体" and the other serif names to AR PL UMing CN,
// "黑体", "微软雅黑" and every other name to WenQuanYi Micro Hei / Zen Hei.
class TReportFonts
{
public:
    // The font to print a report text with, resolved as above; point size as given.
    static QFont font(const QString& family, double pointSize, bool bold = false, bool italic = false,
                      bool underline = false);
    static QString resolveFamily(const QString& family);
    // The family's text survives a PDF export unchanged (see above).
    static bool keepsTextInPdf(const QString& family);
    // Families offered in the designer: the usual Chinese names first, then installed fonts
    // that keep their text in a PDF.
    static QStringList designerFamilies();

    // Layout measurements in millimetres, the same on every device.
    static double textWidth(const QFont& font, const QString& text);
    static double lineHeight(const QFont& font);
    // Breaks text into lines no wider than width (explicit line breaks kept).
    static QStringList wrap(const QFont& font, const QString& text, double width);
};
