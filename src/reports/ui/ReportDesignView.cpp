#include "ReportDesignView.h"

#include "reports/ReportDocument.h"
#include "reports/ReportPainter.h"

#include <QCache>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

const QString kFieldMime = QStringLiteral("application/x-czreport-field");
constexpr int kHandle = 6;

QImage designImage(const QByteArray& data)
{
    static QCache<QByteArray, QImage> cache(32);
    if (data.isEmpty())
        return QImage();
    if (QImage* hit = cache.object(data))
        return *hit;
    QImage image = QImage::fromData(data);
    cache.insert(data, new QImage(image));
    return image;
}

// The object as a page primitive, so that it looks in the designer as it prints.
RReportItem designItem(const RReportObject& o)
{
    RReportItem item;
    item.rect = o.geometry;
    item.text = o.text;
    item.fontFamily = o.fontFamily;
    item.fontSize = o.fontSize;
    item.bold = o.bold;
    item.italic = o.italic;
    item.underline = o.underline;
    item.color = o.color;
    item.fill = o.fill;
    item.hAlign = o.hAlign;
    item.vAlign = o.vAlign;
    item.borders = o.borders;
    item.lineWidth = o.lineWidth;
    item.lineColor = o.lineColor;
    item.keepAspect = o.keepAspect;
    item.barcode = o.barcode;
    item.showText = o.showText;
    item.checked = true;
    switch (o.kind) {
    case TObjectKind::Text:
        item.kind = TItemKind::Text;
        break;
    case TObjectKind::Line:
        item.kind = TItemKind::Line;
        break;
    case TObjectKind::Rect:
        item.kind = TItemKind::Rect;
        break;
    case TObjectKind::Image:
        item.kind = TItemKind::Image;
        item.image = designImage(o.imageData);
        break;
    case TObjectKind::Barcode:
        item.kind = TItemKind::Barcode;
        // An expression has no value yet: a sample shows the kind of code.
        if (o.text.contains(QLatin1Char('[')) || o.text.isEmpty()) {
            item.text = o.barcode == TBarcodeKind::Ean13    ? QStringLiteral("690123456789")
                        : o.barcode == TBarcodeKind::QrCode ? QStringLiteral("QR")
                                                            : QStringLiteral("123456");
        }
        break;
    case TObjectKind::CheckMark:
        item.kind = TItemKind::CheckMark;
        break;
    }
    return item;
}

QString bandCaption(const RReportBand& b)
{
    QString s = TReportTemplate::bandKindName(b.kind);
    if (!b.name.isEmpty())
        s += QStringLiteral(": ") + b.name;
    if (!b.dataSet.isEmpty())
        s += QStringLiteral("  数据集 ") + b.dataSet;
    if (!b.owner.isEmpty())
        s += QStringLiteral("  属于 ") + b.owner;
    if (!b.condition.isEmpty())
        s += QStringLiteral("  条件 ") + b.condition;
    return s;
}

} // namespace

TReportDesignView::TReportDesignView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DesignView"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
}

void TReportDesignView::setTemplate(TReportTemplate* report)
{
    m_template = report;
    m_pageIndex = 0;
    m_selection.clear();
    relayout();
    emit selectionChanged();
}

void TReportDesignView::setPageIndex(int page)
{
    m_pageIndex = page;
    m_selection.clear();
    relayout();
    emit selectionChanged();
}

RReportPage* TReportDesignView::page() const
{
    if (!m_template || m_pageIndex < 0 || m_pageIndex >= m_template->pages.size())
        return nullptr;
    return &m_template->pages[m_pageIndex];
}

RReportBand* TReportDesignView::band(int index) const
{
    RReportPage* p = page();
    if (!p || index < 0 || index >= p->bands.size())
        return nullptr;
    return &p->bands[index];
}

RReportObject* TReportDesignView::object(const RDesignRef& ref) const
{
    RReportBand* b = band(ref.band);
    if (!b || ref.object < 0 || ref.object >= b->objects.size())
        return nullptr;
    return &b->objects[ref.object];
}

void TReportDesignView::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, 0.25, 6.0);
    relayout();
}

void TReportDesignView::setSnapToGrid(bool on)
{
    m_snap = on;
    update();
}

