// Mounts of a test's own on POSIX systems (Linux): small and read-only file systems in a mount
// namespace of the test process, for the saves that a full or read-only disk refuses.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "tests/fixture.h"

namespace kegverter::testing {

Mounts::Mounts() {
  if (unshare(CLONE_NEWNS) != 0) {
    why_ = std::string("cannot make a mount namespace: ") + std::strerror(errno);
  } else if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    why_ = std::string("cannot make the mounts private: ") + std::strerror(errno);
  }
}

Mounts::~Mounts() {
  for (auto it = mounted_.rbegin(); it != mounted_.rend(); ++it) umount2(it->c_str(), MNT_DETACH);
}

bool Mounts::Small(const std::string& folder, int kib) {
  const std::string size = "size=" + std::to_string(kib) + "k";
  return Mounted(folder, mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()));
}

bool Mounts::ReadOnly(const std::string& source, const std::string& folder) {
  if (!Mounted(folder, mount(source.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr))) {
    return false;
  }
  const int remounted =
      mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr);
  if (remounted != 0) why_ = std::string("cannot remount read-only: ") + std::strerror(errno);
  return remounted == 0;
}

bool Mounts::Mounted(const std::string& folder, int result) {
  if (result != 0) {
    why_ = "cannot mount " + folder + ": " + std::strerror(errno);
    return false;
  }
  mounted_.push_back(folder);
  return true;
}

std::string FillFileSystem(const std::string& path) {
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (file < 0) return "cannot create " + path + ": " + std::strerror(errno);
  const std::string block(4096, 'x');
  while (write(file, block.data(), block.size()) > 0) {
  }
  while (write(file, block.data(), 1) > 0) {
  }
  const int error = errno;
  close(file);
  if (error != ENOSPC) return path + ": stopped by " + std::strerror(error) + ", not a full disk";
  return std::string();
}

std::uint64_t FreeBytes(const std::string& path) {
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) return 0;
  return static_cast<std::uint64_t>(info.f_bfree) * info.f_frsize;
}

}  // namespace kegverter::testing
