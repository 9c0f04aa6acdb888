// A whole game sent over the network: its saved game's text cut into
// chunks below the message limit, and put together again on the other end
// with every chunk checked against the first. No Qt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/net/wire.h"
#include "game/session.h"

namespace kragmoor::net {

// The chunks of `text` (at most kMaxChunks of kMaxChunkBytes), all naming
// `frame`. False when the text is too long for that.
bool ChunksOf(const std::string& text, uint64_t frame, std::vector<StateChunk>& chunks);

// The saved game's chunks of `session` after `frame` frames; false with why.
bool SessionChunks(const Session& session, uint64_t frame, std::vector<StateChunk>& chunks,
                   std::string& why);

// Puts chunks together, in order. Add returns false, with why, for a chunk
// out of order or whose frame or count differs from the first's.
class ChunkAssembler {
 public:
  bool Add(StateChunk chunk, std::string& why);
  bool complete() const { return count_ > 0 && next_ == count_; }
  uint64_t frame() const { return frame_; }
  const std::string& text() const { return text_; }
  void Clear() { *this = ChunkAssembler{}; }

 private:
  uint64_t frame_ = 0;
  uint32_t count_ = 0;  // 0: no chunk yet
  uint32_t next_ = 0;
  std::string text_;
};

}  // namespace kragmoor::net
