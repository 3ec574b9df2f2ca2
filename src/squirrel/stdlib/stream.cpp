#include "squirrel/stdlib/stream.h"

#include <vellum/squirrel_std.h>

#include <cstring>
#include <vector>

#include "squirrel/stdlib/library_support.h"
#include "squirrel/stdlib/number_arguments.h"

namespace vellum::sqstd {

char kBlobTag = 'b';
char kFileTag = 'f';

Stream* streamAt(HSQUIRRELVM v, SQInteger index) {
  void* data = instanceData(v, index, &kBlobTag);
  if (!data) data = instanceData(v, index, &kFileTag);
  auto* stream = static_cast<Stream*>(data);
  return stream && stream->usable() ? stream : nullptr;
}

namespace {

// Every method starts by finding its stream; a method taken from one object and called on
// something else raises an error instead of touching foreign memory.
#define SELF_STREAM(v)                                             \
  Stream* self = streamAt(v, 1);                                   \
  if (!self) return throwError(v, "invalid stream")

template <typename T>
bool readValue(Stream& stream, T& value) {
  return stream.read(&value, sizeof value) == sizeof value;
}

template <typename T>
bool writeValue(Stream& stream, T value) {
  return stream.write(&value, sizeof value) == sizeof value;
}

SQInteger readn(HSQUIRRELVM v) {
  SELF_STREAM(v);
  const SQInteger format = integerArgument(v, 2);
  bool ok = false;
  switch (format) {
    case 'l': { int64_t x = 0; ok = readValue(*self, x); if (ok) sq_pushinteger(v, static_cast<SQInteger>(x)); break; }
    case 'i': { int32_t x = 0; ok = readValue(*self, x); if (ok) sq_pushinteger(v, x); break; }
    case 's': { int16_t x = 0; ok = readValue(*self, x); if (ok) sq_pushinteger(v, x); break; }
    case 'w': { uint16_t x = 0; ok = readValue(*self, x); if (ok) sq_pushinteger(v, x); break; }
    case 'c': { int8_t x = 0; ok = readValue(*self, x); if (ok) sq_pushinteger(v, x); break; }
    case 'b': { uint8_t x = 0; ok = readValue(*self, x); if (ok) sq_pushinteger(v, x); break; }
    case 'f': { float x = 0; ok = readValue(*self, x); if (ok) sq_pushfloat(v, static_cast<SQFloat>(x)); break; }
    case 'd': { double x = 0; ok = readValue(*self, x); if (ok) sq_pushfloat(v, static_cast<SQFloat>(x)); break; }
    default: return throwError(v, "invalid format");
  }
  if (!ok) return throwError(v, "io error");
  return 1;
}

SQInteger writen(HSQUIRRELVM v) {
  SELF_STREAM(v);
  const SQInteger format = integerArgument(v, 3);
  const SQInteger i = integerArgument(v, 2);
  const double f = floatArgument(v, 2);
  bool ok = false;
  switch (format) {
    case 'l': ok = writeValue(*self, static_cast<int64_t>(i)); break;
    case 'i': ok = writeValue(*self, static_cast<int32_t>(i)); break;
    case 's': ok = writeValue(*self, static_cast<int16_t>(i)); break;
    case 'w': ok = writeValue(*self, static_cast<uint16_t>(i)); break;
    case 'c': ok = writeValue(*self, static_cast<int8_t>(i)); break;
    case 'b': ok = writeValue(*self, static_cast<uint8_t>(i)); break;
    case 'f': ok = writeValue(*self, static_cast<float>(f)); break;
    case 'd': ok = writeValue(*self, f); break;
    default: return throwError(v, "invalid format");
  }
  if (!ok) return throwError(v, "io error");
  return 0;
}

SQInteger readblob(HSQUIRRELVM v) {
  SELF_STREAM(v);
  const SQInteger size = integerArgument(v, 2);
  if (size <= 0) return throwError(v, "invalid size");
  // Never more than the stream holds (a stream of unknown length gives at most 1 MiB at a time),
  // so a huge size cannot exhaust memory.
  const int64_t length = self->length();
  const int64_t left = length >= 0 ? length - self->tell() : int64_t{1} << 20;
  const size_t wanted = static_cast<size_t>(left < size ? left : size);
  std::vector<char> bytes(left > 0 ? wanted : 0);
  size_t got = bytes.empty() ? 0 : self->read(bytes.data(), bytes.size());
  if (got == 0) return throwError(v, "no data left to read");
  void* payload = sqstd_createblob(v, static_cast<SQInteger>(got));
  if (!payload) return throwError(v, "cannot create blob");
  std::memcpy(payload, bytes.data(), got);
  return 1;
}

SQInteger writeblob(HSQUIRRELVM v) {
  SELF_STREAM(v);
  SQUserPointer data = nullptr;
  if (SQ_FAILED(sqstd_getblob(v, 2, &data))) return throwError(v, "invalid parameter, blob expected");
  const SQInteger size = sqstd_getblobsize(v, 2);
  if (size > 0 && self->write(data, static_cast<size_t>(size)) != static_cast<size_t>(size)) {
    return throwError(v, "io error");
  }
  sq_pushinteger(v, size);
  return 1;
}

SQInteger seek(HSQUIRRELVM v) {
  SELF_STREAM(v);
  const SQInteger offset = integerArgument(v, 2);
  Stream::Origin origin = Stream::Origin::Begin;
  if (sq_gettop(v) > 2) {
    switch (integerArgument(v, 3)) {
      case 'b': origin = Stream::Origin::Begin; break;
      case 'c': origin = Stream::Origin::Current; break;
      case 'e': origin = Stream::Origin::End; break;
      default: return throwError(v, "invalid origin");
    }
  }
  if (!self->seek(offset, origin)) return throwError(v, "seek failed");
  sq_pushinteger(v, 0);
  return 1;
}

SQInteger tell(HSQUIRRELVM v) {
  SELF_STREAM(v);
  sq_pushinteger(v, static_cast<SQInteger>(self->tell()));
  return 1;
}

SQInteger len(HSQUIRRELVM v) {
  SELF_STREAM(v);
  sq_pushinteger(v, static_cast<SQInteger>(self->length()));
  return 1;
}

SQInteger eos(HSQUIRRELVM v) {
  SELF_STREAM(v);
  if (!self->atEnd()) return 0;  // null
  sq_pushinteger(v, 1);
  return 1;
}

SQInteger flush(HSQUIRRELVM v) {
  SELF_STREAM(v);
  if (!self->flush()) return 0;  // null
  sq_pushinteger(v, 1);
  return 1;
}

const Function kStreamMethods[] = {
    {"readblob", &readblob, 2, "xn"}, {"readn", &readn, 2, "xn"},  {"writeblob", &writeblob, -2, "xx"},
    {"writen", &writen, 3, "xnn"},    {"seek", &seek, -2, "xnn"},  {"tell", &tell, 1, "x"},
    {"len", &len, 1, "x"},            {"eos", &eos, 1, "x"},       {"flush", &flush, 1, "x"},
};

}  // namespace

void registerStreamMethods(HSQUIRRELVM v, SQInteger target) { registerFunctions(v, target, kStreamMethods); }

}  // namespace vellum::sqstd
