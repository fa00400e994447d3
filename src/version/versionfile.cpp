#include "versionfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "versionblock.h"

namespace helidisk {
namespace {

// A regular file opened for reading.  Opening does not block on a FIFO,
// and anything but a regular file reads as empty.
class FileByteSource final : public ByteSource {
 public:
  explicit FileByteSource(const std::string& fileName)
      : descriptor_(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {
    struct stat status {};
    if (descriptor_ >= 0 && ::fstat(descriptor_, &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_size > 0) {
      size_ = static_cast<std::uint64_t>(status.st_size);
    }
  }
  ~FileByteSource() override {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  std::uint64_t Size() const override { return size_; }

  bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    if (offset > size_ || out.size() > size_ - offset) return false;
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t count = ::pread(descriptor_, out.data() + done, out.size() - done,
                                    static_cast<off_t>(offset + done));
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) return false;
      done += static_cast<std::size_t>(count);
    }
    return true;
  }

 private:
  int descriptor_;
  std::uint64_t size_ = 0;
};

std::optional<ElfSectionRange> FindVersionSection(const ByteSource& file) {
  const std::optional<ElfSectionRange> section = FindElfSection(file, kVersionSectionName);
  if (!section || section->size == 0 || section->size > kMaxVersionBlockBytes) {
    return std::nullopt;
  }
  return section;
}

}  // namespace

std::uint32_t VersionBlockSize(const ByteSource& file) {
  const std::optional<ElfSectionRange> section = FindVersionSection(file);
  return section ? static_cast<std::uint32_t>(section->size) : 0;
}

bool ReadVersionBlock(const ByteSource& file, std::span<std::uint8_t> data) {
  const std::optional<ElfSectionRange> section = FindVersionSection(file);
  if (!section) return false;
  std::vector<std::uint8_t> block(std::min<std::uint64_t>(section->size, data.size()));
  if (!file.ReadAt(section->offset, block)) return false;
  std::copy(block.begin(), block.end(), data.begin());
  return true;
}

std::uint32_t GetFileVersionInfoSize(const std::string& fileName, std::uint32_t& handle) {
  handle = 0;
  return VersionBlockSize(FileByteSource(fileName));
}

bool GetFileVersionInfo(const std::string& fileName, std::uint32_t /*handle*/,
                        std::span<std::uint8_t> data) {
  return ReadVersionBlock(FileByteSource(fileName), data);
}

}  // namespace helidisk