double TReportDesignView::pxPerMm() const
{
    return m_zoom * logicalDpiX() / 25.4;
}

void TReportDesignView::relayout()
{
    const RReportPage* p = page();
    if (!p) {
        resize(200, 200);
        update();
        return;
    }
    const double k = pxPerMm();
    double h = kMargin + p->marginTop * k;
    for (const RReportBand& b : p->bands)
        h += kCaption + b.height * k + kGap;
    h = std::max(h + p->marginBottom * k, kMargin + p->size().height() * k);
    resize(int(std::ceil(p->size().width() * k)) + 2 * kMargin, int(std::ceil(h)) + kMargin);
    update();
}

QRectF TReportDesignView::bandRect(int index) const
{
    const RReportPage* p = page();
    if (!p || index < 0 || index >= p->bands.size())
        return QRectF();
    const double k = pxPerMm();
    double y = kMargin + p->marginTop * k;
    for (int i = 0; i < index; ++i)
        y += kCaption + p->bands.at(i).height * k + kGap;
    y += kCaption;
    return QRectF(kMargin + p->marginLeft * k, y, p->printableWidth() * k, p->bands.at(index).height * k);
}

int TReportDesignView::bandAt(const QPoint& pos) const
{
    const RReportPage* p = page();
    if (!p)
        return -1;
    for (int i = 0; i < p->bands.size(); ++i) {
        const QRectF r = bandRect(i);
        const QRectF withCaption(r.left() - kMargin, r.top() - kCaption, r.width() + 2 * kMargin,
                                 r.height() + kCaption + kGap);
        if (withCaption.contains(pos))
            return i;
    }
    return -1;
}

QPointF TReportDesignView::toBandMm(int band, const QPointF& pos) const
{
    const QRectF r = bandRect(band);
    const double k = pxPerMm();
    return QPointF((pos.x() - r.left()) / k, (pos.y() - r.top()) / k);
}

QPointF TReportDesignView::fromBandMm(int band, const QPointF& mm) const
{
    const QRectF r = bandRect(band);
    const double k = pxPerMm();
    return QPointF(r.left() + mm.x() * k, r.top() + mm.y() * k);
}

QRectF TReportDesignView::objectRect(const RDesignRef& ref) const
{
    const RReportObject* o = object(ref);
    if (!o)
        return QRectF();
    const double k = pxPerMm();
    const QPointF tl = fromBandMm(ref.band, o->geometry.topLeft());
    return QRectF(tl, QSizeF(o->geometry.width() * k, o->geometry.height() * k)).normalized();
}

RDesignRef TReportDesignView::objectAt(const QPoint& pos) const
{
    const int b = bandAt(pos);
    const RReportBand* rb = band(b);
    if (!rb)
        return {};
    for (int i = int(rb->objects.size()) - 1; i >= 0; --i) {
        const RDesignRef ref{b, i};
        if (objectRect(ref).adjusted(-3, -3, 3, 3).contains(pos))
            return ref;
    }
    return {b, -1};
}

QList<QRectF> TReportDesignView::handles(const RDesignRef& ref) const
{
    const RReportObject* o = object(ref);
    if (!o)
        return {};
    const double k = pxPerMm();
    const auto box = [](const QPointF& c) {
        return QRectF(c.x() - kHandle / 2.0, c.y() - kHandle / 2.0, kHandle, kHandle);
    };
    if (o->kind == TObjectKind::Line) {
        const QPointF a = fromBandMm(ref.band, o->geometry.topLeft());
        const QPointF b = a + QPointF(o->geometry.width() * k, o->geometry.height() * k);
        QList<QRectF> out(8, QRectF());
        out[0] = box(a);
        out[4] = box(b);
        return out;
    }
    const QRectF r = objectRect(ref);
    return {box(r.topLeft()),     box(QPointF(r.center().x(), r.top())),
            box(r.topRight()),    box(QPointF(r.right(), r.center().y())),
            box(r.bottomRight()), box(QPointF(r.center().x(), r.bottom())),
            box(r.bottomLeft()),  box(QPointF(r.left(), r.center().y()))};
}

