// Writing an output file so that nothing but the named file is ever
// replaced, followed or removed.
//
// A regular file (or a name not yet taken) is written whole into a
// temporary file created exclusively, under an unpredictable name, in the
// same folder, flushed to disk and renamed over the target; on any failure
// only that temporary file is removed. A character device or FIFO (such as
// /dev/null, or /dev/stdout when it is a pipe) is written in place and never
// replaced. A folder, a block device and a symbolic link to a regular file
// are refused: replacing the link would drop it, writing through it would
// replace a file nobody named.

#include "wave/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string errorText(int error) {
  return std::strerror(error);
}

// Writes all of text to fd; 0, or the errno of the failure.
int writeAll(int fd, const std::string& text) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return 0;
}

// The permissions a newly created file gets: 0666 less the umask.
mode_t newFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A character device, FIFO or socket: opened without creating or
// truncating anything, and written in place.
std::optional<std::string> writeInPlace(const std::string& path,
                                        const std::string& text) {
  int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errorText(errno);
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || S_ISREG(opened.st_mode) ||
      S_ISDIR(opened.st_mode) || S_ISBLK(opened.st_mode)) {
    ::close(fd);
    return std::string("changed while it was being opened");
  }
  int error = writeAll(fd, text);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) return errorText(error);
  return std::nullopt;
}

// A regular file or a free name: a temporary file beside it, renamed over it.
std::optional<std::string> replaceWhole(const std::string& path,
                                        const std::string& text) {
  const std::filesystem::path target(path);
  const std::string name = target.filename().string();
  if (name.empty() || name == "." || name == "..") {
    return std::string("names a folder, not a file");
  }
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string pattern = (folder / ("." + name + ".XXXXXX")).string();
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  // O_CREAT | O_EXCL: never opens what is already there, links included.
  int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    return "cannot create a temporary file in " + folder.string() + ": " +
           errorText(errno);
  }
  int error = ::fchmod(fd, newFileMode()) != 0 ? errno : 0;
  if (error == 0) error = writeAll(fd, text);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.data(), path.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temporary.data());
    return errorText(error);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> writeFileWholeFailure(const std::string& path,
                                                 const std::string& text) {
  if (path.empty()) return std::string("no file name given");
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) {
    if (errno != ENOENT) return errorText(errno);
    return replaceWhole(path, text);
  }
  if (S_ISREG(entry.st_mode)) return replaceWhole(path, text);
  if (S_ISLNK(entry.st_mode)) {
    if (::stat(path.c_str(), &entry) != 0) {
      return "is a symbolic link that leads nowhere (" + errorText(errno) + ")";
    }
    if (S_ISREG(entry.st_mode)) {
      return std::string("is a symbolic link to a file; name the file itself");
    }
  }
  if (S_ISDIR(entry.st_mode)) return std::string("is a folder");
  if (S_ISBLK(entry.st_mode)) return std::string("is a block device");
  return writeInPlace(path, text);
}

bool writeFileWhole(const std::string& path, const std::string& text) {
  return !writeFileWholeFailure(path, text).has_value();
}
