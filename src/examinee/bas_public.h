// basPublic: the program-wide state of the result-input program. The settings
// are written once at start by the settings reader and only read afterwards;
// the cycle values (examinee, date, on-line number) are written by the
// examinee selection and cleared at the end of each examinee cycle.
//
// The member initialisers are the values the settings reader gives when no
// INI file exists (except where noted: values the start relies on before
// the settings are read), so a fresh record is a usable configuration for
// tests.
//
// One instance, `basPublic`. Tests reset it with `basPublic = BasPublic{}`.
#ifndef QZ_EXAMINEE_BAS_PUBLIC_H_
#define QZ_EXAMINEE_BAS_PUBLIC_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/currency.h"

namespace qz {

// A counted array as the settings keep it: `Items` is indexed from 1 to
// `Count` (element 0 is present and default-valued) once filled; before any
// entry was read it is empty and `Count` is 0. Readers use `Count`.
template <typename T>
struct CountedArray {
  std::int16_t Count = 0;
  std::vector<T> Items;
};

using CodeList = CountedArray<Currency>;

// One option button (sections Option1 .. Option4).
struct OptionInfo {
  std::int16_t Enable = 0;   // 1 shows the button
  std::string Caption;
  Currency KomCode;          // item whose finding triggers the option (an item number)
  std::string Syoken;        // the finding text that triggers it
  std::string KeyCode;       // keystrokes sent
  std::string PgName;        // program started
};

// One rule of the summary-findings auto-set (section AutoSougouSyoken).
struct SougouRule {
  Currency KomCode;          // source item
  std::string HL;
  std::int16_t Han = 0;
  std::int32_t SyoCode = 0;
};

// One one-of-group required list (section HissuGrpKomCode).
struct HissuGrpInfo {
  std::vector<Currency> KomCodes;  // indexes 1 .. Count (element 0 unused)
  std::int16_t Count = 0;
  std::vector<bool> Flags;         // indexes 1 .. Count, set by the save check
  std::int16_t FoundItem = 0;      // written by the required-entry check
};

// One item with its own row colour (section IndividualColor).
struct IndividualColorInfo {
  Currency KomCode;
  std::int32_t Color = 0;
};

// The desktop work area in twips.
struct WorkAreaInfo {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// The thirteen payment-category code lists of QZP790.INI [JKO], in this
// order; each list has indexes 0 .. k-1 (a single 0 when no code is set).
inline constexpr int kJkoListCount = 13;
inline constexpr std::array<const char*, kJkoListCount> kJkoKeys = {
    "Ippan", "Ippan_Jihi", "Fuka", "Sagaku", "Fuka_Jihi", "Sikyu", "Sikyu_Jihi",
    "Foro", "Foro_Jihi", "Kanen", "Kanen_Jihi", "RNA", "RNA_Jihi"};

// Indexes of the payment-category flags and code lists (kJkoKeys order).
enum JkoIndex : int {
  kJkoIppan, kJkoIppanJihi, kJkoFuka, kJkoSagaku, kJkoFukaJihi, kJkoSikyu, kJkoSikyuJihi,
  kJkoForo, kJkoForoJihi, kJkoKanen, kJkoKanenJihi, kJkoRna, kJkoRnaJihi,
};

// The choices of the dummy-data dialog (frmDmyDataSet), read by the filler.
struct DummyDataSettingsInfo {
  bool Accepted = false;            // False on load; True once 実行 was pressed
  std::int16_t NumType = 0;         // 1 基準値, 2 ＞基準値, 3 ＜基準値, 4 連番
  double KnsachStart = 0;           // first running number
  std::int16_t HanStartIndex = 0;   // position + 1 of the first judgement (0 none)
  std::int16_t SyokenUse = 0;       // 1 findings master used, 2 not used
  bool SyoDefault = false;          // the findings master's defaults first
};

struct BasPublic {
  // --- Settings read at start -------------------------------------------
  std::string FepSetting;                 // CTLFEP of KWBDISP.ENV; "K" romaji input
  std::string ChkStr = "V";               // mark of a checked done-check cell
  std::int32_t ColorPast = 0;             // back colour of rows of earlier-only items
                                          // (the reader's default is 0x80000011)

  // Fixed layout of the result grid.
  std::int16_t DataRow = 4;               // first item row
  std::int16_t ChkCol = 7;                // done-check column
  std::int16_t ItemCol = 1;
  std::int16_t StdCol = 2;
  std::int16_t UnitCol = 3;
  std::int16_t SyoCodeCol = 4;
  std::int16_t ResultCol = 5;
  std::int16_t SokuteiCol = 6;
  std::int16_t HanCol = 8;
  std::int16_t UpdateCol = 9;
  std::int16_t UptimeCol = 10;
  std::int16_t HanSyoCol = 11;
  std::int16_t PastCol = 12;
  std::int16_t SearchColMax = 5;
  std::int16_t HeaderRow = 1;
  std::int16_t CourseRow = 2;
  std::int16_t JdateRow = 3;
  std::int16_t InputColFirst = 4;
  std::int16_t InputColLast = 8;
  std::int16_t HanInputCol = 8;
  std::int16_t StartRow = 4;
  std::int16_t StartCol = 4;

