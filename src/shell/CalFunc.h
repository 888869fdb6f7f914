#pragma once

// Chinese lunar calendar of the main window's information panel: year names, lunar dates and
// solar terms from compact tables covering the Gregorian and lunar years 1901 to 2050.
// Pure computation without state. Outside the tables no function reads past them: the lunar
// texts are empty and the numeric functions give the documented fallbacks.

#include <QDate>
#include <QString>

#include <optional>
#include <utility>

// Years the tables cover.
inline constexpr int kCalFirstYear = 1901;
inline constexpr int kCalLastYear = 2050;

// A lunar date. A day inside a leap month carries the plain month number.
struct RLunarDate
{
    int Year = 0;
    int Month = 0;
    int Day = 0;

    friend bool operator==(const RLunarDate&, const RLunarDate&) = default;
};

// Number of the month that is followed by a leap month in the lunar year, 0 when none (also
// for years outside the tables).
int LunarLeapMonth(int year);

// Days of lunar month 1..12 and days of its leap month (0 when it has none). Years before
// 1901 and after 2050 give (30, 0); a month outside 1..12 gives (0, 0).
std::pair<int, int> LunarMonthDays(int year, int month);

// Days of the lunar year: all months and the leap month.
int LunarYearDays(int year);

// Lunar date of the day that lies days after 1901-01-01 (1901-01-01 itself is 0, lunar
// 1900-11-11). Empty before 1901-01-01 and after the last day of lunar year 2050.
std::optional<RLunarDate> DaysToLunar(int days);

// Solar term that falls on a Gregorian day in China Standard Time: 1 (小寒) to 24 (冬至), 0 when
// none falls on it or the year is outside the tables.
int SolarTermIndex(int year, int month, int day);

// Stem, branch and animal of a Gregorian year, e.g. "乙酉 鸡年" for 2005; empty outside the tables.
QString GanZhiYearText(int year);

// "  正月" ... "  十月", "十一月", "十二月"; empty for other numbers.
QString LunarMonthText(int month);

// "初一" ... "初十", "十一" ... "十九", "廿十", "廿一" ... "廿九", "三十"; empty for other numbers.
QString LunarDayText(int day);

// The solar term of the date when one falls on it, else lunar month and day ("正月十三"); empty
// before 1901-01-01, after 2050-12-31 and for an invalid date.
QString LunarDateText(const QDate& date);

// The lunar line of the information panel: year name of the Gregorian year and the lunar date
// text, separated by a space ("乙酉 鸡年 正月十三"); empty where LunarDateText is empty.
QString LunarInfoText(const QDate& date);
