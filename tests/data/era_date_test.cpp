#include "data/era_date.h"

#include <gtest/gtest.h>

#include <string>

namespace qz {
namespace {

EraTable StandardEras() {
  EraTable t;
  t.EraNames = {"明治", "大正", "昭和", "平成", "令和", ""};
  t.EraStarts = {18680101, 19120730, 19261225, 19890108, 20190501, kEraNeverStarts};
  return t;
}

KwbDateVars Vars(std::int16_t mode, std::int16_t kind, std::int32_t date1, std::int32_t date2 = 0,
                 std::int16_t era = 0) {
  KwbDateVars v;
  v.Mode = mode;
  v.Kind = kind;
  v.Date1 = date1;
  v.Date2 = date2;
  v.EraNo = era;
  v.EraName = "keep";
  v.DateText = "keep";
  v.OutNo = 77;
  v.EraText = "keep";
  return v;
}

struct ToEraCase {
  std::int32_t date;
  std::int16_t era;
  const char* name;
  const char* date_text;
};

TEST(EraDate, WesternToEraAtEveryBoundary) {
  const ToEraCase cases[] = {
      {18680101, 1, "明治", "0001010100"}, {19120729, 1, "明治", "0045072900"},
      {19120730, 2, "大正", "0001073000"}, {19261224, 2, "大正", "0015122400"},
      {19261225, 3, "昭和", "0001122500"}, {19890107, 3, "昭和", "0064010700"},
      {19890108, 4, "平成", "0001010800"}, {20190430, 4, "平成", "0031043000"},
      {20190501, 5, "令和", "0001050100"}, {20260301, 5, "令和", "0008030100"},
  };
  EraTable eras = StandardEras();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.date);
    KwbDateVars v = Vars(1, 0, c.date);
    ASSERT_EQ(RunKwbDate(eras, v), kKwbDateOk);
    EXPECT_EQ(v.EraNo, c.era);
    EXPECT_EQ(v.EraName, c.name);
    EXPECT_EQ(v.DateText, c.date_text);
    EXPECT_EQ(v.OutNo, 0);
    EXPECT_EQ(v.EraText, "");
  }
}

TEST(EraDate, EraToWesternRoundTripsAtEveryBoundary) {
  const std::int32_t dates[] = {18680101, 19120729, 19120730, 19261224, 19261225,
                                19890107, 19890108, 20190430, 20190501, 20260301};
  EraTable eras = StandardEras();
  for (std::int32_t date : dates) {
    SCOPED_TRACE(date);
    KwbDateVars to_era = Vars(1, 0, date);
    ASSERT_EQ(RunKwbDate(eras, to_era), kKwbDateOk);
    // DateText "00YYMMDD00" -> era date eeeemmdd.
    std::int32_t era_date = std::stoi(to_era.DateText.substr(0, 8));
    KwbDateVars back = Vars(2, 0, era_date, 0, to_era.EraNo);
    ASSERT_EQ(RunKwbDate(eras, back), kKwbDateOk);
    EXPECT_EQ(back.DateText, std::to_string(date) + "00");
    EXPECT_EQ(back.EraName, "");
    EXPECT_EQ(back.EraText, "");
    EXPECT_EQ(back.OutNo, 0);
  }
}

TEST(EraDate, EraTextForms) {
  const std::pair<std::int16_t, const char*> cases[] = {{0, ""}, {1, "05.03.01"}, {2, " 5. 3. 1"}, {3, "5.3.1"}};
  EraTable eras = StandardEras();
  for (const auto& [kind, text] : cases) {
    KwbDateVars v = Vars(1, kind, 20230301);
    ASSERT_EQ(RunKwbDate(eras, v), kKwbDateOk);
    EXPECT_EQ(v.EraText, text) << kind;
  }
  KwbDateVars v = Vars(1, 2, 20301231);
  ASSERT_EQ(RunKwbDate(eras, v), kKwbDateOk);
  EXPECT_EQ(v.EraText, "12.12.31");
}

struct ErrorCase {
  std::int16_t mode;
  std::int16_t kind;
  std::int32_t date1;
  std::int16_t era_in;
  std::int16_t error;
  std::int16_t era_out;     // EraNo after the call
  const char* date_text;    // DateText after the call
};

