#include "ReportEngine.h"

#include "ReportDataSource.h"
#include "ReportExpression.h"
#include "ReportFonts.h"
#include "ReportFormat.h"
#include "ReportPainter.h"

#include <QHash>
#include <QSet>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr double kPadX = TReportPainter::kPadX;
constexpr double kPadY = TReportPainter::kPadY;
constexpr double kEpsilon = 0.001;

enum TRefKind { RefNone = 0, RefField, RefVariable, RefBuiltin, RefLiteral, RefDataSet };
enum TBuiltin { BuiltinPage, BuiltinTotalPages, BuiltinDate, BuiltinTime, BuiltinNow, BuiltinLine };

using TRows = std::vector<int>;

struct RCompiledObject
{
    const RReportObject* object = nullptr;
    TReportExpression text;
    TReportExpression printIf;
    QFont font;
    double lineHeight = 0;
    QImage image;
};

struct RCompiledBand
{
    const RReportBand* band = nullptr;
    std::vector<RCompiledObject> objects;
    bool usesPage = false;
};

struct RGroupNode
{
    RCompiledBand* header = nullptr;
    RCompiledBand* footer = nullptr;
    TReportExpression condition;
};

struct RDataNode
{
    RCompiledBand* band = nullptr;
    int ds = -1;
    RCompiledBand* header = nullptr;
    RCompiledBand* footer = nullptr;
    std::vector<RGroupNode> groups;
    std::vector<RDataNode*> details;
    // Detail bands linked by key: detail rows by the text of their key value.
    int masterKey = -1;
    int detailKey = -1;
    QHash<QString, TRows> rowsByKey;
};

struct RPageNode
{
    const RReportPage* page = nullptr;
    RCompiledBand* pageHeader = nullptr;
    RCompiledBand* pageFooter = nullptr;
    std::vector<RCompiledBand*> columnHeaders;
    std::vector<RCompiledBand*> titles;
    std::vector<RCompiledBand*> summaries;
    std::vector<RDataNode*> roots;
};

struct RBandInstance
{
    QList<RReportItem> items;
    double height = 0;
};

} // namespace

// One run of the engine: compiled template, layout state and the evaluation context.
class TReportRun final : public TReportEvalContext
{
public:
    TReportRun(TReportEngine& engine, int totalPages) : m_engine(engine), m_totalPages(totalPages)
    {
        m_now = engine.m_now.isValid() ? engine.m_now : QDateTime::currentDateTime();
        const int n = int(engine.m_sources.size());
        m_row.assign(n, 0);
        m_line.assign(n, 0);
        m_scope.assign(n, nullptr);
        m_pageRows.assign(n, TRows());
    }

    TReportDocument run()
    {
        compile();
        m_doc.title = m_engine.m_template.title;
        for (RPageNode& p : m_pages) {
            m_pageNode = &p;
            m_firstPageOfSection = int(m_doc.pages.size());
            newPage();
            for (RCompiledBand* b : p.titles)
                placeBody(*b, true);
            for (RDataNode* root : p.roots) {
                const TRows rows = allRows(root->ds);
                processData(*root, rows);
            }
            for (RCompiledBand* b : p.summaries)
                placeBody(*b, true);
            finishPage();
        }
        return m_doc;
    }

    bool usesTotalPages() const { return m_usesTotalPages; }
    int pageCount() const { return int(m_doc.pages.size()); }

    QVariant nameValue(const RExprNode& node) override
    {
        switch (node.refKind) {
        case RefField: {
            const TReportDataSource* s = m_engine.m_sources.at(node.ref1);
            const int row = m_row[node.ref1];
            if (row < 0 || row >= s->rowCount())
                return QVariant();
            return s->value(row, node.ref2);
        }
        case RefVariable:
            return m_engine.m_variableValues.at(node.ref1);
        case RefBuiltin:
            switch (node.ref1) {
            case BuiltinPage:
                return m_pageNo;
            case BuiltinTotalPages:
                return m_totalPages;
            case BuiltinDate:
                return m_now.date();
            case BuiltinTime:
                return m_now.time();
            case BuiltinNow:
                return m_now;
            case BuiltinLine:
                return m_buildingDs >= 0 ? m_line[m_buildingDs] : 0;
            }
            return QVariant();
        case RefDataSet:
            return m_engine.m_sources.at(node.ref1)->name();
        default:
            return node.constant;
        }
    }

