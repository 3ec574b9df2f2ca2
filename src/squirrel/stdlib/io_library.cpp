// The io library: the file class over the C runtime's streams, the standard streams, and loading
// script files (loadfile, dofile).
#include <vellum/squirrel_std.h>

#include <cstdio>
#include <new>
#include <string>

#include "squirrel/stdlib/library_support.h"
#include "squirrel/stdlib/stream.h"

namespace vellum::sqstd {

namespace {

class FileStream final : public Stream {
 public:
  FileStream(FILE* handle, bool owns) : handle_(handle), owns_(owns) {}
  ~FileStream() override { close(); }

  size_t read(void* buffer, size_t size) override { return std::fread(buffer, 1, size, handle_); }
  size_t write(const void* buffer, size_t size) override { return std::fwrite(buffer, 1, size, handle_); }

  bool seek(int64_t offset, Origin origin) override {
    const int whence = origin == Origin::Begin ? SEEK_SET : origin == Origin::Current ? SEEK_CUR : SEEK_END;
    return fseeko(handle_, static_cast<off_t>(offset), whence) == 0;
  }

  int64_t tell() override { return static_cast<int64_t>(ftello(handle_)); }

  int64_t length() override {
    const off_t here = ftello(handle_);
    if (here < 0 || fseeko(handle_, 0, SEEK_END) != 0) return -1;
    const off_t end = ftello(handle_);
    fseeko(handle_, here, SEEK_SET);
    return static_cast<int64_t>(end);
  }

  bool atEnd() override { return std::feof(handle_) != 0; }
  bool flush() override { return std::fflush(handle_) == 0; }
  bool usable() const override { return handle_ != nullptr; }

  // A file over a stream the object does not own (the standard streams) only lets go of it.
  void close() {
    if (handle_ && owns_) std::fclose(handle_);
    handle_ = nullptr;
  }

  FILE* handle() const { return handle_; }

 private:
  FILE* handle_;
  bool owns_;
};

FileStream* fileAt(HSQUIRRELVM v, SQInteger index) {
  return static_cast<FileStream*>(instanceData(v, index, &kFileTag));
}

SQInteger releaseFile(SQUserPointer data, SQInteger) {
  delete static_cast<FileStream*>(data);
  return 1;
}

// The modes fopen documents: r, w or a, then at most one '+' and one of 'b' or 't', in any order.
bool validMode(std::string_view mode) {
  if (mode.empty() || mode.size() > 3 || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) return false;
  bool plus = false, kind = false;
  for (char c : mode.substr(1)) {
    if (c == '+' && !plus) {
      plus = true;
    } else if ((c == 'b' || c == 't') && !kind) {
      kind = true;
    } else {
      return false;
    }
  }
  return true;
}

SQInteger adopt(HSQUIRRELVM v, SQInteger index, FILE* handle, bool owns) {
  auto* stream = new (std::nothrow) FileStream(handle, owns);
  if (!stream || SQ_FAILED(sq_setinstanceup(v, index, stream))) {
    if (stream) {
      delete stream;
    } else if (owns) {
      std::fclose(handle);
    }
    return sq_throwerror(v, "cannot create file");
  }
  sq_setreleasehook(v, index, &releaseFile);
  return 0;
}

SQInteger construct(HSQUIRRELVM v) {
  if (fileAt(v, 1)) return throwError(v, "file already constructed");
  const std::string path(stringAt(v, 2));
  const std::string mode(stringAt(v, 3));
  if (!validMode(mode)) return throwError(v, "invalid file mode");
  if (path.empty() || path.find('\0') != std::string::npos) return throwError(v, "cannot open file");
  // fopen's "t" is the default on this system; strip it so the C library sees a mode it documents.
  std::string cMode;
  for (char c : mode) {
    if (c != 't') cMode += c;
  }
  FILE* handle = std::fopen(mapPath(path).c_str(), cMode.c_str());
  if (!handle) return throwError(v, "cannot open file");
  return adopt(v, 1, handle, true);
}

SQInteger close(HSQUIRRELVM v) {
  FileStream* self = fileAt(v, 1);
  if (!self) return throwError(v, "invalid file");
  self->close();
  return 0;
}

SQInteger typeOf(HSQUIRRELVM v) {
  sq_pushstring(v, "file", -1);
  return 1;
}

SQInteger loadfile(HSQUIRRELVM v) {
  const std::string path(stringAt(v, 2));
  SQBool raise = SQFalse;
  if (sq_gettop(v) > 2) sq_tobool(v, 3, &raise);
  if (SQ_FAILED(sqstd_loadfile(v, path.c_str(), raise))) return SQ_ERROR;
  return 1;
}

SQInteger dofile(HSQUIRRELVM v) {
  const std::string path(stringAt(v, 2));
  SQBool raise = SQFalse;
  if (sq_gettop(v) > 2) sq_tobool(v, 3, &raise);
  sq_push(v, 1);  // this
  if (SQ_FAILED(sqstd_dofile(v, path.c_str(), SQTrue, raise))) return SQ_ERROR;
  return 1;
}

const Function kFileMethods[] = {
    {"constructor", &construct, 3, "xss"},
    {"close", &close, 1, "x"},
    {"_typeof", &typeOf, 1, "x"},
};

const Function kIoFunctions[] = {
    {"loadfile", &loadfile, -2, ".sb"},
    {"dofile", &dofile, -2, ".sb"},
};

void addStandardStream(HSQUIRRELVM v, SQInteger table, const char* name, FILE* handle) {
  sq_pushstring(v, name, -1);
  if (SQ_SUCCEEDED(sqstd_createfile(v, handle, SQFalse))) {
    sq_newslot(v, table, SQFalse);
  } else {
    sq_poptop(v);
  }
}

}  // namespace

}  // namespace vellum::sqstd

