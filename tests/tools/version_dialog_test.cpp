// The version and system-information dialog: the elapsed time, the adapter
// report and its reading, the list's lines and the dialog with its timers.
#include "tools/frm_version.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "kit/ui_expect.h"
#include "loading/load_fixture.h"
#include "platform/runtime/app.h"
#include "platform/system/adapter_report.h"
#include "platform/system/machine_info.h"
#include "tools/system_info_lines.h"

namespace qz {
namespace {

using namespace std::string_literals;

TEST(ElapsedTimeTest, HoursMinutesAndSeconds) {
  EXPECT_EQ(Fnc_FormatElapsedTime(((25 * 60 + 3) * 60 + 7) * 1000LL + 999), "25時間03分07秒");
  EXPECT_EQ(Fnc_FormatElapsedTime(0), "0時間00分00秒");
  EXPECT_EQ(Fnc_FormatElapsedTime(59999), "0時間00分59秒");
  // Past the 32-bit tick count of 49.7 days the hours go on.
  EXPECT_EQ(Fnc_FormatElapsedTime(4294967296LL + 1000), "1193時間02分48秒");
}

std::vector<system::AdapterInfo> Parse(const std::string& text) {
  std::istringstream in(text);
  return Fnc_ParseAdapterReport(in);
}

TEST(AdapterReportTest, AdaptersFromTheListingsWording) {
  const std::string text =
      "\r\nIP Configuration\r\n\r\n"
      "   Description . . . . . . . . . . . : before any adapter\r\n"
      "   Host Name . . . . . . . . . . . . : WS01\r\n"
      "Ethernet adapter ローカル エリア接続:\r\n\r\n"
      "   Description . . . . . . . . . . . : Intel(R) PRO/1000\r\n"
      "   Physical Address. . . . . . . . . : 00-0C-29-AB-CD-EF\r\n"
      "   Dhcp Enabled. . . . . . . . . . . : No\r\n"
      "   IP Address. . . . . . . . . . . . : 192.168.1.10\r\n"
      "   Subnet Mask . . . . . . . . . . . : 255.255.255.0\r\n"
      "   Default Gateway . . . . . . . . . : 192.168.1.1\r\n"
      "Ethernet adapter 2:\r\n"
      "   IP Address. . . . . . . . . . . . : 10.0.0.5\0\0\r\n"s;
  const auto adapters = Parse(text);
  ASSERT_EQ(adapters.size(), 2u);
  EXPECT_EQ(adapters[0].name, "ローカル エリア接続");
  EXPECT_EQ(adapters[0].description, "Intel(R) PRO/1000");
  EXPECT_EQ(adapters[0].mac, "00-0C-29-AB-CD-EF");
  EXPECT_EQ(adapters[0].ip, "192.168.1.10");
  EXPECT_EQ(adapters[0].mask, "255.255.255.0");
  EXPECT_EQ(adapters[0].gateway, "192.168.1.1");
  EXPECT_EQ(adapters[1].name, "2");
  EXPECT_EQ(adapters[1].ip, "10.0.0.5");
  EXPECT_EQ(adapters[1].mac, "");
}

TEST(AdapterReportTest, NoAdapterLineGivesNoAdapter) {
  EXPECT_TRUE(Parse("   Description . . : x\r\n   IP Address. . : 1.2.3.4\r\n").empty());
  EXPECT_TRUE(Parse("").empty());
}

TEST(AdapterReportTest, ThePlatformsReportReadsBackAsWritten) {
  const std::vector<system::AdapterInfo> adapters = {
      {"eth0", "eth0", "02-42-AC-11-00-02", "172.17.0.2", "255.255.0.0", "172.17.0.1"},
      {"wlan0", "wlan0", "", "192.168.0.7", "255.255.255.0", ""}};
  const auto read = Parse(system::AdapterReportText(adapters));
  ASSERT_EQ(read.size(), 2u);
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].name, adapters[i].name);
    EXPECT_EQ(read[i].description, adapters[i].description);
    EXPECT_EQ(read[i].mac, adapters[i].mac);
    EXPECT_EQ(read[i].ip, adapters[i].ip);
    EXPECT_EQ(read[i].mask, adapters[i].mask);
    EXPECT_EQ(read[i].gateway, adapters[i].gateway);
  }
  // This machine's own report is readable too (its adapters vary).
  for (const auto& a : Sub_GetNetworkInfo()) EXPECT_FALSE(a.ip.empty()) << a.name;
}

