#include "ReportDocument.h"

#include <algorithm>

QString TReportDocument::pageText(int page) const
{
    if (page < 0 || page >= pages.size())
        return QString();
    QList<const RReportItem*> texts;
    for (const RReportItem& item : pages.at(page).items) {
        if (item.kind == TItemKind::Text && !item.text.isEmpty())
            texts.append(&item);
    }
    std::stable_sort(texts.begin(), texts.end(), [](const RReportItem* a, const RReportItem* b) {
        if (std::abs(a->rect.top() - b->rect.top()) > 0.5)
            return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    QStringList out;
    for (const RReportItem* item : texts)
        out.append(item->text);
    return out.join(QLatin1Char('\n'));
}
