#pragma once

// Runs a built program through the shell and collects its output and exit
// status, for the end-to-end tests of the programs.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

struct RunResult {
  int status = -1;  // exit status, -1 when the program did not exit normally
  std::string out;
  std::string err;
};

inline std::string shellQuote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Runs program with args (each one argument) in the working directory cwd.
inline RunResult runProgram(
    const std::string& program,
    const std::vector<std::string>& args,
    const std::filesystem::path& cwd = std::filesystem::current_path()) {
  static int runs = 0;
  const std::filesystem::path errPath =
      std::filesystem::temp_directory_path() /
      ("dalvenor_run_" + std::to_string(getpid()) + "_" +
       std::to_string(runs++) + ".err");
  std::string command =
      "cd " + shellQuote(cwd.string()) + " && " + shellQuote(program);
  for (const std::string& arg : args) {
    command += ' ';
    command += shellQuote(arg);
  }
  command += " 2>" + shellQuote(errPath.string()) + " </dev/null";

  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    result.out.append(buffer, n);
  }
  int status = pclose(pipe);
  if (status != -1 && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  std::ifstream err(errPath);
  result.err.assign(std::istreambuf_iterator<char>(err), {});
  std::filesystem::remove(errPath);
  return result;
}

}  // namespace testing_support
