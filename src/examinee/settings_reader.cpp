#include "examinee/settings_reader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/ini_access.h"
#include "examinee/setting_forms.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

constexpr std::string_view kMainIni = "./QZP140.INI";
constexpr std::string_view kPathIni = "./QZPPATH.ini";
constexpr std::string_view kKensaIni = "./QZP149D.INI";
constexpr std::string_view kJkoIni = "./QZP790.INI";

struct Int16Key {
  const char* key;
  const char* def;
  std::int16_t BasPublic::*member;
};

struct ColourKey {
  const char* key;
  const char* def;
  std::int32_t BasPublic::*member;
};

constexpr Int16Key kWidthKeys[] = {
    {"Short", "16", &BasPublic::WidthShort},     {"Long", "50", &BasPublic::WidthLong},
    {"Han", "5", &BasPublic::WidthHan},          {"Kom", "19", &BasPublic::WidthKom},
    {"Std", "12", &BasPublic::WidthStd},         {"Tani", "7", &BasPublic::WidthTani},
    {"SyoCode", "8", &BasPublic::WidthSyoCode},  {"Update", "10", &BasPublic::WidthUpdate},
    {"Uptime", "11", &BasPublic::WidthUptime},   {"HanSyo", "16", &BasPublic::WidthHanSyo},
    {"Chk", "3", &BasPublic::WidthChk},          {"Sokutei", "10", &BasPublic::WidthSokutei},
};

constexpr Int16Key kFontSizeKeys[] = {
    {"Num", "11", &BasPublic::FontSizeNum},         {"Syo", "11", &BasPublic::FontSizeSyo},
    {"HAN", "12", &BasPublic::FontSizeHAN},         {"Kom", "11", &BasPublic::FontSizeKom},
    {"Std", "11", &BasPublic::FontSizeStd},         {"Tani", "7", &BasPublic::FontSizeTani},
    {"SyoCode", "11", &BasPublic::FontSizeSyoCode}, {"Chk", "11", &BasPublic::FontSizeChk},
    {"Hantei", "11", &BasPublic::FontSizeHantei},   {"Update", "11", &BasPublic::FontSizeUpdate},
    {"Uptime", "11", &BasPublic::FontSizeUptime},   {"HanSyo", "11", &BasPublic::FontSizeHanSyo},
    {"Sokutei", "11", &BasPublic::FontSizeSokutei},
};

constexpr ColourKey kColourKeys[] = {
    {"ScrLock", "B1F3DF", &BasPublic::ColorScrLock},
    {"NgrpSelect", "FFFF00", &BasPublic::ColorNgrpSelect},
    {"NgrpDefault", "FFFFFF", &BasPublic::ColorNgrpDefault},
    {"Jrk1", "C8F7E1", &BasPublic::ColorJrk1},
    {"Jrk2", "F7F4C8", &BasPublic::ColorJrk2},
    {"Hantei", "FFC8FF", &BasPublic::ColorHantei},
    {"FormBack", "8000000F", &BasPublic::ColorFormBack},
    {"Title", "F2FECB", &BasPublic::ColorTitle},
    {"Cos", "F2FECB", &BasPublic::ColorCos},
    {"Jdate", "F2FECB", &BasPublic::ColorJdate},
    {"Kom", "FFFFFF", &BasPublic::ColorKom},
    {"Std", "80FFFF", &BasPublic::ColorStd},
    {"Tani", "80FFFF", &BasPublic::ColorTani},
    {"SyoCode", "FFFFFF", &BasPublic::ColorSyoCode},
    {"Konkai", "FFFFFF", &BasPublic::ColorKonkai},
    {"Past", "80000011", &BasPublic::ColorPast},
};

// An entry of a section read whole.
struct SectionEntry {
  std::string key;
  std::string value;
};

// Reads one INI file, remembering which setting it read last so that a
// conversion error can name it.
class IniReader {
 public:
  // `where` receives the setting last read; it must outlive the reader.
  IniReader(std::string_view file, std::string& where) : file_(file), where_(where) {}

  // The value of `key` in `section`, or `def`.
  std::string Get(std::string_view section, std::string_view key, std::string_view def) {
    Mark(section, key);
    return Fnc_GetIni(section, key, def, file_);
  }

