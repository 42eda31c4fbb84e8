#pragma once

#include <string>
#include <string_view>

namespace sedilo::workbook {

// Text forms of cell values shared by every file format.

// Whole numbers up to 15 digits in full; others with up to 15 significant
// digits and no trailing zeros; magnitudes from 1E+15 up or below 1E-4 as
// 1.5E+16 / 1.2345E-05.
std::string formatNumber(double value);

// A date serial as yyyy/m/d, with " h:mm:ss" when it has a time of day.
std::string formatDateSerial(double serial, bool date1904);

inline std::string formatBoolean(bool value) { return value ? "True" : "False"; }

// Whether a number format shows a date: built-in ids and custom format codes.
bool isBuiltinDateFormat(int formatId);
bool isDateFormatCode(std::string_view code);

} // namespace sedilo::workbook
