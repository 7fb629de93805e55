#include "examinee/settings_dump.h"

#include <cstdio>
#include <string_view>

namespace qz {
namespace {

class Dump {
 public:
  void Line(std::string_view name, std::string_view value) {
    out_.append(name).append("=").append(value).append("\n");
  }
  void Int(std::string_view name, std::int64_t v) { Line(name, std::to_string(v)); }
  void Num(std::string_view name, Currency v) { Line(name, v.ToString()); }
  void Flag(std::string_view name, bool v) { Line(name, v ? "True" : "False"); }
  void Text(std::string_view name, std::string_view v) {
    Line(name, "\"" + std::string(v) + "\"");
  }
  void Colour(std::string_view name, std::int32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(static_cast<std::uint32_t>(v)));
    Line(name, buf);
  }
  void Codes(std::string_view name, const CodeList& list) {
    Int(std::string(name) + ".Count", list.Count);
    for (std::size_t i = 1; i < list.Items.size(); ++i) Num(Index(name, i), list.Items[i]);
  }

  static std::string Index(std::string_view name, std::size_t i) {
    return std::string(name) + "(" + std::to_string(i) + ")";
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

}  // namespace

std::string DumpSettings(const BasPublic& s) {
  Dump d;
  d.Text("FepSetting", s.FepSetting);
  d.Text("ChkStr", s.ChkStr);

  const std::pair<const char*, std::int16_t> layout[] = {
      {"ItemCol", s.ItemCol},           {"StdCol", s.StdCol},
      {"UnitCol", s.UnitCol},           {"SyoCodeCol", s.SyoCodeCol},
      {"ResultCol", s.ResultCol},       {"SokuteiCol", s.SokuteiCol},
      {"ChkCol", s.ChkCol},             {"HanCol", s.HanCol},
      {"UpdateCol", s.UpdateCol},       {"UptimeCol", s.UptimeCol},
      {"HanSyoCol", s.HanSyoCol},       {"PastCol", s.PastCol},
      {"SearchColMax", s.SearchColMax}, {"HeaderRow", s.HeaderRow},
      {"CourseRow", s.CourseRow},       {"JdateRow", s.JdateRow},
      {"DataRow", s.DataRow},           {"InputColFirst", s.InputColFirst},
      {"InputColLast", s.InputColLast}, {"HanInputCol", s.HanInputCol},
      {"StartRow", s.StartRow},         {"StartCol", s.StartCol},
  };
  for (const auto& [name, v] : layout) d.Int(name, v);

  d.Text("CopyRight", s.CopyRight);
  const std::pair<const char*, std::int32_t> sys1[] = {
      {"KonkaiStart", s.KonkaiStart},     {"SokuteiStart", s.SokuteiStart},
      {"HanStart", s.HanStart},           {"GuideInterval", s.GuideInterval},
      {"ButtonPosition", s.ButtonPosition}, {"FixGrp", s.FixGrp},
      {"PreviewSelect", s.PreviewSelect}, {"AutoCheck", s.AutoCheck},
      {"DefaultOpchk", s.DefaultOpchk},   {"UpdateStart", s.UpdateStart},
      {"UptimeStart", s.UptimeStart},     {"FormHeight", s.FormHeight},
      {"FormWidth", s.FormWidth},         {"JmpState", s.JmpState},
      {"SearchModal", s.SearchModal},     {"OpChkStart", s.OpChkStart},
      {"OpChkSumi", s.OpChkSumi},
  };
  for (const auto& [name, v] : sys1) d.Int(name, v);
  for (std::size_t i = 0; i < s.HanSort.size(); ++i) d.Int(Dump::Index("HanSort", i), s.HanSort[i]);
  d.Codes("ChkKomCode", s.ChkKomCode);
  d.Int("PastDisp", s.PastDisp);
  d.Int("SougouChk", s.SougouChk);
  d.Codes("SougouChkOut", s.SougouChkOut);
  d.Codes("HissuKomCode", s.HissuKomCode);
  d.Codes("KekkaKomCode", s.KekkaKomCode);
  d.Num("HassouCode", s.HassouCode);
  d.Num("HanteiCode", s.HanteiCode);
  d.Int("YusenCno.Count", s.YusenCno.Count);
  for (std::size_t i = 1; i < s.YusenCno.Items.size(); ++i) d.Int(Dump::Index("YusenCno", i), s.YusenCno.Items[i]);
  const std::pair<const char*, std::int32_t> sys2[] = {
      {"MaxJrk", s.MaxJrk},             {"SyoCombHatDisp", s.SyoCombHatDisp},
      {"HanSyoStart", s.HanSyoStart},   {"DecisionCheck", s.DecisionCheck},
      {"OpChkDisp", s.OpChkDisp},
  };
  for (const auto& [name, v] : sys2) d.Int(name, v);
  d.Codes("ListHissuKomCode", s.ListHissuKomCode);
  const std::pair<const char*, std::int32_t> sys3[] = {
      {"Kirikae", s.Kirikae},           {"HanIME", s.HanIME},
      {"NewMijissi", s.NewMijissi},     {"SokuteiKekka", s.SokuteiKekka},
      {"AutoPastCopy", s.AutoPastCopy}, {"AutoDefaultSyoken", s.AutoDefaultSyoken},
      {"PastCopySumi", s.PastCopySumi}, {"WriteWait", s.WriteWait},
  };
  for (const auto& [name, v] : sys3) d.Int(name, v);
  for (std::size_t i = 0; i < s.AutoSougouOut.size(); ++i) {
    d.Flag(Dump::Index("AutoSougouOut", i), s.AutoSougouOut[i]);
  }
  d.Int("SyoCombHatErase", s.SyoCombHatErase);

  d.Codes("SougouSyokenKomCode", s.SougouSyokenKomCode);
  d.Int("AutoSougouSyoken.Count", s.AutoSougouSyoken.Count);
  for (std::size_t i = 1; i < s.AutoSougouSyoken.Items.size(); ++i) {
    const SougouRule& r = s.AutoSougouSyoken.Items[i];
    std::string n = Dump::Index("AutoSougouSyoken", i);
    d.Num(n + ".KomCode", r.KomCode);
    d.Text(n + ".HL", r.HL);
    d.Int(n + ".Han", r.Han);
    d.Int(n + ".SyoCode", r.SyoCode);
  }
  for (std::size_t i = 1; i < s.OptionTable.size(); ++i) {
    const OptionInfo& o = s.OptionTable[i];
    std::string n = Dump::Index("OptionTable", i);
    d.Int(n + ".Enable", o.Enable);
    d.Text(n + ".Caption", o.Caption);
    d.Num(n + ".KomCode", o.KomCode);
    d.Text(n + ".Syoken", o.Syoken);
    d.Text(n + ".KeyCode", o.KeyCode);
    d.Text(n + ".PgName", o.PgName);
  }
  d.Int("HissuGrpKomCode.Count", s.HissuGrpKomCode.Count);
  for (std::size_t i = 1; i < s.HissuGrpKomCode.Items.size(); ++i) {
    const HissuGrpInfo& g = s.HissuGrpKomCode.Items[i];
    std::string n = Dump::Index("HissuGrpKomCode", i);
    d.Int(n + ".Count", g.Count);
    for (std::size_t j = 1; j < g.KomCodes.size(); ++j) d.Num(Dump::Index(n + ".KomCodes", j), g.KomCodes[j]);
    for (std::size_t j = 1; j < g.Flags.size(); ++j) d.Flag(Dump::Index(n + ".Flags", j), g.Flags[j]);
    d.Int(n + ".FoundItem", g.FoundItem);
  }

  const std::pair<const char*, std::int16_t> sizes[] = {
      {"WidthShort", s.WidthShort},           {"WidthLong", s.WidthLong},
      {"WidthHan", s.WidthHan},               {"WidthKom", s.WidthKom},
      {"WidthStd", s.WidthStd},               {"WidthTani", s.WidthTani},
      {"WidthSyoCode", s.WidthSyoCode},       {"WidthUpdate", s.WidthUpdate},
      {"WidthUptime", s.WidthUptime},         {"WidthHanSyo", s.WidthHanSyo},
      {"WidthChk", s.WidthChk},               {"WidthSokutei", s.WidthSokutei},
      {"FontSizeNum", s.FontSizeNum},         {"FontSizeSyo", s.FontSizeSyo},
      {"FontSizeHAN", s.FontSizeHAN},         {"FontSizeKom", s.FontSizeKom},
      {"FontSizeStd", s.FontSizeStd},         {"FontSizeTani", s.FontSizeTani},
      {"FontSizeSyoCode", s.FontSizeSyoCode}, {"FontSizeChk", s.FontSizeChk},
      {"FontSizeHantei", s.FontSizeHantei},   {"FontSizeUpdate", s.FontSizeUpdate},
      {"FontSizeUptime", s.FontSizeUptime},   {"FontSizeHanSyo", s.FontSizeHanSyo},
      {"FontSizeSokutei", s.FontSizeSokutei},
  };
  for (const auto& [name, v] : sizes) d.Int(name, v);

  const std::pair<const char*, std::int32_t> colours[] = {
      {"ColorScrLock", s.ColorScrLock},   {"ColorNgrpSelect", s.ColorNgrpSelect},
      {"ColorNgrpDefault", s.ColorNgrpDefault}, {"ColorJrk1", s.ColorJrk1},
      {"ColorJrk2", s.ColorJrk2},         {"ColorHantei", s.ColorHantei},
      {"ColorFormBack", s.ColorFormBack}, {"ColorTitle", s.ColorTitle},
      {"ColorCos", s.ColorCos},           {"ColorJdate", s.ColorJdate},
      {"ColorKom", s.ColorKom},           {"ColorStd", s.ColorStd},
      {"ColorTani", s.ColorTani},         {"ColorSyoCode", s.ColorSyoCode},
      {"ColorKonkai", s.ColorKonkai},     {"ColorPast", s.ColorPast},
  };
  for (const auto& [name, v] : colours) d.Colour(name, v);
  for (std::size_t i = 0; i < s.ColorTable.size(); ++i) d.Colour(Dump::Index("ColorTable", i), s.ColorTable[i]);
  d.Int("IndividualColor.Count", s.IndividualColor.Count);
  for (std::size_t i = 0; i < s.IndividualColor.Items.size(); ++i) {
    std::string n = Dump::Index("IndividualColor", i);
    d.Num(n + ".KomCode", s.IndividualColor.Items[i].KomCode);
    d.Colour(n + ".Color", s.IndividualColor.Items[i].Color);
  }

  d.Text("SearchCombo", s.SearchCombo);
  d.Text("DivRcode", s.DivRcode);
  d.Text("DivSykn", s.DivSykn);

  d.Text("HopePath", s.HopePath);
  d.Text("VlmpPath", s.VlmpPath);
  d.Text("VlmfPath", s.VlmfPath);
  d.Text("SpecPath", s.SpecPath);
  d.Text("ReservePath", s.ReservePath);
  d.Text("SvworkPath", s.SvworkPath);
  d.Num("HokenSidouCode", s.HokenSidouCode);
  d.Num("MetaboCode", s.MetaboCode);
  for (int i = 0; i < kJkoListCount; ++i) {
    const std::vector<Currency>& list = s.JkoCodeLists[i];
    std::string n = std::string("JkoCodeLists.") + kJkoKeys[i];
    d.Int(n + ".Size", static_cast<std::int64_t>(list.size()));
    for (std::size_t j = 0; j < list.size(); ++j) d.Num(Dump::Index(n, j), list[j]);
  }
  const std::pair<const char*, std::int32_t> area[] = {
      {"WorkArea.Left", s.WorkArea.Left},   {"WorkArea.Top", s.WorkArea.Top},
      {"WorkArea.Right", s.WorkArea.Right}, {"WorkArea.Bottom", s.WorkArea.Bottom},
      {"WorkArea.Width", s.WorkArea.Width}, {"WorkArea.Height", s.WorkArea.Height},
  };
  for (const auto& [name, v] : area) d.Int(name, v);
  return d.Take();
}

}  // namespace qz