  // Every entry of `section` in file order.
  std::vector<SectionEntry> Section(std::string_view section) {
    Mark(section, "");
    std::vector<std::string> keys, values;
    std::int16_t count = 0;
    Sub_GetSection(file_, section, keys, values, count);
    // The arrays are indexed from 1; tolerate either base by counting back
    // from their ends.
    std::size_t n = count < 0 ? 0 : static_cast<std::size_t>(count);
    if (n > keys.size()) n = keys.size();
    if (n > values.size()) n = values.size();
    std::vector<SectionEntry> out;
    for (std::size_t i = 0; i < n; ++i) {
      out.push_back({keys[keys.size() - n + i], values[values.size() - n + i]});
    }
    return out;
  }

  // Refines the remembered setting to one entry of a section read whole.
  void MarkEntry(std::string_view section, std::string_view key) { Mark(section, key); }


 private:
  void Mark(std::string_view section, std::string_view key) {
    where_ = "[" + std::string(section) + "]";
    if (!key.empty()) where_ += " " + std::string(key);
    where_ += " of " + std::string(file_);
  }

  std::string_view file_;
  std::string& where_;
};

std::int16_t PieceInt16(std::string_view piece) {
  std::optional<Currency> v = ReadsAsNumber(piece);
  if (!v) return 0;
  try {
    return vb::CInt(*v);
  } catch (const RunTimeError&) {
    return 0;  // a piece out of range is no usable number either
  }
}

std::int32_t PieceInt32(std::string_view piece) {
  std::optional<Currency> v = ReadsAsNumber(piece);
  if (!v) return 0;
  try {
    return vb::CLng(*v);
  } catch (const RunTimeError&) {
    return 0;
  }
}

std::int32_t ItemNumberToInt32(std::string_view text) {
  return vb::CLng(ToItemNumber(text));
}

void ReadHanSort(std::string_view value, std::array<std::int16_t, 9>& han_sort) {
  std::vector<std::string> chars = SplitCharacters(TrimBlanks(value));
  while (chars.size() < 8) chars.emplace_back("0");
  han_sort[0] = 0;
  for (int n = 1; n <= 8; ++n) {
    han_sort[n] = vb::CInt(std::string_view(chars[n - 1]));
  }
}

void ReadAutoSougouOut(std::string_view value, std::array<bool, 9>& flags) {
  std::vector<std::string> chars = SplitCharacters(TrimBlanks(value));
  flags.fill(false);
  for (std::size_t n = 0; n < 8 && n < chars.size(); ++n) {
    double d = vb::Val(chars[n]);
    if (d >= 1 && d <= 8) flags[static_cast<int>(d)] = true;
  }
}

void ReadSysInfo(IniReader& ini, BasPublic& s) {
  auto i16 = [&](const char* key, const char* def, std::int16_t& target) {
    target = ToInt16(ini.Get("SysInfo", key, def));
  };
  auto i32 = [&](const char* key, const char* def, std::int32_t& target) {
    target = ToInt32(ini.Get("SysInfo", key, def));
  };
  auto i16in32 = [&](const char* key, const char* def, std::int32_t& target) {
    target = ToInt16(ini.Get("SysInfo", key, def));
  };
  auto via_item = [&](const char* key, const char* def, std::int32_t& target) {
    target = ItemNumberToInt32(ini.Get("SysInfo", key, def));
  };
  auto list = [&](const char* key, CodeList& target) { ReadCodeList(ini.Get("SysInfo", key, ""), target); };

  i16("KonkaiStart", "1", s.KonkaiStart);
  i16("SokuteiStart", "0", s.SokuteiStart);
  i16("HanStart", "0", s.HanStart);
  i32("GuideInterval", "300", s.GuideInterval);
  i16("ButtonPosition", "0", s.ButtonPosition);
  i32("FixGrp", "10", s.FixGrp);
  i16("PreviewSelect", "1", s.PreviewSelect);
  i16("AutoCheck", "0", s.AutoCheck);
  i16("DefaultOpchk", "0", s.DefaultOpchk);
  i16("UpdateStart", "0", s.UpdateStart);
  i16("UptimeStart", "0", s.UptimeStart);
  i16("FormHeight", "0", s.FormHeight);
  i16("FormWidth", "0", s.FormWidth);
  i16("JmpState", "1", s.JmpState);
  i16("SearchModal", "1", s.SearchModal);
  i16("OpChkStart", "0", s.OpChkStart);
  i16("OpChkSumi", "0", s.OpChkSumi);
  ReadHanSort(ini.Get("SysInfo", "HanSort", "12345678"), s.HanSort);
  list("ChkKomCode", s.ChkKomCode);
  i16("PastDisp", "0", s.PastDisp);
  i16("SougouChk", "2", s.SougouChk);
  list("SougouChkOut", s.SougouChkOut);
  list("HissuKomCode", s.HissuKomCode);
  list("KekkaKomCode", s.KekkaKomCode);
  s.HassouCode = ToItemNumber(ini.Get("SysInfo", "HassouCode", "0"));
  s.HanteiCode = ToItemNumber(ini.Get("SysInfo", "HanteiCode", "0"));
  {
    std::vector<std::string> pieces = SplitCommaList(TrimBlanks(ini.Get("SysInfo", "YusenCno", "")), 100);
    s.YusenCno.Count = static_cast<std::int16_t>(pieces.size());
    if (!pieces.empty()) {
      s.YusenCno.Items.assign(pieces.size() + 1, 0);
      for (std::size_t i = 0; i < pieces.size(); ++i) s.YusenCno.Items[i + 1] = PieceInt32(pieces[i]);
    }
  }
  via_item("MaxJrk", "5", s.MaxJrk);
  via_item("SyoCombHatDisp", "1", s.SyoCombHatDisp);
  i16("HanSyoStart", "0", s.HanSyoStart);
  i16in32("DecisionCheck", "0", s.DecisionCheck);
  i16in32("OpChkDisp", "0", s.OpChkDisp);
  list("ListHissuKomCode", s.ListHissuKomCode);
  i16in32("Kirikae", "0", s.Kirikae);
  i16("HanIME", "1", s.HanIME);
  s.FepSetting = Fnc_GetFepSetting();
  i16("NewMijissi", "0", s.NewMijissi);
  i16("SokuteiKekka", "1", s.SokuteiKekka);
  i16("AutoPastCopy", "1", s.AutoPastCopy);
  i16("AutoDefaultSyoken", "0", s.AutoDefaultSyoken);
  i16("PastCopySumi", "1", s.PastCopySumi);
  i16("WriteWait", "30", s.WriteWait);
  ReadAutoSougouOut(ini.Get("SysInfo", "AutoSougouOut", ""), s.AutoSougouOut);
  via_item("SyoCombHatErase", "1", s.SyoCombHatErase);
}

