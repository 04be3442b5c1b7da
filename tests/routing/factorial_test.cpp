#include <gtest/gtest.h>

#include <stdexcept>

#include "routing/tsp_solver.h"

TEST(FactorialTest, GivesNFactorialAndTheSameValueFromItsMemo) {
  EXPECT_EQ(factorial(0), 1);
  EXPECT_EQ(factorial(-4), 1);
  EXPECT_EQ(factorial(1), 1);
  EXPECT_EQ(factorial(3), 6);
  EXPECT_EQ(factorial(9), 362880);
  EXPECT_EQ(factorial(9), 362880);  // answered from the memo
  EXPECT_EQ(factorial(12), 479001600);
  EXPECT_EQ(factorial(3), 6);
}

TEST(FactorialTest, RefusesArgumentsWhoseFactorialOverflowsInt) {
  try {
    factorial(13);
    FAIL() << "factorial(13) returned";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "factorial: 13! does not fit in int");
  }
  // The refusal is not memorised as a value.
  EXPECT_THROW(factorial(13), std::invalid_argument);
  EXPECT_EQ(factorial(12), 479001600);
}
