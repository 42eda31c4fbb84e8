#include "services/workbook/CellText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace sedilo::workbook {

namespace {

constexpr int kSignificantDigits = 15;

// The digits of |value| rounded to 15 significant digits, trailing zeros
// dropped, and the decimal exponent of the first digit.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double magnitude)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
    const std::string text = buffer;
    const auto e = text.find('e');
    Decimal result;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            result.digits += text[i];
    result.exponent = std::atoi(text.c_str() + e + 1);
    while (result.digits.size() > 1 && result.digits.back() == '0')
        result.digits.pop_back();
    return result;
}

std::string scientific(const Decimal& d)
{
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1)
        text += "." + d.digits.substr(1);
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
    return text + exponent;
}

std::string positional(const Decimal& d)
{
    const int length = static_cast<int>(d.digits.size());
    if (d.exponent < 0)
        return "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    if (d.exponent + 1 >= length)
        return d.digits + std::string(static_cast<std::size_t>(d.exponent + 1 - length), '0');
    return d.digits.substr(0, static_cast<std::size_t>(d.exponent + 1)) + "." +
           d.digits.substr(static_cast<std::size_t>(d.exponent + 1));
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian calendar).
void civilFromDays(long long days, long long& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

// Day numbers since 1970-01-01 of the two epochs' day 0.
constexpr long long kEpoch1899Dec30 = -25569;
constexpr long long kEpoch1904Jan1 = -24107;
// 9999-12-31, the last day a spreadsheet shows as a date.
constexpr double kLastSerial1900 = 2958465.0;
constexpr double kLastSerial1904 = 2957003.0;

} // namespace

std::string formatNumber(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0)
        return "0";
    const double magnitude = std::fabs(value);
    if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
        // Whole numbers below 10^15 are exact as integers; most cells of a
        // list are such, and formatting a double is slow.
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value)).ptr;
        return std::string(buffer, end);
    }
    const std::string sign = value < 0 ? "-" : "";
    const Decimal d = toDecimal(magnitude);
    if (d.exponent >= kSignificantDigits || d.exponent < -4)
        return sign + scientific(d);
    return sign + positional(d);
}

std::string formatDateSerial(double serial, bool date1904)
{
    const double last = date1904 ? kLastSerial1904 : kLastSerial1900;
    if (!(serial >= 0) || serial >= last + 1)
        return formatNumber(serial);

    const long long totalSeconds = std::llround(serial * 86400.0);
    long long dayNumber = totalSeconds / 86400;
    const long long secondOfDay = totalSeconds % 86400;
    char time[32] = "";
    if (secondOfDay != 0)
        std::snprintf(time, sizeof time, "%lld:%02lld:%02lld", secondOfDay / 3600, secondOfDay / 60 % 60,
                      secondOfDay % 60);

    long long year = 0;
    unsigned month = 0;
    unsigned day = 0;
    if (date1904) {
        civilFromDays(kEpoch1904Jan1 + dayNumber, year, month, day);
    } else {
        // A time without a date, as the automation interface hands it over.
        if (dayNumber == 0 && secondOfDay != 0)
            return time;
        // The 1900 system counts a 29 February 1900 that never was: serial 60.
        if (dayNumber == 60) {
            year = 1900, month = 2, day = 29;
        } else {
            if (dayNumber < 60)
                ++dayNumber;
            civilFromDays(kEpoch1899Dec30 + dayNumber, year, month, day);
        }
    }
    char date[48];
    std::snprintf(date, sizeof date, "%lld/%u/%u", year, month, day);
    return secondOfDay != 0 ? std::string(date) + " " + time : std::string(date);
}

bool isBuiltinDateFormat(int formatId)
{
    // 14-22 and 45-47 everywhere; 27-36 and 50-58 are the East Asian
    // built-in date and time formats (e.g. yyyy"年"m"月"d"日" in Chinese Excel).
    return (formatId >= 14 && formatId <= 22) || (formatId >= 27 && formatId <= 36) ||
           (formatId >= 45 && formatId <= 47) || (formatId >= 50 && formatId <= 58);
}

bool isDateFormatCode(std::string_view code)
{
    // Only the first section decides (it formats positive numbers).
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        switch (c) {
        case ';':
            return false;
        case '"': {
            const auto close = code.find('"', i + 1);
            if (close == std::string_view::npos)
                return false;
            i = close;
            break;
        }
        case '\\':
        case '_':
        case '*':
            ++i; // the next character is literal, padding or fill
            break;
        case '[': {
            const auto close = code.find(']', i + 1);
            if (close == std::string_view::npos)
                return false;
            // Elapsed time ([h], [mm], [ss]) is a time; colours, conditions and
            // locales ([Red], [>100], [$-804]) are not.
            const std::string_view inside = code.substr(i + 1, close - i - 1);
            if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos)
                return true;
            i = close;
            break;
        }
        case 'd': case 'D': case 'm': case 'M': case 'y': case 'Y':
        case 'h': case 'H': case 's': case 'S': case 'e': case 'E':
            // "e" is the era year, except in an exponent (0.0E+00).
            if ((c == 'e' || c == 'E') && i + 1 < code.size() && (code[i + 1] == '+' || code[i + 1] == '-'))
                break;
            return true;
        case 'G': case 'g':
            if (code.size() - i >= 7 && (code.substr(i, 7) == "General" || code.substr(i, 7) == "general" ||
                                         code.substr(i, 7) == "GENERAL"))
                i += 6;
            break;
        default:
            break;
        }
    }
    return false;
}

} // namespace sedilo::workbook
