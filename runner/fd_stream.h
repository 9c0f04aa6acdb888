// Stream buffers over file descriptors for kragmoor-sim's standard input,
// script files and standard output, that report every failed read or write
// instead of taking it for the end of the input or dropping the output; and
// the opening of a script file, which never blocks.
#pragma once

#include <sys/types.h>

#include <array>
#include <stdexcept>
#include <streambuf>
#include <string>

namespace kragmoor {

// Opens the script file `path` for reading. It is opened without blocking,
// so that a FIFO with no writer cannot stall the open, and only a regular
// file is taken, or standard input itself named as a file (/dev/stdin): a
// FIFO, a device or a socket is read only as standard input, where the
// caller chose to wait for it. Returns the descriptor (blocking reads), or
// -1 with the whole message in `error` ("cannot open '<path>' : <reason>",
// "cannot read '<path>' : <reason>").
int OpenScriptInput(const std::string& path, std::string& error);

// Reads a descriptor with read(2). A failed read throws std::system_error
// with the errno value (std::generic_category), which the script reader
// reports naming its input; the end of the input is the end, nothing else.
class FdInBuffer final : public std::streambuf {
 public:
  explicit FdInBuffer(int fd) : fd_(fd) {}
  // Reads from `offset` on with pread(2), apart from the descriptor's own
  // offset: several such buffers read one file independently.
  FdInBuffer(int fd, off_t offset) : fd_(fd), offset_(offset) {}

 protected:
  int_type underflow() override;

 private:
  int fd_;
  off_t offset_ = -1;  // -1: read(2) at the descriptor's own offset
  std::array<char, 65536> buffer_{};
};

// What a failed write of an FdOutBuffer throws: the errno value and a
// message "cannot write <stream> : <reason>".
class WriteError : public std::runtime_error {
 public:
  WriteError(const std::string& stream, int error);
};

// Writes a descriptor with write(2), buffered; pubsync() (std::ostream's
// flush()) writes out the buffer. A failed write throws WriteError: an
// std::ostream over this buffer passes it on when its exceptions() include
// badbit, and sets badbit otherwise. The destructor writes nothing: flush
// before it.
class FdOutBuffer final : public std::streambuf {
 public:
  // `name` is how the message names the stream, e.g. "standard output".
  FdOutBuffer(int fd, std::string name);

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  void WriteOut();  // throws WriteError

  int fd_;
  std::string name_;
  std::array<char, 65536> buffer_{};
};

}  // namespace kragmoor