int TReportDesignView::handleAt(const QPoint& pos) const
{
    if (m_selection.size() != 1 || m_selection.first().object < 0)
        return -1;
    const QList<QRectF> hs = handles(m_selection.first());
    for (int i = 0; i < hs.size(); ++i) {
        if (!hs.at(i).isNull() && hs.at(i).adjusted(-2, -2, 2, 2).contains(pos))
            return i;
    }
    return -1;
}

double TReportDesignView::snap(double mm) const
{
    if (!m_snap || m_grid <= 0)
        return std::round(mm * 10) / 10;
    return std::round(mm / m_grid) * m_grid;
}

void TReportDesignView::changing()
{
    if (m_aboutToChange)
        m_aboutToChange();
}

void TReportDesignView::changed()
{
    relayout();
    emit templateChanged();
}

void TReportDesignView::setSelection(const QList<RDesignRef>& selection)
{
    m_selection = selection;
    update();
    emit selectionChanged();
}

void TReportDesignView::selectAllInBand()
{
    const int b = m_selection.isEmpty() ? -1 : m_selection.first().band;
    const RReportBand* rb = band(b);
    if (!rb)
        return;
    QList<RDesignRef> all;
    for (int i = 0; i < rb->objects.size(); ++i)
        all.append({b, i});
    setSelection(all);
}

RDesignRef TReportDesignView::insertObject(int bandIndex, TObjectKind kind, const QPointF& at,
                                           const QString& text)
{
    if (!band(bandIndex))
        return {};
    // The undo snapshot shares the template's data: pointers into it are taken only after it.
    changing();
    RReportBand* b = band(bandIndex);
    RReportObject o;
    o.kind = kind;
    QSizeF size(30, 6);
    switch (kind) {
    case TObjectKind::Text:
        o.text = text.isEmpty() ? QStringLiteral("文本") : text;
        break;
    case TObjectKind::Line:
        size = QSizeF(30, 0);
        break;
    case TObjectKind::Rect:
        size = QSizeF(30, 15);
        break;
    case TObjectKind::Image:
        size = QSizeF(30, 20);
        break;
    case TObjectKind::Barcode:
        size = QSizeF(40, 15);
        o.text = text;
        break;
    case TObjectKind::CheckMark:
        size = QSizeF(5, 5);
        o.text = text;
        break;
    }
    const double x = std::clamp(snap(at.x()), 0.0, std::max(0.0, page()->printableWidth() - size.width()));
    const double y = std::max(0.0, snap(at.y()));
    o.geometry = QRectF(QPointF(x, y), size);
    o.name = TReportTemplate::objectKindName(kind) + QString::number(b->objects.size() + 1);
    b->objects.append(o);
    if (b->height < y + size.height())
        b->height = y + size.height();
    const RDesignRef ref{bandIndex, int(b->objects.size()) - 1};
    m_selection = {ref};
    changed();
    emit selectionChanged();
    emit objectInserted(ref);
    return ref;
}

