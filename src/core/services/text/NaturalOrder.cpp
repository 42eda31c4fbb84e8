#include "services/text/NaturalOrder.h"

namespace sedilo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view digitRun(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

// -1, 0 or 1 for two digit runs by value, whatever their leading zeros.
int compareNumbers(std::string_view left, std::string_view right)
{
    const auto significant = [](std::string_view run) {
        const auto first = run.find_first_not_of('0');
        return first == std::string_view::npos ? std::string_view() : run.substr(first);
    };
    left = significant(left);
    right = significant(right);
    if (left.size() != right.size())
        return left.size() < right.size() ? -1 : 1;
    const int order = left.compare(right);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

bool naturalLess(std::string_view left, std::string_view right)
{
    std::size_t l = 0;
    std::size_t r = 0;
    while (l < left.size() && r < right.size()) {
        if (isDigit(left[l]) && isDigit(right[r])) {
            const int order = compareNumbers(digitRun(left, l), digitRun(right, r));
            if (order != 0)
                return order < 0;
            continue;
        }
        if (left[l] != right[r])
            return static_cast<unsigned char>(left[l]) < static_cast<unsigned char>(right[r]);
        ++l;
        ++r;
    }
    if ((l < left.size()) != (r < right.size()))
        return r < right.size();
    return left < right;
}

} // namespace sedilo
