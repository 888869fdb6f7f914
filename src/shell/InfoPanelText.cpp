#include "InfoPanelText.h"

#include "shell/CalFunc.h"

QString GregorianDayText(const QDate& date)
{
    static const char16_t* const weekdays[] = {u"星期日", u"星期一", u"星期二", u"星期三",
                                               u"星期四", u"星期五", u"星期六"};
    return date.toString(QStringLiteral("yyyy年MM月dd日 ")) +
           QString::fromUtf16(weekdays[date.dayOfWeek() % 7]);
}

QString LunarLineText(const QDate& date)
{
    return QStringLiteral("%1 %2").arg(GanZhiYearText(date.year()), LunarDateText(date));
}
