#include "ReportPropertyPanel.h"

#include "reports/ReportBarcode.h"
#include "reports/ReportFonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString colorText(const QColor& c)
{
    return c.isValid() ? c.name(QColor::HexRgb) : QString();
}

QColor parseColor(const QString& s)
{
    const QString t = s.trimmed();
    return t.isEmpty() ? QColor() : QColor::fromString(t);
}

} // namespace

TReportPropertyPanel::TReportPropertyPanel(TReportDesignView* view, QWidget* parent)
    : QWidget(parent), m_view(view)
{
    setObjectName(QStringLiteral("PropertyPanel"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lblProperties"));
    QFont f = m_title->font();
    f.setBold(true);
    m_title->setFont(f);
    outer->addWidget(m_title);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_body = new QWidget(scroll);
    m_form = new QFormLayout(m_body);
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    scroll->setWidget(m_body);
    outer->addWidget(scroll, 1);
    connect(m_view, &TReportDesignView::selectionChanged, this, &TReportPropertyPanel::refresh);
    connect(m_view, &TReportDesignView::templateChanged, this, [this] {
        if (!m_applying)
            refresh();
    });
    rebuild();
}

void TReportPropertyPanel::refresh()
{
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        rebuild();
    });
}

void TReportPropertyPanel::apply(const RProp& prop, const QVariant& value)
{
    // Editors also report when they merely lose the focus: an unchanged value changes nothing.
    if (prop.kind != RProp::Button && prop.get() == value)
        return;
    const auto& set = prop.set;
    m_applying = true;
    m_view->beginChange();
    set(value);
    m_view->endChange();
    m_applying = false;
}

void TReportPropertyPanel::addEditor(const RProp& prop)
{
    QWidget* editor = nullptr;
    const QVariant value = prop.get();
    const RProp set = prop;
    switch (prop.kind) {
    case RProp::Double: {
        auto* e = new QDoubleSpinBox(m_body);
        e->setDecimals(2);
        e->setRange(prop.min, prop.max);
        e->setSingleStep(0.5);
        e->setKeyboardTracking(false);
        e->setValue(value.toDouble());
        connect(e, &QDoubleSpinBox::valueChanged, this, [this, set](double v) { apply(set, v); });
        editor = e;
        break;
    }
    case RProp::Text:
    case RProp::Color: {
        auto* e = new QLineEdit(value.toString(), m_body);
        if (prop.kind == RProp::Color)
            e->setPlaceholderText(QStringLiteral("#RRGGBB,空为无"));
        connect(e, &QLineEdit::editingFinished, this, [this, e, set] {
            if (e->isModified())
                apply(set, e->text());
            e->setModified(false);
        });
        editor = e;
        break;
    }
    case RProp::Bool: {
        auto* e = new QCheckBox(m_body);
        e->setChecked(value.toBool());
        connect(e, &QCheckBox::toggled, this, [this, set](bool on) { apply(set, on); });
        editor = e;
        break;
    }
    case RProp::Choice: {
        auto* e = new QComboBox(m_body);
        e->addItems(prop.choices);
        e->setCurrentIndex(value.toInt());
        connect(e, &QComboBox::activated, this, [this, set](int i) { apply(set, i); });
        editor = e;
        break;
    }
    case RProp::EditableChoice: {
        auto* e = new QComboBox(m_body);
        e->setEditable(true);
        e->addItems(prop.choices);
        e->setCurrentText(value.toString());
        connect(e->lineEdit(), &QLineEdit::editingFinished, this, [this, e, set] {
            if (e->lineEdit()->isModified())
                apply(set, e->currentText());
            e->lineEdit()->setModified(false);
        });
        connect(e, &QComboBox::activated, this, [this, e, set](int) { apply(set, e->currentText()); });
        editor = e;
        break;
    }
    case RProp::Button: {
        auto* e = new QPushButton(prop.choices.value(0), m_body);
        connect(e, &QPushButton::clicked, this, [this, set] { apply(set, QVariant()); });
        editor = e;
        break;
    }
    }
    editor->setObjectName(prop.name);
    m_form->addRow(prop.label, editor);
}

