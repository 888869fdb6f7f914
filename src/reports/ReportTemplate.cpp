#include "ReportTemplate.h"

#include <QBuffer>
#include <QLocale>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

const QString kRoot = QStringLiteral("czreport");
constexpr int kVersion = 1;

template <typename E> struct REnumName
{
    E value;
    const char* name;
};

const REnumName<TBandKind> kBandNames[] = {
    {TBandKind::ReportTitle, "ReportTitle"},   {TBandKind::PageHeader, "PageHeader"},
    {TBandKind::ColumnHeader, "ColumnHeader"}, {TBandKind::DataHeader, "DataHeader"},
    {TBandKind::MasterData, "MasterData"},     {TBandKind::DetailData, "DetailData"},
    {TBandKind::GroupHeader, "GroupHeader"},   {TBandKind::GroupFooter, "GroupFooter"},
    {TBandKind::DataFooter, "DataFooter"},     {TBandKind::ReportSummary, "ReportSummary"},
    {TBandKind::PageFooter, "PageFooter"}};
const REnumName<TObjectKind> kObjectNames[] = {
    {TObjectKind::Text, "Text"},   {TObjectKind::Line, "Line"},       {TObjectKind::Rect, "Rect"},
    {TObjectKind::Image, "Image"}, {TObjectKind::Barcode, "Barcode"}, {TObjectKind::CheckMark, "CheckMark"}};
const REnumName<TPaperKind> kPaperNames[] = {{TPaperKind::A3, "A3"},         {TPaperKind::A4, "A4"},
                                             {TPaperKind::A5, "A5"},         {TPaperKind::B5, "B5"},
                                             {TPaperKind::Letter, "Letter"}, {TPaperKind::Custom, "Custom"}};
const REnumName<THAlign> kHAlignNames[] = {
    {THAlign::Left, "left"}, {THAlign::Center, "center"}, {THAlign::Right, "right"}};
const REnumName<TVAlign> kVAlignNames[] = {
    {TVAlign::Top, "top"}, {TVAlign::Middle, "middle"}, {TVAlign::Bottom, "bottom"}};
const REnumName<TBarcodeKind> kBarcodeNames[] = {
    {TBarcodeKind::Code128, "Code128"}, {TBarcodeKind::Ean13, "EAN13"}, {TBarcodeKind::QrCode, "QR"}};

template <typename E, size_t N> QString enumName(const REnumName<E> (&table)[N], E value)
{
    for (const auto& e : table) {
        if (e.value == value)
            return QString::fromLatin1(e.name);
    }
    return QString::fromLatin1(table[0].name);
}

template <typename E, size_t N>
E enumValue(const REnumName<E> (&table)[N], QStringView text, E fallback, bool* ok = nullptr)
{
    for (const auto& e : table) {
        if (text.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) {
            if (ok)
                *ok = true;
            return e.value;
        }
    }
    if (ok)
        *ok = false;
    return fallback;
}

QString num(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString boolText(bool v)
{
    return v ? QStringLiteral("1") : QStringLiteral("0");
}

QString colorText(const QColor& c)
{
    if (!c.isValid())
        return QString();
    return c.alpha() == 255 ? c.name(QColor::HexRgb) : c.name(QColor::HexArgb);
}

// XML 1.0 cannot carry most control characters; they are dropped rather than making the
// document unreadable.
QString xmlSafe(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const ushort u = c.unicode();
        if (u >= 0x20 || u == '\t' || u == '\n' || u == '\r') {
            if (u != 0xFFFE && u != 0xFFFF)
                out.append(c);
        }
    }
    return out;
}

class TAttrs
{
public:
    explicit TAttrs(const QXmlStreamAttributes& a) : m_a(a) {}
    QString text(const char* name, const QString& fallback = QString()) const
    {
        const QLatin1String key(name);
        return m_a.hasAttribute(key) ? m_a.value(key).toString() : fallback;
    }
    double number(const char* name, double fallback, double lo, double hi) const
    {
        const QLatin1String key(name);
        if (!m_a.hasAttribute(key))
            return fallback;
        bool ok = false;
        const double v = m_a.value(key).toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return fallback;
        return std::clamp(v, lo, hi);
    }
    bool flag(const char* name, bool fallback) const
    {
        const QLatin1String key(name);
        if (!m_a.hasAttribute(key))
            return fallback;
        const auto v = m_a.value(key);
        return v == QLatin1String("1") || v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    }
    QColor color(const char* name, const QColor& fallback) const
    {
        const QLatin1String key(name);
        if (!m_a.hasAttribute(key))
            return fallback;
        const QString v = m_a.value(key).toString();
        if (v.isEmpty())
            return QColor();
        const QColor c = QColor::fromString(v);
        return c.isValid() ? c : fallback;
    }

private:
    QXmlStreamAttributes m_a; // a copy: attributes() returns a temporary
};

