// TcpRelay: a TCP port on loopback that passes every connection on to a
// PostgreSQL server's Unix socket, and that a test can tell to hold what
// comes in both ways: no byte goes on, no connection is closed or refused,
// as when a network drops the packets between a terminal and its server
// without a reset. Resume passes everything held on, closings included.
// It can also delay every byte by a fixed time in each direction, as a LAN
// between a terminal and its server does (the benchmarks use it where the
// kernel has no network emulation).
//
//   TcpRelay relay("host=/tmp/x/server user=qz dbname=qz");
//   std::string info = relay.ConnInfo();  // through the relay
//   relay.Hold();  ...  relay.Resume();
//   relay.HoldAt("LOCK TABLE");  // from the terminal's first such statement
//   relay.SetDelay(std::chrono::microseconds(300));  // each way
//
// One thread of its own serves every connection; the methods may be called
// from any one thread.
#ifndef QZ_TESTS_KIT_TCP_RELAY_H_
#define QZ_TESTS_KIT_TCP_RELAY_H_

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace qz::testkit {

class TcpRelay {
 public:
  // Listens on 127.0.0.1 (a port of the system's choosing) for the server
  // that `conninfo` reaches on a Unix socket (its host a folder). port() is
  // 0 when it could not listen.
  explicit TcpRelay(std::string conninfo);
  // Closes every connection and stops.
  ~TcpRelay();

  TcpRelay(const TcpRelay&) = delete;
  TcpRelay& operator=(const TcpRelay&) = delete;

  int port() const { return port_; }
  // The server's connection string with its host and port replaced by
  // this relay's.
  std::string ConnInfo() const;

  void Hold() { held_ = true; }
  // Holds from the first bytes towards the server that contain `text`
  // (those bytes included).
  void HoldAt(std::string text);
  void Resume() { held_ = false; }
  bool held() const { return held_; }

  // From now on every byte read from either side goes on `delay` after it
  // came (0: at once), in order; what waits already keeps its time.
  void SetDelay(std::chrono::nanoseconds delay) { delay_ns_ = delay.count(); }
  std::chrono::nanoseconds delay() const { return std::chrono::nanoseconds(delay_ns_.load()); }

 private:
  void Serve();
  // Whether `bytes` towards the server set off the hold armed by HoldAt.
  bool SetsOffHold(std::string_view bytes);

  std::string conninfo_;
  std::string socket_path_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> held_{false};
  std::atomic<bool> stop_{false};
  std::atomic<std::int64_t> delay_ns_{0};
  std::mutex mutex_;
  std::string hold_at_;  // guarded by mutex_
  std::thread thread_;
};

}  // namespace qz::testkit

#endif  // QZ_TESTS_KIT_TCP_RELAY_H_
