#include "shell/CalFunc.h"

#include <QDate>
#include <QString>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

void PrintTo(const RLunarDate& date, std::ostream* os)
{
    *os << date.Year << '-' << date.Month << '-' << date.Day;
}

namespace {

QString text(const char16_t* utf16)
{
    return QString::fromUtf16(utf16);
}

int dayNumber(const QDate& date)
{
    return int(QDate(1901, 1, 1).daysTo(date));
}

// The lunar line of the information panel. Expected lunar dates were computed from new moons
// and solar terms, independently of the tables.
TEST(CalFunc, InformationPanelLunarLine)
{
    struct Case
    {
        QDate date;
        const char16_t* expected;
    };
    const Case cases[] = {
        {QDate(2005, 2, 21), u"乙酉 鸡年 正月十三"},
        {QDate(2020, 6, 21), u"庚子 鼠年 夏 至"},
        // The year name follows the Gregorian year, the date is still in lunar 2012.
        {QDate(2013, 1, 16), u"癸巳 蛇年 十二月初五"},
        {QDate(2012, 11, 7), u"壬辰 龙年 立 冬"},
        {QDate(2005, 1, 20), u"乙酉 鸡年 大 寒"},
        // New years.
        {QDate(2001, 1, 24), u"辛巳 蛇年 正月初一"},
        {QDate(2023, 1, 21), u"癸卯 兔年 十二月三十"},
        {QDate(2023, 1, 22), u"癸卯 兔年 正月初一"},
        {QDate(2050, 1, 22), u"庚午 马年 十二月廿九"},
        {QDate(2050, 1, 23), u"庚午 马年 正月初一"},
        // Leap months show the plain month number: 2020 leap 4, 2023 leap 2, 2033 leap 11.
        {QDate(2020, 4, 23), u"庚子 鼠年 四月初一"},
        {QDate(2020, 5, 22), u"庚子 鼠年 四月三十"},
        {QDate(2020, 5, 23), u"庚子 鼠年 四月初一"},
        {QDate(2020, 6, 20), u"庚子 鼠年 四月廿九"},
        {QDate(2023, 3, 22), u"癸卯 兔年 二月初一"},
        {QDate(2023, 4, 19), u"癸卯 兔年 二月廿九"},
        {QDate(2033, 12, 22), u"癸丑 牛年 十一月初一"},
        {QDate(2034, 1, 19), u"甲寅 虎年 十一月廿九"},
        // Days 20 and 30.
        {QDate(2005, 2, 28), u"乙酉 鸡年 正月廿十"},
        {QDate(2005, 4, 8), u"乙酉 鸡年 二月三十"},
        // Months whose first day follows a new moon close to midnight.
        {QDate(1989, 8, 1), u"己巳 蛇年 六月三十"},
        {QDate(1989, 8, 2), u"己巳 蛇年 七月初一"},
        {QDate(2013, 6, 7), u"癸巳 蛇年 四月廿九"},
        {QDate(2013, 6, 8), u"癸巳 蛇年 五月初一"},
        {QDate(2025, 4, 27), u"乙巳 蛇年 三月三十"},
        {QDate(2025, 4, 28), u"乙巳 蛇年 四月初一"},
        // Solar terms close to midnight: 白露 2050-09-07 18:00, 冬至 1951-12-23 00:00:04.
        {QDate(2050, 9, 7), u"庚午 马年 白 露"},
        {QDate(2050, 9, 8), u"庚午 马年 七月廿三"},
        {QDate(1951, 12, 22), u"辛卯 兔年 十一月廿四"},
        {QDate(1951, 12, 23), u"辛卯 兔年 冬 至"},
        // First and last supported days; outside them there is no lunar text.
        {QDate(1901, 1, 1), u"辛丑 牛年 十一月十一"},
        {QDate(1901, 2, 18), u"辛丑 牛年 十二月三十"},
        {QDate(1901, 2, 20), u"辛丑 牛年 正月初二"},
        {QDate(2050, 12, 31), u"庚午 马年 十一月十八"},
        {QDate(1900, 12, 31), u""},
        {QDate(2051, 1, 1), u""},
        {QDate(1, 1, 1), u""},
        {QDate(9999, 12, 31), u""},
        {QDate(), u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(LunarInfoText(c.date), text(c.expected));
        // The date part alone: the info text minus the year name.
        const QString date = LunarDateText(c.date);
        EXPECT_EQ(date, text(c.expected).mid(date.isEmpty() ? 0 : 6));
    }
}

TEST(CalFunc, DaysToLunar)
{
    const int lastDay = dayNumber(QDate(2051, 2, 10)); // 2050-12-29, the tables' last day
    struct Case
    {
        int days;
        std::optional<RLunarDate> expected;
    };
    const Case cases[] = {
        {0, RLunarDate{1900, 11, 11}},
        {18, RLunarDate{1900, 11, 29}},
        {19, RLunarDate{1900, 12, 1}},
        {48, RLunarDate{1900, 12, 30}},
        {49, RLunarDate{1901, 1, 1}},
        {dayNumber(QDate(2020, 5, 23)), RLunarDate{2020, 4, 1}},
        {dayNumber(QDate(2020, 6, 21)), RLunarDate{2020, 5, 1}},
        {dayNumber(QDate(2034, 1, 20)), RLunarDate{2033, 12, 1}},
        {lastDay - 1, RLunarDate{2050, 12, 28}},
        {lastDay, RLunarDate{2050, 12, 29}},
        {lastDay + 1, std::nullopt},
        {-1, std::nullopt},
        {-100000, std::nullopt},
        {100000, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ(DaysToLunar(c.days), c.expected);
    }
}

TEST(CalFunc, MonthAndYearLengths)
{
    struct Case
    {
        int year;
        int month;
        std::pair<int, int> days;
    };
    const Case months[] = {
        {2020, 4, {30, 29}},
        {2020, 5, {30, 0}},
        {2023, 2, {30, 29}},
        {2023, 3, {29, 0}},
        {2033, 11, {30, 29}},
        {2033, 12, {30, 0}},
        {2005, 1, {29, 0}},
        {2005, 2, {30, 0}},
        {1989, 6, {30, 0}},
        {1989, 7, {29, 0}},
        {2013, 4, {29, 0}},
        {2013, 5, {30, 0}},
        {2025, 3, {30, 0}},
        {2025, 4, {29, 0}},
        {1901, 1, {29, 0}},
        {2050, 12, {29, 0}},
        // Outside the tables and for months that do not exist.
        {1900, 1, {30, 0}},
        {2051, 1, {30, 0}},
        {2020, 0, {0, 0}},
        {2020, 13, {0, 0}},
        {-2147483647, 1, {30, 0}},
    };
    for (const Case& c : months) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        EXPECT_EQ(LunarMonthDays(c.year, c.month), c.days);
    }

    const std::array<std::array<int, 3>, 9> years = {{
        // year, leap month, days
        {2020, 4, 384},
        {2023, 2, 384},
        {2033, 11, 384},
        {2005, 0, 354},
        {2001, 4, 384},
        {1901, 0, 354},
        {2050, 3, 384},
        {1900, 0, 360},
        {2051, 0, 360},
    }};
    for (const auto& [year, leap, days] : years) {
        SCOPED_TRACE(year);
        EXPECT_EQ(LunarLeapMonth(year), leap);
        EXPECT_EQ(LunarYearDays(year), days);
    }
}

// The solar-term bytes of five years, read back through SolarTermIndex. 2050 September holds
// 白露 on the 7th (about 18:00 China Standard Time), hence 0x88.
TEST(CalFunc, SolarTermDaysOfSampleYears)
{
    const std::array<std::pair<int, std::array<int, 12>>, 5> rows = {{
        {1901, {0x96, 0xB4, 0x96, 0xA6, 0x97, 0x97, 0x78, 0x79, 0x79, 0x69, 0x78, 0x77}},
        {2005, {0xA5, 0xB3, 0xA5, 0xA5, 0xA6, 0xA6, 0x88, 0x88, 0x88, 0x78, 0x87, 0x87}},
        {2012, {0x96, 0xB4, 0xA5, 0xB5, 0xA5, 0xA6, 0x87, 0x88, 0x87, 0x78, 0x87, 0x86}},
        {2020, {0x95, 0xB4, 0xA5, 0xB4, 0xA5, 0xA6, 0x97, 0x87, 0x87, 0x78, 0x87, 0x86}},
        {2050, {0xA5, 0xC3, 0xA5, 0xB5, 0xA6, 0xA6, 0x87, 0x88, 0x88, 0x78, 0x87, 0x87}},
    }};
    for (const auto& [year, bytes] : rows) {
        for (int month = 1; month <= 12; ++month) {
            SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month));
            int first = 0;
            int second = 0;
            for (int day = 1; day <= QDate(year, month, 1).daysInMonth(); ++day) {
                const int index = SolarTermIndex(year, month, day);
                if (index == 2 * month - 1) {
                    EXPECT_EQ(first, 0);
                    first = day;
                } else if (index == 2 * month) {
                    EXPECT_EQ(second, 0);
                    second = day;
                } else {
                    EXPECT_EQ(index, 0);
                }
            }
            EXPECT_EQ((15 - first) << 4 | (second - 15), bytes[month - 1]);
        }
    }
}