void writeObject(QXmlStreamWriter& w, const RReportObject& o)
{
    w.writeStartElement(QStringLiteral("object"));
    w.writeAttribute(QStringLiteral("kind"), enumName(kObjectNames, o.kind));
    w.writeAttribute(QStringLiteral("name"), xmlSafe(o.name));
    w.writeAttribute(QStringLiteral("x"), num(o.geometry.x()));
    w.writeAttribute(QStringLiteral("y"), num(o.geometry.y()));
    w.writeAttribute(QStringLiteral("width"), num(o.geometry.width()));
    w.writeAttribute(QStringLiteral("height"), num(o.geometry.height()));
    w.writeAttribute(QStringLiteral("font"), xmlSafe(o.fontFamily));
    w.writeAttribute(QStringLiteral("size"), num(o.fontSize));
    w.writeAttribute(QStringLiteral("bold"), boolText(o.bold));
    w.writeAttribute(QStringLiteral("italic"), boolText(o.italic));
    w.writeAttribute(QStringLiteral("underline"), boolText(o.underline));
    w.writeAttribute(QStringLiteral("color"), colorText(o.color));
    w.writeAttribute(QStringLiteral("fill"), colorText(o.fill));
    w.writeAttribute(QStringLiteral("align"), enumName(kHAlignNames, o.hAlign));
    w.writeAttribute(QStringLiteral("valign"), enumName(kVAlignNames, o.vAlign));
    w.writeAttribute(QStringLiteral("wordWrap"), boolText(o.wordWrap));
    w.writeAttribute(QStringLiteral("canGrow"), boolText(o.canGrow));
    w.writeAttribute(QStringLiteral("stretch"), boolText(o.stretch));
    w.writeAttribute(QStringLiteral("borders"), QString::number(o.borders));
    w.writeAttribute(QStringLiteral("lineWidth"), num(o.lineWidth));
    w.writeAttribute(QStringLiteral("lineColor"), colorText(o.lineColor));
    w.writeAttribute(QStringLiteral("format"), xmlSafe(o.displayFormat));
    w.writeAttribute(QStringLiteral("printIf"), xmlSafe(o.printIf));
    w.writeAttribute(QStringLiteral("keepAspect"), boolText(o.keepAspect));
    w.writeAttribute(QStringLiteral("barcode"), enumName(kBarcodeNames, o.barcode));
    w.writeAttribute(QStringLiteral("showText"), boolText(o.showText));
    if (!o.text.isEmpty()) {
        // A reader turns a raw carriage return into a line feed; as a character reference it stays.
        w.writeStartElement(QStringLiteral("content"));
        const QStringList parts = xmlSafe(o.text).split(QLatin1Char('\r'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                w.writeEntityReference(QStringLiteral("#13"));
            if (!parts.at(i).isEmpty())
                w.writeCharacters(parts.at(i));
        }
        w.writeEndElement();
    }
    if (!o.imageData.isEmpty())
        w.writeTextElement(QStringLiteral("image"), QString::fromLatin1(o.imageData.toBase64()));
    w.writeEndElement();
}

void writeBand(QXmlStreamWriter& w, const RReportBand& b)
{
    w.writeStartElement(QStringLiteral("band"));
    w.writeAttribute(QStringLiteral("kind"), enumName(kBandNames, b.kind));
    w.writeAttribute(QStringLiteral("name"), xmlSafe(b.name));
    w.writeAttribute(QStringLiteral("height"), num(b.height));
    w.writeAttribute(QStringLiteral("canGrow"), boolText(b.canGrow));
    w.writeAttribute(QStringLiteral("keepTogether"), boolText(b.keepTogether));
    w.writeAttribute(QStringLiteral("startNewPage"), boolText(b.startNewPage));
    w.writeAttribute(QStringLiteral("newPageAfter"), boolText(b.newPageAfter));
    w.writeAttribute(QStringLiteral("printOnFirstPage"), boolText(b.printOnFirstPage));
    w.writeAttribute(QStringLiteral("repeatOnEveryPage"), boolText(b.repeatOnEveryPage));
    w.writeAttribute(QStringLiteral("dataSet"), xmlSafe(b.dataSet));
    w.writeAttribute(QStringLiteral("owner"), xmlSafe(b.owner));
    w.writeAttribute(QStringLiteral("masterKey"), xmlSafe(b.masterKey));
    w.writeAttribute(QStringLiteral("detailKey"), xmlSafe(b.detailKey));
    w.writeAttribute(QStringLiteral("condition"), xmlSafe(b.condition));
    for (const RReportObject& o : b.objects)
        writeObject(w, o);
    w.writeEndElement();
}

constexpr double kMaxLength = 10000; // mm; anything beyond is not a sheet of paper

bool readObject(QXmlStreamReader& r, RReportObject& o)
{
    const TAttrs a(r.attributes());
    bool known = false;
    o.kind = enumValue(kObjectNames, a.text("kind"), TObjectKind::Text, &known);
    if (!known) {
        r.raiseError(QStringLiteral("未知的对象类型 \"%1\"").arg(a.text("kind")));
        return false;
    }
    o.name = a.text("name");
    o.geometry = QRectF(a.number("x", 0, -kMaxLength, kMaxLength), a.number("y", 0, -kMaxLength, kMaxLength),
                        a.number("width", 20, -kMaxLength, kMaxLength),
                        a.number("height", 5, -kMaxLength, kMaxLength));
    o.fontFamily = a.text("font", o.fontFamily);
    o.fontSize = a.number("size", o.fontSize, 1, 500);
    o.bold = a.flag("bold", false);
    o.italic = a.flag("italic", false);
    o.underline = a.flag("underline", false);
    o.color = a.color("color", Qt::black);
    o.fill = a.color("fill", QColor());
    o.hAlign = enumValue(kHAlignNames, a.text("align"), THAlign::Left);
    o.vAlign = enumValue(kVAlignNames, a.text("valign"), TVAlign::Middle);
    o.wordWrap = a.flag("wordWrap", false);
    o.canGrow = a.flag("canGrow", false);
    o.stretch = a.flag("stretch", false);
    o.borders = int(a.number("borders", 0, 0, BorderAll));
    o.lineWidth = a.number("lineWidth", 0.2, 0, 50);
    o.lineColor = a.color("lineColor", Qt::black);
    o.displayFormat = a.text("format");
    o.printIf = a.text("printIf");
    o.keepAspect = a.flag("keepAspect", true);
    o.barcode = enumValue(kBarcodeNames, a.text("barcode"), TBarcodeKind::Code128);
    o.showText = a.flag("showText", true);
    while (r.readNextStartElement()) {
        if (r.name() == QLatin1String("content")) {
            o.text = r.readElementText();
        } else if (r.name() == QLatin1String("image")) {
            const auto decoded = QByteArray::fromBase64Encoding(r.readElementText().toLatin1(),
                                                                QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) {
                r.raiseError(QStringLiteral("图片数据无法解码"));
                return false;
            }
            o.imageData = *decoded;
        } else {
            r.skipCurrentElement();
        }
    }
    return !r.hasError();
}

bool readBand(QXmlStreamReader& r, RReportBand& b)
{
    const TAttrs a(r.attributes());
    bool known = false;
    b.kind = enumValue(kBandNames, a.text("kind"), TBandKind::MasterData, &known);
    if (!known) {
        r.raiseError(QStringLiteral("未知的区域类型 \"%1\"").arg(a.text("kind")));
        return false;
    }
    b.name = a.text("name");
    b.height = a.number("height", 8, 0, kMaxLength);
    b.canGrow = a.flag("canGrow", false);
    b.keepTogether = a.flag("keepTogether", false);
    b.startNewPage = a.flag("startNewPage", false);
    b.newPageAfter = a.flag("newPageAfter", false);
    b.printOnFirstPage = a.flag("printOnFirstPage", true);
    b.repeatOnEveryPage = a.flag("repeatOnEveryPage", false);
    b.dataSet = a.text("dataSet");
    b.owner = a.text("owner");
    b.masterKey = a.text("masterKey");
    b.detailKey = a.text("detailKey");
    b.condition = a.text("condition");
    while (r.readNextStartElement()) {
        if (r.name() == QLatin1String("object")) {
            RReportObject o;
            if (!readObject(r, o))
                return false;
            b.objects.append(o);
        } else {
            r.skipCurrentElement();
        }
    }
    return !r.hasError();
}

bool readPage(QXmlStreamReader& r, RReportPage& p)
{
    const TAttrs a(r.attributes());
    p.paper = enumValue(kPaperNames, a.text("paper"), TPaperKind::A4);
    const QSizeF def = TReportTemplate::paperSize(p.paper);
    p.paperWidth = a.number("width", def.width(), 10, kMaxLength);
    p.paperHeight = a.number("height", def.height(), 10, kMaxLength);
    if (p.paper != TPaperKind::Custom) {
        p.paperWidth = def.width();
        p.paperHeight = def.height();
    }
    p.landscape = a.text("orientation") == QLatin1String("landscape");
    p.marginLeft = a.number("marginLeft", 10, 0, kMaxLength);
    p.marginTop = a.number("marginTop", 10, 0, kMaxLength);
    p.marginRight = a.number("marginRight", 10, 0, kMaxLength);
    p.marginBottom = a.number("marginBottom", 10, 0, kMaxLength);
    while (r.readNextStartElement()) {
        if (r.name() == QLatin1String("band")) {
            RReportBand b;
            if (!readBand(r, b))
                return false;
            p.bands.append(b);
        } else {
            r.skipCurrentElement();
        }
    }
    return !r.hasError();
}

} // namespace