  // QZP140.INI [SysInfo].
  std::string CopyRight;                  // copyright line of the progress window,
                                          // read by the start before the progress window
  std::int16_t KonkaiStart = 1;
  std::int16_t SokuteiStart = 0;
  std::int16_t HanStart = 0;
  std::int32_t GuideInterval = 0;         // blink interval of the progress window, ms:
                                          // 0 until read (the reader's default is 300),
                                          // so the start's progress window does not blink
  std::int16_t ButtonPosition = 0;
  std::int32_t FixGrp = 10;
  std::int16_t PreviewSelect = 1;
  std::int16_t AutoCheck = 0;
  std::int16_t DefaultOpchk = 0;
  std::int16_t UpdateStart = 0;
  std::int16_t UptimeStart = 0;
  std::int16_t FormHeight = 0;
  std::int16_t FormWidth = 0;
  std::int16_t JmpState = 1;
  std::int16_t SearchModal = 1;
  std::int16_t OpChkStart = 0;
  std::int16_t OpChkSumi = 0;
  std::array<std::int16_t, 9> HanSort = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  CodeList ChkKomCode;
  std::int16_t PastDisp = 0;
  std::int16_t SougouChk = 2;
  CodeList SougouChkOut;
  CodeList HissuKomCode;
  CodeList KekkaKomCode;
  Currency HassouCode;
  Currency HanteiCode;
  CountedArray<std::int32_t> YusenCno;
  std::int32_t MaxJrk = 5;
  std::int32_t SyoCombHatDisp = 1;
  std::int16_t HanSyoStart = 0;
  std::int32_t DecisionCheck = 0;
  std::int32_t OpChkDisp = 0;
  CodeList ListHissuKomCode;
  std::int32_t Kirikae = 0;
  std::int16_t HanIME = 1;
  std::int16_t NewMijissi = 0;
  std::int16_t SokuteiKekka = 1;
  std::int16_t AutoPastCopy = 1;
  std::int16_t AutoDefaultSyoken = 0;
  std::int16_t PastCopySumi = 1;
  // [SysInfo] WriteWait: seconds a write waits for another terminal's
  // transaction on the same file before it gives up (busy); 0 not at all.
  std::int16_t WriteWait = 30;
  std::array<bool, 9> AutoSougouOut = {};
  std::int32_t SyoCombHatErase = 1;

  // QZP140.INI [SougouSyoken], [AutoSougouSyoken], [Option1..4],
  // [HissuGrpKomCode].
  CodeList SougouSyokenKomCode;
  CountedArray<SougouRule> AutoSougouSyoken;
  std::array<OptionInfo, 5> OptionTable;  // indexes 1 .. 4 (element 0 unused)
  CountedArray<HissuGrpInfo> HissuGrpKomCode;

  // QZP140.INI [Width]: column widths of the result grid.
  std::int16_t WidthShort = 16;
  std::int16_t WidthLong = 50;
  std::int16_t WidthHan = 5;
  std::int16_t WidthKom = 19;
  std::int16_t WidthStd = 12;
  std::int16_t WidthTani = 7;
  std::int16_t WidthSyoCode = 8;
  std::int16_t WidthUpdate = 10;
  std::int16_t WidthUptime = 11;
  std::int16_t WidthHanSyo = 16;
  std::int16_t WidthChk = 3;
  std::int16_t WidthSokutei = 10;

  // QZP140.INI [FontSize].
  std::int16_t FontSizeNum = 11;
  std::int16_t FontSizeSyo = 11;
  std::int16_t FontSizeHAN = 12;
  std::int16_t FontSizeKom = 11;
  std::int16_t FontSizeStd = 11;
  std::int16_t FontSizeTani = 7;
  std::int16_t FontSizeSyoCode = 11;
  std::int16_t FontSizeChk = 11;
  std::int16_t FontSizeHantei = 11;
  std::int16_t FontSizeUpdate = 11;
  std::int16_t FontSizeUptime = 11;
  std::int16_t FontSizeHanSyo = 11;
  std::int16_t FontSizeSokutei = 11;

