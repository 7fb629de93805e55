#include "platform/system/adapter_report.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qz::system {
namespace {

std::string Ipv4Text(const sockaddr* a) {
  if (a == nullptr || a->sa_family != AF_INET) return {};
  char buf[INET_ADDRSTRLEN] = {};
  const auto* in = reinterpret_cast<const sockaddr_in*>(a);
  return ::inet_ntop(AF_INET, &in->sin_addr, buf, sizeof buf) != nullptr ? std::string(buf) : std::string();
}

// "02:42:ac:11:00:02" as "02-42-AC-11-00-02".
std::string MacOf(const std::string& name) {
  std::ifstream in("/sys/class/net/" + name + "/address");
  std::string mac;
  std::getline(in, mac);
  for (char& c : mac) c = c == ':' ? '-' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return mac;
}

// The default gateway of adapter `name` from the routing table.
std::string GatewayOf(const std::string& name) {
  std::ifstream in("/proc/net/route");
  std::string line;
  std::getline(in, line);  // the column titles
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string iface, destination, gateway;
    if (!(fields >> iface >> destination >> gateway) || iface != name || destination != "00000000") continue;
    char* end = nullptr;
    const unsigned long value = std::strtoul(gateway.c_str(), &end, 16);
    if (end == gateway.c_str() || *end != '\0') continue;
    in_addr addr{};
    addr.s_addr = static_cast<in_addr_t>(value);
    char buf[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &addr, buf, sizeof buf) != nullptr) return buf;
  }
  return {};
}

}  // namespace

std::vector<AdapterInfo> ListAdapters() {
  std::vector<AdapterInfo> adapters;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return adapters;
  for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
    if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET || (a->ifa_flags & IFF_LOOPBACK) != 0) continue;
    AdapterInfo info;
    info.name = a->ifa_name;
    info.description = a->ifa_name;
    info.mac = MacOf(info.name);
    info.ip = Ipv4Text(a->ifa_addr);
    info.mask = Ipv4Text(a->ifa_netmask);
    info.gateway = GatewayOf(info.name);
    adapters.push_back(std::move(info));
  }
  ::freeifaddrs(list);
  return adapters;
}

std::string AdapterReportText(const std::vector<AdapterInfo>& adapters) {
  std::string text = "\r\nIP Configuration\r\n\r\n";
  for (const AdapterInfo& a : adapters) {
    text += "Ethernet adapter " + a.name + ":\r\n\r\n";
    text += "   Description . . . . . . . . . . . : " + a.description + "\r\n";
    text += "   Physical Address. . . . . . . . . : " + a.mac + "\r\n";
    text += "   IP Address. . . . . . . . . . . . : " + a.ip + "\r\n";
    text += "   Subnet Mask . . . . . . . . . . . : " + a.mask + "\r\n";
    text += "   Default Gateway . . . . . . . . . : " + a.gateway + "\r\n\r\n";
  }
  return text;
}

}  // namespace qz::system
