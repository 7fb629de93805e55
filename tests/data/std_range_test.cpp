#include "data/std_range.h"

#include <gtest/gtest.h>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "kit/suite_builder.h"
#include "platform/record/btr_access.h"

namespace qz {
namespace {

struct HatRow {
  std::int64_t code;
  int gendate;
  int ren;
  int sex;
  int stnen;
  int ednen;
  int stdkbn;
  const char* stknsa;
  const char* edknsa;
};

// Item 100 has two generations; in the second, rows are written out of
// row-number order. Items 200 and 201 have bad limits, 300 only rows of
// another kind, 400 only a row for men.
const HatRow kRows[] = {
    {100, 20200101, 1, 0, 0, 150, 1, "000030000", "000050000"},
    {100, 20240401, 5, 2, 0, 150, 1, "000010000", "000020000"},
    {100, 20240401, 1, 0, 0, 150, 2, "000010000", "000020000"},
    {100, 20240401, 4, 0, 0, 150, 1, "00005000P", "00000100@"},
    {100, 20240401, 3, 1, 40, 150, 1, "000040000", "000060000"},
    {100, 20240401, 2, 1, 0, 39, 1, "00003500@", "000050000"},
    {200, 20240401, 1, 0, 0, 150, 1, "00003500Z", "000050000"},
    {201, 20240401, 1, 0, 0, 150, 1, "000035000", "0000500 0"},
    {300, 20240401, 1, 0, 0, 150, 0, "000010000", "000020000"},
    {400, 20240401, 1, 1, 0, 150, 1, "000010000", "000020000"},
};

class GetStdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const HatRow& r : kRows) {
      suite.Add("QZHATLF", {{"CODE", static_cast<long long>(r.code)}, {"GENDATE", r.gendate}, {"REN", r.ren},
                            {"SEX", r.sex}, {"STNEN", r.stnen}, {"EDNEN", r.ednen}, {"STDKBN", r.stdkbn},
                            {"STKNSA", r.stknsa}, {"EDKNSA", r.edknsa}});
    }
    suite.Build();
    suite.ApplyPaths();
    ASSERT_TRUE(Fnc_OpenHatMaster());
  }
  void TearDown() override {
    basFileAccess = BasFileAccess{};
    basPublic = BasPublic{};
  }

  testkit::SuiteBuilder suite;
};

struct StdCase {
  std::int64_t item;
  std::int16_t sex;
  std::int16_t age;
  std::int32_t date;
  std::int64_t scale;
  std::int16_t error;
  const char* low;
  const char* high;
  std::int32_t gendate;
};

TEST_F(GetStdTest, Lookups) {
  const StdCase cases[] = {
      // Generations: the last one starting on or before the date.
      {100, 1, 20, 20240331, 10000, 0, "3", "5", 20200101},
      {100, 1, 20, 20200101, 10000, 0, "3", "5", 20200101},
      // Sex and age rows, inclusive ages, in row-number order.
      {100, 1, 20, 20240401, 10000, 0, "3.5", "5", 20240401},
      {100, 1, 39, 20240401, 10000, 0, "3.5", "5", 20240401},
      {100, 1, 40, 20240401, 10000, 0, "4", "6", 20240401},
      {100, 2, 40, 20240401, 10000, 0, "-5", "0.1", 20240401},  // row 4 before row 5
      // Scale 0 counts as 1.
      {100, 1, 20, 20200101, 0, 0, "30000", "50000", 20200101},
      {100, 1, 20, 20200101, 3, 0, "10000", "16666.6667", 20200101},
      // No generation yet: the row before the key belongs to another
      // item; no row at all before the key (the start of the file) is the
      // lookup's error.
      {150, 1, 20, 20240401, 10000, 0, "", "", 0},
      {100, 1, 20, 20191231, 10000, 1, "", "", 0},
      {50, 1, 20, 20240401, 10000, 1, "", "", 0},
      // A generation without a fitting row: no range, the generation set.
      {300, 1, 20, 20240401, 10000, 0, "", "", 20240401},  // no standard-range row
      {400, 2, 20, 20240401, 10000, 0, "", "", 20240401},  // no row for the sex
      {400, 1, 20, 20240401, 10000, 0, "1", "2", 20240401},
      {100, 1, 151, 20240401, 10000, 0, "", "", 20240401},  // no row for the age
      {999, 1, 20, 20240401, 10000, 0, "", "", 0},
      // Bad limits.
      {200, 1, 20, 20240401, 10000, 1, "", "", 0},
      {201, 1, 20, 20240401, 10000, 1, "3.5", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "item " << c.item << " sex " << c.sex << " age " << c.age << " date "
                                    << c.date << " scale " << c.scale);
    std::string low = "x", high = "x";
    std::int32_t gendate = -1;
    std::int16_t error = -1;
    Sub_GetStd(Currency(c.item), c.sex, c.age, c.date, Currency(c.scale), low, high, gendate, error);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(low, c.low);
    EXPECT_EQ(high, c.high);
    EXPECT_EQ(gendate, c.gendate);
  }
}

TEST_F(GetStdTest, AMasterThatIsNotOpenIsAnError) {
  for (bool empty_slot : {false, true}) {
    SCOPED_TRACE(empty_slot);
    basFileAccess.QZHATLFObj = empty_slot ? nullptr : std::make_unique<record::BtrAccess>();
    std::string low = "x", high = "x";
    std::int32_t gendate = -1;
    std::int16_t error = -1;
    Sub_GetStd(Currency(100), 1, 20, 20240401, Currency(10000), low, high, gendate, error);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(low, "");
    EXPECT_EQ(high, "");
    EXPECT_EQ(gendate, 0);
  }
}

}  // namespace
}  // namespace qz
