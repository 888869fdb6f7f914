#pragma once

#include <QDate>
#include <QString>

// The texts of the main window's information panel for a day.

// yyyy"年"mm"月"dd"日", a space and the weekday "星期日" ... "星期六": "2005年02月21日 星期一".
QString GregorianDayText(const QDate& date);
// The year name of the Gregorian year, a space and the lunar date text: "乙酉 鸡年 正月十三".
QString LunarLineText(const QDate& date);
