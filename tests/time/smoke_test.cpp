#include <gtest/gtest.h>
#include "time/time.h"
TEST(Smoke, Day0) {
  auto f = tc::time_to_fields(0.0);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->year, 1899); EXPECT_EQ(f->month, 12); EXPECT_EQ(f->day, 30);
  EXPECT_EQ(f->day_of_week, 7); EXPECT_EQ(f->day_of_year, 364);
}
