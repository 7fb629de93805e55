#include "tools/system_info_lines.h"

#include <exception>
#include <sstream>
#include <string>

#include "platform/system/system_info.h"
#include "platform/text/vb.h"
#include "platform/ui/shell.h"

namespace qz {

namespace {

std::string OrNotAvailable(const std::optional<std::string>& v) { return v ? *v : std::string(kNotAvailable); }

std::string Bytes(std::uint64_t v) { return vb::FormatInteger(static_cast<std::int64_t>(v), "#,##0"); }

}  // namespace

std::string Fnc_FormatElapsedTime(std::int64_t ms) {
  const std::int64_t hours = ms / 3600000;
  const std::int64_t minutes = ms / 60000 - hours * 60;
  const std::int64_t seconds = ms / 1000 - (ms / 60000) * 60;
  return std::to_string(hours) + "時間" + vb::FormatInteger(minutes, "00") + "分" +
         vb::FormatInteger(seconds, "00") + "秒";
}

std::string Fnc_GetElapsedTime() { return Fnc_FormatElapsedTime(system::UptimeMs()); }

std::vector<system::AdapterInfo> Fnc_ParseAdapterReport(std::istream& in) {
  std::vector<system::AdapterInfo> adapters;
  std::string raw;
  while (std::getline(in, raw)) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();  // lines end in CR LF
    for (char& c : raw) {
      if (c == '\0') c = ' ';
    }
    const std::string line = vb::Trim(raw);
    const std::string key = vb::Left(line, 7);
    if (key == "Etherne") {
      const std::string rest = vb::Mid(line, 18);
      adapters.push_back({});
      adapters.back().name = vb::Left(rest, std::max<std::int64_t>(vb::Len(rest) - 1, 0));
      continue;
    }
    if (adapters.empty()) continue;
    std::string* target = nullptr;
    system::AdapterInfo& a = adapters.back();
    if (key == "Descrip") target = &a.description;
    if (key == "Physica") target = &a.mac;
    if (key == "IP Addr") target = &a.ip;
    if (key == "Subnet ") target = &a.mask;
    if (key == "Default") target = &a.gateway;
    if (target == nullptr) continue;
    const std::int32_t colon = vb::InStr(line, ":");
    *target = colon > 0 ? vb::Trim(vb::Mid(line, colon + 1)) : std::string();
  }
  return adapters;
}

std::vector<system::AdapterInfo> Sub_GetNetworkInfo() {
  try {
    std::istringstream report(system::AdapterReportText(system::ListAdapters()));
    return Fnc_ParseAdapterReport(report);
  } catch (const std::exception&) {
    // The network group then lists no adapter.
    return {};
  }
}

SystemInfo Sub_CollectSystemInfo(const std::string& program_folder) {
  SystemInfo info;
  info.computer_name = system::ComputerName();
  info.user_name = system::UserName();
  info.service_pack = OrNotAvailable(system::ServiceLevel());
  info.owner = OrNotAvailable(system::RegisteredOwner());
  info.organization = OrNotAvailable(system::RegisteredOrganization());
  if (const auto disk = system::DiskSpaceOf(program_folder)) {
    info.drive = disk->drive;
    info.disk_total = vb::FormatInteger(static_cast<std::int64_t>(disk->total), "#,###");
    info.disk_free = vb::FormatInteger(static_cast<std::int64_t>(disk->free), "#,###");
  }
  info.memory = system::QueryMemoryStatus();
  if (ui::Shell* shell = ui::Shell::Current()) {
    const ui::ScreenMetrics screen = shell->Screen();
    info.screen_width = screen.width_px;
    info.screen_height = screen.height_px;
    info.bits_per_pixel = screen.bits_per_pixel;
  }
  info.adapters = Sub_GetNetworkInfo();
  return info;
}

std::vector<std::string> Fnc_SystemInfoLines(const SystemInfo& info) {
  std::vector<std::string> lines = {
      "     ＊＊＊  コンピュータ情報  ＊＊＊",
      "コンピュータ名     ： " + info.computer_name,
      "ユーザ名           ： " + info.user_name,
      "Service Pack       ： " + info.service_pack,
      "所属               ： " + info.owner,
      "組織名             ： " + info.organization,
      "",
      "     ＊＊＊  ディスク情報  ＊＊＊",
      "ドライブ           ： " + info.drive,
      "総容量             ： " + info.disk_total,
      "空き容量           ： " + info.disk_free,
      "",
      "     ＊＊＊  メモリ情報  ＊＊＊",
      "メモリ使用度       ： " + std::to_string(info.memory.load) + "/100",
      "物理メモリ(総)     ： " + Bytes(info.memory.total_phys),
      "物理メモリ(残)     ： " + Bytes(info.memory.avail_phys),
      "ページング(総)     ： " + Bytes(info.memory.total_page),
      "ページング(残)     ： " + Bytes(info.memory.avail_page),
      "仮想アドレス(総)   ： " + Bytes(info.memory.total_virtual),
      "仮想アドレス(残)   ： " + Bytes(info.memory.avail_virtual),
      "",
      "     ＊＊＊  デスクトップ情報  ＊＊＊",
      "画面サイズ         ： " + std::to_string(info.screen_width) + " X " + std::to_string(info.screen_height),
      "色数               ： " + std::to_string(std::uint64_t{1} << info.bits_per_pixel) + "色",
      "",
      "     ＊＊＊  ネットワーク情報  ＊＊＊",
  };
  for (const system::AdapterInfo& a : info.adapters) {
    lines.push_back("");
    lines.push_back("アダプタ名         ： " + a.name);
    lines.push_back("    " + a.description);
    lines.push_back("ＭＡＣアドレス     ： " + a.mac);
    lines.push_back("ＩＰアドレス       ： " + a.ip);
    lines.push_back("サブネットマスク   ： " + a.mask);
    lines.push_back("ゲートウェイ       ： " + a.gateway);
  }
  return lines;
}

}  // namespace qz