TEST(EraDate, ErrorCodesKeepWhatTheModeHadNotSet) {
  const ErrorCase cases[] = {
      {0, 0, 20230301, 0, kKwbDateBadMode, 0, "keep"},
      {4, 0, 20230301, 0, kKwbDateBadMode, 0, "keep"},
      {1, 4, 20230301, 0, kKwbDateBadKind, 0, "keep"},
      {1, -1, 20230301, 0, kKwbDateBadKind, 0, "keep"},
      {1, 0, 18671231, 0, kKwbDateBeforeEras, 0, "keep"},
      {1, 0, 20231301, 0, kKwbDateBadMonth, 5, "keep"},
      {1, 0, 20230001, 0, kKwbDateBadMonth, 5, "keep"},
      {1, 0, 20230229, 0, kKwbDateBadDay, 5, "keep"},
      {1, 0, 19000229, 0, kKwbDateBadDay, 1, "keep"},
      {1, 0, 20230431, 0, kKwbDateBadDay, 5, "keep"},
      {1, 0, 20230100, 0, kKwbDateBadDay, 5, "keep"},
      {1, 0, 20000229, 0, kKwbDateOk, 4, "0012022900"},
      {2, 0, 10101, 6, kKwbDateBadEra, 6, "keep"},
      {2, 0, 10101, 0, kKwbDateBadEra, 0, "keep"},
      {2, 0, 121301, 4, kKwbDateBadMonth, 4, "keep"},
      {2, 0, 110229, 4, kKwbDateBadDay, 4, "keep"},            // 1999
      {2, 0, 120229, 4, kKwbDateOk, 4, "2000022900"},         // 2000
      {2, 0, 10107, 4, kKwbDateBadEra, 4, "1989010700"},      // before its first day
      {2, 0, 640108, 3, kKwbDateBadEra, 3, "1989010800"},     // on the next era's first day
      {2, 0, 310501, 4, kKwbDateBadEra, 4, "2019050100"},
      {2, 0, 10430, 5, kKwbDateBadEra, 5, "2019043000"},
      {2, 0, 1000101, 5, kKwbDateOk, 5, "2118010100"},        // the last era has no end
      {2, 0, -10101, 4, kKwbDateBadMonth, 4, "keep"},
  };
  EraTable eras = StandardEras();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " kind " << c.kind << " date " << c.date1);
    KwbDateVars v = Vars(c.mode, c.kind, c.date1, 0, c.era_in);
    EXPECT_EQ(RunKwbDate(eras, v), c.error);
    EXPECT_EQ(v.EraNo, c.era_out);
    EXPECT_EQ(v.DateText, c.date_text);
    if (c.error != kKwbDateOk) {
      EXPECT_EQ(v.EraName, "keep");
      EXPECT_EQ(v.EraText, "keep");
      EXPECT_EQ(v.OutNo, 77);
    }
  }
}

TEST(EraDate, UnusedSlotsNeverBegin) {
  EraTable eras = StandardEras();
  KwbDateVars v = Vars(1, 0, 99991231);
  ASSERT_EQ(RunKwbDate(eras, v), kKwbDateOk);
  EXPECT_EQ(v.EraNo, 5);
  // An era whose slot is unused holds no date.
  eras.EraStarts[4] = kEraNeverStarts;
  for (std::int32_t era_date : {10101, 20101, 1000101}) {
    SCOPED_TRACE(era_date);
    KwbDateVars w = Vars(2, 0, era_date, 0, 5);
    EXPECT_EQ(RunKwbDate(eras, w), kKwbDateBadEra);
    EXPECT_EQ(w.DateText, "keep") << "no Western year is made for it";
  }
}

struct IntervalCase {
  std::int16_t kind;
  std::int32_t date1;
  std::int32_t date2;
  std::int16_t error;
  const char* date_text;
};

TEST(EraDate, Intervals) {
  const IntervalCase cases[] = {
      // Days, both ends counted.
      {0, 20260301, 20260301, kKwbDateOk, "0000000100"},
      {0, 20260101, 20260301, kKwbDateOk, "0000006000"},
      {0, 20231231, 20240101, kKwbDateOk, "0000000200"},
      {0, 20240201, 20240301, kKwbDateOk, "0000003000"},
      {0, 19000201, 19000301, kKwbDateOk, "0000002900"},
      {0, 20260302, 20260301, kKwbDateOk, "00000000"},
      {0, 20260101, 20261301, kKwbDateBadMonth, "keep"},
      {0, 20260001, 20260301, kKwbDateBadMonth, "keep"},
      {0, 20260101, 20260001 + 10000, kKwbDateBadMonth, "keep"},
      // Years, months and days.
      {1, 19800315, 20260301, kKwbDateOk, "0045111700"},
      {1, 19800301, 20260301, kKwbDateOk, "0046000000"},
      {1, 19800302, 20260301, kKwbDateOk, "0045113000"},
      {1, 20260302, 20260301, kKwbDateOk, "00000000"},
      // Date plus interval.
      {2, 20260131, 100, kKwbDateOk, "2026022800"},
      {2, 20261215, 20, kKwbDateOk, "2027010400"},
      {2, 20201115, 200, kKwbDateOk, "2021011500"},
      {2, 20201215, 11200, kKwbDateOk, "2022121500"},  // month sum 24: one year on, December
      {2, 20201215, 1200, kKwbDateOk, "2021121500"},
      {2, 20201215, 9000, kKwbDateOk, "2028061500"},   // 90 months carry into years
      {2, 20260301, 20260101, kKwbDateOk, "4052040200"},
      {2, 20200015, 0, kKwbDateBadMonth, "keep"},
      {3, 20260101, 20260301, kKwbDateOk, "keep"},
  };
  EraTable eras = StandardEras();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " " << c.date1 << " " << c.date2);
    KwbDateVars v = Vars(3, c.kind, c.date1, c.date2, 3);
    EXPECT_EQ(RunKwbDate(eras, v), c.error);
    EXPECT_EQ(v.DateText, c.date_text);
    EXPECT_EQ(v.EraNo, 3);
    EXPECT_EQ(v.EraName, "keep");
    EXPECT_EQ(v.OutNo, 77);
  }
}

}  // namespace
}  // namespace qz