int TReportDesignView::addBand(TBandKind kind)
{
    if (!page())
        return -1;
    changing();
    RReportPage* p = page();
    RReportBand b;
    b.kind = kind;
    int n = 1;
    const QString base = [&] {
        switch (kind) {
        case TBandKind::ReportTitle:
            return QStringLiteral("ReportTitle");
        case TBandKind::PageHeader:
            return QStringLiteral("PageHeader");
        case TBandKind::ColumnHeader:
            return QStringLiteral("ColumnHeader");
        case TBandKind::DataHeader:
            return QStringLiteral("Header");
        case TBandKind::MasterData:
            return QStringLiteral("MasterData");
        case TBandKind::DetailData:
            return QStringLiteral("DetailData");
        case TBandKind::GroupHeader:
            return QStringLiteral("GroupHeader");
        case TBandKind::GroupFooter:
            return QStringLiteral("GroupFooter");
        case TBandKind::DataFooter:
            return QStringLiteral("Footer");
        case TBandKind::ReportSummary:
            return QStringLiteral("Summary");
        case TBandKind::PageFooter:
            return QStringLiteral("PageFooter");
        }
        return QStringLiteral("Band");
    }();
    const auto taken = [&](const QString& name) {
        for (const RReportBand& x : p->bands) {
            if (x.name == name)
                return true;
        }
        return false;
    };
    while (taken(base + QString::number(n)))
        ++n;
    b.name = base + QString::number(n);
    const auto lastOf = [&](TBandKind k) {
        QString name;
        for (const RReportBand& x : p->bands) {
            if (x.kind == k)
                name = x.name;
        }
        return name;
    };
    QString firstData;
    for (const RReportBand& x : p->bands) {
        if (x.kind == TBandKind::MasterData || x.kind == TBandKind::DetailData) {
            firstData = x.name;
            break;
        }
    }
    switch (kind) {
    case TBandKind::MasterData:
        b.dataSet = QStringLiteral("d0");
        b.height = 6;
        break;
    case TBandKind::DetailData:
        b.dataSet = QStringLiteral("d1");
        b.owner = lastOf(TBandKind::MasterData);
        b.height = 6;
        break;
    case TBandKind::DataHeader:
    case TBandKind::DataFooter:
    case TBandKind::GroupHeader:
        b.owner = firstData;
        break;
    case TBandKind::GroupFooter:
        b.owner = lastOf(TBandKind::GroupHeader);
        break;
    default:
        break;
    }
    // Page headers go first, page footers last, everything else before summary and footer.
    int at = int(p->bands.size());
    if (kind == TBandKind::PageHeader) {
        at = 0;
    } else if (kind != TBandKind::PageFooter) {
        for (int i = 0; i < p->bands.size(); ++i) {
            const TBandKind k = p->bands.at(i).kind;
            if (k == TBandKind::PageFooter ||
                (kind != TBandKind::ReportSummary && k == TBandKind::ReportSummary)) {
                at = i;
                break;
            }
        }
    }
    p->bands.insert(at, b);
    m_selection = {{at, -1}};
    changed();
    emit selectionChanged();
    return at;
}

void TReportDesignView::deleteSelection()
{
    if (!page() || m_selection.isEmpty())
        return;
    changing();
    RReportPage* p = page();
    QList<RDesignRef> sel = m_selection;
    std::sort(sel.begin(), sel.end(), [](const RDesignRef& a, const RDesignRef& b) {
        return a.band != b.band ? a.band > b.band : a.object > b.object;
    });
    for (const RDesignRef& r : sel) {
        if (r.object >= 0) {
            if (RReportBand* b = band(r.band); b && r.object < b->objects.size())
                b->objects.removeAt(r.object);
        } else if (r.band >= 0 && r.band < p->bands.size()) {
            p->bands.removeAt(r.band);
        }
    }
    m_selection.clear();
    changed();
    emit selectionChanged();
}

void TReportDesignView::moveSelection(double dx, double dy)
{
    bool any = false;
    for (const RDesignRef& r : m_selection)
        any = any || object(r);
    if (!any)
        return;
    changing();
    for (const RDesignRef& r : m_selection) {
        if (RReportObject* o = object(r)) {
            o->geometry.translate(dx, dy);
            if (o->geometry.top() < 0 && o->kind != TObjectKind::Line)
                o->geometry.moveTop(0);
        }
    }
    changed();
}

void TReportDesignView::resizeSelection(double dw, double dh)
{
    bool any = false;
    for (const RDesignRef& r : m_selection)
        any = any || object(r);
    if (!any)
        return;
    changing();
    for (const RDesignRef& r : m_selection) {
        if (RReportObject* o = object(r)) {
            const bool line = o->kind == TObjectKind::Line;
            o->geometry.setWidth(line ? o->geometry.width() + dw : std::max(1.0, o->geometry.width() + dw));
            o->geometry.setHeight(line ? o->geometry.height() + dh
                                       : std::max(1.0, o->geometry.height() + dh));
        }
    }
    changed();
}

void TReportDesignView::alignSelection(TAlign how)
{
    int count = 0;
    for (const RDesignRef& r : m_selection)
        count += object(r) ? 1 : 0;
    if (count < 2)
        return;
    changing();
    QList<RReportObject*> objs;
    for (const RDesignRef& r : m_selection) {
        if (RReportObject* o = object(r))
            objs.append(o);
    }
    const QRectF ref = objs.first()->geometry;
    for (int i = 1; i < objs.size(); ++i) {
        QRectF& g = objs[i]->geometry;
        switch (how) {
        case TAlign::Left:
            g.moveLeft(ref.left());
            break;
        case TAlign::Right:
            g.moveRight(ref.right());
            break;
        case TAlign::Top:
            g.moveTop(ref.top());
            break;
        case TAlign::Bottom:
            g.moveBottom(ref.bottom());
            break;
        case TAlign::HCenter:
            g.moveLeft(ref.center().x() - g.width() / 2);
            break;
        case TAlign::VCenter:
            g.moveTop(ref.center().y() - g.height() / 2);
            break;
        case TAlign::SameWidth:
            g.setWidth(ref.width());
            break;
        case TAlign::SameHeight:
            g.setHeight(ref.height());
            break;
        }
    }
    changed();
}