QSizeF RReportPage::size() const
{
    return landscape ? QSizeF(paperHeight, paperWidth) : QSizeF(paperWidth, paperHeight);
}

void RReportPage::setPaper(TPaperKind kind)
{
    paper = kind;
    if (kind != TPaperKind::Custom) {
        const QSizeF s = TReportTemplate::paperSize(kind);
        paperWidth = s.width();
        paperHeight = s.height();
    }
}

QSizeF TReportTemplate::paperSize(TPaperKind kind)
{
    switch (kind) {
    case TPaperKind::A3:
        return {297, 420};
    case TPaperKind::A4:
        return {210, 297};
    case TPaperKind::A5:
        return {148, 210};
    case TPaperKind::B5:
        return {176, 250};
    case TPaperKind::Letter:
        return {215.9, 279.4};
    case TPaperKind::Custom:
        break;
    }
    return {210, 297};
}

QString TReportTemplate::paperName(TPaperKind kind)
{
    return kind == TPaperKind::Custom ? QStringLiteral("自定义") : enumName(kPaperNames, kind);
}

QString TReportTemplate::bandKindName(TBandKind kind)
{
    switch (kind) {
    case TBandKind::ReportTitle:
        return QStringLiteral("报表标题");
    case TBandKind::PageHeader:
        return QStringLiteral("页眉");
    case TBandKind::ColumnHeader:
        return QStringLiteral("列标题");
    case TBandKind::DataHeader:
        return QStringLiteral("数据头");
    case TBandKind::MasterData:
        return QStringLiteral("主数据");
    case TBandKind::DetailData:
        return QStringLiteral("明细数据");
    case TBandKind::GroupHeader:
        return QStringLiteral("分组头");
    case TBandKind::GroupFooter:
        return QStringLiteral("分组尾");
    case TBandKind::DataFooter:
        return QStringLiteral("数据尾");
    case TBandKind::ReportSummary:
        return QStringLiteral("报表合计");
    case TBandKind::PageFooter:
        return QStringLiteral("页脚");
    }
    return QString();
}

