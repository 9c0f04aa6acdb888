// Saved games in chunks, and put together again.
#include "game/net/state_transfer.h"

#include "game/saved_game.h"

namespace kragmoor::net {

bool ChunksOf(const std::string& text, uint64_t frame, std::vector<StateChunk>& chunks) {
  const size_t count = text.empty() ? 1 : (text.size() + kMaxChunkBytes - 1) / kMaxChunkBytes;
  if (count > kMaxChunks) return false;
  chunks.clear();
  for (size_t i = 0; i < count; ++i) {
    StateChunk chunk;
    chunk.frame = frame;
    chunk.index = static_cast<uint32_t>(i);
    chunk.count = static_cast<uint32_t>(count);
    chunk.bytes = text.substr(i * kMaxChunkBytes, kMaxChunkBytes);
    chunks.push_back(std::move(chunk));
  }
  return true;
}

bool SessionChunks(const Session& session, uint64_t frame, std::vector<StateChunk>& chunks,
                   std::string& why) {
  std::string text;
  if (!SavedGameText(session, text, why)) return false;
  if (ChunksOf(text, frame, chunks)) return true;
  why = "the game's state is too large to send";
  return false;
}

bool ChunkAssembler::Add(StateChunk chunk, std::string& why) {
  if (complete() || count_ == 0) {
    if (chunk.index != 0) {
      why = "a state begins with chunk " + std::to_string(chunk.index);
      return false;
    }
    *this = ChunkAssembler{};
    frame_ = chunk.frame;
    count_ = chunk.count;
  } else if (chunk.index != next_ || chunk.count != count_ || chunk.frame != frame_) {
    why = "state chunk " + std::to_string(chunk.index) + " out of order";
    return false;
  }
  text_ += chunk.bytes;
  ++next_;
  return true;
}

}  // namespace kragmoor::net