TEST(SystemInfoLinesTest, GroupsWithAlignedLabels) {
  SystemInfo info;
  info.computer_name = "WS01";
  info.user_name = "kensa";
  info.service_pack = "6.1.0";
  info.owner = kNotAvailable;
  info.organization = kNotAvailable;
  info.drive = "/";
  info.disk_total = "1,000";
  info.disk_free = "";
  info.memory = {42, 8589934592ULL, 1234567, 0, 0, 140737488355328ULL, 140737000000000ULL};
  info.screen_width = 1280;
  info.screen_height = 1024;
  info.bits_per_pixel = 24;
  info.adapters = {{"eth0", "eth0", "02-42", "172.17.0.2", "255.255.0.0", "172.17.0.1"}};
  EXPECT_EQ(Fnc_SystemInfoLines(info),
            (std::vector<std::string>{
                "     ＊＊＊  コンピュータ情報  ＊＊＊", "コンピュータ名     ： WS01",
                "ユーザ名           ： kensa", "Service Pack       ： 6.1.0",
                "所属               ： 取得できませんでした", "組織名             ： 取得できませんでした", "",
                "     ＊＊＊  ディスク情報  ＊＊＊", "ドライブ           ： /", "総容量             ： 1,000",
                "空き容量           ： ", "",
                "     ＊＊＊  メモリ情報  ＊＊＊", "メモリ使用度       ： 42/100",
                "物理メモリ(総)     ： 8,589,934,592", "物理メモリ(残)     ： 1,234,567",
                "ページング(総)     ： 0", "ページング(残)     ： 0",
                "仮想アドレス(総)   ： 140,737,488,355,328", "仮想アドレス(残)   ： 140,737,000,000,000", "",
                "     ＊＊＊  デスクトップ情報  ＊＊＊", "画面サイズ         ： 1280 X 1024",
                "色数               ： 16777216色", "",
                "     ＊＊＊  ネットワーク情報  ＊＊＊", "", "アダプタ名         ： eth0", "    eth0",
                "ＭＡＣアドレス     ： 02-42", "ＩＰアドレス       ： 172.17.0.2",
                "サブネットマスク   ： 255.255.0.0", "ゲートウェイ       ： 172.17.0.1"}));
  info.adapters.clear();
  EXPECT_EQ(Fnc_SystemInfoLines(info).back(), "     ＊＊＊  ネットワーク情報  ＊＊＊");
}

TEST(MachineInfoTest, ThisMachineAnswers) {
  const auto disk = system::DiskSpaceOf(".");
  ASSERT_TRUE(disk.has_value());
  EXPECT_FALSE(disk->drive.empty());
  EXPECT_GE(disk->total, disk->free);
  EXPECT_FALSE(system::DiskSpaceOf("/no/such/folder").has_value());
  const system::MemoryStatus m = system::QueryMemoryStatus();
  EXPECT_GT(m.total_phys, 0u);
  EXPECT_LE(m.load, 100u);
  EXPECT_GE(m.total_virtual, m.avail_virtual);
  EXPECT_GT(system::UptimeMs(), 0);
}

class VersionDialogTest : public ::testing::Test {
 protected:
  VersionDialogTest() {
    bed_.suite.Add("QZSYSLF.INSTITUTION", {{"KBN", 1}, {"CODE", "      "}, {"NAME", "さくら健診センター"}});
    bed_.Open();
    basPublic.CopyRight = "(C)桜";
    basPublic.LogonUserId = "U01";
    basPublic.UserName = "健診 太郎";
    saved_app_ = App();
    App().major = 3;
    App().minor = 1;
    App().revision = 12;
    system::SetUptimeMsForTest(((25 * 60 + 3) * 60 + 7) * 1000LL);
    bed_.shell.auto_answer = false;
  }
  ~VersionDialogTest() override {
    App() = saved_app_;
    system::SetUptimeMsForTest(std::nullopt);
    frmVersion.Reset();
  }

  testing::LoadBed bed_;
  AppInfo saved_app_;
};

TEST_F(VersionDialogTest, ShowsVersionUserInstitutionAndTheSystemList) {
  bed_.shell
      .Do([] {
        FrmVersion& v = *frmVersion;
        EXPECT_EQ(v.caption, "結果入力");
        EXPECT_EQ(v.lblVersion.caption, "Ver.3.1.12");
        EXPECT_EQ(v.lblProgress.caption, "25時間03分07秒");
        EXPECT_EQ(v.lblLogUser.caption, "U01 ");
        EXPECT_EQ(v.lblExplain.caption, "健診 太郎 ");
        EXPECT_EQ(v.lblInstitution.caption, "さくら健診センター");
        ASSERT_GT(v.lstInfo.list_count(), 25);
        EXPECT_EQ(v.lstInfo.List(0), "     ＊＊＊  コンピュータ情報  ＊＊＊");
        EXPECT_EQ(v.lstInfo.List(23), "色数               ： 16777216色");
        EXPECT_EQ(v.lstInfo.List(25), "     ＊＊＊  ネットワーク情報  ＊＊＊");
        system::SetUptimeMsForTest(((25 * 60 + 3) * 60 + 8) * 1000LL);
      })
      .Advance(1000)
      .Do([] { EXPECT_EQ(frmVersion->lblProgress.caption, "25時間03分08秒"); })
      .CloseBox("frmVersion");
  ASSERT_TRUE(bed_.shell.Drive([] { frmVersion->Show(true); }));
  ASSERT_SCRIPT_OK(bed_.shell);
  EXPECT_FALSE(frmVersion.loaded());
}