void TReportPropertyPanel::rebuild()
{
    while (m_form->rowCount() > 0)
        m_form->removeRow(0);
    const QList<RDesignRef>& sel = m_view->selection();
    QList<RProp> props;
    if (sel.size() == 1 && sel.first().object >= 0) {
        const RReportObject* o = m_view->object(sel.first());
        m_title->setText(o ? QStringLiteral("%1 属性").arg(TReportTemplate::objectKindName(o->kind))
                           : QString());
        props = objectProps(sel.first());
    } else if (sel.size() == 1 && sel.first().band >= 0) {
        const RReportBand* b = m_view->band(sel.first().band);
        m_title->setText(b ? QStringLiteral("%1 区域属性").arg(TReportTemplate::bandKindName(b->kind))
                           : QString());
        props = bandProps(sel.first().band);
    } else if (sel.size() > 1) {
        m_title->setText(QStringLiteral("已选中 %1 个对象").arg(sel.size()));
    } else {
        m_title->setText(QStringLiteral("页面属性"));
        props = pageProps();
    }
    for (const RProp& p : props)
        addEditor(p);
}

QList<TReportPropertyPanel::RProp> TReportPropertyPanel::objectProps(const RDesignRef& ref)
{
    TReportDesignView* v = m_view;
    const auto obj = [v, ref]() { return v->object(ref); };
    const RReportObject* o = obj();
    if (!o)
        return {};
    QList<RProp> out;
    const auto num = [&](const QString& label, const QString& name, double (*get)(const RReportObject&),
                         void (*set)(RReportObject&, double), double min, double max) {
        RProp p;
        p.label = label;
        p.name = name;
        p.kind = RProp::Double;
        p.min = min;
        p.max = max;
        p.get = [obj, get] { return obj() ? QVariant(get(*obj())) : QVariant(); };
        p.set = [obj, set](const QVariant& x) {
            if (RReportObject* o = obj())
                set(*o, x.toDouble());
        };
        out.append(p);
    };
    const auto flag = [&](const QString& label, const QString& name, bool RReportObject::*member) {
        RProp p;
        p.label = label;
        p.name = name;
        p.kind = RProp::Bool;
        p.get = [obj, member] { return obj() ? QVariant((*obj()).*member) : QVariant(); };
        p.set = [obj, member](const QVariant& x) {
            if (RReportObject* o = obj())
                (*o).*member = x.toBool();
        };
        out.append(p);
    };
    const auto text = [&](const QString& label, const QString& name, QString RReportObject::*member,
                          RProp::TKind kind = RProp::Text, const QStringList& choices = {}) {
        RProp p;
        p.label = label;
        p.name = name;
        p.kind = kind;
        p.choices = choices;
        p.get = [obj, member] { return obj() ? QVariant((*obj()).*member) : QVariant(); };
        p.set = [obj, member](const QVariant& x) {
            if (RReportObject* o = obj())
                (*o).*member = x.toString();
        };
        out.append(p);
    };
    const auto color = [&](const QString& label, const QString& name, QColor RReportObject::*member) {
        RProp p;
        p.label = label;
        p.name = name;
        p.kind = RProp::Color;
        p.get = [obj, member] { return obj() ? QVariant(colorText((*obj()).*member)) : QVariant(); };
        p.set = [obj, member](const QVariant& x) {
            if (RReportObject* o = obj()) {
                const QColor c = parseColor(x.toString());
                if (c.isValid() || x.toString().trimmed().isEmpty())
                    (*o).*member = c;
            }
        };
        out.append(p);
    };

    text(QStringLiteral("名称"), QStringLiteral("propName"), &RReportObject::name);
    num(
        QStringLiteral("左"), QStringLiteral("propX"), [](const RReportObject& o) { return o.geometry.x(); },
        [](RReportObject& o, double x) { o.geometry.moveLeft(x); }, -1000, 1000);
    num(
        QStringLiteral("上"), QStringLiteral("propY"), [](const RReportObject& o) { return o.geometry.y(); },
        [](RReportObject& o, double y) { o.geometry.moveTop(y); }, -1000, 1000);
    num(
        QStringLiteral("宽"), QStringLiteral("propWidth"),
        [](const RReportObject& o) { return o.geometry.width(); },
        [](RReportObject& o, double w) { o.geometry.setWidth(w); }, -1000, 1000);
    num(
        QStringLiteral("高"), QStringLiteral("propHeight"),
        [](const RReportObject& o) { return o.geometry.height(); },
        [](RReportObject& o, double h) { o.geometry.setHeight(h); }, -1000, 1000);

    switch (o->kind) {
    case TObjectKind::Text:
        text(QStringLiteral("文本"), QStringLiteral("propText"), &RReportObject::text);
        text(QStringLiteral("字体"), QStringLiteral("propFont"), &RReportObject::fontFamily,
             RProp::EditableChoice, TReportFonts::designerFamilies());
        num(
            QStringLiteral("字号"), QStringLiteral("propFontSize"),
            [](const RReportObject& o) { return o.fontSize; },
            [](RReportObject& o, double s) { o.fontSize = std::clamp(s, 1.0, 500.0); }, 1, 500);
        flag(QStringLiteral("粗体"), QStringLiteral("propBold"), &RReportObject::bold);
        flag(QStringLiteral("斜体"), QStringLiteral("propItalic"), &RReportObject::italic);
        flag(QStringLiteral("下划线"), QStringLiteral("propUnderline"), &RReportObject::underline);
        {
            RProp p;
            p.label = QStringLiteral("水平对齐");
            p.name = QStringLiteral("propHAlign");
            p.kind = RProp::Choice;
            p.choices = {QStringLiteral("左"), QStringLiteral("居中"), QStringLiteral("右")};
            p.get = [obj] { return obj() ? QVariant(int(obj()->hAlign)) : QVariant(); };
            p.set = [obj](const QVariant& x) {
                if (RReportObject* o = obj())
                    o->hAlign = THAlign(std::clamp(x.toInt(), 0, 2));
            };
            out.append(p);
            p.label = QStringLiteral("垂直对齐");
            p.name = QStringLiteral("propVAlign");
            p.choices = {QStringLiteral("上"), QStringLiteral("中"), QStringLiteral("下")};
            p.get = [obj] { return obj() ? QVariant(int(obj()->vAlign)) : QVariant(); };
            p.set = [obj](const QVariant& x) {
                if (RReportObject* o = obj())
                    o->vAlign = TVAlign(std::clamp(x.toInt(), 0, 2));
            };
            out.append(p);
        }
        flag(QStringLiteral("自动换行"), QStringLiteral("propWordWrap"), &RReportObject::wordWrap);
        flag(QStringLiteral("随内容增高"), QStringLiteral("propCanGrow"), &RReportObject::canGrow);
        flag(QStringLiteral("随区域拉伸"), QStringLiteral("propStretch"), &RReportObject::stretch);
        {
            const struct
            {
                const char* label;
                const char* name;
                int side;
            } sides[] = {{"左边框", "propBorderLeft", BorderLeft},
                         {"上边框", "propBorderTop", BorderTop},
                         {"右边框", "propBorderRight", BorderRight},
                         {"下边框", "propBorderBottom", BorderBottom}};
            for (const auto& s : sides) {
                RProp p;
                p.label = QString::fromUtf8(s.label);
                p.name = QLatin1String(s.name);
                p.kind = RProp::Bool;
                const int side = s.side;
                p.get = [obj, side] { return obj() ? QVariant((obj()->borders & side) != 0) : QVariant(); };
                p.set = [obj, side](const QVariant& x) {
                    if (RReportObject* o = obj())
                        o->borders = x.toBool() ? (o->borders | side) : (o->borders & ~side);
                };
                out.append(p);
            }
        }
        color(QStringLiteral("文字颜色"), QStringLiteral("propColor"), &RReportObject::color);
        color(QStringLiteral("填充颜色"), QStringLiteral("propFill"), &RReportObject::fill);
        text(QStringLiteral("显示格式"), QStringLiteral("propFormat"), &RReportObject::displayFormat,
             RProp::EditableChoice,
             {QString(), QStringLiteral("#,##0.00"), QStringLiteral("#,##0.##"), QStringLiteral("0.00"),
              QStringLiteral("0.0%"), QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-MM-dd hh:mm:ss"),
              QStringLiteral("yyyy年M月d日")});
        break;
    case TObjectKind::Barcode: {
        text(QStringLiteral("数据"), QStringLiteral("propText"), &RReportObject::text);
        RProp p;
        p.label = QStringLiteral("条码类型");
        p.name = QStringLiteral("propBarcode");
        p.kind = RProp::Choice;
        p.choices = {TReportBarcode::kindName(TBarcodeKind::Code128),
                     TReportBarcode::kindName(TBarcodeKind::Ean13),
                     TReportBarcode::kindName(TBarcodeKind::QrCode)};
        p.get = [obj] { return obj() ? QVariant(int(obj()->barcode)) : QVariant(); };
        p.set = [obj](const QVariant& x) {
            if (RReportObject* o = obj())
                o->barcode = TBarcodeKind(std::clamp(x.toInt(), 0, 2));
        };
        out.append(p);
        flag(QStringLiteral("显示文字"), QStringLiteral("propShowText"), &RReportObject::showText);
        break;
    }
    case TObjectKind::CheckMark:
        text(QStringLiteral("条件"), QStringLiteral("propText"), &RReportObject::text);
        color(QStringLiteral("标记颜色"), QStringLiteral("propColor"), &RReportObject::color);
        break;
    case TObjectKind::Image: {
        flag(QStringLiteral("保持比例"), QStringLiteral("propKeepAspect"), &RReportObject::keepAspect);
        RProp p;
        p.label = QStringLiteral("图片");
        p.name = QStringLiteral("propImage");
        p.kind = RProp::Button;
        p.choices = {QStringLiteral("选择图片...")};
        p.get = [] { return QVariant(); };
        p.set = [obj, this](const QVariant&) {
            if (!m_pickImage)
                return;
            const QByteArray data = m_pickImage();
            if (RReportObject* o = obj(); o && !data.isEmpty())
                o->imageData = data;
        };
        out.append(p);
        break;
    }
    case TObjectKind::Line:
    case TObjectKind::Rect:
        color(QStringLiteral("填充颜色"), QStringLiteral("propFill"), &RReportObject::fill);
        break;
    }
    num(
        QStringLiteral("线宽"), QStringLiteral("propLineWidth"),
        [](const RReportObject& o) { return o.lineWidth; },
        [](RReportObject& o, double w) { o.lineWidth = std::clamp(w, 0.0, 50.0); }, 0, 50);
    color(QStringLiteral("线条颜色"), QStringLiteral("propLineColor"), &RReportObject::lineColor);
    text(QStringLiteral("打印条件"), QStringLiteral("propPrintIf"), &RReportObject::printIf);
    return out;
}