void ReadAutoSougouSyoken(IniReader& ini, BasPublic& s) {
  std::vector<SectionEntry> entries = ini.Section("AutoSougouSyoken");
  s.AutoSougouSyoken.Count = static_cast<std::int16_t>(entries.size());
  if (entries.empty()) return;
  s.AutoSougouSyoken.Items.assign(entries.size() + 1, SougouRule{});
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::vector<std::string> p = SplitCommaList(entries[i].value, 4);
    p.resize(4);
    SougouRule& r = s.AutoSougouSyoken.Items[i + 1];
    r.KomCode = ReadsAsNumber(p[0]).value_or(Currency{});
    r.HL = p[1];
    r.Han = PieceInt16(p[2]);
    r.SyoCode = PieceInt32(p[3]);
  }
}

void ReadOptions(IniReader& ini, BasPublic& s) {
  s.OptionTable = {};
  for (int n = 1; n <= 4; ++n) {
    const std::string section = "Option" + std::to_string(n);
    const std::string digits = std::to_string(n);
    OptionInfo& o = s.OptionTable[n];
    o.Enable = ToInt16(ini.Get(section, "Enable", "0"));
    o.Caption = TrimBlanks(ini.Get(section, "Caption", "ｵﾌﾟｼｮﾝ" + digits));
    o.KomCode = ToItemNumber(ini.Get(section, "KomCode", "0"));
    o.Syoken = SecondToLastCharacter(ini.Get(section, "Syoken", "[オプション" + digits + "を実行します]"));
    o.KeyCode = TrimBlanks(ini.Get(section, "KeyCode", ""));
    o.PgName = TrimBlanks(ini.Get(section, "PgName", "QZP5" + digits + "0"));
  }
}

void ReadHissuGroups(IniReader& ini, BasPublic& s) {
  std::vector<SectionEntry> entries = ini.Section("HissuGrpKomCode");
  s.HissuGrpKomCode.Count = static_cast<std::int16_t>(entries.size());
  if (entries.empty()) return;
  s.HissuGrpKomCode.Items.assign(entries.size() + 1, HissuGrpInfo{});
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::vector<std::string> pieces = SplitCommaList(entries[i].value, 1000);
    HissuGrpInfo& g = s.HissuGrpKomCode.Items[i + 1];
    g.Count = static_cast<std::int16_t>(pieces.size());
    if (pieces.empty()) continue;
    g.KomCodes.assign(pieces.size() + 1, Currency{});
    g.Flags.assign(pieces.size() + 1, false);
    for (std::size_t j = 0; j < pieces.size(); ++j) {
      g.KomCodes[j + 1] = ReadsAsNumber(pieces[j]).value_or(Currency{});
    }
  }
}

