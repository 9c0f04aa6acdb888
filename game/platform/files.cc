// Whole files with POSIX calls, relative to a folder's descriptor: open and
// read; a temporary file, write, fsync, rename; what a write may replace.
#include "game/platform/files.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/quote.h"

namespace kragmoor {

namespace {

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

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

// Opens a file for reading without blocking and without following a final
// symbolic link; -1 (errno set) for anything but a regular file.
int OpenRegular(int folder, const std::string& path, struct stat& info) {
  const int fd = openat(folder, path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

bool StartsWith(int fd, std::string_view start) {
  char head[128];
  size_t got = 0;
  const size_t want = kByteOrderMark.size() + start.size();
  while (got < want && got < sizeof head) {
    const ssize_t n = read(fd, head + got, sizeof head - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  std::string_view text(head, got);
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text.starts_with(start);
}

// Why the file `path` in `folder` may not be replaced by a write, or empty
// when it may (it does not exist, or is a writable regular file starting
// with `replaces`; an empty one too when `emptyToo`). `info` is its status.
std::string WhyNotReplaced(int folder, const std::string& path, std::string_view replaces,
                           bool emptyToo, bool& exists, struct stat& info) {
  exists = false;
  if (fstatat(folder, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno == ENOENT ? "" : std::strerror(errno);
  }
  exists = true;
  if (S_ISLNK(info.st_mode)) return "it is a symbolic link, which is never replaced";
  if (!S_ISREG(info.st_mode)) return "it is not a regular file, which is never replaced";
  // Root may write anything: the permission bits alone say it is protected.
  if ((info.st_mode & 0222) == 0 || faccessat(folder, path.c_str(), W_OK, 0) != 0) {
    return "it is write-protected";
  }
  if (emptyToo && info.st_size == 0) return "";
  struct stat opened {};
  const int fd = OpenRegular(folder, path, opened);
  if (fd < 0) return std::strerror(errno);
  const bool same = StartsWith(fd, replaces);
  close(fd);
  if (!same) {
    return "it exists and is not a file of this kind (its first line does not start with " +
           Quoted(replaces) + "), so it is not replaced";
  }
  return "";
}

// Creates a new file `name`.XXXXXX (six random letters) in `folder`,
// readable and writable by its owner only; -1 with errno set on failure.
int CreateTemporary(int folder, const std::string& name, std::string& temporary) {
  static constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[6] = {};
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
      const auto now =
          static_cast<unsigned>(getpid()) * 2654435761u + static_cast<unsigned>(attempt);
      for (size_t i = 0; i < sizeof random; ++i)
        random[i] = static_cast<unsigned char>(now >> (i * 5));
    }
    temporary = name + ".";
    for (const unsigned char r : random) temporary += kLetters[r % kLetters.size()];
    const int fd = openat(folder, temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Reads the whole of `path` in `folder`, opened with `flags` besides
// O_RDONLY and O_NONBLOCK.
bool ReadAt(int folder, const std::string& path, int flags, size_t maxBytes, std::string& text,
            std::string& error) {
  const int fd = openat(folder, path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | flags);
  if (fd < 0) {
    error = errno == ELOOP && (flags & O_NOFOLLOW) != 0
                ? "it is a symbolic link, which is not followed"
                : std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "it is not a regular file";
    close(fd);
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

}  // namespace

std::string QuotedPath(std::string_view path) { return Quoted(path, kShownPathChars); }

bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string& text,
                   std::string& error) {
  return ReadAt(AT_FDCWD, path, 0, maxBytes, text, error);
}

bool ReadSmallFileAt(int folder, const std::string& name, size_t maxBytes, std::string& text,
                     std::string& error) {
  return ReadAt(folder, name, O_NOFOLLOW, maxBytes, text, error);
}

bool FileStartsWith(const std::string& path, std::string_view start) {
  struct stat info {};
  const int fd = OpenRegular(AT_FDCWD, path, info);
  if (fd < 0) return false;
  const bool same = StartsWith(fd, start);
  close(fd);
  return same;
}

bool WriteFileAtomically(const std::string& path, std::string_view content,
                         std::string_view replaces, std::string& error) {
  const auto slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const int folder = open(FolderOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    error = "cannot write " + QuotedPath(path) + " : " + std::strerror(errno);
    return false;
  }
  const bool ok = WriteFileAtomicallyAt(folder, name, path, content, replaces, error);
  close(folder);
  return ok;
}

bool WriteFileAtomicallyAt(int folder, const std::string& name, const std::string& shown,
                           std::string_view content, std::string_view replaces,
                           std::string& error) {
  const auto fail = [&](const std::string& why) {
    error = "cannot write " + QuotedPath(shown) + " : " + why;
    return false;
  };
  if (name.empty() || name == "." || name == "..") {
    return fail("it is not a regular file, which is never replaced");
  }
  bool exists = false;
  struct stat old {};
  const std::string why = WhyNotReplaced(folder, name, replaces, false, exists, old);
  if (!why.empty()) return fail(why);

  std::string temporary;
  const int fd = CreateTemporary(folder, name, temporary);
  if (fd < 0) return fail(std::strerror(errno));

  // The owner first: changing it clears set-id bits, and none are kept.
  if (exists && (old.st_uid != geteuid() || old.st_gid != getegid()) &&
      fchown(fd, old.st_uid, old.st_gid) != 0) {
    const int code = errno;
    close(fd);
    unlinkat(folder, temporary.c_str(), 0);
    return fail("its owner cannot be kept (" + std::string(std::strerror(code)) + ")");
  }
  const mode_t mode = exists ? (old.st_mode & 0777) : NewFileMode();
  bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, content) && fsync(fd) == 0;
  int code = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    code = errno;
  }
  if (ok && renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    unlinkat(folder, temporary.c_str(), 0);
    return fail(std::strerror(code));
  }
  // The rename itself reaches the disk with the folder's own flush; a
  // folder that cannot be flushed still holds the whole new file.
  const int flushed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (flushed >= 0) {
    fsync(flushed);
    close(flushed);
  }
  return true;
}

int OpenToReplace(const std::string& path, std::string_view replaces, std::string& error) {
  bool exists = false;
  struct stat old {};
  const std::string why = WhyNotReplaced(AT_FDCWD, path, replaces, true, exists, old);
  if (!why.empty()) {
    error = "cannot write " + QuotedPath(path) + " : " + why;
    return -1;
  }
  // O_NOFOLLOW and O_NONBLOCK: whatever took the file's place since, no
  // link is followed and no FIFO blocks; it is emptied once known regular.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ftruncate(fd, 0) != 0) {
    const int code = fd < 0 ? errno : (S_ISREG(info.st_mode) ? errno : EINVAL);
    if (fd >= 0) close(fd);
    error = "cannot write " + QuotedPath(path) + " : " + std::strerror(code);
    return -1;
  }
  return fd;
}

}  // namespace kragmoor