TEST(CalFunc, SolarTermIndex)
{
    const std::array<std::array<int, 4>, 14> cases = {{
        // year, month, day, index
        {2005, 1, 5, 1},
        {2005, 1, 20, 2},
        {2005, 1, 21, 0},
        {2012, 11, 7, 21},
        {2020, 6, 21, 12},
        {2050, 9, 7, 17},
        {2050, 9, 8, 0},
        {1951, 12, 22, 0},
        {1951, 12, 23, 24},
        {2005, 3, 15, 0},
        {1900, 1, 6, 0},
        {2051, 1, 5, 0},
        {2005, 0, 5, 0},
        {2005, 13, 5, 0},
    }};
    for (const auto& [year, month, day, index] : cases) {
        SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day));
        EXPECT_EQ(SolarTermIndex(year, month, day), index);
    }
}

TEST(CalFunc, NameTexts)
{
    const std::pair<int, const char16_t*> years[] = {
        {1901, u"辛丑 牛年"}, {1984, u"甲子 鼠年"}, {2005, u"乙酉 鸡年"}, {2013, u"癸巳 蛇年"},
        {2050, u"庚午 马年"}, {1900, u""},          {2051, u""},
    };
    for (const auto& [year, expected] : years)
        EXPECT_EQ(GanZhiYearText(year), text(expected)) << year;

    const std::pair<int, const char16_t*> months[] = {
        {1, u"  正月"},  {2, u"  二月"}, {10, u"  十月"}, {11, u"十一月"},
        {12, u"十二月"}, {0, u""},       {13, u""},
    };
    for (const auto& [month, expected] : months)
        EXPECT_EQ(LunarMonthText(month), text(expected)) << month;

    const std::pair<int, const char16_t*> days[] = {
        {1, u"初一"},  {9, u"初九"},  {10, u"初十"}, {11, u"十一"}, {19, u"十九"}, {20, u"廿十"},
        {21, u"廿一"}, {29, u"廿九"}, {30, u"三十"}, {0, u""},      {31, u""},
    };
    for (const auto& [day, expected] : days)
        EXPECT_EQ(LunarDayText(day), text(expected)) << day;
}

