// The processes a bot program started, however it left them: its process
// group and session, its descendants, and every process that still carries
// the marker the bot was started with in its environment (one that called
// setsid and lost its parent). Linux /proc; elsewhere only the group.
#pragma once

#include <sys/types.h>

#include <span>
#include <string>
#include <vector>

namespace kragmoor {

// Makes this process the reaper of its orphaned descendants (Linux
// PR_SET_CHILD_SUBREAPER), so that what a bot leaves behind becomes our
// child, can be ended and is reaped here. Once per process; later calls
// do nothing.
void AdoptOrphans();

// The environment entry a bot's processes inherit, unique in this process.
std::string NewBotMarker();

// Every process, other than this one, that belongs to the bot `bot`: in its
// process group or session, below it, or with `marker` in its environment.
std::vector<pid_t> BotFamily(pid_t bot, const std::string& marker);

// Reaps those of `pids` that are or soon become children of this process
// (after they were killed), waiting for each a few milliseconds at most.
void ReapFamily(std::span<const pid_t> pids);

}  // namespace kragmoor
