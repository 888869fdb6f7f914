#include "ReportFonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>

namespace {

const QStringList& serifAliases()
{
    static const QStringList names = {QStringLiteral("宋体"),
                                      QStringLiteral("新宋体"),
                                      QStringLiteral("SimSun"),
                                      QStringLiteral("NSimSun"),
                                      QStringLiteral("仿宋"),
                                      QStringLiteral("仿宋_GB2312"),
                                      QStringLiteral("FangSong"),
                                      QStringLiteral("楷体"),
                                      QStringLiteral("楷体_GB2312"),
                                      QStringLiteral("KaiTi"),
                                      QStringLiteral("隶书"),
                                      QStringLiteral("LiSu"),
                                      QStringLiteral("Noto Serif CJK SC"),
                                      QStringLiteral("serif")};
    return names;
}

const QStringList& serifFamilies()
{
    static const QStringList names = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
                                      QStringLiteral("AR PL UKai CN")};
    return names;
}

const QStringList& sansFamilies()
{
    static const QStringList names = {QStringLiteral("WenQuanYi Micro Hei"),
                                      QStringLiteral("WenQuanYi Zen Hei"),
                                      QStringLiteral("Droid Sans Fallback")};
    return names;
}

// A 720 dpi device: layout measures there so that every renderer breaks lines alike.
const QImage& referenceDevice()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_ARGB32);
        i.setDotsPerMeterX(28346);
        i.setDotsPerMeterY(28346);
        return i;
    }();
    return image;
}

double pxToMm(double px)
{
    return px * 25.4 / referenceDevice().logicalDpiY();
}

bool installed(const QString& family)
{
    static QHash<QString, bool> cache;
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    const bool has = QFontDatabase::hasFamily(family);
    cache.insert(family, has);
    return has;
}

QString firstFaithful(const QStringList& families)
{
    for (const QString& f : families) {
        if (installed(f) && TReportFonts::keepsTextInPdf(f))
            return f;
    }
    return QString();
}

} // namespace

bool TReportFonts::keepsTextInPdf(const QString& family)
{
    static QHash<QString, bool> cache;
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    bool faithful = false;
    if (installed(family)) {
        QFont f(family);
        f.setStyleStrategy(QFont::NoFontMerging);
        const QRawFont raw = QRawFont::fromFont(f);
        if (raw.isValid() && raw.familyName().compare(family, Qt::CaseInsensitive) == 0) {
            QString radicals;
            for (char32_t c = 0x2E80; c <= 0x2EF3; ++c)
                radicals += QChar(char16_t(c));
            for (char32_t c = 0x2F00; c <= 0x2FD5; ++c)
                radicals += QChar(char16_t(c));
            QSet<quint32> radicalGlyphs;
            for (quint32 g : raw.glyphIndexesForString(radicals)) {
                if (g != 0)
                    radicalGlyphs.insert(g);
            }
            faithful = true;
            if (!radicalGlyphs.isEmpty()) {
                QString ideographs;
                for (char32_t c = 0x4E00; c <= 0x9FFF; ++c)
                    ideographs += QChar(char16_t(c));
                for (quint32 g : raw.glyphIndexesForString(ideographs)) {
                    if (g != 0 && radicalGlyphs.contains(g)) {
                        faithful = false;
                        break;
                    }
                }
            }
        }
    }
    cache.insert(family, faithful);
    return faithful;
}

QString TReportFonts::resolveFamily(const QString& family)
{
    static QHash<QString, QString> cache;
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    QString resolved;
    const bool serif = serifAliases().contains(family, Qt::CaseInsensitive);
    if (serif)
        resolved = firstFaithful(serifFamilies());
    else if (!family.isEmpty() && installed(family) && keepsTextInPdf(family))
        resolved = family;
    if (resolved.isEmpty())
        resolved = firstFaithful(sansFamilies());
    if (resolved.isEmpty()) {
        // No font that keeps its text is installed: print with what there is.
        resolved = installed(family) ? family : QStringLiteral("Noto Sans CJK SC");
    }
    cache.insert(family, resolved);
    return resolved;
}

QFont TReportFonts::font(const QString& family, double pointSize, bool bold, bool italic, bool underline)
{
    const QString primary = resolveFamily(family);
    QStringList families{primary};
    // Characters the primary font lacks come from a font that keeps its text too.
    for (const QString& f : sansFamilies()) {
        if (f != primary && installed(f))
            families.append(f);
    }
    QFont f;
    f.setFamilies(families);
    f.setPointSizeF(pointSize > 0 ? pointSize : 9);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

QStringList TReportFonts::designerFamilies()
{
    QStringList out{QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("楷体"),
                    QStringLiteral("仿宋")};
    for (const QString& f : serifFamilies() + sansFamilies()) {
        if (installed(f) && !out.contains(f))
            out.append(f);
    }
    return out;
}

double TReportFonts::textWidth(const QFont& font, const QString& text)
{
    return pxToMm(QFontMetricsF(font, &referenceDevice()).horizontalAdvance(text));
}

double TReportFonts::lineHeight(const QFont& font)
{
    return pxToMm(QFontMetricsF(font, &referenceDevice()).lineSpacing());
}

QStringList TReportFonts::wrap(const QFont& font, const QString& text, double width)
{
    QStringList lines;
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    const double widthPx = width * referenceDevice().logicalDpiX() / 25.4;
    const QStringList paragraphs = plain.split(QLatin1Char('\n'));
    for (const QString& para : paragraphs) {
        if (para.isEmpty()) {
            lines.append(QString());
            continue;
        }
        QTextLayout layout(para, font, &referenceDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(std::max(widthPx, 1.0));
            QString piece = para.mid(line.textStart(), line.textLength());
            while (piece.endsWith(QLatin1Char(' ')))
                piece.chop(1);
            lines.append(piece);
        }
        layout.endLayout();
    }
    return lines;
}
