#include "loading/consult_items.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "loading/consult_reads.h"
#include "loading/find_or_add_item.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

constexpr std::int16_t kBookedCourse = 0;  // KKBN of a course; any other value books an item
constexpr std::int16_t kBookedItem = 1;    // KKBN the payment categories pass over

// One booked entry of a consultation-items record.
struct Booking {
  std::int16_t kbn = 0;
  Currency code;
};

// The entries of the current consultation-items record up to the first
// KCODE of 0.
std::vector<Booking> ReadBookings(const record::BtrAccess& jko) {
  std::vector<Booking> out;
  for (int n = 1; n <= kCourseSlots; ++n) {
    const std::string num = std::to_string(n);
    const Currency code = jko.GetField("KCODE_" + num).ToCurrency();
    if (code == Currency(0)) break;
    out.push_back({FieldInt16(jko, "KKBN_" + num), code});
  }
  return out;
}

std::string ExamineeAndDate(const std::string& jdate) {
  return "受診者番号 : " + basPublic.ExamineeNo + std::string(kCrLf) + "受診日     : " + jdate;
}

// Reads the consultation-items record of `jdate`; false (after the warning
// and the unload) when there is none or it cannot be read.
bool ReadConsultation(record::BtrAccess& jko, const std::string& jdate) {
  jko.SetField("CODE", basPublic.ExamineeNo);
  jko.SetField("KSYMD", jdate);
  const int status = jko.GetEqual("QZJKOLF");
  if (status == record::kStatusNotFound) {
    return FailLoad("受診項目が登録されていません。" + std::string(kCrLf) + ExamineeAndDate(jdate));
  }
  if (status != record::kStatusOk) {
    return FailLoad("受診項目マスタの読み込みに失敗しました。" + std::string(kCrLf) + "受診者番号 : " +
                    basPublic.ExamineeNo + "受診日     : " + jdate + StatusText(status));
  }
  return true;
}

// The generation of course `cno` valid on `jdate` into `gendate` (0 when the
// course has none on or before the date). False (after the warning and the
// unload) when the course master cannot be read.
bool FindCourseGeneration(Currency cno, const std::string& jdate, std::int32_t& gendate, bool& found) {
  record::BtrAccess& kos = LoadObject(basFileAccess.QZKOSLFObj);
  kos.SetField("CNO", cno);
  kos.SetField("GENDATE", jdate);
  const int status = kos.GetLessOrEqual("QZKOSLF");
  gendate = 0;
  found = false;
  if (status == record::kStatusOk) {
    if (kos.GetField("CNO").ToCurrency() == cno) {
      gendate = FieldInt32(kos, "GENDATE");
      found = true;
    }
    return true;
  }
  if (status == record::kStatusEndOfFile) return true;
  // A failed read would silently drop the course's items.
  return FailLoad("コースマスタの読み込みに失敗しました。" + std::string(kCrLf) + ExamineeAndDate(jdate) +
                  std::string(kCrLf) + StatusText(status));
}

// The items of the courses read so far in this load, by course and
// generation: the earlier consultations book the same courses again, and
// their rows are read once.
using CourseItems = std::map<std::pair<std::int64_t, std::int32_t>, std::vector<Currency>>;

// What the items of a course read already add again: nothing new (each is
// in the table, or is the item that never is); only a full table reports
// its overflow again for every item it cannot take.
void AddCourseItemsAgain(const std::vector<Currency>& codes, ItemFinder& finder) {
  for (const Currency& code : codes) {
    if (finder.Known(code)) continue;
    std::int16_t index = 0;
    finder.FindOrAdd(code, index);  // a full table: the overflow report
  }
}

