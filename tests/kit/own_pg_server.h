// OwnPgServer: a throwaway PostgreSQL server of one test's own
// (scripts/pgserver), for a test that restarts or stops the server, which
// the shared test server of pg_server.h must never be. Listens on a Unix
// socket in its own folder; removed with the object.
#ifndef QZ_TESTS_KIT_OWN_PG_SERVER_H_
#define QZ_TESTS_KIT_OWN_PG_SERVER_H_

#include <string>

namespace qz::testkit {

class OwnPgServer {
 public:
  // Starts the server; failed() tells whether it could not.
  OwnPgServer();
  // Stops it and removes its folder.
  ~OwnPgServer();

  OwnPgServer(const OwnPgServer&) = delete;
  OwnPgServer& operator=(const OwnPgServer&) = delete;

  // Why the server could not start; empty when it runs.
  const std::string& failed() const { return failed_; }
  // Its connection string (the superuser qz, the database qz).
  const std::string& conninfo() const { return conninfo_; }
  // The folder of its socket.
  const std::string& socket_folder() const { return folder_; }

  // Restarts it as an administrator would (every session is ended). False
  // when it did not come back.
  bool Restart();

 private:
  std::string root_;
  std::string folder_;
  std::string conninfo_;
  std::string failed_;
};

}  // namespace qz::testkit

#endif  // QZ_TESTS_KIT_OWN_PG_SERVER_H_