    QVariant callValue(const RExprNode& node, bool* handled) override
    {
        *handled = true;
        const QString& f = node.name;
        if (f == QLatin1String("SUM") || f == QLatin1String("COUNT") || f == QLatin1String("AVG") ||
            f == QLatin1String("MIN") || f == QLatin1String("MAX"))
            return aggregate(node);
        if (f == QLatin1String("LABEL") || f == QLatin1String("FIELDVISIBLE")) {
            const RExprNode* a = node.args.isEmpty() ? nullptr : node.args.first().get();
            if (!a || a->refKind != RefField)
                return f == QLatin1String("LABEL") ? QVariant(a ? a->name : QString()) : QVariant(false);
            const TReportDataSource* s = m_engine.m_sources.at(a->ref1);
            if (f == QLatin1String("FIELDVISIBLE"))
                return s->fieldVisible(a->ref2);
            const QString label = s->displayLabel(a->ref2);
            const int level =
                node.args.size() > 1
                    ? int(TReportFormat::toNumber(TReportExpression::evaluateNode(*node.args.at(1), *this)))
                    : 0;
            const qsizetype bar = label.indexOf(QLatin1Char('|'));
            if (level == 1)
                return bar < 0 ? QString() : label.left(bar);
            if (level == 2)
                return bar < 0 ? label : label.mid(label.lastIndexOf(QLatin1Char('|')) + 1);
            return label;
        }
        *handled = false;
        warn(QStringLiteral("未知的函数 %1").arg(f));
        return QVariant();
    }

private:
    // ---- compiling -------------------------------------------------------------------------

    void warn(const QString& message)
    {
        if (!m_warned.contains(message)) {
            m_warned.insert(message);
            m_engine.m_warnings.append(message);
        }
    }

