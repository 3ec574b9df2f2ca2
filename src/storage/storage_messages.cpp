#include "storage/storage_messages.h"

#include <cstring>
#include <string>

#include "base/report.h"
#include "base/text_encoding.h"

namespace vellum {

namespace {

// " メモリを確保出来ませんでした" (Shift-JIS), followed by the step tag and the capacity.
constexpr std::string_view kOutOfMemory =
    " \x83\x81\x83\x82\x83\x8a\x82\xf0\x8a\x6d\x95\xdb\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5"
    "\x82\xb5\x82\xbd";

// File-system names are UTF-8; the report keeps the engine's bytes, so they go in as GBK.
ReportText& addFileSystemPath(ReportText& text, std::string_view path) {
  return text.gbk(fromUtf8(path, CodePage::Gbk));
}

ReportText& addErrorText(ReportText& text, int error) {
  char buffer[128];
  return text.ascii(" ").ascii(errorText(error, buffer));
}

}  // namespace

namespace {

// The GNU strerror_r may return a static text instead of filling the buffer; the POSIX one (musl's,
// on the web) fills the buffer and returns 0.
[[maybe_unused]] std::string_view strerrorResult(const char* text, const char*) { return text; }
[[maybe_unused]] std::string_view strerrorResult(int, const char* buffer) { return buffer; }

}  // namespace

std::string_view errorText(int error, char (&buffer)[128]) {
  return strerrorResult(strerror_r(error, buffer, sizeof buffer), buffer);
}

void reportArchiveOpenFailed(std::string_view path, int error) {
  ReportText text;
  text.gbk(path);
  addErrorText(text, error).ascii("(openFile1)");
  errorc(text, true);
}

void reportEntryOutsideArchive(std::string_view path, std::string_view archivePath, uint64_t offset,
                               uint64_t size, uint64_t archiveSize) {
  ReportText text;
  text.gbk(path).ascii(" lies outside its archive ");
  addFileSystemPath(text, archivePath)
      .ascii(" (offset ")
      .number(static_cast<long long>(offset))
      .ascii(", size ")
      .number(static_cast<long long>(size))
      .ascii(", archive size ")
      .number(static_cast<long long>(archiveSize))
      .ascii(")(openFile2)");
  errorc(text, true);
}

void reportLooseOpenFailed(std::string_view fileSystemPath, int error) {
  ReportText text;
  addFileSystemPath(text, fileSystemPath);
  addErrorText(text, error).ascii("(openFile3)");
  errorc(text, true);
}

void reportLoadOpenFailed(std::string_view path, int error) {
  ReportText text;
  text.gbk(path);
  addErrorText(text, error).ascii("(loadFile1)");
  errorc(text, true);
}

void reportLoadMemory(std::string_view path, LoadAllocation step, uint32_t capacity) {
  ReportText text;
  text.gbk(path)
      .sjis(kOutOfMemory)
      .ascii("(loadFile")
      .number(static_cast<int>(step))
      .ascii(")")
      .number(capacity);
  errorc(text, true);
}

void reportShortRead(std::string_view path, uint64_t got, uint64_t wanted) {
  ReportText text;
  text.gbk(path)
      .ascii(" read ")
      .number(static_cast<long long>(got))
      .ascii(" of ")
      .number(static_cast<long long>(wanted))
      .ascii(" bytes(loadFile6)");
  errorc(text, true);
}

void reportImplausibleSize(std::string_view path, uint64_t unpackedSize, uint64_t storedSize) {
  ReportText text;
  text.gbk(path)
      .ascii(" unpacked size ")
      .number(static_cast<long long>(unpackedSize))
      .ascii(" cannot come from ")
      .number(static_cast<long long>(storedSize))
      .ascii(" compressed bytes(loadFile7)");
  errorc(text, true);
}

void reportOverLoadLimit(std::string_view path, uint64_t size, uint64_t limit) {
  ReportText text;
  text.gbk(path)
      .ascii(" size ")
      .number(static_cast<long long>(size))
      .ascii(" is over the load limit of ")
      .number(static_cast<long long>(limit))
      .ascii(" bytes(loadFile7)");
  errorc(text, true);
}

void reportTruncatedIndexHeader(std::string_view archivePath) {
  ReportText text;
  addFileSystemPath(text, archivePath).ascii(" index header is truncated(readArchiveIndex)");
  errorc(text, true);
}

void reportTruncatedIndex(std::string_view archivePath, uint64_t entriesRead, uint64_t count) {
  ReportText text;
  addFileSystemPath(text, archivePath)
      .ascii(" index is truncated: ")
      .number(static_cast<long long>(entriesRead))
      .ascii(" of ")
      .number(static_cast<long long>(count))
      .ascii(" entries read(readArchiveIndex)");
  errorc(text, true);
}

}  // namespace vellum
