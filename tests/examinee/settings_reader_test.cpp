#include "examinee/settings_reader.h"

#include <gtest/gtest.h>

#include "examinee/settings_dump.h"
#include "examinee/settings_fixture.h"

namespace qz {
namespace {

using test::Golden;
using test::ProgramFolder;

TEST(SettingsReader, NoFilesGiveEveryDefault) {
  ProgramFolder folder;
  ASSERT_FALSE(Sub_ReadSettings().has_value());
  std::string dump = DumpSettings(basPublic);
  EXPECT_EQ(dump, Golden("settings_defaults.txt", dump));
  // The record's own initialisers agree with the defaults of the files
  // (the back colour of earlier-only rows and the guide interval excepted,
  // and the option table, which only the reader fills).
  BasPublic fresh;
  EXPECT_EQ(fresh.GuideInterval, 0);  // the start's progress window must not blink
  fresh.ColorPast = basPublic.ColorPast;
  fresh.GuideInterval = basPublic.GuideInterval;
  fresh.OptionTable = basPublic.OptionTable;
  fresh.JkoCodeLists = basPublic.JkoCodeLists;
  EXPECT_EQ(DumpSettings(fresh), dump);
}

constexpr char kFullMainIni[] = R"([SysInfo]
MenuCheck=0
CopyRight=not read here
KonkaiStart=0
SokuteiStart=1
HanStart= 1
GuideInterval=500
ButtonPosition=1
FixGrp=70000
PreviewSelect=0
AutoCheck=2
DefaultOpchk=1
UpdateStart=1
UptimeStart=1
FormHeight=1
FormWidth=2
JmpState=0
SearchModal=0
OpChkStart=1
OpChkSumi=1
HanSort=21
ChkKomCode=100,abc,300
PastDisp=1
SougouChk=1
SougouChkOut=9999999001, 12.5
HissuKomCode=1,2,
KekkaKomCode=,
HassouCode=1234567
HanteiCode=9999999999
YusenCno=3,x,99999999999, 7
MaxJrk=9.5
SyoCombHatDisp=0
HanSyoStart=1
DecisionCheck=1
OpChkDisp=1
ListHissuKomCode=5
Kirikae=-1
HanIME=2
NewMijissi=1
SokuteiKekka=0
AutoPastCopy=0
AutoDefaultSyoken=1
PastCopySumi=0
AutoSougouOut=1935x2
SyoCombHatErase=2.5

[SougouSyoken]
KomCode=800,801
900=per-item key, not read here

[AutoSougouSyoken]
R1=100,H,2,31
Rule2=abc, L ,x
3=200

[Option1]
Enable=1
Caption= 心電図
KomCode=12.5
Syoken=[1]
KeyCode={F5}
PgName=QZP999

[Option2]
Syoken=  [あ]

[Option3]
Enable=0

[Option4]
Enable=1
Caption=眼底
KomCode=-3
Syoken=[済]
KeyCode=^{F4}
PgName=QZP888

[HissuGrpKomCode]
G1=10,20,x
G2=

[Width]
Short=21
Long=51
Han=6
Kom=20
Std=13
Tani=8
SyoCode=9
Update=11
Uptime=12
HanSyo=17
Chk=4
Sokutei=0

[FontSize]
Num=1
Syo=2
HAN=3
Kom=4
Std=5
Tani=6
SyoCode=7
Chk=8
Hantei=9
Update=10
Uptime=14
HanSyo=12
Sokutei=13

[COLOR]
ScrLock=FF
NgrpSelect=zz
NgrpDefault=123456789
Jrk1=00ff00
Jrk2= 0000FF
Hantei=12G4
FormBack=80000012
Title=FFFF
Cos=1
Jdate=
Kom=ABCDEF
Std=FEDCBA
Tani=10
SyoCode=20
Konkai=30
Past=80000005
B=FF0000

[IndividualColor]
100=FF0000
200.5=00ff00
300=zz

[String]
SearchCombo= 検索
DivRcode=[xy]
DivSykn=[]
ChkStr=済
)";

TEST(SettingsReader, EveryKeyInEveryForm) {
  ProgramFolder folder;
  folder.Write("QZP140.INI", kFullMainIni);
  folder.Write("QZPPATH.ini", "[FILE_PATH]\nHOPE=C:\\HOPE\\\nSVWORK=C:\\WORK\\\n");
  folder.Write("QZP149D.INI", "[KENSA_NO]\nHOKENSIDOU= 5001\nMETABO=abc\n");
  folder.Write("QZP790.INI",
               "[JKO]\nIppan=12,ab,34\nIppan_Jihi=2\nFuka=12,,34\nSagaku=ab\nFuka_Jihi=5\nSikyu=6\n"
               "Sikyu_Jihi=7,8\nForo=9\nForo_Jihi=10\nKanen=11\nKanen_Jihi=,13\nRNA=14\nRNA_Jihi= 7 \n");
  folder.Write("KWBDISP.ENV", "X,\"Y\"\r\nCTLFEP  K\r\n");
  basPublic.MetaboCode = Currency(7);  // a value that is no number keeps it
  ASSERT_FALSE(Sub_ReadSettings().has_value());
  std::string dump = DumpSettings(basPublic);
  EXPECT_EQ(dump, Golden("settings_full.txt", dump));
}

// Values that end the start, and the setting the error names.
struct StartErrorCase {
  const char* file;
  const char* text;
  int number;
  const char* setting;
};

const StartErrorCase kStartErrors[] = {
    {"QZP140.INI", "[SysInfo]\nKonkaiStart=abc\n", 13, "[SysInfo] KonkaiStart of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nKonkaiStart=\n", 13, "[SysInfo] KonkaiStart of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nButtonPosition=40000\n", 6, "[SysInfo] ButtonPosition of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nGuideInterval=1,000\n", 13, "[SysInfo] GuideInterval of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nFixGrp=3000000000\n", 6, "[SysInfo] FixGrp of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nHanSort=12a\n", 13, "[SysInfo] HanSort of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nHanSort=1 2\n", 13, "[SysInfo] HanSort of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nHassouCode=x1\n", 13, "[SysInfo] HassouCode of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nMaxJrk=five\n", 13, "[SysInfo] MaxJrk of ./QZP140.INI"},
    {"QZP140.INI", "[SysInfo]\nDecisionCheck=32768\n", 6, "[SysInfo] DecisionCheck of ./QZP140.INI"},
    {"QZP140.INI", "[Option1]\nEnable=yes\n", 13, "[Option1] Enable of ./QZP140.INI"},
    {"QZP140.INI", "[Option3]\nKomCode=x\n", 13, "[Option3] KomCode of ./QZP140.INI"},
    {"QZP140.INI", "[Option2]\nSyoken=x\n", 5, "[Option2] Syoken of ./QZP140.INI"},
    {"QZP140.INI", "[Option4]\nSyoken=\n", 5, "[Option4] Syoken of ./QZP140.INI"},
    {"QZP140.INI", "[Width]\nSokutei=wide\n", 13, "[Width] Sokutei of ./QZP140.INI"},
    {"QZP140.INI", "[FontSize]\nHAN=-40000\n", 6, "[FontSize] HAN of ./QZP140.INI"},
    {"QZP140.INI", "[IndividualColor]\n100=FF\nabc=FF\n", 13, "[IndividualColor] abc of ./QZP140.INI"},
    {"QZP140.INI", "[String]\nDivRcode=[\n", 5, "[String] DivRcode of ./QZP140.INI"},
    {"QZP140.INI", "[String]\nDivRcode=\n", 5, "[String] DivRcode of ./QZP140.INI"},
    {"QZP140.INI", "[String]\nDivSykn= x \n", 5, "[String] DivSykn of ./QZP140.INI"},
};

TEST(SettingsReader, ValuesThatEndTheStart) {
  for (const StartErrorCase& c : kStartErrors) {
    SCOPED_TRACE(c.text);
    ProgramFolder folder;
    folder.Write(c.file, c.text);
    std::optional<SettingsError> error = Sub_ReadSettings();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, c.number);
    EXPECT_EQ(error->setting, c.setting);
    EXPECT_FALSE(error->description.empty());
  }
}