// Adds the items of course `cno` generation `gendate`; an item new to the
// table takes the course row's values and Past `past`.
bool AddCourseItems(Currency cno, std::int32_t gendate, std::int16_t past, ItemFinder& finder, CourseItems& read) {
  const auto key = std::make_pair(cno.raw(), gendate);
  if (auto known = read.find(key); known != read.end()) {
    AddCourseItemsAgain(known->second, finder);
    return true;
  }
  std::vector<Currency> codes;
  record::BtrAccess& ksk = LoadObject(basFileAccess.QZKSKLFObj);
  ksk.SetField("CNO", cno);
  ksk.SetField("GENDATE", static_cast<std::int64_t>(gendate));
  ksk.SetField("REN", 0);
  int status = ksk.GetGreaterOrEqual("QZKSKLF");
  while (status == record::kStatusOk && ksk.GetField("CNO").ToCurrency() == cno &&
         ksk.GetField("GENDATE").ToLong() == gendate) {
    std::int16_t index = 0;
    const Currency code = ksk.GetField("CODE").ToCurrency();
    codes.push_back(code);
    if (finder.FindOrAdd(code, index)) {
      KomInfo& item = frmResultIn.ItemTable[index];
      item.Keta = FieldInt16(ksk, "KETA");
      item.Kekano = FieldInt16(ksk, "KEKANO");
      item.Hantno = FieldInt16(ksk, "HANTNO");
      item.Syokno = FieldInt16(ksk, "SYOKNO");
      item.Ngrp = FieldInt32(ksk, "NGRP");
      item.Hjyun = FieldInt16(ksk, "HJYUN");
      for (int h = 1; h <= 4; ++h) {
        item.Hgrp[h] = FieldInt16(ksk, "HGRP" + std::to_string(h));
      }
      item.Pjyun = FieldInt32(ksk, "PJYUN");
      item.Past = past;
    }
    status = ksk.GetNext();
  }
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) {
    return FailLoad("コース項目マスタの読み込みに失敗しました。" + std::string(kCrLf) + StatusText(status));
  }
  read.emplace(key, std::move(codes));
  return true;
}

// The payment-category flags of the current consultation's bookings.
void SetPaymentCategories(const std::vector<Booking>& bookings) {
  basPublic.JkoKbn = 0;
  basPublic.JkoFlags.fill(false);
  for (const Booking& b : bookings) {
    if (b.kbn == kBookedItem) continue;
    for (int k = 0; k < kJkoListCount; ++k) {
      const std::vector<Currency>& list = basPublic.JkoCodeLists[k];
      if (std::find(list.begin(), list.end(), b.code) != list.end()) basPublic.JkoFlags[k] = true;
    }
  }
  Sub_AdjustOptionFlags();
}

// Puts the main course `pcode` into slot 1, the other slots following in
// their order, cut to the 40 slots; generation dates move with their
// courses (a main course not booked has none).
void PutMainCourseFirst(Currency pcode) {
  if (pcode == Currency(0) || pcode == frmResultIn.CourseCodes[1]) return;
  std::vector<Currency> codes{pcode};
  std::vector<std::int32_t> gens{0};
  for (int s = 1; s <= kCourseSlots; ++s) {
    if (frmResultIn.CourseCodes[s] == pcode) {
      gens[0] = frmResultIn.CourseGenDates[s];
      continue;
    }
    codes.push_back(frmResultIn.CourseCodes[s]);
    gens.push_back(frmResultIn.CourseGenDates[s]);
  }
  for (int s = 1; s <= kCourseSlots; ++s) {
    frmResultIn.CourseCodes[s] = codes[static_cast<std::size_t>(s - 1)];
    frmResultIn.CourseGenDates[s] = gens[static_cast<std::size_t>(s - 1)];
  }
}

