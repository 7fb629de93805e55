#include "kit/tcp_relay.h"

#include <arpa/inet.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

namespace qz::testkit {

namespace {

using Clock = std::chrono::steady_clock;

// Bytes read from one side, to go on to the other at `due`.
struct Delayed {
  Clock::time_point due;
  std::string bytes;
};

// One connection: the terminal's side and the server's, the bytes towards
// the server that a hold caught, and what waits to be written to each side
// (towards[0] to the terminal, towards[1] to the server). An ended
// connection reads no more; it is closed once what waits is written.
struct Pair {
  int ends[2];
  std::string caught;
  std::deque<Delayed> towards[2];
  bool ended = false;
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
  // A delay of a tenth of a millisecond needs wake-ups to the microsecond.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  std::vector<Pair> pairs;
  std::vector<char> buffer(65536);
  // Passes `bytes` on to side `to` of `p` now or, with a delay, later.
  const auto send = [this](Pair& p, int to, std::string_view bytes, Clock::time_point now) {
    const auto delay = std::chrono::nanoseconds(delay_ns_.load());
    if (delay.count() == 0 && p.towards[to].empty()) {
      if (!WriteAll(p.ends[to], bytes.data(), static_cast<ssize_t>(bytes.size()))) p.ended = true;
      return;
    }
    p.towards[to].push_back(Delayed{now + delay, std::string(bytes)});
  };
  while (!stop_) {
    if (held_) {
      // Nothing is read or written: what comes waits in the sockets,
      // closings too.
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    Clock::time_point now = Clock::now();
    std::optional<Clock::time_point> next;
    std::vector<Pair> kept;
    for (Pair& p : pairs) {
      if (!p.caught.empty()) {
        send(p, 1, p.caught, now);
        p.caught.clear();
      }
      for (std::deque<Delayed>& q : p.towards) {
        const int to = static_cast<int>(&q - p.towards);
        while (!q.empty() && q.front().due <= now) {
          if (!p.ended && !WriteAll(p.ends[to], q.front().bytes.data(), static_cast<ssize_t>(q.front().bytes.size()))) {
            p.ended = true;
          }
          q.pop_front();
        }
        if (!q.empty() && (!next || q.front().due < *next)) next = q.front().due;
      }
      if (p.ended && p.towards[0].empty() && p.towards[1].empty()) {
        ::close(p.ends[0]);
        ::close(p.ends[1]);
      } else {
        kept.push_back(std::move(p));
      }
    }
    pairs.swap(kept);
    std::vector<pollfd> fds{{listener_, POLLIN, 0}};
    for (const Pair& p : pairs) {
      fds.push_back({p.ended ? -1 : p.ends[0], POLLIN, 0});
      fds.push_back({p.ended ? -1 : p.ends[1], POLLIN, 0});
    }
    // Sleeps until the next bytes are due (the last few microseconds
    // awake, as a sleep overshoots) or something comes.
    std::chrono::nanoseconds wait = std::chrono::milliseconds(20);
    if (next) {
      const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(*next - now);
      wait = left > std::chrono::microseconds(60) ? left - std::chrono::microseconds(50) : std::chrono::nanoseconds(0);
    }
    const timespec timeout{static_cast<time_t>(wait.count() / 1000000000), static_cast<long>(wait.count() % 1000000000)};
    if (::ppoll(fds.data(), fds.size(), &timeout, nullptr) <= 0) continue;
    now = Clock::now();
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      for (int side = 0; side < 2 && !pairs[i].ended; ++side) {
        if (fds[1 + 2 * i + side].revents == 0) continue;
        const ssize_t n = ::read(pairs[i].ends[side], buffer.data(), buffer.size());
        const std::string_view bytes(buffer.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
        if (n <= 0) {
          pairs[i].ended = true;
        } else if (side == 0 && SetsOffHold(bytes)) {
          pairs[i].caught.assign(bytes);
        } else {
          send(pairs[i], 1 - side, bytes, now);
        }
      }
    }
    if (fds[0].revents != 0) {
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      const int server = client >= 0 ? ConnectUnix(socket_path_) : -1;
      if (server >= 0) {
        // Each piece goes on as it is due, not held back for an
        // acknowledgement of the one before (a 40 ms stall on loopback).
        const int one = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
        pairs.push_back(Pair{{client, server}, {}, {}, false});
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