using namespace vellum::sqstd;

extern "C" SQRESULT sqstd_register_iolib(HSQUIRRELVM v) {
  if (sq_gettype(v, -1) != OT_TABLE) return sq_throwerror(v, "a table is expected on the stack");
  const SQInteger table = absoluteIndex(v, -1);
  sq_pushstring(v, "file", -1);
  sq_newclass(v, SQFalse);
  sq_settypetag(v, -1, &kFileTag);
  registerFunctions(v, -1, kFileMethods);
  registerStreamMethods(v, -1);
  sq_pushregistrytable(v);
  sq_pushstring(v, kFileClassKey, -1);
  sq_push(v, -3);
  sq_newslot(v, -3, SQFalse);
  sq_poptop(v);
  sq_newslot(v, table, SQFalse);
  registerFunctions(v, table, kIoFunctions);
  addStandardStream(v, table, "stdout", stdout);
  addStandardStream(v, table, "stdin", stdin);
  addStandardStream(v, table, "stderr", stderr);
  return SQ_OK;
}

extern "C" SQRESULT sqstd_createfile(HSQUIRRELVM v, SQFILE file, SQBool owns) {
  if (!file) return sq_throwerror(v, "invalid file");
  const SQInteger top = sq_gettop(v);
  sq_pushregistrytable(v);
  sq_pushstring(v, kFileClassKey, -1);
  if (SQ_FAILED(sq_rawget(v, -2))) {
    sq_settop(v, top);
    return sq_throwerror(v, "the io library is not registered");
  }
  // An instance made without the script constructor, which opens files by name only.
  if (SQ_FAILED(sq_createinstance(v, -1))) {
    sq_settop(v, top);
    return SQ_ERROR;
  }
  const SQInteger instance = sq_gettop(v);
  if (SQ_FAILED(adopt(v, instance, static_cast<FILE*>(file), owns != SQFalse))) {
    sq_settop(v, top);
    return SQ_ERROR;
  }
  sq_remove(v, -2);  // the class
  sq_remove(v, -2);  // the registry
  return SQ_OK;
}

extern "C" SQRESULT sqstd_getfile(HSQUIRRELVM v, SQInteger idx, SQFILE* file) {
  FileStream* stream = fileAt(v, idx);
  if (!stream || !stream->usable()) return sq_throwerror(v, "not a file");
  if (file) *file = stream->handle();
  return SQ_OK;
}

extern "C" SQRESULT sqstd_loadfile(HSQUIRRELVM v, const SQChar* filename, SQBool printerror) {
  if (!filename) return sq_throwerror(v, "cannot open the file");
  std::string bytes;
  if (!readScript(filename, bytes)) return sq_throwerror(v, "cannot open the file");
  std::string_view text = bytes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte-order mark
  if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFA && static_cast<unsigned char>(text[1]) == 0xFA) {
    return sq_throwerror(v, "precompiled scripts are not supported");
  }
  return sq_compilebuffer(v, text.data(), static_cast<SQInteger>(text.size()), filename, printerror);
}

extern "C" SQRESULT sqstd_dofile(HSQUIRRELVM v, const SQChar* filename, SQBool retval, SQBool printerror) {
  if (SQ_FAILED(sqstd_loadfile(v, filename, printerror))) return SQ_ERROR;
  sq_push(v, -2);  // the table below the closure is `this`
  if (SQ_FAILED(sq_call(v, 1, retval, SQTrue))) {
    sq_poptop(v);  // the closure
    return SQ_ERROR;
  }
  sq_remove(v, retval ? -2 : -1);  // the closure; the result stays on top
  return SQ_OK;
}
