#include "outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

namespace helidisk {
namespace {

constexpr mode_t kPermissionBits = S_IRWXU | S_IRWXG | S_IRWXO;

std::string SystemReason(int error) { return std::generic_category().message(error); }

// An open file descriptor, closed when it goes out of scope unless Close
// was called to see whether closing succeeded.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  // Some file systems report a failed write only when the file is closed.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// All of the bytes, through partial writes and interrupted calls; returns
// 0 or the error.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// A new file beside `target` that no other file had: O_EXCL makes sure, and
// a clash with someone else's name only costs another try.  Created with
// 0666 so that the umask applies as for any new file.
int CreateTemporaryBeside(const std::string& target, std::string& temporaryPath) {
  constexpr int kAttempts = 100;
  std::minstd_rand generator(
      static_cast<std::uint_fast32_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      static_cast<std::uint_fast32_t>(::getpid()));
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    temporaryPath = target + ".~" + std::to_string(generator());
    const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Fills the open temporary file and gives it the replaced file's permission
// bits; returns 0 or the error.
int FillTemporary(Descriptor& file, std::string_view bytes, std::optional<mode_t> permissions) {
  if (const int error = WriteAll(file.Get(), bytes); error != 0) return error;
  if (permissions && ::fchmod(file.Get(), *permissions) != 0) return errno;
  // On disk before the rename, so that a crash cannot leave an empty file
  // under the old name; a file system that cannot sync says EINVAL.
  if (::fsync(file.Get()) != 0 && errno != EINVAL) return errno;
  if (!file.Close()) return errno;
  return 0;
}

// Into a temporary file beside the target, renamed over it only when all of
// it is written.
bool WriteAtomically(const std::string& target, std::string_view bytes,
                     std::optional<mode_t> permissions, std::string& reason) {
  std::string temporaryPath;
  Descriptor file(CreateTemporaryBeside(target, temporaryPath));
  if (!file.IsOpen()) {
    reason = SystemReason(errno);
    return false;
  }
  int error = FillTemporary(file, bytes, permissions);
  if (error == 0 && ::rename(temporaryPath.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporaryPath.c_str());
    reason = SystemReason(error);
    return false;
  }
  return true;
}

// A pipe or device is opened as it is, without creating or truncating
// anything: a device has no length to cut, and a pipe must stay the one its
// reader listens on.
bool WriteInPlace(const std::string& path, std::string_view bytes, std::string& reason) {
  Descriptor target(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
  int error = target.IsOpen() ? WriteAll(target.Get(), bytes) : errno;
  if (error == 0 && !target.Close()) error = errno;
  if (error != 0) {
    reason = SystemReason(error);
    return false;
  }
  return true;
}

bool IsSymbolicLink(const std::string& path) {
  struct stat link {};
  return ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
}

// The file a symbolic link ends in, so that the rename replaces that file
// and not the link; any other path as it stands.
std::optional<std::string> FileBehind(const std::string& path, std::string& reason) {
  if (!IsSymbolicLink(path)) return path;
  std::error_code error;
  const std::filesystem::path target = std::filesystem::canonical(path, error);
  if (error) {
    reason = error.message();
    return std::nullopt;
  }
  return target.string();
}

bool ReplaceRegularFile(const std::string& path, std::string_view bytes, mode_t mode,
                        std::string& reason) {
  const std::optional<std::string> target = FileBehind(path, reason);
  return target && WriteAtomically(*target, bytes, mode & kPermissionBits, reason);
}

bool WriteNewFile(const std::string& path, std::string_view bytes, std::string& reason) {
  if (IsSymbolicLink(path)) {
    reason = "Is a symbolic link to nothing";
    return false;
  }
  return WriteAtomically(path, bytes, std::nullopt, reason);
}

}  // namespace

bool WriteOutputFile(const std::string& path, std::string_view bytes, std::string& reason) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) != 0) {
    if (errno == ENOENT) return WriteNewFile(path, bytes, reason);
    reason = SystemReason(errno);
    return false;
  }
  switch (existing.st_mode & S_IFMT) {
    case S_IFREG:
      return ReplaceRegularFile(path, bytes, existing.st_mode, reason);
    case S_IFIFO:
    case S_IFCHR:
    case S_IFBLK:
      return WriteInPlace(path, bytes, reason);
    case S_IFDIR:
      reason = SystemReason(EISDIR);
      return false;
    default:  // a socket, the one kind left
      reason = "Is a socket";
      return false;
  }
}

}  // namespace helidisk
