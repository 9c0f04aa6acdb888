// The folder a script's files must lie in (--files DIR): a path resolved
// once, beneath an open descriptor of DIR, with no symbolic link followed.
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "game/platform/files.h"

namespace kragmoor {

namespace {

// `path` as a list of parts, with "." and empty parts left out and each
// ".." taking away the part before it; false when a ".." would go above
// the start.
bool Parts(std::string_view path, std::vector<std::string>& parts) {
  while (!path.empty()) {
    const auto slash = path.find('/');
    const std::string_view part = path.substr(0, slash);
    path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
    if (part.empty() || part == ".") continue;
    if (part != "..") {
      parts.emplace_back(part);
    } else if (parts.empty()) {
      return false;
    } else {
      parts.pop_back();
    }
  }
  return true;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : "/") + part;
  return joined;
}

// `inner` (absolute, without ".." above the root) relative to the folder
// `outer` (absolute parts), in `relative`; false when it is not inside it.
bool Beneath(const std::vector<std::string>& outer, const std::vector<std::string>& inner,
             std::vector<std::string>& relative) {
  if (inner.size() < outer.size()) return false;
  for (size_t i = 0; i < outer.size(); ++i) {
    if (inner[i] != outer[i]) return false;
  }
  relative.assign(inner.begin() + static_cast<std::ptrdiff_t>(outer.size()), inner.end());
  return true;
}

// Opens the folder `relative` beneath `root`, following no symbolic link:
// openat2 where the kernel has it, one openat per part where it does not.
// -1 with errno set (ELOOP for a link) on failure.
int OpenBeneath(int root, const std::vector<std::string>& relative) {
  const std::string joined = relative.empty() ? "." : Joined(relative);
  open_how how{};
  how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
  const long fd = syscall(SYS_openat2, root, joined.c_str(), &how, sizeof how);
  if (fd >= 0 || errno != ENOSYS) return static_cast<int>(fd);
  int folder = openat(root, ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
  for (const std::string& part : relative) {
    if (folder < 0) break;
    int next = openat(folder, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    int code = errno;
    struct stat info {};
    // A link opened or refused (ENOTDIR) with O_NOFOLLOW: told as a link.
    if (next >= 0
            ? fstat(next, &info) != 0 || !S_ISDIR(info.st_mode)
            : code == ENOTDIR && fstatat(folder, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
      code = S_ISLNK(info.st_mode) ? ELOOP : ENOTDIR;
      if (next >= 0) close(next);
      next = -1;
    }
    close(folder);
    folder = next;
    errno = code;
  }
  return folder;
}

std::string RealPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                         &std::free);
  return real == nullptr ? "" : real.get();
}

}  // namespace

ScriptFile::~ScriptFile() {
  if (folder >= 0) close(folder);
}

bool OpenScriptFile(const std::string& folder, const std::string& path, ScriptFile& file,
                    std::string& error) {
  if (folder.empty()) {
    error =
        "save and load touch no files unless the script is run with --files DIR "
        "(kragmoor-sim run --files DIR FILE, or check): then only files inside DIR";
    return false;
  }
  const std::string root = RealPath(folder);
  const int rootFd = root.empty() ? -1 : open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) {
    error = "the folder " + QuotedPath(folder) + " given with --files : " + std::strerror(errno);
    return false;
  }
  const auto slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string_view above(path.data(), slash == std::string::npos ? 0 : slash);
  std::vector<std::string> relative;
  bool inside = true;
  if (path.starts_with('/')) {
    // An absolute path names the folder by its real path or as it was given.
    std::vector<std::string> whole;
    std::vector<std::string> real;
    std::vector<std::string> given;
    char here[PATH_MAX];
    const std::string absolute = folder.starts_with('/') || getcwd(here, sizeof here) == nullptr
                                     ? folder
                                     : std::string(here) + "/" + folder;
    inside = Parts(above, whole) && Parts(root, real) &&
             (Beneath(real, whole, relative) ||
              (Parts(absolute, given) && Beneath(given, whole, relative)));
  } else {
    inside = Parts(above, relative);
  }
  if (!inside) {
    close(rootFd);
    error =
        QuotedPath(path) + " lies outside the folder " + QuotedPath(folder) + " given with --files";
    return false;
  }
  if (name.empty() || name == "." || name == "..") {
    close(rootFd);
    error = QuotedPath(path) + " names a folder, not a file";
    return false;
  }
  const int fd = OpenBeneath(rootFd, relative);
  const int code = errno;
  close(rootFd);
  if (fd < 0) {
    error = code == ELOOP ? QuotedPath(path) +
                                " passes through a symbolic link, which a script may not follow"
            : code == EXDEV ? QuotedPath(path) + " lies outside the folder " + QuotedPath(folder) +
                                  " given with --files"
                            : "cannot reach " + QuotedPath(path) + " : " + std::strerror(code);
    return false;
  }
  if (file.folder >= 0) close(file.folder);
  file.folder = fd;
  file.name = name;
  const std::string inner = Joined(relative);
  file.path = (root == "/" ? "" : root) + "/" + (inner.empty() ? "" : inner + "/") + name;
  struct stat info {};
  if (fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) {
    error = QuotedPath(path) + " is a symbolic link, which a script may not follow";
    return false;
  }
  return true;
}

bool ScriptFilePath(const std::string& folder, const std::string& path, std::string& resolved,
                    std::string& error) {
  ScriptFile file;
  if (!OpenScriptFile(folder, path, file, error)) return false;
  resolved = file.path;
  return true;
}

}  // namespace kragmoor
