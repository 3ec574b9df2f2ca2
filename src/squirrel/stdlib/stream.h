// The stream behind blob and file objects: a read/write position over bytes. Both classes get the
// same stream methods (readn, writen, readblob, writeblob, seek, tell, len, eos, flush).
#pragma once

#include <vellum/squirrel.h>

#include <cstddef>
#include <cstdint>

namespace vellum::sqstd {

class Stream {
 public:
  virtual ~Stream() = default;
  // Both return the number of bytes moved.
  virtual size_t read(void* buffer, size_t size) = 0;
  virtual size_t write(const void* buffer, size_t size) = 0;
  enum class Origin { Begin, Current, End };
  // False when the position would leave the stream (or the stream cannot seek).
  virtual bool seek(int64_t offset, Origin origin) = 0;
  virtual int64_t tell() = 0;
  virtual int64_t length() = 0;
  virtual bool atEnd() = 0;
  virtual bool flush() = 0;
  // A closed file is no longer usable.
  virtual bool usable() const { return true; }
};

// The stream of the blob or file instance at index, or null when it is neither (or not
// constructed, or closed).
Stream* streamAt(HSQUIRRELVM v, SQInteger index);

// Adds the shared stream methods to the class at `target`.
void registerStreamMethods(HSQUIRRELVM v, SQInteger target);

// Type tags of the two stream classes.
extern char kBlobTag;
extern char kFileTag;

}  // namespace vellum::sqstd
