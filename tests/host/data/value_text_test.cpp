#include "host/data/sql_quote.h"
#include "host/data/value_text.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace vantik;

TEST(ValueText, NullAndBitsAndIntegers)
{
    EXPECT_EQ(valueText(QVariant(), SqlType::Text), "");
    EXPECT_EQ(valueText(QVariant(QMetaType(QMetaType::QString)), SqlType::Text), "");
    EXPECT_EQ(valueText(QVariant(true), SqlType::Unknown), "True");
    EXPECT_EQ(valueText(QVariant(qlonglong(0)), SqlType::Bit), "False");
    EXPECT_EQ(valueText(QVariant(uint(1)), SqlType::Bit), "True"); // how QODBC hands over a bit
    EXPECT_EQ(valueText(QVariant(QStringLiteral("1")), SqlType::Bit), "True");
    EXPECT_EQ(valueText(QVariant(qlonglong(-42)), SqlType::Integer), "-42");
    EXPECT_EQ(valueText(QVariant(qlonglong(1)), SqlType::Unknown), "1"); // a bit only when it is one
}

TEST(ValueText, DecimalsLoseTrailingZerosOnly)
{
    EXPECT_EQ(valueText(QVariant(150.5), SqlType::Decimal), "150.5");
    EXPECT_EQ(valueText(QVariant(12.0), SqlType::Decimal), "12");
    EXPECT_EQ(valueText(QVariant(0.1), SqlType::Decimal), "0.1");
    EXPECT_EQ(valueText(QVariant(1234567.25), SqlType::Decimal), "1234567.25");
    EXPECT_EQ(valueText(QVariant(-0.5), SqlType::Decimal), "-0.5");
    // SQL Server's decimals arrive through ODBC as text.
    EXPECT_EQ(valueText(QVariant(QStringLiteral("150.50")), SqlType::Decimal), "150.5");
    EXPECT_EQ(valueText(QVariant(QStringLiteral("12.00")), SqlType::Decimal), "12");
    EXPECT_EQ(valueText(QVariant(QStringLiteral("100")), SqlType::Decimal), "100");
    EXPECT_EQ(valueText(QVariant(QStringLiteral("-0.00")), SqlType::Decimal), "0");
    // Text that merely looks numeric is left alone.
    EXPECT_EQ(valueText(QVariant(QStringLiteral("10.50")), SqlType::Text), "10.50");
}

TEST(ValueText, DatetimesReadAsTheProgramShowsThem)
{
    EXPECT_EQ(valueText(QVariant(QStringLiteral("2024-01-05 09:07:00.000")), SqlType::DateTime), "1/5/2024 9:07:00 AM");
    EXPECT_EQ(valueText(QVariant(QStringLiteral("2024-12-31 00:00:00.000")), SqlType::DateTime), "12/31/2024");
    EXPECT_EQ(valueText(QVariant(QStringLiteral("2024-06-01 12:30:05.000")), SqlType::DateTime), "6/1/2024 12:30:05 PM");
    EXPECT_EQ(valueText(QVariant(QDateTime(QDate(2024, 1, 5), QTime(21, 7))), SqlType::Unknown), "1/5/2024 9:07:00 PM");
    EXPECT_EQ(valueText(QVariant(QDate(2024, 2, 29)), SqlType::Unknown), "2/29/2024");
    // SQL Server's datetime2 and datetimeoffset, read whole as text (style 121).
    EXPECT_EQ(valueText(QVariant(QStringLiteral("2026-11-02 09:00:00.1234567")), SqlType::DateTime),
              "11/2/2026 9:00:00 AM");
    EXPECT_EQ(valueText(QVariant(QStringLiteral("2026-11-02 21:00:00.9999999 -05:00")), SqlType::DateTime),
              "11/2/2026 9:00:00 PM -05:00");
    EXPECT_EQ(valueDateTime(QVariant(QStringLiteral("2026-11-02 21:00:00.9999999 -05:00"))),
              QDateTime(QDate(2026, 11, 2), QTime(21, 0, 0, 999)));
    // A converted datetime (style 0) is text and stays as the statement made it.
    EXPECT_EQ(valueText(QVariant(QStringLiteral("Jan  5 2024  9:07AM")), SqlType::Text), "Jan  5 2024  9:07AM");
}

TEST(SqlQuote, DoublesEverySingleQuoteAndNothingElse)
{
    EXPECT_EQ(sqlQuote("D'Souza"), "D''Souza");
    EXPECT_EQ(sqlQuote("''"), "''''");
    EXPECT_EQ(sqlQuote("plain \"text\" %_"), "plain \"text\" %_");
    EXPECT_EQ(sqlQuote(""), "");
}
