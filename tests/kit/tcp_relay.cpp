#include "kit/tcp_relay.h"

#include <arpa/inet.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string_view>
#include <vector>

namespace qz::testkit {

namespace {

// One connection: the terminal's side and the server's, and the bytes
// towards the server that a hold caught.
struct Pair {
  int ends[2];
  std::string caught;
};

int ConnectUnix(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strncpy(a.sun_path, path.c_str(), sizeof(a.sun_path) - 1);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0) return fd;
  if (fd >= 0) ::close(fd);
  return -1;
}

// Writes on a socket; one the peer closed (a server that ended the
// session) fails the write instead of raising SIGPIPE in the test.
bool WriteAll(int fd, const char* data, ssize_t n) {
  while (n > 0) {
    const ssize_t w = ::send(fd, data, static_cast<std::size_t>(n), MSG_NOSIGNAL);
    if (w <= 0) return false;
    data += w;
    n -= w;
  }
  return true;
}

// The value of `keyword` in `conninfo`; `otherwise` when not given.
std::string Setting(const std::string& conninfo, const std::string& keyword, const std::string& otherwise) {
  std::string value = otherwise;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), nullptr);
  for (PQconninfoOption* o = options; o && o->keyword; ++o) {
    if (o->val && *o->val && keyword == o->keyword) value = o->val;
  }
  PQconninfoFree(options);
  return value;
}

}  // namespace

TcpRelay::TcpRelay(std::string conninfo)
    : conninfo_(std::move(conninfo)),
      socket_path_(Setting(conninfo_, "host", "/tmp") + "/.s.PGSQL." + Setting(conninfo_, "port", "5432")) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(a);
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0 ||
      ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
    return;
  }
  port_ = ntohs(a.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

TcpRelay::~TcpRelay() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) ::close(listener_);
}

std::string TcpRelay::ConnInfo() const {
  std::string out = "host=127.0.0.1 port=" + std::to_string(port_);
  PQconninfoOption* options = PQconninfoParse(conninfo_.c_str(), nullptr);
  for (PQconninfoOption* o = options; o && o->keyword; ++o) {
    const std::string key = o->keyword;
    if (!o->val || key == "host" || key == "hostaddr" || key == "port") continue;
    out += " " + key + "=" + o->val;
  }
  PQconninfoFree(options);
  return out;
}

void TcpRelay::HoldAt(std::string text) {
  std::lock_guard<std::mutex> lock(mutex_);
  hold_at_ = std::move(text);
}

bool TcpRelay::SetsOffHold(std::string_view bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (hold_at_.empty() || bytes.find(hold_at_) == std::string_view::npos) return false;
  hold_at_.clear();
  held_ = true;
  return true;
}

void TcpRelay::Serve() {
  std::vector<Pair> pairs;
  std::vector<char> buffer(65536);
  while (!stop_) {
    if (held_) {
      // Nothing is read: what comes waits in the sockets, closings too.
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    std::vector<pollfd> fds{{listener_, POLLIN, 0}};
    for (Pair& p : pairs) {
      if (!p.caught.empty()) {
        WriteAll(p.ends[1], p.caught.data(), static_cast<ssize_t>(p.caught.size()));
        p.caught.clear();
      }
      fds.push_back({p.ends[0], POLLIN, 0});
      fds.push_back({p.ends[1], POLLIN, 0});
    }
    if (::poll(fds.data(), fds.size(), 20) <= 0) continue;
    std::vector<Pair> kept;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      bool open = true;
      for (int side = 0; side < 2 && open; ++side) {
        if (fds[1 + 2 * i + side].revents == 0) continue;
        const ssize_t n = ::read(pairs[i].ends[side], buffer.data(), buffer.size());
        if (n > 0 && side == 0 && SetsOffHold(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) {
          pairs[i].caught.assign(buffer.data(), static_cast<std::size_t>(n));
          continue;
        }
        open = n > 0 && WriteAll(pairs[i].ends[1 - side], buffer.data(), n);
      }
      if (open) {
        kept.push_back(pairs[i]);
      } else {
        ::close(pairs[i].ends[0]);
        ::close(pairs[i].ends[1]);
      }
    }
    pairs.swap(kept);
    if (fds[0].revents != 0) {
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      const int server = client >= 0 ? ConnectUnix(socket_path_) : -1;
      if (server >= 0) {
        pairs.push_back(Pair{{client, server}, {}});
      } else if (client >= 0) {
        ::close(client);
      }
    }
  }
  for (const Pair& p : pairs) {
    ::close(p.ends[0]);
    ::close(p.ends[1]);
  }
}

}  // namespace qz::testkit
