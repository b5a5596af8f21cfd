#include "platform/wtol.h"

#include <gtest/gtest.h>

TEST(Wtol, ReadsLeadingDecimalAndStopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(_wtol("1000"), 1000);
    EXPECT_EQ(_wtol("200ms"), 200);
    EXPECT_EQ(_wtol("  \t-42x"), -42);
    EXPECT_EQ(_wtol("+7"), 7);
    EXPECT_EQ(_wtol("12 34"), 12);
}

TEST(Wtol, NoDigitsReadAsZero) {
    EXPECT_EQ(_wtol(""), 0);
    EXPECT_EQ(_wtol("abc"), 0);
    EXPECT_EQ(_wtol("-"), 0);
    EXPECT_EQ(_wtol(" + 5"), 0);
}

TEST(Wtol, HugeValuesSaturateAtThirtyTwoBits) {
    EXPECT_EQ(_wtol("2147483647"), INT32_MAX);
    EXPECT_EQ(_wtol("2147483648"), INT32_MAX);
    EXPECT_EQ(_wtol("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(_wtol("-2147483648"), INT32_MIN);
    EXPECT_EQ(_wtol("-99999999999999999999"), INT32_MIN);
}
