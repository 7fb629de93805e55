#include "kit/demo_catalog.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace qz::testkit::demo {

namespace {

constexpr double kNoHigh = 99999.9999;

// Input groups: 10 身体計測, 15 視力・聴力, 20 血圧, 30 血液学, 35 生化学,
// 40 尿検査, 50 胸部Ｘ線, 60 心電図, 90 総合判定. Decision groups: 1 身体計測,
// 2 血圧, 3 血液学, 4 肝機能, 5 脂質, 6 糖代謝, 7 腎機能, 8 尿, 9 胸部,
// 10 心電図, 11 視力・聴力.
std::vector<Item> MakeItems() {
  std::vector<Item> v = {
      {1001, "身長", "cm", kNumeric, 10, 1, 1, 31, 0, {}},
      {1002, "体重", "kg", kNumeric, 10, 2, 1, 31, 0, {}},
      {1003, "ＢＭＩ", "kg/m2", kCalculated, 10, 3, 1, 21, 0, {{0, 0, 150, 18.5, 24.9}}},
      {1004, "腹囲", "cm", kNumeric, 10, 4, 1, 31, 0, {{1, 0, 150, 0, 84.9}, {2, 0, 150, 0, 89.9}}},
      {1005, "体脂肪率", "%", kNumeric, 10, 5, 1, 21, 0, {{1, 0, 150, 10.0, 19.9}, {2, 0, 150, 20.0, 29.9}}},
      {1006, "視力（右）", "", kNumeric, 15, 1, 11, 11, 0, {{0, 0, 150, 0.7, kNoHigh}}},
      {1007, "視力（左）", "", kNumeric, 15, 2, 11, 11, 0, {{0, 0, 150, 0.7, kNoHigh}}},
      {1008, "聴力右1000Hz", "", kFindings, 15, 3, 11, 0, 401, {}},
      {1009, "聴力左1000Hz", "", kFindings, 15, 4, 11, 0, 401, {}},
      {1010, "聴力右4000Hz", "", kFindings, 15, 5, 11, 0, 401, {}},
      {1011, "聴力左4000Hz", "", kFindings, 15, 6, 11, 0, 401, {}},
      {2001, "収縮期血圧", "mmHg", kNumeric, 20, 1, 2, 30, 0, {{0, 0, 150, 0, 129}}},
      {2002, "拡張期血圧", "mmHg", kNumeric, 20, 2, 2, 30, 0, {{0, 0, 150, 0, 84}}},
      {2003, "脈拍", "/min", kNumeric, 20, 3, 2, 30, 0, {{0, 0, 150, 50, 100}}},
      {3001, "白血球数", "10^3/uL", kNumeric, 30, 1, 3, 21, 0, {{0, 0, 150, 3.3, 8.6}}},
      {3002, "赤血球数", "10^4/uL", kNumeric, 30, 2, 3, 30, 0, {{1, 0, 150, 435, 555}, {2, 0, 150, 386, 492}}},
      {3003, "血色素量", "g/dL", kNumeric, 30, 3, 3, 21, 0, {{1, 0, 150, 13.7, 16.8}, {2, 0, 150, 11.6, 14.8}}},
      {3004, "ヘマトクリット", "%", kNumeric, 30, 4, 3, 21, 0, {{1, 0, 150, 40.7, 50.1}, {2, 0, 150, 35.1, 44.4}}},
      {3005, "血小板数", "10^4/uL", kNumeric, 30, 5, 3, 21, 0, {{0, 0, 150, 15.8, 34.8}}},
      {3006, "ＡＳＴ", "U/L", kNumeric, 35, 1, 4, 30, 0, {{0, 0, 150, 13, 30}}},
      {3007, "ＡＬＴ", "U/L", kNumeric, 35, 2, 4, 30, 0, {{1, 0, 150, 10, 42}, {2, 0, 150, 7, 23}}},
      {3008, "γ－ＧＴ", "U/L", kNumeric, 35, 3, 4, 30, 0, {{1, 0, 150, 13, 64}, {2, 0, 150, 9, 32}}},
      {3021, "ＡＬＰ", "U/L", kNumeric, 35, 4, 4, 30, 0, {{0, 0, 150, 38, 113}}},
      {3022, "総ビリルビン", "mg/dL", kNumeric, 35, 5, 4, 11, 0, {{0, 0, 150, 0.4, 1.5}}},
      {3018, "総蛋白", "g/dL", kNumeric, 35, 6, 4, 21, 0, {{0, 0, 150, 6.6, 8.1}}},
      {3019, "アルブミン", "g/dL", kNumeric, 35, 7, 4, 21, 0, {{0, 0, 150, 4.1, 5.1}}},
      {3009, "総コレステロール", "mg/dL", kNumeric, 35, 8, 5, 30, 0,
       {{0, 0, 39, 130, 219}, {0, 40, 150, 140, 239}}},
      {3010, "ＨＤＬコレステロール", "mg/dL", kNumeric, 35, 9, 5, 30, 0,
       {{1, 0, 150, 40, 99}, {2, 0, 150, 48, 103}}},
      {3011, "ＬＤＬコレステロール", "mg/dL", kNumeric, 35, 10, 5, 30, 0, {{0, 0, 150, 60, 119}}},
      {3012, "中性脂肪", "mg/dL", kNumeric, 35, 11, 5, 30, 0, {{0, 0, 150, 30, 149}}},
      {3013, "空腹時血糖", "mg/dL", kNumeric, 35, 12, 6, 30, 0, {{0, 0, 150, 73, 99}}},
      {3014, "ＨｂＡ１ｃ", "%", kNumeric, 35, 13, 6, 21, 0, {{0, 0, 39, 4.6, 5.5}, {0, 40, 150, 4.9, 5.9}}},
      {3015, "尿酸", "mg/dL", kNumeric, 35, 14, 7, 21, 0, {{1, 0, 150, 3.7, 7.0}, {2, 0, 150, 2.6, 7.0}}},
      {3016, "クレアチニン", "mg/dL", kNumeric, 35, 15, 7, 12, 0,
       {{1, 0, 150, 0.65, 1.07}, {2, 0, 150, 0.46, 0.79}}},
      {3017, "ｅＧＦＲ", "mL/min", kNumeric, 35, 16, 7, 30, 0, {{0, 0, 150, 60, kNoHigh}}},
      {3020, "尿素窒素", "mg/dL", kNumeric, 35, 17, 7, 21, 0, {{0, 0, 150, 8.0, 20.0}}},
      {3023, "ＨＢｓ抗原", "", kFindings, 35, 18, 4, 0, 103, {}},
      {4001, "尿蛋白", "", kFindings, 40, 1, 8, 0, 101, {}},
      {4002, "尿糖", "", kFindings, 40, 2, 8, 0, 101, {}},
      {4003, "尿潜血", "", kFindings, 40, 3, 8, 0, 101, {}},
      {4004, "ウロビリノーゲン", "", kFindings, 40, 4, 8, 0, 102, {}},
      {4005, "尿比重", "", kNumeric, 40, 5, 8, 13, 0, {{0, 0, 150, 1.005, 1.030}}},
      {4006, "尿ｐＨ", "", kNumeric, 40, 6, 8, 11, 0, {{0, 0, 150, 5.0, 7.5}}},
      {5001, "胸部Ｘ線所見", "", kFindings, 50, 1, 9, 0, 201, {}},
      {6001, "心電図所見", "", kFindings, 60, 1, 10, 0, 301, {}},
      {7001, "総合所見", "", kFindings, 90, 2, 0, 0, 901, {}},
      // The levels the specific-checkup judgement gives (QZP149D.INI).
      {kHokenSidouItem, "保健指導レベル", "", kFindings, 90, 3, 0, 0, 601, {}},
      {kMetaboItem, "メタボリックシンドローム判定", "", kFindings, 90, 4, 0, 0, 602, {}},
      {kOverallItem, "総合判定", "", kGroup, 90, 1, 0, 0, 0, {}},
  };
  struct Group {
    int number;
    const char* name;
    int ngrp;
  };
  const Group groups[] = {{1, "身体計測判定", 10}, {2, "血圧判定", 20},     {3, "血液学判定", 30},
                          {4, "肝機能判定", 35},   {5, "脂質判定", 35},     {6, "糖代謝判定", 35},
                          {7, "腎機能判定", 35},   {8, "尿検査判定", 40},   {9, "胸部Ｘ線判定", 50},
                          {10, "心電図判定", 60},  {11, "視力聴力判定", 15}};
  for (const Group& g : groups) {
    v.push_back({kGroupItemBase + g.number, g.name, "", kGroup, g.ngrp, 80 + g.number, 999, 0, 0, {}});
  }
  // Every item judged against its range turns the judgement library's
  // findings code into its finding and judgement through one findings type.
  for (Item& it : v) {
    if ((it.kind == kNumeric || it.kind == kCalculated) && !it.ranges.empty()) it.skomcd = kRangeFindingsType;
  }
  return v;
}

std::vector<Finding> MakeFindings() {
  return {
      {101, 1, 1, "1", "（－）", "（－）", 1, true, false, true},
      {101, 1, 2, "2", "（±）", "（±）", 2, true, false, false},
      {101, 1, 3, "3", "（＋）", "（＋）", 3, true, false, false},
      {101, 1, 4, "4", "（２＋）", "（２＋）", 4, true, false, false},
      {101, 1, 5, "5", "（３＋）", "（３＋）", 4, true, false, false},
      {102, 1, 1, "1", "（±）", "（±）", 1, true, false, true},
      {102, 1, 2, "2", "（＋）", "（＋）", 3, true, false, false},
      {102, 1, 3, "3", "（２＋）", "（２＋）", 4, true, false, false},
      {103, 1, 1, "1", "陰性", "陰性", 1, true, false, true},
      {103, 1, 2, "2", "陽性", "陽性", 4, true, false, false},
      {201, 1, 1, "", "【肺野】", "肺野", 0, false, true, false},
      {201, 1, 2, "1", "異常なし", "異常なし", 1, true, false, true},
      {201, 1, 3, "2", "陳旧性炎症性変化", "陳旧性変化", 2, true, false, false},
      {201, 1, 4, "3", "胸膜肥厚", "胸膜肥厚", 2, true, false, false},
      {201, 1, 5, "4", "肺野結節影", "結節影", 4, false, false, false},
      {201, 2, 6, "", "【心・縦隔】", "心縦隔", 0, false, true, false},
      {201, 2, 7, "5", "心拡大", "心拡大", 3, true, false, false},
      {201, 2, 8, "6", "大動脈蛇行", "大動脈蛇行", 2, false, false, false},
      {301, 1, 1, "1", "異常なし", "異常なし", 1, true, false, true},
      {301, 1, 2, "2", "洞性徐脈", "洞性徐脈", 2, true, false, false},
      {301, 1, 3, "3", "完全右脚ブロック", "右脚ﾌﾞﾛｯｸ", 2, true, false, false},
      {301, 1, 4, "4", "左室肥大", "左室肥大", 3, true, false, false},
      {301, 1, 5, "5", "ＳＴ－Ｔ変化", "ST-T変化", 3, false, false, false},
      {301, 1, 6, "6", "心房細動", "心房細動", 5, false, false, false},
      {401, 1, 1, "1", "所見なし", "所見なし", 1, true, false, true},
      {401, 1, 2, "2", "所見あり", "所見あり", 3, true, false, false},
      // The findings codes of the judgement library: in, below, above the range.
      {kRangeFindingsType, 1, 1, "1", "基準範囲内", "基準範囲内", 1, false, false, false},
      {kRangeFindingsType, 1, 2, "2", "基準値未満", "低値", 3, false, false, false},
      {kRangeFindingsType, 1, 3, "3", "基準値超過", "高値", 3, false, false, false},
      {601, 1, 1, "1", "情報提供", "情報提供", 1, true, false, false},
      {601, 1, 2, "2", "動機付け支援", "動機付け", 2, true, false, false},
      {601, 1, 3, "3", "積極的支援", "積極的", 3, true, false, false},
      {602, 1, 1, "1", "非該当", "非該当", 1, true, false, false},
      {602, 1, 2, "2", "予備群該当", "予備群", 2, true, false, false},
      {602, 1, 3, "3", "基準該当", "基準該当", 3, true, false, false},
      {901, 1, 1, "1", "今回の健診では特に異常を認めませんでした。", "異常なし", 1, true, false, false},
      {901, 1, 2, "2", "生活習慣の改善をお勧めします。", "生活改善", 3, true, false, false},
      {901, 1, 3, "3", "精密検査を受けてください。", "要精検", 4, true, false, false},
      {901, 1, 4, "4", "医療機関を受診してください。", "要医療", 5, true, false, false},
  };
}

std::vector<long long> With(std::vector<long long> a, const std::vector<long long>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The course's items plus the group item of every decision group they
// feed, the summary findings and the overall judgement.
std::vector<long long> Complete(std::vector<long long> items) {
  std::set<int> groups;
  for (long long c : items) {
    const Item* it = FindItem(c);
    if (it == nullptr) throw std::logic_error("demo course names an unknown item");
    if (it->hgrp > 0 && it->hgrp < 999) groups.insert(it->hgrp);
  }
  for (int g : groups) items.push_back(kGroupItemBase + g);
  items.push_back(7001);
  items.push_back(kOverallItem);
  return items;
}

std::vector<Course> MakeCourses() {
  const std::vector<long long> body = {1001, 1002, 1003, 1004};
  const std::vector<long long> senses = {1006, 1007, 1008, 1009, 1010, 1011};
  const std::vector<long long> bp = {2001, 2002, 2003};
  const std::vector<long long> anemia = {3002, 3003};
  const std::vector<long long> liver = {3006, 3007, 3008};
  const std::vector<long long> lipid = {3010, 3011, 3012};
  const std::vector<long long> urine = {4001, 4002};
  const std::vector<long long> chest_ecg = {5001, 6001};

  const std::vector<long long> general =
      With(With(With(With(With(With(With(body, senses), bp), anemia), liver), lipid), {3013}), With(urine, chest_ecg));
  std::vector<long long> lifestyle = With(With(With(With(body, senses), bp), {3001, 3002, 3003, 3004, 3005}), liver);
  lifestyle = With(With(lifestyle, {3009, 3010, 3011, 3012, 3013, 3014, 3015, 3016, 3017}),
                   With({4001, 4002, 4003}, chest_ecg));
  std::vector<long long> dock;
  for (const Item& it : Items()) {
    if (it.kind != kGroup && it.code != 7001) dock.push_back(it.code);
  }
  const std::vector<long long> specific = With(With(With(With(body, bp), liver), lipid),
                                              With(With({3013, 3014}, urine), {kHokenSidouItem, kMetaboItem}));
  return {{1001, "一般健診", Complete(general)},
          {1002, "生活習慣病健診", Complete(lifestyle)},
          {1003, "人間ドック", Complete(dock)},
          {1004, "特定健診", Complete(specific)},
          {1005, "雇入時健診", Complete(With(With(With(body, senses), bp), With(urine, {5001})))}};
}

}  // namespace

const std::vector<Item>& Items() {
  static const std::vector<Item> items = MakeItems();
  return items;
}

const Item* FindItem(long long code) {
  for (const Item& it : Items()) {
    if (it.code == code) return &it;
  }
  return nullptr;
}

const std::vector<Finding>& Findings() {
  static const std::vector<Finding> findings = MakeFindings();
  return findings;
}

const Finding* FindFinding(int type, int scode) {
  for (const Finding& f : Findings()) {
    if (f.type == type && f.scode == scode) return &f;
  }
  return nullptr;
}

const std::vector<Course>& Courses() {
  static const std::vector<Course> courses = MakeCourses();
  return courses;
}

const Course& FindCourse(long long cno) {
  for (const Course& c : Courses()) {
    if (c.cno == cno) return c;
  }
  throw std::logic_error("unknown demo course");
}

const Range* RangeFor(const Item& item, int sex, int age) {
  for (const Range& r : item.ranges) {
    if ((r.sex == 0 || r.sex == sex) && r.from_age <= age && age <= r.to_age) return &r;
  }
  return nullptr;
}

int JudgeValue(const Item& item, int sex, int age, double value) {
  const Range* r = RangeFor(item, sex, age);
  if (r == nullptr) return 0;
  const bool has_low = r->low > 0;
  const bool has_high = r->high < kNoHigh;
  double off = 0;  // how far outside the range, relative to the bound
  if (has_low && value < r->low) off = (r->low - value) / r->low;
  if (has_high && value > r->high) off = (value - r->high) / r->high;
  if (off <= 0) return 1;
  if (off <= 0.05) return 2;
  if (off <= 0.20) return 3;
  if (off <= 0.50) return 4;
  return 5;
}

}  // namespace qz::testkit::demo
