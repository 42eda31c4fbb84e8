#include <gtest/gtest.h>

#include "services/workbook/CellText.h"

using namespace sedilo::workbook;

TEST(CellTextTest, WholeNumbersUpToFifteenDigitsAreWrittenInFull)
{
    EXPECT_EQ(formatNumber(20140001), "20140001");
    EXPECT_EQ(formatNumber(202612345678), "202612345678");
    EXPECT_EQ(formatNumber(999999999999999), "999999999999999");
    EXPECT_EQ(formatNumber(-42), "-42");
    EXPECT_EQ(formatNumber(0), "0");
    EXPECT_EQ(formatNumber(-0.0), "0");
}

TEST(CellTextTest, FractionsKeepFifteenSignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(formatNumber(89.5), "89.5");
    EXPECT_EQ(formatNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(formatNumber(-2.25), "-2.25");
    EXPECT_EQ(formatNumber(0.0001), "0.0001");
    EXPECT_EQ(formatNumber(123456789012345.6), "123456789012346");
}

TEST(CellTextTest, LargeAndTinyMagnitudesUseExponentForm)
{
    EXPECT_EQ(formatNumber(1.5e16), "1.5E+16");
    EXPECT_EQ(formatNumber(1e15), "1E+15");
    EXPECT_EQ(formatNumber(1234567890123456789.0), "1.23456789012346E+18");
    EXPECT_EQ(formatNumber(0.000012345), "1.2345E-05");
    EXPECT_EQ(formatNumber(-0.00005), "-5E-05");
    EXPECT_EQ(formatNumber(1e-100), "1E-100");
}

TEST(CellTextTest, DateSerialsInTheTwoDateSystems)
{
    EXPECT_EQ(formatDateSerial(41883, false), "2014/9/1");
    EXPECT_EQ(formatDateSerial(41883.5, false), "2014/9/1 12:00:00");
    EXPECT_EQ(formatDateSerial(41883 + (8 * 3600 + 5 * 60 + 9) / 86400.0, false), "2014/9/1 8:05:09");
    EXPECT_EQ(formatDateSerial(1, false), "1900/1/1");
    EXPECT_EQ(formatDateSerial(59, false), "1900/2/28");
    EXPECT_EQ(formatDateSerial(60, false), "1900/2/29");
    EXPECT_EQ(formatDateSerial(61, false), "1900/3/1");
    EXPECT_EQ(formatDateSerial(0.75, false), "18:00:00");
    EXPECT_EQ(formatDateSerial(2958465, false), "9999/12/31");
    EXPECT_EQ(formatDateSerial(0, true), "1904/1/1");
    EXPECT_EQ(formatDateSerial(40421, true), "2014/9/1");
    // No date stands for these: they keep their number form.
    EXPECT_EQ(formatDateSerial(-1, false), "-1");
    EXPECT_EQ(formatDateSerial(2958466, false), "2958466");
}

TEST(CellTextTest, DateFormatsAreRecognised)
{
    for (int id : {14, 15, 16, 17, 18, 19, 20, 21, 22, 31, 45, 46, 47, 57, 58})
        EXPECT_TRUE(isBuiltinDateFormat(id)) << id;
    for (int id : {0, 1, 2, 9, 10, 11, 12, 13, 23, 37, 44, 48, 49, 59, 164})
        EXPECT_FALSE(isBuiltinDateFormat(id)) << id;

    for (const char* code : {"yyyy/m/d", "yyyy\"年\"m\"月\"d\"日\"", "[$-804]yyyy/m/d;@", "h:mm:ss AM/PM",
                             "[h]:mm", "mm:ss.0", "[Red]d-mmm-yy", "e/m/d", "DD.MM.YYYY"})
        EXPECT_TRUE(isDateFormatCode(code)) << code;
    for (const char* code : {"General", "0.00", "#,##0;[Red]-#,##0", "0.00E+00", "@", "\"day\"0",
                             "_-* #,##0_-;-* #,##0_-;_-* \"-\"_-;_-@_-", "0\\d", "[DBNum1]General", "0;yyyy",
                             "[>100]0", ""})
        EXPECT_FALSE(isDateFormatCode(code)) << code;
}