void TReportDesignView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 128, 128));
    const RReportPage* pg = page();
    if (!pg)
        return;
    const double k = pxPerMm();
    const QRectF paper(kMargin, kMargin, pg->size().width() * k, height() - 2 * kMargin);
    p.fillRect(paper, Qt::white);
    // Margins.
    p.setPen(QPen(QColor(180, 180, 255), 0, Qt::DashLine));
    p.drawLine(QPointF(kMargin + pg->marginLeft * k, paper.top()),
               QPointF(kMargin + pg->marginLeft * k, paper.bottom()));
    const double right = kMargin + (pg->size().width() - pg->marginRight) * k;
    p.drawLine(QPointF(right, paper.top()), QPointF(right, paper.bottom()));

    for (int i = 0; i < pg->bands.size(); ++i) {
        const RReportBand& b = pg->bands.at(i);
        const QRectF r = bandRect(i);
        const bool bandSelected = m_selection.contains(RDesignRef{i, -1});
        const QRectF caption(paper.left(), r.top() - kCaption, paper.width(), kCaption);
        p.fillRect(caption, bandSelected ? QColor(255, 220, 150) : QColor(225, 230, 240));
        p.setPen(QColor(60, 60, 60));
        QFont f = font();
        f.setPixelSize(11);
        p.setFont(f);
        p.drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, bandCaption(b));
        if (m_snap && m_grid * k >= 6) {
            p.setPen(QPen(QColor(210, 210, 210), 0));
            for (double gy = 0; gy <= b.height + 1e-6; gy += m_grid) {
                for (double gx = 0; gx <= pg->printableWidth() + 1e-6; gx += m_grid)
                    p.drawPoint(QPointF(r.left() + gx * k, r.top() + gy * k));
            }
        }
        p.save();
        p.setClipRect(r.adjusted(-1, -1, 1, 1));
        for (const RReportObject& o : b.objects) {
            p.save();
            TReportPainter::paintItem(&p, designItem(o), k, r.topLeft());
            p.restore();
            if (o.kind == TObjectKind::Text && o.borders == BorderNone) {
                p.setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));
                p.setBrush(Qt::NoBrush);
                p.drawRect(QRectF(r.topLeft() + o.geometry.topLeft() * k, o.geometry.size() * k));
            }
        }
        p.restore();
        p.setPen(QPen(bandSelected ? QColor(230, 140, 0) : QColor(160, 170, 190), 0, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawLine(r.bottomLeft(), r.bottomRight());
    }

    // Selection and handles.
    p.setBrush(Qt::NoBrush);
    for (const RDesignRef& ref : m_selection) {
        if (ref.object < 0)
            continue;
        p.setPen(QPen(QColor(0, 120, 215), 0, Qt::DashLine));
        p.drawRect(objectRect(ref).adjusted(-1, -1, 1, 1));
    }
    if (m_selection.size() == 1) {
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(QColor(0, 120, 215));
        for (const QRectF& h : handles(m_selection.first())) {
            if (!h.isNull())
                p.drawRect(h);
        }
    }
    if (m_drag == TDrag::Rubber) {
        p.setPen(QPen(QColor(0, 120, 215), 0, Qt::DotLine));
        p.setBrush(QColor(0, 120, 215, 30));
        p.drawRect(QRect(m_pressPos, m_lastPos).normalized());
    }
}

