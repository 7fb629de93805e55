// Whether a data folder lies on a network file system, where SQLite's file
// locks may be local to one machine (internal to the record manager).
//
// The SQLite engine asks it for each folder whose files it opens and warns
// once per folder (storage_warning.h). Any thread.
#ifndef QZ_PLATFORM_RECORD_NETWORK_FOLDER_H_
#define QZ_PLATFORM_RECORD_NETWORK_FOLDER_H_

#include <functional>
#include <string>

namespace qz::record::internal {

// True for the statfs magic numbers of network file systems (NFS, SMB,
// CIFS, SMB2, NCP, Coda, AFS, 9P, Ceph, GPFS, Lustre, FUSE).
bool IsNetworkFileSystem(long magic);

// Warns once (log and message) when `folder` is on a network file system.
void WarnIfNetworkFolder(const std::string& folder);

// Tests only: replaces the statfs of a folder by `probe` (its magic number);
// an empty one restores statfs.
using FileSystemProbe = std::function<long(const std::string& folder)>;
void SetFileSystemProbeForTesting(FileSystemProbe probe);

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_NETWORK_FOLDER_H_
