#include "persist/compressed_container.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "persist/persist_messages.h"
#include "persist/replace_file.h"
#include "storage/zlib_buffer.h"

namespace vellum {

namespace {

constexpr size_t kHeaderSize = 4;

uint32_t readLength(std::string_view file) {
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(file[i])); };
  return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

void reportFault(const std::string& path, ContainerFault fault) {
  std::string_view suffix;
  switch (fault) {
    case ContainerFault::BadLength: suffix = persist_messages::kBadFileLength; break;
    case ContainerFault::NoMemory: suffix = persist_messages::kNoMemory; break;
    case ContainerFault::Inflate: suffix = persist_messages::kInflateFailed; break;
    case ContainerFault::Deflate: suffix = persist_messages::kSaveFailed; break;
    case ContainerFault::None: return;
  }
  showErrorBox(pathReport(path).gbk(suffix));
}

void reportSystemError(std::string_view operation, const std::string& path, int errorNumber) {
  showErrorBox(ReportText().ascii(operation).ascii("\n").add(pathReport(path)).ascii(" ").ascii(std::strerror(errorNumber)));
}

// Reads a whole regular file of at most the container's size. False with errorNumber set when it
// cannot be opened or read; badSize tells a size outside the container's range apart.
bool readContainerFile(const std::string& path, std::string& bytes, int& errorNumber, bool& badSize) {
  badSize = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    errorNumber = errno;
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    errorNumber = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return false;
  }
  if (info.st_size <= 0 || static_cast<uint64_t>(info.st_size) > kContainerMaxFileSize) {
    badSize = true;
    ::close(fd);
    return false;
  }
  bytes.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the file shrank under us: keep what is there
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  if (bytes.empty()) badSize = true;
  return !badSize;
}

}  // namespace

ReportText pathReport(const std::string& path) { return ReportText().gbk(fromUtf8(path, CodePage::Gbk)); }

bool plausiblePayloadLength(uint64_t length, size_t fileSize) {
  if (fileSize <= kHeaderSize) return false;
  return length <= kContainerMaxPayload && length <= static_cast<uint64_t>(fileSize - kHeaderSize) * kDeflateMaxRatio;
}

ContainerFault unpackContainer(std::string_view file, bool compressed, std::string& payload) {
  payload.clear();
  if (file.empty() || file.size() > kContainerMaxFileSize) return ContainerFault::BadLength;
  try {
    if (!compressed) {
      payload.assign(file);
      return ContainerFault::None;
    }
    // The header and at least one byte of stream.
    if (file.size() <= kHeaderSize) return ContainerFault::BadLength;
    const uint32_t length = readLength(file);
    if (!plausiblePayloadLength(length, file.size())) return ContainerFault::BadLength;
    payload.resize(length);
  } catch (const std::bad_alloc&) {
    payload.clear();
    return ContainerFault::NoMemory;
  }
  // The stream must hold exactly the announced length: longer fails as too long, shorter by count.
  size_t produced = 0;
  const InflateStatus status = inflateZlib(reinterpret_cast<const uint8_t*>(file.data() + kHeaderSize),
                                           file.size() - kHeaderSize, reinterpret_cast<uint8_t*>(payload.data()),
                                           payload.size(), produced);
  if (status != InflateStatus::Ok || produced != payload.size()) {
    payload.clear();
    return ContainerFault::Inflate;
  }
  return ContainerFault::None;
}

ContainerFault packContainer(std::string_view payload, bool compressed, std::string& file) {
  file.clear();
  try {
    if (!compressed) {
      // The reader takes no empty file and nothing over its size limit.
      if (payload.empty() || payload.size() > kContainerMaxFileSize) return ContainerFault::Deflate;
      file.assign(payload);
      return ContainerFault::None;
    }
    if (payload.size() > kContainerMaxPayload) return ContainerFault::Deflate;
    uLongf size = compressBound(payload.size());
    file.resize(kHeaderSize + size);
    const int status = compress2(reinterpret_cast<Bytef*>(file.data() + kHeaderSize), &size,
                                 reinterpret_cast<const Bytef*>(payload.data()), payload.size(), 9);
    if (status == Z_MEM_ERROR) {
      file.clear();
      return ContainerFault::NoMemory;
    }
    if (status != Z_OK) {
      file.clear();
      return ContainerFault::Deflate;
    }
    file.resize(kHeaderSize + size);
    for (int i = 0; i < 4; ++i) file[static_cast<size_t>(i)] = static_cast<char>((payload.size() >> (8 * i)) & 0xFF);
  } catch (const std::bad_alloc&) {
    file.clear();
    return ContainerFault::NoMemory;
  }
  // Never write what the reader would refuse.
  if (file.size() > kContainerMaxFileSize || !plausiblePayloadLength(payload.size(), file.size())) {
    file.clear();
    return ContainerFault::Deflate;
  }
  return ContainerFault::None;
}

int saveDataZlib(const std::string& path, bool compressed, std::string_view payload) {
  std::string file;
  const ContainerFault fault = packContainer(payload, compressed, file);
  if (fault != ContainerFault::None) {
    reportFault(path, fault);
    return -1;
  }
  int errorNumber = 0;
  if (!replaceFileContents(path, file, errorNumber)) {
    reportSystemError("saveDataZlib", path, errorNumber);
    return -1;
  }
  return 0;
}

int loadDataZlib(const std::string& path, bool compressed, std::string& payload) {
  payload.clear();
  std::string file;
  int errorNumber = 0;
  bool badSize = false;
  if (!readContainerFile(path, file, errorNumber, badSize)) {
    if (badSize) {
      reportFault(path, ContainerFault::BadLength);
    } else {
      reportSystemError("loadDataZlib", path, errorNumber);
    }
    return -1;
  }
  const ContainerFault fault = unpackContainer(file, compressed, payload);
  if (fault != ContainerFault::None) {
    reportFault(path, fault);
    return -1;
  }
  return 0;
}

}  // namespace vellum
