// What scripts and saves may touch: the --files folder rule (also while a
// folder is swapped for a link), saves that
// never replace anything but a saved game and keep its owner and mode,
// reads that refuse what is not a regular file without blocking, saves
// written back with CRLF or a byte-order mark, quoted header lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "game/platform/files.h"
#include "game/saved_game.h"
#include "game/session.h"
#include "runner/script.h"
#include "world/state_hash.h"

namespace kragmoor {
namespace {

namespace fs = std::filesystem;

// A fresh folder with an inner folder `in` (the one named with --files) and
// a file `out.txt` beside it that nothing may touch.
struct Folder {
  Folder() {
    fs::remove_all(root);
    fs::create_directories(root + "/in");
    std::ofstream(root + "/out.txt") << "keep\n";
  }
  ~Folder() { fs::remove_all(root); }
  std::string Read(const std::string& name) const {
    std::ifstream file(root + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  // One folder per test process: CTest runs the cases side by side.
  const std::string root = testing::TempDir() + "kragmoor_file_safety_" + std::to_string(getpid());
  const std::string in = root + "/in";
};

std::string Resolve(const std::string& folder, const std::string& path, bool& ok) {
  std::string resolved;
  std::string error;
  ok = ScriptFilePath(folder, path, resolved, error);
  return ok ? resolved : error;
}

TEST(ScriptFiles, OnlyInsideTheNamedFolder) {
  const Folder f;
  fs::create_directories(f.in + "/sub");
  fs::create_symlink(f.root, f.in + "/up");                      // a folder link leading out
  fs::create_symlink(f.root + "/out.txt", f.in + "/link.save");  // a final link
  bool ok = false;
  EXPECT_EQ(Resolve(f.in, "a.save", ok), f.in + "/a.save");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Resolve(f.in, "sub/../b.save", ok), f.in + "/b.save");
  EXPECT_EQ(Resolve(f.in, f.in + "/sub/c.save", ok), f.in + "/sub/c.save");
  EXPECT_TRUE(ok);
  for (const std::string& outside : {std::string("../out.txt"), std::string("sub/../../out.txt"),
                                     f.root + "/out.txt", std::string("/etc/passwd")}) {
    EXPECT_NE(Resolve(f.in, outside, ok).find("lies outside the folder"), std::string::npos)
        << outside;
    EXPECT_FALSE(ok);
  }
  // No link is followed, not even one that leads back inside.
  fs::create_symlink(f.in + "/sub", f.in + "/down");
  for (const std::string& linked : {std::string("up/out.txt"), std::string("down/d.save")}) {
    EXPECT_NE(Resolve(f.in, linked, ok).find("passes through a symbolic link"), std::string::npos)
        << linked;
    EXPECT_FALSE(ok);
  }
  EXPECT_NE(Resolve(f.in, "link.save", ok).find("symbolic link"), std::string::npos);
  EXPECT_NE(Resolve(f.in, "sub/..", ok).find("names a folder"), std::string::npos);
  EXPECT_NE(Resolve("", "a.save", ok).find("--files DIR"), std::string::npos);
  EXPECT_FALSE(ok);
}

TEST(ScriptFiles, SaveAndLoadThroughTheRunnerOnlyWithTheFolder) {
  const Folder f;
  const auto run = [](const std::string& script, const std::string& files, std::string& err) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream errors;
    ScriptOptions options;
    options.files = files;
    const int code = RunScript(in, out, errors, options);
    err = errors.str();
    return code;
  };
  std::string err;
  EXPECT_EQ(run("seed 9\nsave game.save\nseed 1\nload game.save\nprint view\n", f.in, err), 0)
      << err;
  EXPECT_EQ(f.Read("in/game.save").rfind(kSaveHeader, 0), 0u);
  EXPECT_EQ(run("save ../out.txt\n", f.in, err), 2);
  EXPECT_EQ(run("load ../out.txt\n", "", err), 2);
  EXPECT_NE(err.find("line 1: save and load touch no files unless"), std::string::npos) << err;
  EXPECT_EQ(f.Read("out.txt"), "keep\n");
}

// A folder inside DIR swapped again and again with a link to a folder
// outside, while scripts save and load in it: whichever the path meets, no
// save or load reaches outside and no temporary file is left behind.
TEST(ScriptFiles, AFolderSwappedForALinkNeverLeadsOut) {
  const Folder f;
  const std::string real = f.in + "/d";
  const std::string link = f.in + "/l";
  const std::string outside = f.root + "/outside";
  fs::create_directories(real);
  fs::create_directories(outside);
  fs::create_symlink(outside, link);
  if (renameat2(AT_FDCWD, real.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE) != 0) {
    GTEST_SKIP() << "no RENAME_EXCHANGE here";
  }
  // Outside: a saved game of another seed, which a load must never read
  // and a save (which replaces saved games) must never replace.
  Session other;
  other.world.seed = 4242;
  std::string text;
  std::string error;
  ASSERT_TRUE(SavedGameText(other, text, error)) << error;
  std::ofstream(outside + "/x.save") << text;
  struct stat before {};
  ASSERT_EQ(stat((outside + "/x.save").c_str(), &before), 0);

  const auto run = [&f](const std::string& script, std::string& out) {
    std::istringstream in(script);
    std::ostringstream output;
    std::ostringstream errors;
    ScriptOptions options;
    options.files = f.in;
    const int code = RunScript(in, output, errors, options);
    out = output.str();
    return code;
  };
  std::string expected;
  ASSERT_EQ(run("seed 9\nhash\n", expected), 0);

  std::atomic<bool> stop{false};
  std::thread swapper([&] {
    for (int i = 0; i < 1000000 && !stop; ++i) {
      renameat2(AT_FDCWD, real.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
    }
  });
  int loaded = 0;
  for (int i = 0; i < 1000; ++i) {
    std::string out;
    const int code = run("seed 9\nsave d/x.save\nload d/x.save\nhash\n", out);
    if (code == 0) {
      EXPECT_EQ(out, expected);  // the game saved, not the one outside
      ++loaded;
    }
  }
  stop = true;
  swapper.join();
  // How many runs met the real folder twice depends on the scheduler; with
  // the folder back in place, one more must save and load the game.
  if (!fs::is_symlink(link)) {
    ASSERT_EQ(renameat2(AT_FDCWD, real.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE), 0);
  }
  std::string out;
  EXPECT_EQ(run("seed 9\nsave d/x.save\nload d/x.save\nhash\n", out), 0);
  EXPECT_EQ(out, expected);
  RecordProperty("runs_that_loaded", loaded);

  struct stat after {};
  ASSERT_EQ(stat((outside + "/x.save").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(f.Read("outside/x.save"), text);
  for (const auto& entry : fs::recursive_directory_iterator(f.root)) {
    const std::string name = entry.path().filename();
    EXPECT_TRUE(name.find(".save.") == std::string::npos) << entry.path();
    if (entry.path().parent_path() == outside) {
      EXPECT_EQ(name, "x.save");
    }
  }
}

TEST(SafeSave, ReplacesOnlyAWritableSavedGame) {
  const Folder f;
  const std::string save = "# kragmoor save 1\nnew\n";
  std::string error;
  const auto refused = [&](const std::string& path, const std::string& why) {
    EXPECT_FALSE(WriteFileAtomically(path, save, kSaveFormat, error)) << path;
    EXPECT_NE(error.find(why), std::string::npos) << error;
  };
  refused(f.root + "/out.txt", "not a file of this kind");
  EXPECT_EQ(f.Read("out.txt"), "keep\n");
  const std::string fifo = f.in + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  refused(fifo, "not a regular file");
  refused("/dev/null", "not a regular file");
  fs::create_symlink(f.root + "/out.txt", f.in + "/link.save");
  refused(f.in + "/link.save", "symbolic link");
  EXPECT_EQ(f.Read("out.txt"), "keep\n");

  // An old save: replaced; its owner and mode kept, set-id bits dropped.
  const std::string old = f.in + "/old.save";
  std::ofstream(old) << "\xef\xbb\xbf# kragmoor save 7\r\nold\r\n";
  ASSERT_EQ(chmod(old.c_str(), 04640), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(old.c_str(), 4321, 4321), 0);
  }
  ASSERT_TRUE(WriteFileAtomically(old, save, kSaveFormat, error)) << error;
  struct stat info {};
  ASSERT_EQ(stat(old.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(info.st_uid, 4321u);
  }
  EXPECT_EQ(f.Read("in/old.save"), save);

  ASSERT_EQ(chmod(old.c_str(), 0444), 0);  // write-protected, even for root
  refused(old, "write-protected");
  EXPECT_EQ(f.Read("in/old.save"), save);
}

TEST(SafeSave, ReadsRefuseWhatIsNotARegularFileWithoutBlocking) {
  const Folder f;
  const std::string fifo = f.in + "/fifo.save";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string text;
  std::string error;
  EXPECT_FALSE(ReadSmallFile(fifo, 100, text, error));  // returns: no writer is waited for
  EXPECT_EQ(error, "it is not a regular file");
  Session game;
  EXPECT_FALSE(LoadSavedGame(f.in, game, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST(SafeSave, CrlfAndByteOrderMarkLoadAndHeadersAreQuoted) {
  Session saved;
  saved.world.seed = 17;
  std::string text;
  std::string error;
  ASSERT_TRUE(SavedGameText(saved, text, error));
  std::string crlf = "\xef\xbb\xbf";
  for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  Session loaded;
  ASSERT_TRUE(LoadSavedGameText(crlf, loaded, error)) << error;
  EXPECT_EQ(StateHash(loaded), StateHash(saved));

  // A huge header with terminal escapes: a short, harmless message.
  const std::string hostile = "# kragmoor save \x1b]0;x\x07" + std::string(30 << 20, '9') + "\n";
  EXPECT_FALSE(LoadSavedGameText(hostile, loaded, error));
  EXPECT_LT(error.size(), 200u);
  EXPECT_EQ(error.find('\x1b'), std::string::npos) << error;
  EXPECT_NE(error.find("version '\\x1b]0;x\\x07999"), std::string::npos) << error;
}

}  // namespace
}  // namespace kragmoor