void TReportDesignView::mousePressEvent(QMouseEvent* e)
{
    setFocus();
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pos = e->position().toPoint();
    m_pressPos = m_lastPos = pos;
    m_dragChanged = false;
    m_drag = TDrag::None;

    if (m_insertKind >= 0) {
        const TObjectKind kind = TObjectKind(m_insertKind);
        m_insertKind = -1;
        unsetCursor();
        const int b = bandAt(pos);
        if (b >= 0)
            insertObject(b, kind, toBandMm(b, pos));
        return;
    }
    const int h = handleAt(pos);
    if (h >= 0) {
        m_drag = TDrag::Resize;
        m_dragHandle = h;
        m_dragStart = {object(m_selection.first())->geometry};
        return;
    }
    // The bottom edge of a band changes its height.
    const RReportPage* pg = page();
    for (int i = 0; pg && i < pg->bands.size(); ++i) {
        const QRectF r = bandRect(i);
        if (std::abs(pos.y() - r.bottom()) <= 3 && pos.x() >= r.left() - kMargin &&
            pos.x() <= r.right() + kMargin) {
            m_drag = TDrag::BandHeight;
            m_dragBand = i;
            m_dragBandHeight = pg->bands.at(i).height;
            setSelection({{i, -1}});
            return;
        }
    }
    const RDesignRef hit = objectAt(pos);
    if (hit.object >= 0) {
        QList<RDesignRef> sel = m_selection;
        if (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
            if (sel.contains(hit))
                sel.removeAll(hit);
            else
                sel.append(hit);
        } else if (!sel.contains(hit)) {
            sel = {hit};
        }
        // Objects move with their band only: the selection keeps to the band clicked.
        QList<RDesignRef> sameBand;
        for (const RDesignRef& r : sel) {
            if (r.band == hit.band && r.object >= 0)
                sameBand.append(r);
        }
        setSelection(sameBand);
        m_drag = TDrag::Move;
        m_dragStart.clear();
        for (const RDesignRef& r : m_selection)
            m_dragStart.append(object(r)->geometry);
        return;
    }
    if (hit.band >= 0) {
        setSelection({{hit.band, -1}});
        if (bandRect(hit.band).contains(pos)) {
            m_drag = TDrag::Rubber;
            m_dragBand = hit.band;
        }
        return;
    }
    clearSelection();
}

void TReportDesignView::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (m_drag == TDrag::None) {
        const RReportPage* pg = page();
        bool edge = false;
        for (int i = 0; pg && i < pg->bands.size() && !edge; ++i)
            edge = std::abs(pos.y() - bandRect(i).bottom()) <= 3;
        if (m_insertKind >= 0)
            setCursor(Qt::CrossCursor);
        else if (handleAt(pos) >= 0)
            setCursor(Qt::SizeAllCursor);
        else if (edge)
            setCursor(Qt::SizeVerCursor);
        else
            unsetCursor();
        return;
    }
    m_lastPos = pos;
    const double k = pxPerMm();
    const double dx = (pos.x() - m_pressPos.x()) / k;
    const double dy = (pos.y() - m_pressPos.y()) / k;
    if (m_drag == TDrag::Rubber) {
        update();
        return;
    }
    if (!m_dragChanged) {
        if ((pos - m_pressPos).manhattanLength() < 3)
            return;
        changing();
        m_dragChanged = true;
    }
    if (m_drag == TDrag::Move) {
        const QRectF& first = m_dragStart.first();
        const double sx = snap(first.left() + dx) - first.left();
        const double sy = snap(first.top() + dy) - first.top();
        for (int i = 0; i < m_selection.size(); ++i) {
            if (RReportObject* o = object(m_selection.at(i))) {
                QRectF g = m_dragStart.at(i).translated(sx, sy);
                if (o->kind != TObjectKind::Line && g.top() < 0)
                    g.moveTop(0);
                o->geometry = g;
            }
        }
    } else if (m_drag == TDrag::Resize) {
        RReportObject* o = object(m_selection.first());
        if (!o)
            return;
        const QRectF g = m_dragStart.first();
        if (o->kind == TObjectKind::Line) {
            QPointF a = g.topLeft();
            QPointF b = g.topLeft() + QPointF(g.width(), g.height());
            if (m_dragHandle == 0)
                a = QPointF(snap(a.x() + dx), snap(a.y() + dy));
            else
                b = QPointF(snap(b.x() + dx), snap(b.y() + dy));
            o->geometry = QRectF(a.x(), a.y(), b.x() - a.x(), b.y() - a.y());
        } else {
            double l = g.left(), t = g.top(), r = g.right(), btm = g.bottom();
            const int h = m_dragHandle;
            if (h == 0 || h == 6 || h == 7)
                l = std::min(snap(l + dx), r - 1);
            if (h == 2 || h == 3 || h == 4)
                r = std::max(snap(r + dx), l + 1);
            if (h == 0 || h == 1 || h == 2)
                t = std::min(std::max(0.0, snap(t + dy)), btm - 1);
            if (h == 4 || h == 5 || h == 6)
                btm = std::max(snap(btm + dy), t + 1);
            o->geometry = QRectF(QPointF(l, t), QPointF(r, btm));
        }
    } else if (m_drag == TDrag::BandHeight) {
        if (RReportBand* b = band(m_dragBand))
            b->height = std::max(0.0, snap(m_dragBandHeight + dy));
        relayout();
    }
    update();
    emit templateChanged();
}

