#include "platform/system/machine_info.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace qz::system {
namespace {

std::optional<std::int64_t>& UptimeOverride() {
  static std::optional<std::int64_t> ms;
  return ms;
}

// The user address space of a 64-bit process on this platform (128 TiB).
constexpr std::uint64_t kUserAddressSpace = std::uint64_t{1} << 47;

// "Key:   123 kB" lines of a /proc file, in bytes.
std::map<std::string, std::uint64_t> ReadKilobytes(const char* file) {
  std::map<std::string, std::uint64_t> values;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::istringstream rest(line.substr(colon + 1));
    std::uint64_t v = 0;
    if (rest >> v) values[line.substr(0, colon)] = v * 1024;
  }
  return values;
}

}  // namespace

std::int64_t UptimeMs() {
  if (UptimeOverride()) return *UptimeOverride();
  timespec ts{};
  if (::clock_gettime(CLOCK_BOOTTIME, &ts) != 0) return 0;
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void SetUptimeMsForTest(std::optional<std::int64_t> ms) { UptimeOverride() = ms; }

std::optional<DiskSpace> DiskSpaceOf(const std::string& folder) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::canonical(folder.empty() ? "." : folder, ec);
  if (ec) return std::nullopt;
  struct statvfs vfs{};
  struct stat st{};
  if (::statvfs(p.c_str(), &vfs) != 0 || ::stat(p.c_str(), &st) != 0) return std::nullopt;
  // The mount point: the highest folder on the way up on the same device.
  while (p.has_parent_path() && p.parent_path() != p) {
    struct stat up{};
    if (::stat(p.parent_path().c_str(), &up) != 0 || up.st_dev != st.st_dev) break;
    p = p.parent_path();
  }
  DiskSpace d;
  d.drive = p.string();
  d.total = static_cast<std::uint64_t>(vfs.f_blocks) * vfs.f_frsize;
  d.free = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  return d;
}

MemoryStatus QueryMemoryStatus() {
  MemoryStatus m;
  const auto mem = ReadKilobytes("/proc/meminfo");
  const auto get = [&mem](const char* key) {
    const auto it = mem.find(key);
    return it == mem.end() ? std::uint64_t{0} : it->second;
  };
  m.total_phys = get("MemTotal");
  m.avail_phys = get("MemAvailable");
  m.total_page = get("SwapTotal");
  m.avail_page = get("SwapFree");
  if (m.total_phys > 0 && m.avail_phys <= m.total_phys) {
    m.load = static_cast<std::uint32_t>((m.total_phys - m.avail_phys) * 100 / m.total_phys);
  }
  m.total_virtual = kUserAddressSpace;
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      limit.rlim_cur < kUserAddressSpace) {
    m.total_virtual = limit.rlim_cur;
  }
  const std::uint64_t used = ReadKilobytes("/proc/self/status")["VmSize"];
  m.avail_virtual = used < m.total_virtual ? m.total_virtual - used : 0;
  return m;
}

std::optional<std::string> ServiceLevel() {
  utsname u{};
  if (::uname(&u) != 0) return std::nullopt;
  return std::string(u.release);
}

std::optional<std::string> RegisteredOwner() { return std::nullopt; }
std::optional<std::string> RegisteredOrganization() { return std::nullopt; }

}  // namespace qz::system