TEST(SettingsReader, AnErrorKeepsWhatWasReadBeforeAndStopsThere) {
  ProgramFolder folder;
  folder.Write("QZP140.INI",
               "[SysInfo]\nSokuteiStart=5\nHanStart=abc\nGuideInterval=900\n[Width]\nShort=99\n");
  folder.Write("QZPPATH.ini", "[FILE_PATH]\nSVWORK=/w/\n");
  BasPublic& s = basPublic;
  s.GuideInterval = -1;
  s.WidthShort = -1;
  std::optional<SettingsError> error = Sub_ReadSettings();
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(s.SokuteiStart, 5);
  EXPECT_EQ(s.GuideInterval, -1);
  EXPECT_EQ(s.WidthShort, -1);
  EXPECT_EQ(s.SvworkPath, "");
}

TEST(SettingsReader, SectionsReadWholeReplaceEarlierContentOnlyWhenTheyHaveEntries) {
  ProgramFolder folder;
  // An empty run leaves the rule and group tables as they were but always
  // erases the individual colours.
  basPublic.AutoSougouSyoken.Items.resize(3);
  basPublic.HissuGrpKomCode.Items.resize(2);
  basPublic.IndividualColor.Items.resize(4);
  basPublic.IndividualColor.Count = 3;
  ASSERT_FALSE(Sub_ReadSettings().has_value());
  EXPECT_EQ(basPublic.AutoSougouSyoken.Count, 0);
  EXPECT_EQ(basPublic.AutoSougouSyoken.Items.size(), 3u);
  EXPECT_EQ(basPublic.HissuGrpKomCode.Items.size(), 2u);
  EXPECT_EQ(basPublic.IndividualColor.Count, 0);
  EXPECT_TRUE(basPublic.IndividualColor.Items.empty());
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

using test::ProgramFolder;

TEST(SettingsReader, AnOptionNamesItsItemByAFullItemNumber) {
  ProgramFolder folder;
  folder.Write("QZP140.INI", "[Option2]\nKomCode=9999999001\nSyoken=[1]\nKeyCode={F5}\n");
  ASSERT_FALSE(Sub_ReadSettings().has_value());
  EXPECT_EQ(basPublic.OptionTable[2].KomCode, Currency(9999999001LL));
}

}  // namespace
}  // namespace qz
