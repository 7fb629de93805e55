// The system information that the version dialog lists for support staff:
// computer, disk, memory, desktop and network facts of this workstation,
// gathered from the platform (platform/system) and laid out as the lines of
// the dialog's list, whose labels are padded so that the values line up in
// a fixed-pitch font.
//
// The network facts come from the adapter report (adapter_report.h), built
// in memory and read line by line as the dialog always read the platform's
// listing; nothing is written to any folder.
// User-interface thread only.
#ifndef QZ_TOOLS_SYSTEM_INFO_LINES_H_
#define QZ_TOOLS_SYSTEM_INFO_LINES_H_

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "platform/system/adapter_report.h"
#include "platform/system/machine_info.h"

namespace qz {

// The text of a value that cannot be read.
inline constexpr const char* kNotAvailable = "取得できませんでした";

struct SystemInfo {
  std::string computer_name;
  std::string user_name;           // the user the program runs as
  std::string service_pack;        // kNotAvailable when unknown
  std::string owner;
  std::string organization;
  std::string drive;               // "" when the disk is unknown
  std::string disk_total;          // "#,###"
  std::string disk_free;
  system::MemoryStatus memory;
  int screen_width = 0;            // pixels
  int screen_height = 0;
  int bits_per_pixel = 24;         // the screen's colour depth
  std::vector<system::AdapterInfo> adapters;
};

// "<hours>時間<mm>分<ss>秒" of `ms` milliseconds (hours unpadded and not
// limited to 24). Pure.
std::string Fnc_FormatElapsedTime(std::int64_t ms);

// The time since the system started, as Fnc_FormatElapsedTime.
std::string Fnc_GetElapsedTime();

// The adapters of an adapter report read line by line: NUL characters
// become blanks, lines are trimmed and keyed by their first seven
// characters: "Etherne" starts an adapter named by the line from its 18th
// character without its last; "Descrip", "Physica", "IP Addr", "Subnet ",
// "Default" give the current adapter's value after the first ":", trimmed.
// Value lines before the first adapter and all other lines are passed over.
std::vector<system::AdapterInfo> Fnc_ParseAdapterReport(std::istream& in);

// The adapters of this computer, read from their report in memory; any
// failure gives no adapter, silently.
std::vector<system::AdapterInfo> Sub_GetNetworkInfo();

// Everything the dialog lists, from the platform; the disk is the one
// holding `program_folder`, the screen size and colour depth those of the
// current shell's screen.
SystemInfo Sub_CollectSystemInfo(const std::string& program_folder);

// The lines of the dialog's list: the computer, disk, memory, desktop and
// network groups, each after a heading, the groups apart by an empty line.
std::vector<std::string> Fnc_SystemInfoLines(const SystemInfo& info);

}  // namespace qz

#endif  // QZ_TOOLS_SYSTEM_INFO_LINES_H_
