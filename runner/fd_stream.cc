// Stream buffers over file descriptors; opening a script file.
#include "runner/fd_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "game/platform/files.h"

namespace kragmoor {

int OpenScriptInput(const std::string& path, std::string& error) {
  const auto reason = [](int code) { return std::generic_category().message(code); };
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open " + QuotedPath(path) + " : " + reason(errno);
    return -1;
  }
  struct stat info {};
  struct stat input {};
  const auto refuse = [&](const std::string& why) {
    ::close(fd);
    error = "cannot read " + QuotedPath(path) + " : " + why;
    return -1;
  };
  if (::fstat(fd, &info) != 0) return refuse(reason(errno));
  if (S_ISDIR(info.st_mode)) return refuse(reason(EISDIR));
  const bool standardInput = ::fstat(STDIN_FILENO, &input) == 0 && input.st_dev == info.st_dev &&
                             input.st_ino == info.st_ino;
  if (!S_ISREG(info.st_mode) && !standardInput) {
    return refuse(
        std::string(S_ISFIFO(info.st_mode) ? "it is a FIFO" : "it is a device or socket") +
        ", not a regular file; give it as standard input ('-') to wait for it");
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return refuse(reason(errno));
  return fd;
}

FdInBuffer::int_type FdInBuffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  ssize_t count = 0;
  do {
    count = offset_ < 0 ? ::read(fd_, buffer_.data(), buffer_.size())
                        : ::pread(fd_, buffer_.data(), buffer_.size(), offset_);
  } while (count < 0 && errno == EINTR);
  if (count < 0) throw std::system_error(errno, std::generic_category());
  if (count == 0) return traits_type::eof();
  if (offset_ >= 0) offset_ += count;
  setg(buffer_.data(), buffer_.data(), buffer_.data() + count);
  return traits_type::to_int_type(*gptr());
}

WriteError::WriteError(const std::string& stream, int error)
    : std::runtime_error("cannot write " + stream + " : " +
                         std::generic_category().message(error)) {}

FdOutBuffer::FdOutBuffer(int fd, std::string name) : fd_(fd), name_(std::move(name)) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FdOutBuffer::int_type FdOutBuffer::overflow(int_type c) {
  WriteOut();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int FdOutBuffer::sync() {
  WriteOut();
  return 0;
}

void FdOutBuffer::WriteOut() {
  const char* next = pbase();
  while (next < pptr()) {
    const ssize_t count = ::write(fd_, next, static_cast<size_t>(pptr() - next));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      const int error = errno;
      setp(buffer_.data(), buffer_.data() + buffer_.size());  // what is lost stays lost
      throw WriteError(name_, error);
    }
    next += count;
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

}  // namespace kragmoor
