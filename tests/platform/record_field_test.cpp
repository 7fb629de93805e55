#include <functional>

#include "platform/record/status.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "kit/error_of.h"
#include "record_fixture.h"

namespace qz::record::testing {
namespace {

using RecordFieldTest = RecordTest;

using testkit::ErrorOf;

TEST_F(RecordFieldTest, NumericFieldsHoldSignedZonedDecimal) {
  auto t = OpenT();
  struct Case {
    std::int64_t value;
    const char* bytes;  // AMT, 6 bytes
  };
  const Case cases[] = {
      {0, "000000"}, {42, "000042"}, {999999, "999999"}, {-1, "00000Q"}, {-120, "00012P"}, {-999999, "99999Y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    t->SetField("AMT", c.value);
    EXPECT_EQ(t->RecordBytes().substr(29, 6), c.bytes);
    EXPECT_EQ(t->GetField("AMT").ToText(), std::to_string(c.value));
    EXPECT_TRUE(t->GetField("AMT").is_number());
  }
}

TEST_F(RecordFieldTest, WideNumericFieldsOverflowBeyondTheCurrencyRange) {
  auto t = OpenT();
  t->DefineNumericField("WIDE", 10, 18, 0);  // over NAME's bytes
  struct Case {
    const char* bytes;  // 18 bytes
    std::int64_t value;  // 0: overflow
  };
  const Case cases[] = {
      {"000922337203685477", 922337203685477},
      {"00092233720368547W", -922337203685477},
      {"000922337203685478", 0},
      {"999999999999999999", 0},
      {"99999999999999999Y", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    t->SetRecordBytes(std::string(9, ' ') + c.bytes);
    if (c.value == 0) {
      EXPECT_EQ(ErrorOf([&] { t->GetField("WIDE"); }), kErrOverflow);
    } else {
      EXPECT_EQ(t->GetField("WIDE").ToCurrency(), Currency(c.value));
    }
  }
}

TEST_F(RecordFieldTest, NumericFieldsReadOtherSignFormsLeniently) {
  auto t = OpenT();
  struct Case {
    const char* bytes;
    std::int64_t value;
  };
  const Case cases[] = {
      {"      ", 0},    {"000012", 12},  {"00001B", 12}, {"00001@", 10}, {"00001R", -12},
      {"00001r", -12}, {"    12", 12},   {"12    ", 12}, {"-00012", -12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    t->SetRecordBytes(std::string(29, ' ') + c.bytes);
    EXPECT_EQ(t->GetField("AMT").ToLong(), c.value);
  }
}

// A numeric field whose bytes are no number (another program's stray
// text, a damaged record) reads as an error, never as a number made of the
// bytes' low bits: "1 2" is not 102.
TEST_F(RecordFieldTest, NumericFieldsHoldingNoNumberReadAsAnError) {
  auto t = OpenT();
  for (const char* bytes : {"  1 2 ", "0012A4", "00-012", "012.50", "-     ", "00:012", "AB0012"}) {
    SCOPED_TRACE(bytes);
    t->SetRecordBytes(std::string(29, ' ') + bytes);
    EXPECT_EQ(ErrorOf([&] { t->GetField("AMT"); }), kErrTypeMismatch);
  }
}

TEST_F(RecordFieldTest, SetFieldConvertsTextAndCurrencyForNumericFields) {
  auto t = OpenT();
  struct Case {
    const char* text;
    std::int64_t value;
  };
  const Case cases[] = {{"", 0}, {"  ", 0}, {" 17 ", 17}, {"-5", -5}, {"2.5", 2}, {"3.5", 4}, {"+8", 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    t->SetField("AMT", c.text);
    EXPECT_EQ(t->GetField("AMT").ToLong(), c.value);
  }
  t->SetField("AMT", Currency::FromRaw(-75000));  // -7.5 rounds to even
  EXPECT_EQ(t->GetField("AMT").ToLong(), -8);
}

TEST_F(RecordFieldTest, SetFieldRefusesToDropDigitsOrTakeNonNumbers) {
  auto t = OpenT();
  t->SetField("AMT", 7);
  struct Case {
    const char* name;
    std::function<void()> set;
    int error;
  };
  const Case cases[] = {
      {"seven digits", [&] { t->SetField("AMT", 1000000); }, kErrOverflow},
      {"seven negative digits", [&] { t->SetField("AMT", -1000000); }, kErrOverflow},
      {"text too long", [&] { t->SetField("AMT", "1234567"); }, kErrOverflow},
      {"huge text", [&] { t->SetField("AMT", "123456789012345678901234"); }, kErrOverflow},
      {"currency", [&] { t->SetField("AMT", Currency(1000000)); }, kErrOverflow},
      {"integer into a short alpha field", [&] { t->SetField("GRP", 123); }, kErrOverflow},
      {"letters", [&] { t->SetField("AMT", "12a"); }, kErrTypeMismatch},
      {"two points", [&] { t->SetField("AMT", "1.2.3"); }, kErrTypeMismatch},
      {"unknown field", [&] { t->SetField("NOPE", 1); }, kErrInvalidCall},
      {"unknown field read", [&] { t->GetField("NOPE"); }, kErrInvalidCall},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf(c.set), c.error);
  }
  EXPECT_EQ(t->GetField("AMT").ToLong(), 7);  // nothing was stored
}

TEST_F(RecordFieldTest, TextFieldsAreCp932BlankPaddedAndCutAtACharacter) {
  auto t = OpenT();
  EXPECT_EQ(t->GetField("NAME").ToText(), std::string(20, ' '));  // a new buffer is blank
  EXPECT_EQ(t->GetField("AMT").ToLong(), 0);
  t->SetField("NAME", "～ＡB");
  EXPECT_EQ(t->RecordBytes().substr(9, 20), text::ToCp932("～ＡB") + std::string(15, ' '));
  EXPECT_EQ(t->GetField("NAME").ToText(), "～ＡB" + std::string(15, ' '));
  t->SetField("NAME", "一二三四五六七八九十壱");  // 22 bytes: the 11th character goes
  EXPECT_EQ(t->GetField("NAME").ToText(), "一二三四五六七八九十");
  t->SetField("NAME", "A一二三四五六七八九十");  // 21 bytes: the cut leaves a blank
  EXPECT_EQ(t->GetField("NAME").ToText(), "A一二三四五六七八九 ");
  t->SetField("CODE", 12);
  EXPECT_EQ(t->GetField("CODE").ToText(), "12  ");
  t->SetField("CODE", Currency::FromRaw(15000));
  EXPECT_EQ(t->GetField("CODE").ToText(), "1.5 ");
}

TEST_F(RecordFieldTest, KanjiTildeSurvivesTheFile) {
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "K", 1, "G", "～　全角～"), 0);
  auto r = OpenT();
  r->SetField("CODE", "K");
  r->SetField("NUM", 1);
  ASSERT_EQ(r->GetEqual("T"), 0);
  EXPECT_EQ(r->GetField("NAME").ToText(), "～　全角～" + std::string(10, ' '));
  EXPECT_EQ(r->RecordBytes().substr(9, 2), "\x81\x60");
}

TEST_F(RecordFieldTest, FieldsAreDeclaredInsideTheRecordOnly) {
  auto t = OpenT();
  EXPECT_EQ(ErrorOf([&] { t->DefineAlphaField("OUT", 36, 6); }), kErrInvalidCall);
  EXPECT_EQ(ErrorOf([&] { t->DefineAlphaField("ZERO", 0, 1); }), kErrInvalidCall);
  EXPECT_EQ(ErrorOf([&] { t->DefineAlphaField("CODE", 36, 1); }), kErrInvalidCall);
  EXPECT_EQ(ErrorOf([&] { t->DefineAlphaField("FAR", 2147483647, 5); }), kErrInvalidCall);
  EXPECT_EQ(ErrorOf([&] { t->DefineKanjiField("LONG", 2, 2147483647); }), kErrInvalidCall);
  t->DefineAlphaField("TAIL", 36, 5);
  ASSERT_EQ(t->Fields().size(), 6u);
  EXPECT_EQ(t->Fields()[5].name, "TAIL");
  EXPECT_EQ(t->RecordLength(), 40);
  BtrAccess closed;
  EXPECT_EQ(ErrorOf([&] { closed.DefineAlphaField("A", 1, 1); }), kErrInvalidCall);
}

TEST(FieldValue, ConversionsFollowTheRuntime) {
  EXPECT_EQ(FieldValue::Text("  ").ToLong(), 0);
  EXPECT_EQ(FieldValue::Text(" 12 ").ToLong(), 12);
  EXPECT_EQ(FieldValue::Text("2.5").ToInt(), 2);
  EXPECT_EQ(FieldValue::Number(Currency(40000)).ToLong(), 40000);
  EXPECT_EQ(ErrorOf([] { FieldValue::Number(Currency(40000)).ToInt(); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { FieldValue::Text("x1").ToLong(); }), kErrTypeMismatch);
  EXPECT_EQ(FieldValue::Number(Currency(9999999999LL)).ToCurrency(), Currency(9999999999LL));
}

}  // namespace
}  // namespace qz::record::testing