QList<TReportPropertyPanel::RProp> TReportPropertyPanel::bandProps(int index)
{
    TReportDesignView* v = m_view;
    const auto bnd = [v, index]() { return v->band(index); };
    const RReportBand* b = bnd();
    if (!b)
        return {};
    QStringList bandNames;
    if (const RReportPage* p = v->page()) {
        for (const RReportBand& x : p->bands) {
            if (!x.name.isEmpty() && x.name != b->name)
                bandNames.append(x.name);
        }
    }
    QList<RProp> out;
    const auto text = [&](const QString& label, const QString& name, QString RReportBand::*member,
                          RProp::TKind kind = RProp::Text, const QStringList& choices = {}) {
        RProp p;
        p.label = label;
        p.name = name;
        p.kind = kind;
        p.choices = choices;
        p.get = [bnd, member] { return bnd() ? QVariant((*bnd()).*member) : QVariant(); };
        p.set = [bnd, member](const QVariant& x) {
            if (RReportBand* b = bnd())
                (*b).*member = x.toString().trimmed();
        };
        out.append(p);
    };
    const auto flag = [&](const QString& label, const QString& name, bool RReportBand::*member) {
        RProp p;
        p.label = label;
        p.name = name;
        p.kind = RProp::Bool;
        p.get = [bnd, member] { return bnd() ? QVariant((*bnd()).*member) : QVariant(); };
        p.set = [bnd, member](const QVariant& x) {
            if (RReportBand* b = bnd())
                (*b).*member = x.toBool();
        };
        out.append(p);
    };
    text(QStringLiteral("名称"), QStringLiteral("propBandName"), &RReportBand::name);
    {
        RProp p;
        p.label = QStringLiteral("高度");
        p.name = QStringLiteral("propBandHeight");
        p.kind = RProp::Double;
        p.min = 0;
        p.max = 2000;
        p.get = [bnd] { return bnd() ? QVariant(bnd()->height) : QVariant(); };
        p.set = [bnd](const QVariant& x) {
            if (RReportBand* b = bnd())
                b->height = std::max(0.0, x.toDouble());
        };
        out.append(p);
    }
    switch (b->kind) {
    case TBandKind::MasterData:
    case TBandKind::DetailData:
        text(QStringLiteral("数据集"), QStringLiteral("propDataSet"), &RReportBand::dataSet,
             RProp::EditableChoice, m_dataSets);
        if (b->kind == TBandKind::DetailData) {
            text(QStringLiteral("主区域"), QStringLiteral("propOwner"), &RReportBand::owner,
                 RProp::EditableChoice, QStringList{QString()} + bandNames);
            text(QStringLiteral("主表字段"), QStringLiteral("propMasterKey"), &RReportBand::masterKey);
            text(QStringLiteral("明细字段"), QStringLiteral("propDetailKey"), &RReportBand::detailKey);
        }
        break;
    case TBandKind::GroupHeader:
        text(QStringLiteral("所属数据区域"), QStringLiteral("propOwner"), &RReportBand::owner,
             RProp::EditableChoice, bandNames);
        text(QStringLiteral("分组条件"), QStringLiteral("propCondition"), &RReportBand::condition);
        break;
    case TBandKind::GroupFooter:
        text(QStringLiteral("所属分组头"), QStringLiteral("propOwner"), &RReportBand::owner,
             RProp::EditableChoice, bandNames);
        break;
    case TBandKind::DataHeader:
    case TBandKind::DataFooter:
        text(QStringLiteral("所属数据区域"), QStringLiteral("propOwner"), &RReportBand::owner,
             RProp::EditableChoice, bandNames);
        break;
    default:
        break;
    }
    flag(QStringLiteral("可增高"), QStringLiteral("propBandCanGrow"), &RReportBand::canGrow);
    flag(QStringLiteral("保持在同一页"), QStringLiteral("propKeepTogether"), &RReportBand::keepTogether);
    flag(QStringLiteral("从新页开始"), QStringLiteral("propStartNewPage"), &RReportBand::startNewPage);
    flag(QStringLiteral("打印后换页"), QStringLiteral("propNewPageAfter"), &RReportBand::newPageAfter);
    if (b->kind == TBandKind::PageHeader || b->kind == TBandKind::PageFooter)
        flag(QStringLiteral("首页打印"), QStringLiteral("propPrintOnFirstPage"),
             &RReportBand::printOnFirstPage);
    if (b->kind == TBandKind::DataHeader || b->kind == TBandKind::GroupHeader)
        flag(QStringLiteral("每页重复"), QStringLiteral("propRepeat"), &RReportBand::repeatOnEveryPage);
    return out;
}