QString TReportTemplate::objectKindName(TObjectKind kind)
{
    switch (kind) {
    case TObjectKind::Text:
        return QStringLiteral("文本");
    case TObjectKind::Line:
        return QStringLiteral("直线");
    case TObjectKind::Rect:
        return QStringLiteral("矩形");
    case TObjectKind::Image:
        return QStringLiteral("图片");
    case TObjectKind::Barcode:
        return QStringLiteral("条码");
    case TObjectKind::CheckMark:
        return QStringLiteral("复选标记");
    }
    return QString();
}

void TReportTemplate::clear()
{
    title.clear();
    pages.clear();
}

TReportTemplate TReportTemplate::emptyReport()
{
    TReportTemplate t;
    t.pages.append(RReportPage());
    return t;
}

QByteArray TReportTemplate::toXml() const
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    save(&buffer);
    return out;
}

bool TReportTemplate::save(QIODevice* device, QString* error) const
{
    QXmlStreamWriter w(device);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement(kRoot);
    w.writeAttribute(QStringLiteral("version"), QString::number(kVersion));
    w.writeAttribute(QStringLiteral("title"), xmlSafe(title));
    for (const RReportPage& p : pages) {
        w.writeStartElement(QStringLiteral("page"));
        w.writeAttribute(QStringLiteral("paper"), enumName(kPaperNames, p.paper));
        w.writeAttribute(QStringLiteral("width"), num(p.paperWidth));
        w.writeAttribute(QStringLiteral("height"), num(p.paperHeight));
        w.writeAttribute(QStringLiteral("orientation"),
                         p.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
        w.writeAttribute(QStringLiteral("marginLeft"), num(p.marginLeft));
        w.writeAttribute(QStringLiteral("marginTop"), num(p.marginTop));
        w.writeAttribute(QStringLiteral("marginRight"), num(p.marginRight));
        w.writeAttribute(QStringLiteral("marginBottom"), num(p.marginBottom));
        for (const RReportBand& b : p.bands)
            writeBand(w, b);
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    if (w.hasError()) {
        if (error)
            *error = QStringLiteral("报表模板无法写入:%1").arg(device->errorString());
        return false;
    }
    return true;
}

bool TReportTemplate::load(QIODevice* device, QString* error)
{
    if (!device || (!device->isOpen() && !device->open(QIODevice::ReadOnly))) {
        *this = emptyReport();
        if (error)
            *error = QStringLiteral("报表模板无法读取:%1\r\n已打开一个空白报表。")
                         .arg(device ? device->errorString() : QString());
        return false;
    }
    return load(device->readAll(), error);
}

bool TReportTemplate::load(const QByteArray& data, QString* error)
{
    const int keepId = id;
    *this = emptyReport();
    id = keepId;
    if (error)
        error->clear();
    if (data.trimmed().isEmpty())
        return true;

    const QString notOurs =
        QStringLiteral("这不是本系统的报表模板(可能是其他报表程序的文件或已损坏的数据),无法读取。\r\n"
                       "已打开一个空白报表。");
    QXmlStreamReader r(data);
    if (!r.readNextStartElement() || r.name() != kRoot) {
        if (error)
            *error = notOurs;
        return false;
    }
    bool ok = false;
    const int version = r.attributes().value(QLatin1String("version")).toInt(&ok);
    if (!ok || version < 1) {
        if (error)
            *error = notOurs;
        return false;
    }
    if (version > kVersion) {
        if (error)
            *error = QStringLiteral("此报表模板由较新版本的程序保存(格式版本 %1),本程序无法读取。\r\n"
                                    "已打开一个空白报表。")
                         .arg(version);
        return false;
    }
    TReportTemplate t;
    t.id = keepId;
    t.title = r.attributes().value(QLatin1String("title")).toString();
    while (r.readNextStartElement()) {
        if (r.name() == QLatin1String("page")) {
            RReportPage p;
            if (!readPage(r, p))
                break;
            t.pages.append(p);
        } else {
            r.skipCurrentElement();
        }
    }
    if (!r.hasError()) {
        // Anything after the root element must be well-formed too.
        while (!r.atEnd())
            r.readNext();
    }
    if (r.hasError()) {
        if (error)
            *error = QStringLiteral("报表模板已损坏,无法读取(第 %1 行:%2)。\r\n已打开一个空白报表。")
                         .arg(r.lineNumber())
                         .arg(r.errorString());
        return false;
    }
    if (t.pages.isEmpty())
        t.pages.append(RReportPage());
    *this = t;
    return true;
}
