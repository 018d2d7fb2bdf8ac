// The file-system operations of the core. Paths are UTF-8 on every platform; on Windows they are
// opened by their UTF-16 names (files_windows.cc), so any name works, and paths longer than the
// old 260-character limit too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kegverter {

/// Sets `size` for an existing regular file; otherwise false with the reason in `error`
/// ("No such file or directory", "is a directory", ...).
bool RegularFileSize(const std::string& path, std::uint64_t& size, std::string& error);

/// Opens a file for reading in binary mode; null with the reason in `error` when it cannot be
/// opened. Others may read the file meanwhile but not change it, where the system can say so.
std::FILE* OpenForReading(const std::string& path, std::string& error);

/// Reads up to `size` bytes into `buffer` from a file that OpenForReading just opened, before
/// anything was read through the stream: straight from the system where it can, in as few calls
/// as the file allows. Returns how many bytes came; fewer than `size` at the end of the file,
/// or with `failed` set on a read error.
std::size_t ReadAtStart(std::FILE* file, void* buffer, std::size_t size, bool& failed);

/// Moves an open file's position forward; false when the system refuses.
bool SeekForward(std::FILE* file, std::uint64_t count);

/// Writes `content` to a new temporary file beside `path`, then renames it over `path` in one
/// step. The temporary file is created exclusively under a short name of its own (see
/// TemporaryPathBeside), so it can neither clobber another file nor make a name that fits fail.
/// The previous file at `path`, if any, stays untouched unless the whole content was written.
/// False with the reason in `error` when anything fails; the temporary file is removed then.
bool ReplaceFileContent(const std::string& path, std::string_view content, std::string& error);

/// The same with content that `write` writes to the open temporary file, so that it need not be
/// held in memory; `write` returns false when a write failed (with errno telling why). `write`
/// is called only once the temporary file is open; when it throws, the temporary file is removed
/// and the exception goes on.
bool ReplaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string& error);

/// The name of a temporary file in `path`'s folder: ".kv" and `tag` as eight hexadecimal digits,
/// then ".tmp" (15 characters, whatever the length of `path`'s own name). Never fails.
std::string TemporaryPathBeside(const std::string& path, std::uint32_t tag);
/// Creates `path`, which must not exist yet, and has `write` write it, without a temporary file
/// and without flushing it to disk: for a caller whose `path` is its own temporary name, which it
/// flushes (FlushFilesToDisk) and renames itself. False with the reason in `error` when anything
/// fails; `path` is removed then, and when `write` throws.
bool WriteNewFile(const std::string& path, const std::function<bool(std::FILE*)>& write,
                  std::string& error);

/// Renames `from` over `to` in one step, replacing a file at `to`, as the atomic replace does
/// (on Windows a read-only file at `to` is not replaced, as Windows itself refuses it). False
/// with the reason in `error`; `from` is then left where it was.
bool RenameOver(const std::string& from, const std::string& to, std::string& error);

/// A name for a temporary file beside `path`: TemporaryPathBeside with a random tag, short
/// whatever the length of `path`'s own name, and unlikely to exist.
std::string TemporaryPathFor(const std::string& path);

/// A file written under a temporary name beside its final path and renamed over that path only
/// once it is complete, so that the final path holds either the previous file or the whole new
/// one. The temporary file is removed when the writer is destroyed without a successful Commit.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  /// Creates the temporary file for `path`; false with the reason in `error` (`path` is a
  /// folder, the folder is not writable, ...).
  bool Open(const std::string& path, std::string& error);
  /// The open temporary file, or null before Open and after Commit.
  std::FILE* file() const { return file_; }
  /// Flushes the temporary file to disk and renames it over the final path. False with the
  /// reason in `error` when any of that fails (a write error the stream kept included); the
  /// temporary file is removed then and the final path is left as it was.
  bool Commit(std::string& error);

 private:
  void Abandon();

  std::string path_;
  std::string temporary_;
  std::unique_ptr<char[]> buffer_;  // the stream's; it outlives the stream, closed first
  std::FILE* file_ = nullptr;
};

/// The temporary name an output is staged under until it is put in place:
/// TemporaryPathBeside with a tag made from `path` and `attempt` (0 first), so that it depends on
/// nothing but the output path, and the outputs of a run, which never share a path, hardly ever
/// share one. A name that exists is passed over for the next attempt. Never fails.
std::string StagingPathFor(const std::string& path, unsigned attempt);

/// Where this process can give a name to a file created without one (Linux, with /proc), the
/// number of such files a run may hold open at once: half the descriptors it may open. 0
/// elsewhere.
int UnnamedFileLimit();

/// An output written now and put at its path later, together with others (CommitStaged): the
/// flush to disk that must come before a file gets its name is then one wait for many files.
/// The file is written without a name where the system has such files and its descriptor is
/// below `unnamed_limit` (see UnnamedFileLimit; 0: never), else under a new temporary name
/// beside the path (StagingPathFor; a name that is taken is passed over, and never opened nor
/// removed). Without a name, giving it one is a single step in its folder, and nothing is left
/// behind whatever happens to the process. Destroyed before it is committed, it discards what it
/// wrote.
class StagedOutput {
 public:
  StagedOutput() = default;
  StagedOutput(std::string path, int unnamed_limit)
      : path_(std::move(path)), unnamed_limit_(unnamed_limit) {}
  ~StagedOutput() { Discard(); }
  StagedOutput(StagedOutput&& other) noexcept { *this = std::move(other); }
  StagedOutput& operator=(StagedOutput&& other) noexcept;
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  /// Creates the file and has `write` write it. False with the reason in `error` when anything
  /// fails; nothing is left then, nor when `write` throws (the exception goes on).
  bool Write(const std::function<bool(std::FILE*)>& write, std::string& error);
  /// A complete file is waiting for its name.
  bool written() const { return descriptor_ >= 0 || !temporary_.empty(); }
  const std::string& path() const { return path_; }
  /// Removes what was written and not committed.
  void Discard();

 private:
  friend std::vector<std::string> CommitStaged(const std::vector<StagedOutput*>& outputs);

  std::string path_;
  int unnamed_limit_ = 0;
  std::string temporary_;  // written under this name
  int descriptor_ = -1;    // written without a name: the open file
};

/// Flushes the written outputs to disk, with one wait per file system where the system allows,
/// then puts each at its path, replacing a file there (as RenameOver does). Returns one text per
/// output: empty when it is in place, else why not (what it wrote is then discarded).
std::vector<std::string> CommitStaged(const std::vector<StagedOutput*>& outputs);

/// What one look at a path tells.
struct FileInfo {
  enum class Type : std::uint8_t { Regular, Directory, Symlink, Other };
  Type type = Type::Other;
  const char* other = "";        ///< for Type::Other: "a FIFO", "a socket", "a device", ...
  std::uint64_t size = 0;        ///< bytes, for a regular file
  std::int64_t modified_ns = 0;  ///< last modification, nanoseconds since the epoch
};

/// Looks at `path`, through symbolic links when `follow` is true (else a link is Type::Symlink).
/// False with the reason in `error` when the path does not exist or cannot be looked at (a
/// dangling link or a loop of links when following).
bool StatPath(const std::string& path, bool follow, FileInfo& info, std::string& error);

/// Makes the content of these files durable, however many there are, with as few waits for the
/// disk as the system allows: one flush of each file system they are on where it can (Linux),
/// otherwise one per file. False with the reason in `error` when any flush failed.
bool FlushFilesToDisk(const std::vector<std::string>& paths, std::string& error);

/// The system's text for an error number; safe to call from several threads at once.
std::string ErrorText(int error_number);

}  // namespace kegverter