TEST_F(VersionDialogTest, CopyrightIsTypedInOnceAndTheTimerStops) {
  std::vector<std::string> captions;
  const auto look = [&captions] { captions.push_back(frmVersion->lblCopyRight.caption); };
  bed_.shell.Do(look);
  for (int i = 0; i < 5; ++i) bed_.shell.Advance(100).Do(look);
  bed_.shell.Do([] { EXPECT_FALSE(frmVersion->tmrCopyRight.enabled); }).CloseBox("frmVersion");
  ASSERT_TRUE(bed_.shell.Drive([] { frmVersion->Show(true); }));
  ASSERT_SCRIPT_OK(bed_.shell);
  EXPECT_EQ(captions, (std::vector<std::string>{"", "(", "(C", "(C)", "(C)桜", "(C)桜"}));
}

TEST(InstitutionTest, MissingRecordShowsUnknownAndAMissingMasterKeepsTheLabel) {
  testing::LoadBed bed;  // no institution record
  bed.Open();
  bed.shell.auto_answer = false;
  FrmVersion v;
  v.Sub_ShowInstitution();
  EXPECT_EQ(v.lblInstitution.caption, "<不明>");

  FrmVersion w;
  basPublic.VlmfPath = bed.suite.paths().root + "/nowhere/";
  bed.shell.AnswerBox(ui::MsgResult::kOk, "設定マスタオープンエラー");
  w.Sub_ShowInstitution();
  ASSERT_SCRIPT_OK(bed.shell);
  EXPECT_EQ(bed.shell.boxes().at(0).request.title, "エラー");
  EXPECT_EQ(w.lblInstitution.caption, "<施設名>");
}

TEST_F(VersionDialogTest, TheColourDepthIsTheScreens) {
  bed_.shell.screen.bits_per_pixel = 16;
  bed_.shell.Do([] { EXPECT_EQ(frmVersion->lstInfo.List(23), "色数               ： 65536色"); })
      .CloseBox("frmVersion");
  ASSERT_TRUE(bed_.shell.Drive([] { frmVersion->Show(true); }));
  ASSERT_SCRIPT_OK(bed_.shell);
}

TEST_F(VersionDialogTest, TheVersionIsTheProjectsOwn) {
  std::ifstream in(std::string(QZ_PROJECT_SOURCE_DIR) + "/CMakeLists.txt");
  std::stringstream text;
  text << in.rdbuf();
  std::smatch m;
  const std::string cmake = text.str();
  ASSERT_TRUE(std::regex_search(cmake, m, std::regex(R"(project\(qz140 VERSION (\d+)\.(\d+)\.(\d+))")));
  const std::string path = App().path;
  App() = AppInfo{};  // as the program starts: only its folder and title set
  App().path = path;
  const std::string expected = "Ver." + m[1].str() + "." + m[2].str() + "." + m[3].str();
  bed_.shell.Do([&] { EXPECT_EQ(frmVersion->lblVersion.caption, expected); }).CloseBox("frmVersion");
  ASSERT_TRUE(bed_.shell.Drive([] { frmVersion->Show(true); }));
  ASSERT_SCRIPT_OK(bed_.shell);
}

// The network listing is built in memory: a link planted in the temporary
// folder under a name a listing file could have keeps its target.
TEST_F(VersionDialogTest, TheNetworkListingWritesNoFile) {
  namespace fs = std::filesystem;
  const fs::path tmp = fs::path(bed_.suite.paths().root) / "tmp";
  fs::create_directories(tmp);
  const fs::path target = fs::path(bed_.suite.paths().root) / "precious.txt";
  std::ofstream(target) << "keep";
  fs::create_symlink(target, tmp / ("QZP140_IP_" + std::to_string(::getpid()) + ".TXT"));
  const char* old_tmpdir = std::getenv("TMPDIR");
  const std::string saved = old_tmpdir != nullptr ? old_tmpdir : "";
  ::setenv("TMPDIR", tmp.c_str(), 1);
  bed_.shell.CloseBox("frmVersion");
  const bool drove = bed_.shell.Drive([] { frmVersion->Show(true); });
  if (old_tmpdir != nullptr) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  ASSERT_TRUE(drove);
  ASSERT_SCRIPT_OK(bed_.shell);
  std::ifstream kept(target);
  std::string content;
  std::getline(kept, content);
  EXPECT_EQ(content, "keep");
  int entries = 0;
  for (const auto& e : fs::directory_iterator(tmp)) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1) << "only the planted link";
}

}  // namespace
}  // namespace qz