// Every day of 1901 to 2050 has a lunar text, and the lunar dates run on without a gap: the
// day goes up by one, or a new month begins after day 29 or 30, repeating the month number
// only as the year's leap month; a new year begins after month 12.
TEST(CalFunc, LunarDatesRunOnThroughTheTables)
{
    RLunarDate previous = *DaysToLunar(0);
    bool inLeap = false;
    const int last = dayNumber(QDate(2050, 12, 31));
    for (int n = 1; n <= last; ++n) {
        const QDate date = QDate(1901, 1, 1).addDays(n);
        ASSERT_FALSE(LunarDateText(date).isEmpty()) << date.toString(Qt::ISODate).toStdString();
        const std::optional<RLunarDate> lunar = DaysToLunar(n);
        ASSERT_TRUE(lunar.has_value()) << n;
        if (lunar->Day != 1) {
            ASSERT_EQ(*lunar, (RLunarDate{previous.Year, previous.Month, previous.Day + 1})) << n;
            ASSERT_LE(lunar->Day, 30) << n;
            previous = *lunar;
            continue;
        }
        ASSERT_GE(previous.Day, 29) << n;
        if (lunar->Month == previous.Month) {
            ASSERT_FALSE(inLeap) << n;
            ASSERT_EQ(LunarLeapMonth(lunar->Year), lunar->Month) << n;
            inLeap = true;
        } else if (lunar->Month == 1) {
            ASSERT_EQ(previous.Month, 12) << n;
            ASSERT_EQ(lunar->Year, previous.Year + 1) << n;
            inLeap = false;
        } else {
            ASSERT_EQ(lunar->Month, previous.Month + 1) << n;
            ASSERT_EQ(lunar->Year, previous.Year) << n;
            inLeap = false;
        }
        previous = *lunar;
    }
    EXPECT_EQ(previous.Year, 2050);
}

} // namespace
