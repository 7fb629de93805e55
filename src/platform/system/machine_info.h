// Facts about this computer for the version and system-information dialog:
// the time since the system started, the space of the disk that holds a
// folder, the memory in use and the operating system's release, each with
// an override for tests.
//
// How this platform answers what the suite's platform keeps elsewhere:
// - the time since start is the system's boot-time clock, 64-bit (it never
//   wraps after 49.7 days);
// - the disk is the file system holding the folder, named by its mount
//   point ("/" or "/work");
// - the memory status has the seven values of the suite's platform in its
//   order: the load in percent (memory in use of the physical memory),
//   total and available physical memory, total and free swap space (the
//   page file), and the total and still unused virtual address space of
//   this process;
// - the service level is the release of the running kernel; the registered
//   owner and organisation are not kept by this platform (nullopt).
// Single-threaded use, like the program.
#ifndef QZ_PLATFORM_SYSTEM_MACHINE_INFO_H_
#define QZ_PLATFORM_SYSTEM_MACHINE_INFO_H_

#include <cstdint>
#include <optional>
#include <string>

namespace qz::system {

struct DiskSpace {
  std::string drive;          // the mount point of the file system
  std::uint64_t total = 0;    // bytes
  std::uint64_t free = 0;     // bytes available to the program
};

struct MemoryStatus {
  std::uint32_t load = 0;     // percent of the physical memory in use
  std::uint64_t total_phys = 0;
  std::uint64_t avail_phys = 0;
  std::uint64_t total_page = 0;
  std::uint64_t avail_page = 0;
  std::uint64_t total_virtual = 0;
  std::uint64_t avail_virtual = 0;
};

// Milliseconds since the system started (or the test's).
std::int64_t UptimeMs();
void SetUptimeMsForTest(std::optional<std::int64_t> ms);

// The disk space of the file system that holds `folder`; nullopt when the
// folder does not exist or the system does not tell.
std::optional<DiskSpace> DiskSpaceOf(const std::string& folder);

// The memory status now (zeros where the system does not tell).
MemoryStatus QueryMemoryStatus();

// The service level of the operating system (kernel release); nullopt when
// the system does not tell.
std::optional<std::string> ServiceLevel();
// The registered owner and organisation: never kept here (nullopt).
std::optional<std::string> RegisteredOwner();
std::optional<std::string> RegisteredOrganization();

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_MACHINE_INFO_H_
