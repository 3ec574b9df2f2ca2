// The small file container shared by setting.dat, already.dat and the save slots. Compressed form:
// the payload length as 4 bytes little-endian, then the payload as one zlib stream (level 9).
// Plain form: the payload bytes alone. Either way a file holds 1 byte to 1 MiB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/report.h"

namespace vellum {

constexpr size_t kContainerMaxFileSize = 1u << 20;
// The largest payload a compressed file may announce. zlib cannot shrink data by more than about
// 1:1032, so a length field beyond that ratio for the file's size is damage, never data; the hard
// cap keeps a damaged field from asking for a huge block.
constexpr size_t kContainerMaxPayload = 64u << 20;
constexpr size_t kDeflateMaxRatio = 1032;

enum class ContainerFault { None, BadLength, NoMemory, Inflate, Deflate };

// The container format without files, for the readers and writers and for tests.
ContainerFault unpackContainer(std::string_view file, bool compressed, std::string& payload);
ContainerFault packContainer(std::string_view payload, bool compressed, std::string& file);

// Whether a compressed file of fileSize bytes may announce a payload of `length` bytes.
bool plausiblePayloadLength(uint64_t length, size_t fileSize);

// Stores the payload at `path` (replacing the old file only once the new one is complete).
// Returns 0 on success, -1 after reporting the failure.
int saveDataZlib(const std::string& path, bool compressed, std::string_view payload);
// Reads the payload of the file at `path`. Returns 0 on success, -1 after reporting the failure;
// the payload is left empty then.
int loadDataZlib(const std::string& path, bool compressed, std::string& payload);

// A file-system path (UTF-8) as report text.
ReportText pathReport(const std::string& path);

}  // namespace vellum