void TReportDesignView::mouseReleaseEvent(QMouseEvent*)
{
    if (m_drag == TDrag::Rubber) {
        const QRectF area = QRectF(m_pressPos, m_lastPos).normalized();
        QList<RDesignRef> sel;
        if (const RReportBand* b = band(m_dragBand)) {
            for (int i = 0; i < b->objects.size(); ++i) {
                if (area.intersects(objectRect({m_dragBand, i})))
                    sel.append({m_dragBand, i});
            }
        }
        if (!sel.isEmpty())
            setSelection(sel);
        update();
    } else if (m_dragChanged) {
        changed();
        emit selectionChanged();
    }
    m_drag = TDrag::None;
    m_dragChanged = false;
}

void TReportDesignView::mouseDoubleClickEvent(QMouseEvent* e)
{
    const RDesignRef hit = objectAt(e->position().toPoint());
    if (const RReportObject* o = object(hit);
        o && o->kind != TObjectKind::Line && o->kind != TObjectKind::Rect && o->kind != TObjectKind::Image) {
        setSelection({hit});
        emit editText(hit);
    }
}

void TReportDesignView::keyPressEvent(QKeyEvent* e)
{
    const double step = (e->modifiers() & Qt::ControlModifier) ? 0.1 : (m_snap ? m_grid : 0.5);
    double dx = 0;
    double dy = 0;
    switch (e->key()) {
    case Qt::Key_Left:
        dx = -step;
        break;
    case Qt::Key_Right:
        dx = step;
        break;
    case Qt::Key_Up:
        dy = -step;
        break;
    case Qt::Key_Down:
        dy = step;
        break;
    case Qt::Key_Delete:
        deleteSelection();
        return;
    case Qt::Key_Escape:
        m_insertKind = -1;
        unsetCursor();
        clearSelection();
        return;
    case Qt::Key_A:
        if (e->modifiers() & Qt::ControlModifier) {
            selectAllInBand();
            return;
        }
        break;
    default:
        break;
    }
    if (dx != 0 || dy != 0) {
        if (e->modifiers() & Qt::ShiftModifier)
            resizeSelection(dx, dy);
        else
            moveSelection(dx, dy);
        return;
    }
    QWidget::keyPressEvent(e);
}

void TReportDesignView::wheelEvent(QWheelEvent* e)
{
    if (e->modifiers() & Qt::ControlModifier) {
        setZoom(m_zoom * (e->angleDelta().y() > 0 ? 1.1 : 1 / 1.1));
        e->accept();
        return;
    }
    QWidget::wheelEvent(e);
}

void TReportDesignView::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasFormat(kFieldMime))
        e->acceptProposedAction();
}

void TReportDesignView::dragMoveEvent(QDragMoveEvent* e)
{
    if (e->mimeData()->hasFormat(kFieldMime) && bandAt(e->position().toPoint()) >= 0)
        e->acceptProposedAction();
    else
        e->ignore();
}

void TReportDesignView::dropEvent(QDropEvent* e)
{
    const int b = bandAt(e->position().toPoint());
    if (b < 0 || !e->mimeData()->hasFormat(kFieldMime))
        return;
    const QString expression = QString::fromUtf8(e->mimeData()->data(kFieldMime));
    insertObject(b, TObjectKind::Text, toBandMm(b, e->position()), expression);
    e->acceptProposedAction();
}
