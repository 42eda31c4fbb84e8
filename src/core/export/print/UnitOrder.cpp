#include "export/print/UnitOrder.h"

#include <string>

namespace sedilo::exporting {

namespace {

constexpr char32_t kNone = 0xFFFFFFFF;

// The code point at `pos` and its length in bytes, for the three-byte
// characters Chinese numerals are; anything else reads as kNone.
char32_t hanAt(std::string_view text, std::size_t pos)
{
    if (pos + 2 >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xF0) != 0xE0)
        return kNone;
    return ((static_cast<char32_t>(static_cast<unsigned char>(text[pos])) & 0x0F) << 12)
           | ((static_cast<char32_t>(static_cast<unsigned char>(text[pos + 1])) & 0x3F) << 6)
           | (static_cast<char32_t>(static_cast<unsigned char>(text[pos + 2])) & 0x3F);
}

// 0-9 for a numeral digit, 10/100/1000 for 十/百/千, -1 otherwise.
int numeralValue(char32_t c)
{
    switch (c) {
    case U'零': case U'〇': return 0;
    case U'一': return 1;
    case U'二': case U'两': return 2;
    case U'三': return 3;
    case U'四': return 4;
    case U'五': return 5;
    case U'六': return 6;
    case U'七': return 7;
    case U'八': return 8;
    case U'九': return 9;
    case U'十': return 10;
    case U'百': return 100;
    case U'千': return 1000;
    default: return -1;
    }
}

struct Segment {
    std::string_view text;
    bool number = false;
    std::string digits; // a number's value in ASCII digits, no leading zeros
};

std::string withoutLeadingZeros(std::string digits)
{
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string() : digits.substr(first);
}

// A run of Chinese numerals: 十一 is 11, 一百零五 105, 二十 20.
std::string numeralDigits(std::string_view run)
{
    std::string plain;
    unsigned long long total = 0;
    unsigned long long digit = 0;
    bool units = false;
    for (std::size_t pos = 0; pos < run.size(); pos += 3) {
        const int value = numeralValue(hanAt(run, pos));
        if (value >= 10) {
            units = true;
            total += (digit == 0 ? 1 : digit) * static_cast<unsigned long long>(value);
            digit = 0;
        } else {
            digit = static_cast<unsigned long long>(value);
            plain += static_cast<char>('0' + value);
        }
        if (total > 1'000'000'000'000ULL)
            break; // no real name counts this far; the order stays total anyway
    }
    return withoutLeadingZeros(units ? std::to_string(total + digit) : plain);
}

Segment next(std::string_view text, std::size_t& pos)
{
    const auto isDigit = [&](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    const auto isNumeral = [&](std::size_t at) { return numeralValue(hanAt(text, at)) >= 0; };
    const std::size_t start = pos;
    if (isDigit(pos)) {
        while (isDigit(pos))
            ++pos;
        const std::string_view run = text.substr(start, pos - start);
        return {run, true, withoutLeadingZeros(std::string(run))};
    }
    if (isNumeral(pos)) {
        // Two digits in a row are two numbers (初三二班 is grade 3, class 2),
        // save after 零 (一百零五).
        bool afterDigit = false;
        while (isNumeral(pos)) {
            const char32_t c = hanAt(text, pos);
            const bool digit = numeralValue(c) < 10;
            if (digit && afterDigit)
                break;
            afterDigit = digit && c != U'零';
            pos += 3;
        }
        const std::string_view run = text.substr(start, pos - start);
        return {run, true, numeralDigits(run)};
    }
    while (pos < text.size() && !isDigit(pos) && !isNumeral(pos))
        ++pos;
    return {text.substr(start, pos - start)};
}

int compareDigits(const std::string& left, const std::string& right)
{
    if (left.size() != right.size())
        return left.size() < right.size() ? -1 : 1;
    return left.compare(right);
}

} // namespace

int UnitOrder::compare(std::string_view left, std::string_view right) const
{
    std::size_t l = 0;
    std::size_t r = 0;
    while (l < left.size() && r < right.size()) {
        const Segment a = next(left, l);
        const Segment b = next(right, r);
        const int order = a.number && b.number ? compareDigits(a.digits, b.digits) : m_collator.compare(a.text, b.text);
        if (order != 0)
            return order;
    }
    if (l < left.size() || r < right.size())
        return l < left.size() ? 1 : -1;
    return left.compare(right);
}

} // namespace sedilo::exporting
