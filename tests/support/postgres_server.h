#pragma once

#include <string>
#include <vector>

namespace qlxtest {

// A PostgreSQL server of the test's own (Debian package postgresql): a new
// cluster in a temporary folder, its Unix socket in that folder and no TCP
// port, stopped and removed with the object. As root the server runs as the
// postgres user (initdb refuses root). When PostgreSQL cannot be had,
// running() is false and whyNot() says why.
class PostgresServer {
public:
    static constexpr const char* kUser = "qlxtest";
    static constexpr const char* kDatabase = "postgres";
    static constexpr int kPort = 5432;  // names the socket file only

    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    bool running() const { return running_; }
    const std::string& whyNot() const { return whyNot_; }
    // The folder of the socket: the host name for a client.
    const std::string& socketFolder() const { return folder_; }

    bool Stop();
    bool Start();

private:
    int Run(std::vector<std::string> argv);
    std::string LogTail() const;

    std::string bin_;
    std::string folder_;
    bool asPostgres_ = false;
    bool running_ = false;
    std::string whyNot_;
};

}  // namespace qlxtest