void ReadIndividualColours(IniReader& ini, BasPublic& s) {
  std::vector<SectionEntry> entries = ini.Section("IndividualColor");
  s.IndividualColor.Items.clear();
  s.IndividualColor.Count = static_cast<std::int16_t>(entries.size());
  for (std::size_t w = 1; w <= entries.size(); ++w) {
    const SectionEntry& e = entries[w - 1];
    ini.MarkEntry("IndividualColor", e.key);
    s.IndividualColor.Items.resize(w + 1);
    s.IndividualColor.Items[w].KomCode = ToItemNumber(e.key);
    s.IndividualColor.Items[w].Color = ToColour(e.value, 0);
  }
}

void ReadStrings(IniReader& ini, BasPublic& s) {
  s.SearchCombo = TrimBlanks(ini.Get("String", "SearchCombo", "◆◆検索画面を開きます◆◆"));
  s.DivRcode = InnerText(ini.Get("String", "DivRcode", "[ ]"));
  s.DivSykn = InnerText(ini.Get("String", "DivSykn", "[  ]"));
  s.ChkStr = TrimBlanks(ini.Get("String", "ChkStr", "V"));
}

void SetGridLayout(BasPublic& s) {
  s.ItemCol = 1;
  s.StdCol = 2;
  s.UnitCol = 3;
  s.SyoCodeCol = 4;
  s.ResultCol = 5;
  s.SokuteiCol = 6;
  s.ChkCol = 7;
  s.HanCol = 8;
  s.UpdateCol = 9;
  s.UptimeCol = 10;
  s.HanSyoCol = 11;
  s.PastCol = 12;
  s.SearchColMax = 5;
  s.HeaderRow = 1;
  s.CourseRow = 2;
  s.JdateRow = 3;
  s.DataRow = 4;
  s.InputColFirst = 4;
  s.InputColLast = 8;
  s.HanInputCol = 8;
  s.StartRow = 4;
  s.StartCol = 4;
}

void ReadMainIni(BasPublic& s, std::string& where) {
  IniReader ini(kMainIni, where);
  ReadSysInfo(ini, s);
  ReadCodeList(ini.Get("SougouSyoken", "KomCode", ""), s.SougouSyokenKomCode);
  ReadAutoSougouSyoken(ini, s);
  ReadOptions(ini, s);
  ReadHissuGroups(ini, s);
  for (const Int16Key& k : kWidthKeys) s.*k.member = ToInt16(ini.Get("Width", k.key, k.def));
  for (const Int16Key& k : kFontSizeKeys) s.*k.member = ToInt16(ini.Get("FontSize", k.key, k.def));
  for (const ColourKey& k : kColourKeys) {
    // The default itself always reads; a value too long for a colour keeps it.
    s.*k.member = ToColour(TrimBlanks(ini.Get("Color", k.key, k.def)), ToColour(k.def, 0));
  }
  ReadIndividualColours(ini, s);
  ReadStrings(ini, s);
}

void ReadOtherFiles(BasPublic& s, std::string& where) {
  IniReader path_ini(kPathIni, where);
  s.SvworkPath = path_ini.Get("FILE_PATH", "SVWORK", "");

  IniReader kensa_ini(kKensaIni, where);
  if (auto v = ReadsAsNumber(TrimBlanks(kensa_ini.Get("KENSA_NO", "HOKENSIDOU", "")))) s.HokenSidouCode = *v;
  if (auto v = ReadsAsNumber(TrimBlanks(kensa_ini.Get("KENSA_NO", "METABO", "")))) s.MetaboCode = *v;

  IniReader jko_ini(kJkoIni, where);
  for (int i = 0; i < kJkoListCount; ++i) {
    Sub_SplitCodeList(jko_ini.Get("JKO", kJkoKeys[i], ""), s.JkoCodeLists[i]);
  }
}

}  // namespace

std::optional<SettingsError> Sub_ReadSettings(BasPublic& settings) {
  std::string where;
  try {
    ReadMainIni(settings, where);
    SetGridLayout(settings);
    ReadOtherFiles(settings, where);
  } catch (const RunTimeError& e) {
    return SettingsError{e.number(), e.description(), where};
  }
  return std::nullopt;
}

std::optional<SettingsError> Sub_ReadSettings() { return Sub_ReadSettings(basPublic); }

}  // namespace qz
