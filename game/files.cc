// Whole files with POSIX calls: open and read; mkstemp, write, fsync, rename.
#include "game/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace kragmoor {

namespace {

// The folder that holds `path` ("." for a bare name).
std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The permissions a new file gets: 0666 less the umask, which can only be
// read by setting it.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;  // nothing written and no reason given
    if (n <= 0) return false;
    content.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string& text,
                   std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  text.clear();
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = std::strerror(errno);
      ok = false;
      break;
    }
    if (n == 0) break;
    if (text.size() + static_cast<size_t>(n) > maxBytes) {
      error = "it is larger than " + std::to_string(maxBytes) + " bytes";
      ok = false;
      break;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error) {
  const auto fail = [&](int code) {
    error = "cannot write '" + path + "' : " + std::strerror(code);
    return false;
  };
  std::string name = path + ".XXXXXX";
  std::vector<char> temporary(name.begin(), name.end());
  temporary.push_back('\0');
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return fail(errno);
  name.assign(temporary.data());

  struct stat old {};
  const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
  bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, content) && fsync(fd) == 0;
  int code = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    code = errno;
  }
  if (ok && rename(name.c_str(), path.c_str()) != 0) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    unlink(name.c_str());
    return fail(code);
  }
  // The rename itself reaches the disk with the folder's own flush; a
  // folder that cannot be flushed still holds the whole new file.
  const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

}  // namespace kragmoor