// Adds the bookings of consultation column `c`.
bool AddColumnItems(int c, const std::vector<Booking>& bookings, int& slot, ItemFinder& finder,
                    CourseItems& read) {
  const std::string jdate = frmResultIn.HistoryDates[static_cast<std::size_t>(c)].Jdate;
  const std::int16_t past = c == 0 ? kPastBookedNow : kPastBookedEarlier;
  for (const Booking& b : bookings) {
    if (b.kbn != kBookedCourse) {
      std::int16_t index = 0;
      if (finder.FindOrAdd(b.code, index)) frmResultIn.ItemTable[index].Past = past;
      continue;
    }
    if (c == 0) frmResultIn.CourseCodes[slot] = b.code;
    std::int32_t gendate = 0;
    bool found = false;
    if (!FindCourseGeneration(b.code, jdate, gendate, found)) return false;
    if (found && c == 0) {
      frmResultIn.CourseGenDates[slot] = gendate;
      ++slot;
    }
    if (!AddCourseItems(b.code, gendate, past, finder, read)) return false;
  }
  return true;
}

bool LoadConsultItems() {
  frmResultIn.CourseCodes.Fill(Currency(0));
  frmResultIn.CourseGenDates.Fill(0);
  frmResultIn.ItemTable.Clear();
  frmResultIn.SyoComboLists.Clear();
  int slot = 1;
  ItemFinder finder;
  CourseItems read;

  record::BtrAccess& jko = LoadObject(basFileAccess.QZJKOLFObj);
  for (int c = 0; c <= frmResultIn.HistoryCount(); ++c) {
    const std::string jdate = frmResultIn.HistoryDates[static_cast<std::size_t>(c)].Jdate;
    if (c > 0 && frmResultIn.HistoryDates[static_cast<std::size_t>(c)].Cno1 == 0) break;
    if (!ReadConsultation(jko, jdate)) return false;
    const std::vector<Booking> bookings = ReadBookings(jko);
    if (!AddColumnItems(c, bookings, slot, finder, read)) return false;
    if (c != 0) continue;
    if (frmResultIn.ItemCount() == 0) {
      return FailLoad("受診項目が登録されていません。" + std::string(kCrLf) + ExamineeAndDate(jdate));
    }
    SetPaymentCategories(bookings);
    PutMainCourseFirst(jko.GetField("PCODE").ToCurrency());
  }
  return true;
}

bool AddResultOnlyItems() {
  const std::string& jdate = frmResultIn.HistoryDates.at(0).Jdate;
  record::BtrAccess& kkk = LoadObject(basFileAccess.QZKKKLFObj);
  kkk.SetField("CODE", basPublic.ExamineeNo);
  kkk.SetField("JDATE", jdate);
  kkk.SetField("KKMKNO", 0);
  int status = kkk.GetGreaterOrEqual("QZKKKLF");
  if (status == record::kStatusEndOfFile) return true;
  if (status != record::kStatusOk) {
    return FailLoad("検査結果マスタの読み込みに失敗しました。" + std::string(kCrLf) + "受診者番号 : " +
                    basPublic.ExamineeNo + "受診日     : " + jdate + StatusText(status));
  }
  const std::int64_t current = vb::CLng(std::string_view(jdate));
  ItemFinder finder;
  while (status == record::kStatusOk && IsSameExaminee(kkk.GetField("CODE").ToText(), basPublic.ExamineeNo) &&
         kkk.GetField("JDATE").ToLong() == current) {
    std::int16_t index = 0;
    const bool added = finder.FindOrAdd(kkk.GetField("KKMKNO").ToCurrency(), index);
    if (index != 0 && (added || frmResultIn.ItemTable[index].Past != kPastBookedNow)) {
      frmResultIn.ItemTable[index].Past = kPastResultOnly;
    }
    status = kkk.GetNext();
  }
  if (status != record::kStatusOk && status != record::kStatusEndOfFile) {
    return FailLoad("検査結果マスタの読み込みに失敗しました。" + std::string(kCrLf) + StatusText(status));
  }
  return true;
}

}  // namespace

bool Sub_LoadConsultItems() { return RunLoadStep("受診項目の取得処理でエラーが発生しました。", LoadConsultItems); }

bool Sub_AddResultOnlyItems() {
  return RunLoadStep("受診項目(検査結果マスタ)の取得処理でエラーが発生しました。", AddResultOnlyItems);
}

}  // namespace qz
