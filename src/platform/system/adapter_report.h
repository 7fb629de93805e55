// The network adapters of this computer as a text report in the wording of
// the suite's platform's adapter listing, which the
// information dialog reads line by line:
//
//   Ethernet adapter eth0:
//      Description . . . . . . . . . . . : eth0
//      Physical Address. . . . . . . . . : 02-42-AC-11-00-02
//      IP Address. . . . . . . . . . . . : 172.17.0.2
//      Subnet Mask . . . . . . . . . . . : 255.255.0.0
//      Default Gateway . . . . . . . . . : 172.17.0.1
//
// One block per adapter with an IPv4 address, in the order the system
// lists them; the loopback adapter is left out. A value the system does not
// tell is empty. On the suite's platform the dialog ran that listing through
// a batch file into a text file; here the report is built in memory, so no
// file is written. Single-threaded use.
#ifndef QZ_PLATFORM_SYSTEM_ADAPTER_REPORT_H_
#define QZ_PLATFORM_SYSTEM_ADAPTER_REPORT_H_

#include <string>
#include <vector>

namespace qz::system {

struct AdapterInfo {
  std::string name;         // e.g. eth0
  std::string description;
  std::string mac;          // "02-42-AC-11-00-02"
  std::string ip;
  std::string mask;
  std::string gateway;
};

// The adapters of this computer (see above).
std::vector<AdapterInfo> ListAdapters();

// The report text of `adapters`, lines ending in CR LF.
std::string AdapterReportText(const std::vector<AdapterInfo>& adapters);

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_ADAPTER_REPORT_H_