QList<TReportPropertyPanel::RProp> TReportPropertyPanel::pageProps()
{
    TReportDesignView* v = m_view;
    const auto pg = [v]() { return v->page(); };
    if (!pg())
        return {};
    QList<RProp> out;
    {
        RProp p;
        p.label = QStringLiteral("纸张");
        p.name = QStringLiteral("propPaper");
        p.kind = RProp::Choice;
        for (TPaperKind k : {TPaperKind::A3, TPaperKind::A4, TPaperKind::A5, TPaperKind::B5,
                             TPaperKind::Letter, TPaperKind::Custom})
            p.choices.append(TReportTemplate::paperName(k));
        p.get = [pg] { return pg() ? QVariant(int(pg()->paper)) : QVariant(); };
        p.set = [pg](const QVariant& x) {
            if (RReportPage* p = pg())
                p->setPaper(TPaperKind(std::clamp(x.toInt(), 0, int(TPaperKind::Custom))));
        };
        out.append(p);
    }
    const auto num = [&](const QString& label, const QString& name, double RReportPage::*member, double min) {
        RProp p;
        p.label = label;
        p.name = name;
        p.kind = RProp::Double;
        p.min = min;
        p.max = 2000;
        p.get = [pg, member] { return pg() ? QVariant((*pg()).*member) : QVariant(); };
        p.set = [pg, member, min](const QVariant& x) {
            if (RReportPage* p = pg()) {
                (*p).*member = std::max(min, x.toDouble());
                if (member == &RReportPage::paperWidth || member == &RReportPage::paperHeight)
                    p->paper = TPaperKind::Custom;
            }
        };
        out.append(p);
    };
    num(QStringLiteral("纸宽"), QStringLiteral("propPaperWidth"), &RReportPage::paperWidth, 10);
    num(QStringLiteral("纸高"), QStringLiteral("propPaperHeight"), &RReportPage::paperHeight, 10);
    {
        RProp p;
        p.label = QStringLiteral("横向");
        p.name = QStringLiteral("propLandscape");
        p.kind = RProp::Bool;
        p.get = [pg] { return pg() ? QVariant(pg()->landscape) : QVariant(); };
        p.set = [pg](const QVariant& x) {
            if (RReportPage* p = pg())
                p->landscape = x.toBool();
        };
        out.append(p);
    }
    num(QStringLiteral("左边距"), QStringLiteral("propMarginLeft"), &RReportPage::marginLeft, 0);
    num(QStringLiteral("上边距"), QStringLiteral("propMarginTop"), &RReportPage::marginTop, 0);
    num(QStringLiteral("右边距"), QStringLiteral("propMarginRight"), &RReportPage::marginRight, 0);
    num(QStringLiteral("下边距"), QStringLiteral("propMarginBottom"), &RReportPage::marginBottom, 0);
    return out;
}