    int dataSetIndex(const QString& name) const
    {
        for (int i = 0; i < m_engine.m_sources.size(); ++i) {
            if (m_engine.m_sources.at(i)->name().compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    void bind(const TReportExpression& e, bool* usesPage)
    {
        for (const QString& err : e.errors())
            warn(err);
        e.forEachNode([&](RExprNode& n) {
            if (n.op != TExprOp::Name)
                return;
            bindName(n);
            if (n.refKind == RefBuiltin && (n.ref1 == BuiltinPage || n.ref1 == BuiltinTotalPages)) {
                if (usesPage)
                    *usesPage = true;
                if (n.ref1 == BuiltinTotalPages)
                    m_usesTotalPages = true;
            }
        });
    }

    void bindName(RExprNode& n)
    {
        const QString& name = n.name;
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot > 0) {
            const QString set = name.left(dot);
            const QString field = name.mid(dot + 1);
            const int ds = dataSetIndex(set);
            if (ds >= 0) {
                const int f = m_engine.m_sources.at(ds)->indexOf(field);
                if (f >= 0) {
                    n.refKind = RefField;
                    n.ref1 = ds;
                    n.ref2 = f;
                    return;
                }
                warn(QStringLiteral("数据集 %1 中没有字段 %2").arg(set, field));
                n.refKind = RefLiteral;
                n.constant = name;
                return;
            }
            if (set.compare(QLatin1String("u"), Qt::CaseInsensitive) == 0) {
                // Fields of the user data set are the variables; an unknown one is its name.
                bindVariable(n, field);
                return;
            }
            warn(QStringLiteral("没有名为 %1 的数据集").arg(set));
            n.refKind = RefLiteral;
            n.constant = name;
            return;
        }
        const int var = variableIndex(name);
        if (var >= 0) {
            n.refKind = RefVariable;
            n.ref1 = var;
            return;
        }
        static const struct
        {
            const char* name;
            TBuiltin builtin;
        } builtins[] = {{"Page", BuiltinPage},
                        {"Page#", BuiltinPage},
                        {"TotalPages", BuiltinTotalPages},
                        {"TotalPages#", BuiltinTotalPages},
                        {"Date", BuiltinDate},
                        {"Time", BuiltinTime},
                        {"Now", BuiltinNow},
                        {"Line", BuiltinLine},
                        {"Line#", BuiltinLine}};
        for (const auto& b : builtins) {
            if (name.compare(QLatin1String(b.name), Qt::CaseInsensitive) == 0) {
                n.refKind = RefBuiltin;
                n.ref1 = b.builtin;
                return;
            }
        }
        const int ds = dataSetIndex(name);
        if (ds >= 0) {
            n.refKind = RefDataSet;
            n.ref1 = ds;
            return;
        }
        bindVariable(n, name);
    }

    int variableIndex(const QString& name) const
    {
        const QStringList& names = m_engine.m_variableNames;
        for (int i = 0; i < names.size(); ++i) {
            if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    void bindVariable(RExprNode& n, const QString& name)
    {
        const int var = variableIndex(name);
        if (var >= 0) {
            n.refKind = RefVariable;
            n.ref1 = var;
            return;
        }
        warn(QStringLiteral("未知的名称 %1").arg(name));
        n.refKind = RefLiteral;
        n.constant = name;
    }

    RCompiledBand* compileBand(const RReportBand& b)
    {
        m_bands.emplace_back();
        RCompiledBand& cb = m_bands.back();
        cb.band = &b;
        cb.objects.reserve(b.objects.size());
        for (const RReportObject& o : b.objects) {
            RCompiledObject co;
            co.object = &o;
            co.text = TReportExpression::parseText(o.text);
            bind(co.text, &cb.usesPage);
            if (!o.printIf.trimmed().isEmpty()) {
                QString cond = o.printIf.trimmed();
                if (cond.startsWith(QLatin1Char('[')) && cond.endsWith(QLatin1Char(']')))
                    cond = cond.mid(1, cond.size() - 2);
                co.printIf = TReportExpression::parseExpression(cond);
                bind(co.printIf, &cb.usesPage);
            }
            if (o.kind == TObjectKind::Text) {
                co.font = TReportFonts::font(o.fontFamily, o.fontSize, o.bold, o.italic, o.underline);
                co.lineHeight = TReportFonts::lineHeight(co.font);
            } else if (o.kind == TObjectKind::Image && !o.imageData.isEmpty()) {
                co.image = QImage::fromData(o.imageData);
                if (co.image.isNull())
                    warn(QStringLiteral("图片 %1 无法显示").arg(o.name));
            }
            cb.objects.push_back(std::move(co));
        }
        return &cb;
    }

    static QString bandLabel(const RReportBand& b)
    {
        return b.name.isEmpty() ? TReportTemplate::bandKindName(b.kind) : b.name;
    }

    void compile()
    {
        const TReportTemplate& t = m_engine.m_template;
        for (const RReportPage& page : t.pages) {
            m_pages.emplace_back();
            RPageNode& pn = m_pages.back();
            pn.page = &page;
            QHash<QString, RDataNode*> dataByName;
            QHash<QString, RGroupNode*> groupByName;
            std::vector<RDataNode*> order;
            // Data bands first, so that the bands belonging to them can find them.
            for (const RReportBand& b : page.bands) {
                if (b.kind != TBandKind::MasterData && b.kind != TBandKind::DetailData)
                    continue;
                m_data.emplace_back();
                RDataNode& dn = m_data.back();
                dn.band = compileBand(b);
                dn.ds = dataSetIndex(b.dataSet);
                if (dn.ds < 0)
                    warn(QStringLiteral("区域 %1 的数据集 \"%2\" 不存在,该区域不打印")
                             .arg(bandLabel(b), b.dataSet));
                if (!b.name.isEmpty())
                    dataByName.insert(b.name, &dn);
                order.push_back(&dn);
            }
            for (RDataNode* dn : order) {
                const RReportBand& b = *dn->band->band;
                RDataNode* master = nullptr;
                if (b.kind == TBandKind::DetailData && !b.owner.isEmpty()) {
                    master = dataByName.value(b.owner);
                    if (!master || master == dn)
                        warn(QStringLiteral("明细区域 %1 的主区域 \"%2\" 不存在,按独立区域打印")
                                 .arg(bandLabel(b), b.owner));
                    if (master == dn)
                        master = nullptr;
                }
                if (master) {
                    master->details.push_back(dn);
                    linkDetail(*master, *dn);
                } else if (dn->ds >= 0) {
                    pn.roots.push_back(dn);
                }
            }
            for (const RReportBand& b : page.bands) {
                switch (b.kind) {
                case TBandKind::PageHeader:
                    if (!pn.pageHeader)
                        pn.pageHeader = compileBand(b);
                    break;
                case TBandKind::PageFooter:
                    if (!pn.pageFooter)
                        pn.pageFooter = compileBand(b);
                    break;
                case TBandKind::ColumnHeader:
                    pn.columnHeaders.push_back(compileBand(b));
                    break;
                case TBandKind::ReportTitle:
                    pn.titles.push_back(compileBand(b));
                    break;
                case TBandKind::ReportSummary:
                    pn.summaries.push_back(compileBand(b));
                    break;
                case TBandKind::DataHeader:
                case TBandKind::DataFooter: {
                    RDataNode* owner = dataByName.value(b.owner);
                    if (!owner) {
                        warn(QStringLiteral("区域 %1 所属的数据区域 \"%2\" 不存在")
                                 .arg(bandLabel(b), b.owner));
                        break;
                    }
                    RCompiledBand*& slot = b.kind == TBandKind::DataHeader ? owner->header : owner->footer;
                    if (!slot)
                        slot = compileBand(b);
                    break;
                }
                case TBandKind::GroupHeader: {
                    RDataNode* owner = dataByName.value(b.owner);
                    if (!owner) {
                        warn(QStringLiteral("分组 %1 所属的数据区域 \"%2\" 不存在")
                                 .arg(bandLabel(b), b.owner));
                        break;
                    }
                    RGroupNode g;
                    g.header = compileBand(b);
                    QString cond = b.condition.trimmed();
                    if (cond.startsWith(QLatin1Char('[')) && cond.endsWith(QLatin1Char(']')))
                        cond = cond.mid(1, cond.size() - 2);
                    g.condition = TReportExpression::parseExpression(cond);
                    bind(g.condition, nullptr);
                    owner->groups.push_back(g);
                    break;
                }
                default:
                    break;
                }
            }
            // Group pointers are stable only once every group of a data band is in place.
            for (RDataNode* dn : order) {
                for (RGroupNode& g : dn->groups) {
                    if (!g.header->band->name.isEmpty())
                        groupByName.insert(g.header->band->name, &g);
                }
            }
            for (const RReportBand& b : page.bands) {
                if (b.kind != TBandKind::GroupFooter)
                    continue;
                RGroupNode* g = groupByName.value(b.owner);
                if (!g) {
                    warn(QStringLiteral("分组尾 %1 所属的分组头 \"%2\" 不存在").arg(bandLabel(b), b.owner));
                    continue;
                }
                if (!g->footer)
                    g->footer = compileBand(b);
            }
        }
    }

    void linkDetail(RDataNode& master, RDataNode& detail)
    {
        const RReportBand& b = *detail.band->band;
        if (b.masterKey.isEmpty() && b.detailKey.isEmpty())
            return;
        if (master.ds < 0 || detail.ds < 0)
            return;
        const TReportDataSource* ms = m_engine.m_sources.at(master.ds);
        const TReportDataSource* ds = m_engine.m_sources.at(detail.ds);
        detail.masterKey = ms->indexOf(b.masterKey);
        detail.detailKey = ds->indexOf(b.detailKey);
        if (detail.masterKey < 0 || detail.detailKey < 0) {
            warn(QStringLiteral("明细区域 %1 的关联字段 %2 / %3 不存在")
                     .arg(bandLabel(b), b.masterKey, b.detailKey));
            detail.masterKey = detail.detailKey = -1;
            return;
        }
        const int n = ds->rowCount();
        for (int r = 0; r < n; ++r)
            detail.rowsByKey[TReportFormat::toText(ds->value(r, detail.detailKey))].push_back(r);
    }

    // ---- evaluation helpers -------------------------------------------------------------

    // Makes rows the scope of a data source's aggregates.
    void installScope(int ds, const TRows* rows)
    {
        m_scope[ds] = rows;
        if (rows)
            m_scopeIds.insert(rows, ++m_nextScopeId);
    }

    TRows allRows(int ds) const
    {
        TRows rows;
        if (ds < 0)
            return rows;
        const int n = m_engine.m_sources.at(ds)->rowCount();
        rows.resize(n);
        for (int i = 0; i < n; ++i)
            rows[i] = i;
        return rows;
    }

    static const RExprNode* firstField(const RExprNode& n)
    {
        if (n.op == TExprOp::Name && (n.refKind == RefField || n.refKind == RefDataSet))
            return &n;
        for (const PExprNode& a : n.args) {
            if (const RExprNode* f = firstField(*a))
                return f;
        }
        return nullptr;
    }

    QVariant aggregate(const RExprNode& node)
    {
        const QString& f = node.name;
        const RExprNode* arg = node.args.isEmpty() ? nullptr : node.args.first().get();
        const RExprNode* ref = arg ? firstField(*arg) : nullptr;
        if (!ref) {
            warn(QStringLiteral("%1 需要一个数据字段或数据集").arg(f));
            return QVariant();
        }
        const int ds = ref->ref1;
        const TRows* scope = m_scope[ds];
        const int scopeId = scope ? m_scopeIds.value(scope, -1) : 0;
        const bool cacheable = scopeId >= 0;
        const QPair<const RExprNode*, int> key(&node, scopeId);
        if (cacheable) {
            auto it = m_aggregateCache.constFind(key);
            if (it != m_aggregateCache.constEnd())
                return *it;
        }
        const TReportDataSource* s = m_engine.m_sources.at(ds);
        const int n = scope ? int(scope->size()) : s->rowCount();
        const bool countRows = f == QLatin1String("COUNT") && arg->refKind == RefDataSet;
        const int savedRow = m_row[ds];
        double sum = 0;
        int count = 0;
        QVariant best;
        for (int i = 0; i < n; ++i) {
            m_row[ds] = scope ? (*scope)[i] : i;
            if (countRows) {
                ++count;
                continue;
            }
            const QVariant v = TReportExpression::evaluateNode(*arg, *this);
            if (v.isNull())
                continue;
            ++count;
            if (f == QLatin1String("SUM") || f == QLatin1String("AVG")) {
                sum += TReportFormat::toNumber(v);
            } else if (f == QLatin1String("MIN") || f == QLatin1String("MAX")) {
                if (!best.isValid()) {
                    best = v;
                } else {
                    const bool less = TReportFormat::isNumber(v) && TReportFormat::isNumber(best)
                                          ? TReportFormat::toNumber(v) < TReportFormat::toNumber(best)
                                          : (TReportFormat::isDate(v) && TReportFormat::isDate(best)
                                                 ? v.toDateTime() < best.toDateTime()
                                                 : TReportFormat::toText(v) < TReportFormat::toText(best));
                    if ((f == QLatin1String("MIN")) == less)
                        best = v;
                }
            }
        }
        m_row[ds] = savedRow;
        QVariant result;
        if (f == QLatin1String("SUM"))
            result = sum;
        else if (f == QLatin1String("COUNT"))
            result = count;
        else if (f == QLatin1String("AVG"))
            result = count ? QVariant(sum / count) : QVariant();
        else
            result = best;
        if (cacheable)
            m_aggregateCache.insert(key, result);
        return result;
    }

    // ---- band instances -----------------------------------------------------------------

    RBandInstance build(const RCompiledBand& cb, int ds)
    {
        m_buildingDs = ds;
        const RReportBand& band = *cb.band;
        RBandInstance inst;
        inst.height = band.height;
        struct RGrown
        {
            int item;
            const RReportObject* object;
        };
        std::vector<RGrown> grown;
        grown.reserve(cb.objects.size());
        for (const RCompiledObject& co : cb.objects) {
            const RReportObject& o = *co.object;
            if (!co.printIf.isEmpty() && !TReportExpression::isTrue(co.printIf.evaluate(*this)))
                continue;
            RReportItem item;
            item.rect = o.geometry;
            item.fill = o.fill;
            item.lineWidth = o.lineWidth;
            item.lineColor = o.lineColor;
            item.borders = o.borders;
            item.band = band.kind;
            item.bandSerial = m_serial;
            switch (o.kind) {
            case TObjectKind::Text: {
                item.kind = TItemKind::Text;
                if (co.text.isSingleExpression()) {
                    const QVariant v = co.text.evaluate(*this);
                    item.text = TReportFormat::format(v, o.displayFormat);
                    if (TReportFormat::isNumber(v))
                        item.value = v;
                } else {
                    item.text = co.text.evaluateText(*this, o.displayFormat);
                }
                item.fontFamily = co.font.families().value(0);
                item.fontSize = o.fontSize;
                item.bold = o.bold;
                item.italic = o.italic;
                item.underline = o.underline;
                item.color = o.color;
                item.hAlign = o.hAlign;
                item.vAlign = o.vAlign;
                item.lineHeight = co.lineHeight;
                const double innerWidth = std::max(0.0, o.geometry.width() - 2 * kPadX);
                if (o.wordWrap)
                    item.lines = TReportFonts::wrap(co.font, item.text, innerWidth);
                else if (item.text.contains(QLatin1Char('\n')))
                    item.lines = QString(item.text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
                if (o.canGrow && !item.lines.isEmpty()) {
                    const double needed = item.lines.size() * co.lineHeight + 2 * kPadY;
                    if (needed > item.rect.height())
                        item.rect.setHeight(needed);
                }
                break;
            }
            case TObjectKind::Line:
                item.kind = TItemKind::Line;
                break;
            case TObjectKind::Rect:
                item.kind = TItemKind::Rect;
                break;
            case TObjectKind::Image:
                item.kind = TItemKind::Image;
                item.image = co.image;
                item.keepAspect = o.keepAspect;
                break;
            case TObjectKind::Barcode:
                item.kind = TItemKind::Barcode;
                item.text = co.text.evaluateText(*this).trimmed();
                item.barcode = o.barcode;
                item.showText = o.showText;
                break;
            case TObjectKind::CheckMark:
                item.kind = TItemKind::CheckMark;
                item.checked = TReportExpression::isTrue(co.text.evaluate(*this));
                item.color = o.color;
                break;
            }
            if (band.canGrow)
                inst.height = std::max(inst.height, item.rect.bottom());
            grown.push_back({int(inst.items.size()), &o});
            inst.items.append(item);
        }
        const double delta = inst.height - band.height;
        if (delta > kEpsilon) {
            for (const RGrown& g : grown) {
                if (!g.object->stretch)
                    continue;
                QRectF& r = inst.items[g.item].rect;
                const double target = g.object->geometry.bottom() + delta;
                if (r.bottom() < target)
                    r.setBottom(target);
            }
        }
        m_buildingDs = -1;
        return inst;
    }

    // ---- pages --------------------------------------------------------------------------

    bool footerOnThisPage() const
    {
        const RCompiledBand* f = m_pageNode->pageFooter;
        return f && (f->band->printOnFirstPage || int(m_doc.pages.size()) - 1 != m_firstPageOfSection);
    }

    void append(const RBandInstance& inst, double x, double y, bool repeated)
    {
        QList<RReportItem>& items = m_doc.pages.last().items;
        for (RReportItem item : inst.items) {
            item.rect.translate(x, y);
            item.repeatedBand = repeated;
            items.append(std::move(item));
        }
        ++m_serial;
    }

    void placeFixed(const RCompiledBand& b, bool repeated)
    {
        const RBandInstance inst = build(b, -1);
        append(inst, m_pageNode->page->marginLeft, m_y, repeated);
        m_y += inst.height;
    }

    void newPage()
    {
        if (!m_doc.pages.isEmpty() && m_pageOpen)
            finishPage();
        const RReportPage& page = *m_pageNode->page;
        RReportDocPage p;
        p.size = page.size();
        m_doc.pages.append(p);
        m_pageOpen = true;
        ++m_pageNo;
        m_y = page.marginTop;
        m_limit = p.size.height() - page.marginBottom;
        if (footerOnThisPage())
            m_limit -= m_pageNode->pageFooter->band->height;
        for (TRows& rows : m_pageRows)
            rows.clear();
        m_hasBody = false;
        m_breakPending = false;
        const bool first = int(m_doc.pages.size()) - 1 == m_firstPageOfSection;
        if (m_pageNode->pageHeader && (!first || m_pageNode->pageHeader->band->printOnFirstPage))
            placeFixed(*m_pageNode->pageHeader, !first);
        for (RCompiledBand* b : m_pageNode->columnHeaders)
            placeFixed(*b, !first);
        for (const RRepeat& r : m_repeats) {
            const std::vector<const TRows*> saved = m_scope;
            for (const auto& [ds, rows] : r.scopes)
                m_scope[ds] = rows;
            placeFixed(*r.band, true);
            m_scope = saved;
        }
    }

    void finishPage()
    {
        if (!m_pageOpen)
            return;
        m_pageOpen = false;
        if (!footerOnThisPage())
            return;
        const std::vector<const TRows*> saved = m_scope;
        // Page rows change from page to page: they are never found in the cache.
        for (size_t ds = 0; ds < m_scope.size(); ++ds) {
            m_scope[ds] = &m_pageRows[ds];
            m_scopeIds.remove(&m_pageRows[ds]);
        }
        const RCompiledBand& f = *m_pageNode->pageFooter;
        const RBandInstance inst = build(f, -1);
        const RReportPage& page = *m_pageNode->page;
        append(inst, page.marginLeft, page.size().height() - page.marginBottom - f.band->height, false);
        m_scope = saved;
    }

    // Places a body band, starting a new page when it does not fit; records the printed row.
    void placeBody(const RCompiledBand& b, bool mayBreakBefore, int ds = -1, int row = -1)
    {
        if (m_breakPending && m_hasBody)
            newPage();
        m_breakPending = false;
        if (b.band->startNewPage && mayBreakBefore && m_hasBody)
            newPage();
        RBandInstance inst = build(b, ds);
        if (m_y + inst.height > m_limit + kEpsilon && m_hasBody) {
            newPage();
            if (b.usesPage)
                inst = build(b, ds);
        }
        append(inst, m_pageNode->page->marginLeft, m_y, false);
        m_y += inst.height;
        m_hasBody = true;
        if (ds >= 0)
            m_pageRows[ds].push_back(row);
        if (b.band->newPageAfter)
            m_breakPending = true;
    }

    // A header moves to the next page with the band after it rather than stay there alone.
    void keepWithNext(const RCompiledBand& header, double nextHeight)
    {
        if (m_hasBody && m_y + header.band->height + nextHeight > m_limit + kEpsilon)
            newPage();
    }

    struct RSnapshot
    {
        qsizetype pages = 0;
        qsizetype items = 0;
        double y = 0;
        double limit = 0;
        bool hasBody = false;
        bool breakPending = false;
        bool pageOpen = false;
        int pageNo = 0;
        int serial = 0;
        std::vector<TRows> pageRows;
    };

    // Runs body so that its output stays on one page when it fits on one: when it crossed a
    // page boundary, it is taken back and run again from the top of a new page.
    void runKept(const std::function<void()>& body)
    {
        if (m_keepDepth > 0) {
            body();
            return;
        }
        RSnapshot s{m_doc.pages.size(),
                    m_doc.pages.last().items.size(),
                    m_y,
                    m_limit,
                    m_hasBody,
                    m_breakPending,
                    m_pageOpen,
                    m_pageNo,
                    m_serial,
                    m_pageRows};
        ++m_keepDepth;
        body();
        --m_keepDepth;
        if (m_doc.pages.size() == s.pages || !s.hasBody)
            return;
        m_doc.pages.resize(s.pages);
        m_doc.pages.last().items.resize(s.items);
        m_y = s.y;
        m_limit = s.limit;
        m_hasBody = s.hasBody;
        m_breakPending = s.breakPending;
        m_pageOpen = s.pageOpen;
        m_pageNo = s.pageNo;
        m_serial = s.serial;
        m_pageRows = std::move(s.pageRows);
        newPage();
        body();
    }

    struct RRepeat
    {
        const RCompiledBand* band = nullptr;
        std::vector<std::pair<int, const TRows*>> scopes;
    };

    void pushRepeat(const RCompiledBand& b)
    {
        RRepeat r;
        r.band = &b;
        for (size_t ds = 0; ds < m_scope.size(); ++ds) {
            if (m_scope[ds])
                r.scopes.emplace_back(int(ds), m_scope[ds]);
        }
        m_repeats.push_back(r);
    }

    // ---- data bands ---------------------------------------------------------------------

    void processData(RDataNode& node, const TRows& rows)
    {
        if (node.ds < 0 || rows.empty())
            return;
        const TRows* savedScope = m_scope[node.ds];
        installScope(node.ds, &rows);
        const int savedLine = m_line[node.ds];
        m_row[node.ds] = rows.front();

        // Group breaks: the first level whose value changes at each row.
        const int levels = int(node.groups.size());
        std::vector<int> breakLevel(rows.size(), 0);
        if (levels > 0) {
            std::vector<QVariant> prev(levels);
            for (size_t i = 0; i < rows.size(); ++i) {
                m_row[node.ds] = rows[i];
                int level = levels;
                for (int g = 0; g < levels; ++g) {
                    const QVariant v = node.groups[g].condition.evaluate(*this);
                    if (i > 0 && level == levels &&
                        TReportFormat::toText(v) != TReportFormat::toText(prev[g]))
                        level = g;
                    prev[g] = v;
                }
                breakLevel[i] = i == 0 ? 0 : level;
            }
            m_row[node.ds] = rows.front();
        }

        bool repeatHeader = false;
        if (node.header) {
            keepWithNext(*node.header, node.band->band->height);
            placeBody(*node.header, true);
            if (node.header->band->repeatOnEveryPage) {
                pushRepeat(*node.header);
                repeatHeader = true;
            }
        }
        processRange(node, rows, breakLevel, 0, 0, rows.size());
        if (repeatHeader)
            m_repeats.pop_back();
        if (node.footer)
            placeBody(*node.footer, true);

        // Bands after the data (summary, page footer) see its last row.
        m_scope[node.ds] = savedScope;
        m_row[node.ds] = rows.back();
        m_line[node.ds] = savedLine;
    }

    void processRange(RDataNode& node, const TRows& rows, const std::vector<int>& breakLevel, int level,
                      size_t begin, size_t end)
    {
        if (level == int(node.groups.size())) {
            for (size_t i = begin; i < end; ++i)
                processRow(node, rows, i);
            return;
        }
        RGroupNode& group = node.groups[level];
        size_t i = begin;
        while (i < end) {
            size_t j = i + 1;
            while (j < end && breakLevel[j] > level)
                ++j;
            const TRows groupRows(rows.begin() + qsizetype(i), rows.begin() + qsizetype(j));
            const bool firstGroup = i == begin;
            const auto body = [&, i, j]() {
                const TRows* saved = m_scope[node.ds];
                installScope(node.ds, &groupRows);
                m_row[node.ds] = rows[i];
                const RReportBand& hb = *group.header->band;
                if (!(hb.startNewPage && !firstGroup))
                    keepWithNext(*group.header, node.band->band->height);
                placeBody(*group.header, !firstGroup);
                if (hb.repeatOnEveryPage)
                    pushRepeat(*group.header);
                processRange(node, rows, breakLevel, level + 1, i, j);
                if (hb.repeatOnEveryPage)
                    m_repeats.pop_back();
                if (group.footer) {
                    m_row[node.ds] = rows[j - 1];
                    m_scope[node.ds] = &groupRows;
                    placeBody(*group.footer, true);
                }
                m_scope[node.ds] = saved;
            };
            if (group.header->band->keepTogether)
                runKept(body);
            else
                body();
            i = j;
        }
    }

    void processRow(RDataNode& node, const TRows& rows, size_t i)
    {
        const int row = rows[i];
        const TReportDataSource* source = m_engine.m_sources.at(node.ds);
        std::vector<TRows> detailRows(node.details.size());
        for (size_t d = 0; d < node.details.size(); ++d) {
            RDataNode& detail = *node.details[d];
            if (detail.ds < 0)
                continue;
            if (detail.masterKey >= 0)
                detailRows[d] =
                    detail.rowsByKey.value(TReportFormat::toText(source->value(row, detail.masterKey)));
            else
                detailRows[d] = allRows(detail.ds);
        }
        const auto body = [&]() {
            m_row[node.ds] = row;
            m_line[node.ds] = int(i) + 1;
            std::vector<const TRows*> saved(node.details.size());
            for (size_t d = 0; d < node.details.size(); ++d) {
                const int dds = node.details[d]->ds;
                if (dds < 0)
                    continue;
                saved[d] = m_scope[dds];
                installScope(dds, &detailRows[d]);
                if (!detailRows[d].empty())
                    m_row[dds] = detailRows[d].front();
            }
            placeBody(*node.band, i > 0, node.ds, row);
            for (size_t d = 0; d < node.details.size(); ++d) {
                const int dds = node.details[d]->ds;
                if (dds < 0)
                    continue;
                m_scope[dds] = saved[d];
                processData(*node.details[d], detailRows[d]);
            }
            m_row[node.ds] = row;
            m_line[node.ds] = int(i) + 1;
        };
        if (node.band->band->keepTogether)
            runKept(body);
        else
            body();
    }

    TReportEngine& m_engine;
    int m_totalPages = 0;
    QDateTime m_now;
    std::deque<RCompiledBand> m_bands;
    std::deque<RDataNode> m_data;
    std::deque<RPageNode> m_pages;
    bool m_usesTotalPages = false;
    QSet<QString> m_warned;

    std::vector<int> m_row;
    std::vector<int> m_line;
    std::vector<const TRows*> m_scope;
    std::vector<TRows> m_pageRows;
    // Aggregates by node and scope; a scope gets a new number whenever it is installed, so a
    // reused address never finds an old value.
    QHash<QPair<const RExprNode*, int>, QVariant> m_aggregateCache;
    QHash<const TRows*, int> m_scopeIds;
    int m_nextScopeId = 0;
    int m_buildingDs = -1;

    TReportDocument m_doc;
    RPageNode* m_pageNode = nullptr;
    int m_firstPageOfSection = 0;
    int m_pageNo = 0;
    double m_y = 0;
    double m_limit = 0;
    bool m_hasBody = false;
    bool m_breakPending = false;
    bool m_pageOpen = false;
    int m_serial = 0;
    int m_keepDepth = 0;
    std::vector<RRepeat> m_repeats;
};

TReportEngine::TReportEngine() = default;
TReportEngine::~TReportEngine() = default;

void TReportEngine::addDataSource(const TReportDataSource* source)
{
    if (!source)
        return;
    for (qsizetype i = 0; i < m_sources.size(); ++i) {
        if (m_sources.at(i)->name().compare(source->name(), Qt::CaseInsensitive) == 0) {
            m_sources[i] = source;
            return;
        }
    }
    m_sources.append(source);
}

const TReportDataSource* TReportEngine::dataSource(const QString& name) const
{
    for (const TReportDataSource* s : m_sources) {
        if (s->name().compare(name, Qt::CaseInsensitive) == 0)
            return s;
    }
    return nullptr;
}

void TReportEngine::setVariable(const QString& name, const QString& value)
{
    if (name.isEmpty())
        return;
    const QString stored = value.isEmpty() ? QStringLiteral(" ") : value;
    for (qsizetype i = 0; i < m_variableNames.size(); ++i) {
        if (m_variableNames.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            m_variableValues[i] = stored;
            return;
        }
    }
    m_variableNames.append(name);
    m_variableValues.append(stored);
}

void TReportEngine::clearVariables()
{
    m_variableNames.clear();
    m_variableValues.clear();
}

QString TReportEngine::variable(const QString& name) const
{
    for (qsizetype i = 0; i < m_variableNames.size(); ++i) {
        if (m_variableNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return m_variableValues.at(i);
    }
    return name;
}

TReportDocument TReportEngine::prepare()
{
    m_warnings.clear();
    TReportDocument doc;
    {
        TReportRun run(*this, 0);
        doc = run.run();
        if (!run.usesTotalPages())
            return doc;
    }
    // The page count is known only after a first layout; lay out again with it. Two rounds
    // settle it unless the count itself changes the layout.
    for (int round = 0; round < 3; ++round) {
        const int total = doc.pageCount();
        m_warnings.clear();
        TReportRun run(*this, total);
        doc = run.run();
        if (doc.pageCount() == total)
            break;
    }
    return doc;
}
