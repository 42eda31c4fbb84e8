#pragma once

#include <string_view>

#include "store/PinyinCollation.h"

namespace sedilo::exporting {

// Orders unit names as an exam office lists them: a number, in ASCII digits or
// in Chinese numerals, by its value (初三二班 before 初三三班 before 初三十班,
// 2班 before 10班), the text around it by pinyin (初三 before 高一). Names
// equal so fall back to byte order, so the order is total.
class UnitOrder {
public:
    bool operator()(std::string_view left, std::string_view right) const { return compare(left, right) < 0; }
    int compare(std::string_view left, std::string_view right) const;

private:
    store::PinyinCollator m_collator;
};

} // namespace sedilo::exporting
