#include "CalFunc.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <iterator>

namespace {

constexpr int kYearCount = kCalLastYear - kCalFirstYear + 1;

// Month sizes of each lunar year: bit 15 is the first month, a set bit a month of 30 days,
// a clear bit 29 days; in a leap year the leap month takes the bit after its month.
// Three words follow the new moons (China Standard Time) where older tables of this layout
// were wrong: 1989 month 7 begins 1989-08-02 (new moon 00:06), 2013 month 5 begins 2013-06-08
// (23:57) and 2025 month 4 begins 2025-04-28 (03:31).
constexpr quint16 kLunarMonthSizes[kYearCount] = {
    0x4AE0, 0xA570, 0x5268, 0xD260, 0xD950, 0x6AA8, 0x56A0, 0x9AD0, 0x4AE8, 0x4AE0, // 1901-1910
    0xA4D8, 0xA4D0, 0xD250, 0xD548, 0xB550, 0x56A0, 0x96D0, 0x95B0, 0x49B8, 0x49B0, // 1911-1920
    0xA4B0, 0xB258, 0x6A50, 0x6D40, 0xADA8, 0x2B60, 0x9570, 0x4978, 0x4970, 0x64B0, // 1921-1930
    0xD4A0, 0xEA50, 0x6D48, 0x5AD0, 0x2B60, 0x9370, 0x92E0, 0xC968, 0xC950, 0xD4A0, // 1931-1940
    0xDA50, 0xB550, 0x56A0, 0xAAD8, 0x25D0, 0x92D0, 0xC958, 0xA950, 0xB4A8, 0x6CA0, // 1941-1950
    0xB550, 0x55A8, 0x4DA0, 0xA5B0, 0x52B8, 0x52B0, 0xA950, 0xE950, 0x6AA0, 0xAD50, // 1951-1960
    0xAB50, 0x4B60, 0xA570, 0xA570, 0x5260, 0xE930, 0xD950, 0x5AA8, 0x56A0, 0x96D0, // 1961-1970
    0x4AE8, 0x4AD0, 0xA4D0, 0xD268, 0xD250, 0xD528, 0xB540, 0xB6A0, 0x96D0, 0x95B0, // 1971-1980
    0x49B0, 0xA4B8, 0xA4B0, 0xB258, 0x6A50, 0x6D40, 0xADA0, 0xAB60, 0x9570, 0x4978, // 1981-1990
    0x4970, 0x64B0, 0x6A50, 0xEA50, 0x6B28, 0x5AC0, 0xAB60, 0x9368, 0x92E0, 0xC960, // 1991-2000
    0xD4A8, 0xD4A0, 0xDA50, 0x5AA8, 0x56A0, 0xAAD8, 0x25D0, 0x92D0, 0xC958, 0xA950, // 2001-2010
    0xB4A0, 0xB550, 0xAD50, 0x55A8, 0x4BA0, 0xA5B0, 0x52B8, 0x52B0, 0xA930, 0x74A8, // 2011-2020
    0x6AA0, 0xAD50, 0x4DA8, 0x4B60, 0xA570, 0xA4E0, 0xD260, 0xE930, 0xD530, 0x5AA0, // 2021-2030
    0x6B50, 0x96D0, 0x4AE8, 0x4AD0, 0xA4D0, 0xD258, 0xD250, 0xD520, 0xDAA0, 0xB5A0, // 2031-2040
    0x56D0, 0x4AD8, 0x49B0, 0xA4B8, 0xA4B0, 0xAA50, 0xB528, 0x6D20, 0xADA0, 0x55B0, // 2041-2050
};

// Leap month of each lunar year, two years a byte: 1901, 1903, ... in the high nibble.
constexpr quint8 kLunarLeapMonths[kYearCount / 2] = {
    0x00, 0x50, 0x04, 0x00, 0x20, // 1901-1910
    0x60, 0x05, 0x00, 0x20, 0x70, // 1911-1920
    0x05, 0x00, 0x40, 0x02, 0x06, // 1921-1930
    0x00, 0x50, 0x03, 0x07, 0x00, // 1931-1940
    0x60, 0x04, 0x00, 0x20, 0x70, // 1941-1950
    0x05, 0x00, 0x30, 0x80, 0x06, // 1951-1960
    0x00, 0x40, 0x03, 0x07, 0x00, // 1961-1970
    0x50, 0x04, 0x08, 0x00, 0x60, // 1971-1980
    0x04, 0x0A, 0x00, 0x60, 0x05, // 1981-1990
    0x00, 0x30, 0x80, 0x05, 0x00, // 1991-2000
    0x40, 0x02, 0x07, 0x00, 0x50, // 2001-2010
    0x04, 0x09, 0x00, 0x60, 0x04, // 2011-2020
    0x00, 0x20, 0x60, 0x05, 0x00, // 2021-2030
    0x30, 0xB0, 0x06, 0x00, 0x50, // 2031-2040
    0x02, 0x07, 0x00, 0x50, 0x03, // 2041-2050
};

#include "SolarTermTable.inc"

static_assert(std::size(kSolarTermBytes) == kYearCount);

constexpr char16_t kStems[] = u"甲乙丙丁戊己庚辛壬癸";
constexpr char16_t kBranches[] = u"子丑寅卯辰巳午未申酉戌亥";
constexpr char16_t kAnimals[] = u"鼠牛虎兔龙蛇马羊猴鸡狗猪";
constexpr char16_t kMonthDigits[] = u"正二三四五六七八九十";
constexpr char16_t kDayTens[] = u"初十廿三";
constexpr char16_t kDayUnits[] = u"一二三四五六七八九十";
constexpr const char16_t* kSolarTermNames[24] = {u"小 寒", u"大 寒", u"立 春", u"雨 水", u"惊 蛰", u"春 分",
                                                 u"清 明", u"谷 雨", u"立 夏", u"小 满", u"芒 种", u"夏 至",
                                                 u"小 暑", u"大 暑", u"立 秋", u"处 暑", u"白 露", u"秋 分",
                                                 u"寒 露", u"霜 降", u"立 冬", u"小 雪", u"大 雪", u"冬 至"};

// 1901-02-19, day 49 after 1901-01-01, is the first day of lunar year 1901.
constexpr int kFirstNewYearDay = 49;

constexpr bool inTables(int year)
{
    return year >= kCalFirstYear && year <= kCalLastYear;
}

constexpr int leapMonthOf(int year)
{
    if (!inTables(year))
        return 0;
    const int offset = year - kCalFirstYear;
    const quint8 pair = kLunarLeapMonths[offset / 2];
    return offset % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

constexpr std::pair<int, int> monthDaysOf(int year, int month)
{
    if (month < 1 || month > 12)
        return {0, 0};
    if (!inTables(year))
        return {30, 0};
    const quint16 word = kLunarMonthSizes[year - kCalFirstYear];
    const int leap = leapMonthOf(year);
    const int bit = 16 - month - (leap != 0 && month > leap ? 1 : 0);
    const int days = (word >> bit) & 1 ? 30 : 29;
    const int leapDays = month == leap ? ((word >> (bit - 1)) & 1 ? 30 : 29) : 0;
    return {days, leapDays};
}

constexpr int yearDaysOf(int year)
{
    int total = 0;
    for (int month = 1; month <= 12; ++month) {
        const auto [days, leapDays] = monthDaysOf(year, month);
        total += days + leapDays;
    }
    return total;
}

// First day (counted from 1901-01-01) of each lunar year 1901..2050 and of 2051, so that a
// day finds its year without summing the years before it.
constexpr std::array<int, kYearCount + 1> newYearDays()
{
    std::array<int, kYearCount + 1> starts{};
    starts[0] = kFirstNewYearDay;
    for (int i = 0; i < kYearCount; ++i)
        starts[i + 1] = starts[i] + yearDaysOf(kCalFirstYear + i);
    return starts;
}

constexpr std::array<int, kYearCount + 1> kNewYearDays = newYearDays();

// Last day that the lunar tables cover: the end of lunar year 2050.
constexpr int kLastLunarDay = kNewYearDays.back() - 1;

// The lunar tables reach past the last Gregorian day they serve, 2050-12-31 (day 54786).
static_assert(kLastLunarDay >= 54786);

} // namespace

int LunarLeapMonth(int year)
{
    return leapMonthOf(year);
}

std::pair<int, int> LunarMonthDays(int year, int month)
{
    return monthDaysOf(year, month);
}

int LunarYearDays(int year)
{
    return yearDaysOf(year);
}

std::optional<RLunarDate> DaysToLunar(int days)
{
    if (days < 0 || days > kLastLunarDay)
        return std::nullopt;
    // The tables start with lunar 1901; before its new year lie the last days of month 11 of
    // 1900 (from its 11th) and month 12 of 1900, 30 days long.
    if (days < kFirstNewYearDay)
        return days > 18 ? RLunarDate{1900, 12, days - 18} : RLunarDate{1900, 11, days + 11};

    // The last new year on or before the day.
    const auto next = std::upper_bound(kNewYearDays.begin(), kNewYearDays.end(), days);
    const int year = kCalFirstYear + int(next - kNewYearDays.begin()) - 1;
    int rest = days - *(next - 1);
    for (int month = 1; month <= 12; ++month) {
        const auto [monthDays, leapDays] = monthDaysOf(year, month);
        if (rest < monthDays)
            return RLunarDate{year, month, rest + 1};
        rest -= monthDays;
        if (rest < leapDays)
            return RLunarDate{year, month, rest + 1};
        rest -= leapDays;
    }
    return std::nullopt; // not reached: rest is below the year's days
}

int SolarTermIndex(int year, int month, int day)
{
    if (!inTables(year) || month < 1 || month > 12)
        return 0;
    const quint8 terms = kSolarTermBytes[year - kCalFirstYear][month - 1];
    if (day <= 14)
        return day == 15 - (terms >> 4) ? 2 * month - 1 : 0;
    return day == 15 + (terms & 0x0F) ? 2 * month : 0;
}

QString GanZhiYearText(int year)
{
    if (!inTables(year))
        return {};
    const int cycle = year - 4;
    return QString(QChar(kStems[cycle % 10])) + QChar(kBranches[cycle % 12]) + u' ' +
           QChar(kAnimals[cycle % 12]) + u'年';
}

QString LunarMonthText(int month)
{
    if (month < 1 || month > 12)
        return {};
    if (month > 10)
        return QString(u'十') + QChar(kDayUnits[month - 11]) + u'月';
    return QStringLiteral("  ") + QChar(kMonthDigits[month - 1]) + u'月';
}

QString LunarDayText(int day)
{
    if (day < 1 || day > 30)
        return {};
    // Days 20 and 30 are written with the tens character of the next decade: 廿十, 三十.
    if (day == 20 || day == 30)
        return QString(QChar(kDayTens[day / 10])) + u'十';
    return QString(QChar(kDayTens[(day - 1) / 10])) + QChar(kDayUnits[(day - 1) % 10]);
}

QString LunarDateText(const QDate& date)
{
    if (!date.isValid() || !inTables(date.year()))
        return {};
    const int term = SolarTermIndex(date.year(), date.month(), date.day());
    if (term != 0)
        return QString::fromUtf16(kSolarTermNames[term - 1]);
    const std::optional<RLunarDate> lunar = DaysToLunar(int(QDate(kCalFirstYear, 1, 1).daysTo(date)));
    if (!lunar)
        return {};
    const QString monthAndDay = LunarMonthText(lunar->Month) + LunarDayText(lunar->Day);
    return monthAndDay.trimmed();
}

QString LunarInfoText(const QDate& date)
{
    const QString lunar = LunarDateText(date);
    if (lunar.isEmpty())
        return {};
    return GanZhiYearText(date.year()) + u' ' + lunar;
}