  // QZP140.INI [Color]: 0x00BBGGRR, or a system colour with the top bit set.
  std::int32_t ColorScrLock = 0xB1F3DF;
  std::int32_t ColorNgrpSelect = 0xFFFF00;
  std::int32_t ColorNgrpDefault = 0xFFFFFF;
  std::int32_t ColorJrk1 = 0xC8F7E1;
  std::int32_t ColorJrk2 = 0xF7F4C8;
  std::int32_t ColorHantei = 0xFFC8FF;
  std::int32_t ColorFormBack = static_cast<std::int32_t>(0x8000000FU);
  std::int32_t ColorTitle = 0xF2FECB;
  std::int32_t ColorCos = 0xF2FECB;
  std::int32_t ColorJdate = 0xF2FECB;
  std::int32_t ColorKom = 0xFFFFFF;
  std::int32_t ColorStd = 0x80FFFF;
  std::int32_t ColorTani = 0x80FFFF;
  std::int32_t ColorSyoCode = 0xFFFFFF;
  std::int32_t ColorKonkai = 0xFFFFFF;
  // Colours of the letters B R P T W A K C E O, read at every examinee load.
  std::array<std::int32_t, 10> ColorTable = {};

  // QZP140.INI [IndividualColor]: indexes 1 .. Count, element 0 zero.
  CountedArray<IndividualColorInfo> IndividualColor;

  // QZP140.INI [String].
  std::string SearchCombo = "◆◆検索画面を開きます◆◆";
  std::string DivRcode = " ";
  std::string DivSykn = "  ";

  // QZPPATH.ini [FILE_PATH]; the five required keys are read by the start.
  std::string HopePath;
  std::string VlmpPath;
  std::string VlmfPath;                   // data folder
  std::string SpecPath;                   // definition folder ("CPFSPEC ")
  std::string ReservePath;                // reservation database
  std::string SvworkPath;                 // work folder, ends with its separator

  // QZP149D.INI [KENSA_NO].
  Currency HokenSidouCode;
  Currency MetaboCode;

  // QZP790.INI [JKO], in the order of kJkoKeys.
  std::array<std::vector<Currency>, kJkoListCount> JkoCodeLists;

  // Written by the start after the settings.
  WorkAreaInfo WorkArea;

  // The logon user, written once by the start.
  std::string LogonUserId;                // stamped on every changed result
  std::int32_t UserFirstGroup = 0;
  std::string UserName;                   // as the user master gives it (not trimmed)
  std::array<std::int32_t, 101> UserInputGroups = {};  // indexes 1 .. 100; 0 no group
  std::int16_t UserDspKbn = 0;

  // --- The examinee cycle -------------------------------------------------
  std::string ExamineeNo;                 // examinee on screen (10 characters)
  std::int32_t ConsultDate = 0;           // consultation on screen, yyyymmdd
  std::int32_t OnlineRen = 0;             // REN of the on-line row held; 0 none, -1 failed
  std::string StartExamineeNo;            // examinee of the command line ("" without one)

  // The findings search: what the grid hands the findings dialog and what
  // the dialog hands back (one search at a time; judgement/syo_search_handoff.h).
  // SyoSearchOpen, the flag that a search is open, is with the dialog answers.
  Currency SyoSearchKomCode;              // findings type searched
  std::string SyoSearchRcode;             // first typed-code search text
  std::string SyoSearchText;              // findings text: current in, decided out
  std::int16_t SyoSearchHan = 0;          // judgement code: current in, combined out
  bool SyoSearchDecided = false;          // the dialog closed with its decide button
  std::int16_t SyoSearchTab = 0;          // tab to select first, 0 the default tab
  std::int16_t SyoSearchMaxLen = 100;     // length limit in full-width characters

  // Written by the loading steps for each examinee.
  bool AutoJudgeDone = false;             // the history marks the automatic judgement done
  std::int16_t DelListAnswer = 0;         // answer of the deletion-list dialog
  // Answers of the operator dialogs: each dialog sets its "no choice" value
  // when it loads and the answer when a button closes it.
  std::int16_t ChkInputAnswer = 0;        // unconfirmed items: 1 save and end
  std::int16_t OpchkAnswer = 0;           // unperformed items: 1 end the examinee
  std::int16_t SubMenuChoice = -1;        // sub-menu button index, -1 none
  std::vector<std::int16_t> CopySelection = {0};  // 1..n item indexes to copy
  bool PrintSelect = false;               // Shift+F10: the report dialog only selects
  bool SyoSearchOpen = false;             // the findings search window is open
  std::int16_t ReportCode = 0;            // report number of the current main course
  // Payment-category flags of the consultation, in the order of kJkoKeys
  // (index kJko*), and the category derived from them (0 to 5).
  std::array<bool, kJkoListCount> JkoFlags = {};
  std::int32_t JkoKbn = 0;

  // Written by the dummy-data dialog.
  DummyDataSettingsInfo DummyDataSettings;
};

extern BasPublic basPublic;

}  // namespace qz

#endif  // QZ_EXAMINEE_BAS_PUBLIC_H_
