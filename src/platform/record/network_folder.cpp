#include "platform/record/network_folder.h"

#include <sys/vfs.h>

#include <mutex>

#include "platform/record/storage_warning.h"

namespace qz::record::internal {

namespace {

std::mutex g_probe_mutex;
FileSystemProbe g_probe;

// The file-system type of `folder`; 0 when unknown.
long FileSystemOf(const std::string& folder) {
  {
    std::lock_guard lock(g_probe_mutex);
    if (g_probe) return g_probe(folder);
  }
  struct statfs st {};
  if (statfs(folder.c_str(), &st) != 0) return 0;
  return static_cast<long>(st.f_type);
}

}  // namespace

bool IsNetworkFileSystem(long magic) {
  switch (static_cast<unsigned long>(magic) & 0xFFFFFFFFUL) {
    case 0x6969UL:      // NFS
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x564C0000UL:  // NCP
    case 0x73757245UL:  // CODA
    case 0x5346414FUL:  // AFS
    case 0x6B414653UL:  // kAFS
    case 0x01021997UL:  // 9P
    case 0x00C36400UL:  // CEPH
    case 0x47504653UL:  // GPFS
    case 0x0BD00BD0UL:  // LUSTRE
    case 0x65735546UL:  // FUSE (sshfs and the like)
      return true;
    default:
      return false;
  }
}

void WarnIfNetworkFolder(const std::string& folder) {
  if (!IsNetworkFileSystem(FileSystemOf(folder))) return;
  WarnOnce("network folder " + folder,
           "データフォルダがネットワーク上にあります。\r\n複数の端末から使うとデータが壊れることがあります。\r\n"
           "フォルダ : " + folder);
}

void SetFileSystemProbeForTesting(FileSystemProbe probe) {
  std::lock_guard lock(g_probe_mutex);
  g_probe = std::move(probe);
}

}  // namespace qz::record::internal
