#pragma once

// Starts `dalvenor serve` on 127.0.0.1 with a port the system picks, for the
// end-to-end tests of the service; talks to it through raw sockets where a
// test needs to hold a connection half sent.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_support {

class ServerProcess {
 public:
  // Runs `program serve --port 0 ...extra` and reads the port it prints.
  ServerProcess(const std::string& program,
                const std::vector<std::string>& extra) {
    static int started = 0;
    errPath_ = std::filesystem::temp_directory_path() /
               ("dalvenor_serve_" + std::to_string(getpid()) + "_" +
                std::to_string(started++) + ".err");
    std::vector<std::string> args = {program, "serve", "--port", "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      std::FILE* err = std::fopen(errPath_.c_str(), "w");
      if (err != nullptr) dup2(fileno(err), STDERR_FILENO);
      std::vector<char*> argv;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(out[1]);
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    const std::size_t colon = line.rfind(':');
    if (colon == std::string::npos) {
      stop();
      throw std::runtime_error("the server printed no port: " + line + log());
    }
    port_ = std::stoi(line.substr(colon + 1));
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  ~ServerProcess() {
    stop();
    std::filesystem::remove(errPath_);
  }

  int port() const { return port_; }
  pid_t pid() const { return pid_; }

  // Sends SIGTERM and waits; the exit status, -1 when it did not exit.
  int stop() {
    if (pid_ <= 0) return status_;
    kill(pid_, SIGTERM);
    int raw = 0;
    waitpid(pid_, &raw, 0);
    pid_ = 0;
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return status_;
  }

  // What the server wrote to standard error so far.
  std::string log() const {
    std::ifstream in(errPath_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Resident memory in kB, from /proc.
  long residentKb() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
    std::string key;
    while (in >> key) {
      if (key == "VmRSS:") {
        long kb = 0;
        in >> kb;
        return kb;
      }
    }
    return -1;
  }

 private:
  pid_t pid_ = 0;
  int port_ = 0;
  int status_ = -1;
  std::filesystem::path errPath_;
};

// A TCP connection to 127.0.0.1:port for sending a request in parts.
class RawConnection {
 public:
  explicit RawConnection(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ < 0 || connect(fd_, reinterpret_cast<sockaddr*>(&address),
                           sizeof address) != 0) {
      throw std::runtime_error("cannot connect to port " +
                               std::to_string(port));
    }
  }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;
  ~RawConnection() {
    if (fd_ >= 0) close(fd_);
  }

  void send(const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
      ssize_t n =
          ::send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) throw std::runtime_error("send failed");
      sent += static_cast<std::size_t>(n);
    }
  }
  // Everything the server sends until it closes the connection.
  std::string receiveAll() {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = recv(fd_, buffer, sizeof buffer, 0)) > 0) {
      text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
  }
  void closeNow() {
    close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

}  // namespace testing_support
