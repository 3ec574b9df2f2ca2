// The string library: format and printf, stripping, splitting, escaping and prefix tests. The
// regexp class is registered from regexp_library.cpp.
#include <vellum/squirrel_std.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "squirrel/stdlib/library_support.h"
#include "squirrel/stdlib/number_arguments.h"

namespace vellum::sqstd {

void registerRegexpClass(HSQUIRRELVM v, SQInteger table);

namespace {

// Width and precision take at most two digits each, which keeps every converted piece small.
constexpr size_t kMostDigits = 2;

bool isNumber(HSQUIRRELVM v, SQInteger index) {
  const SQObjectType type = sq_gettype(v, index);
  return type == OT_INTEGER || type == OT_FLOAT;
}

// Appends one value converted by the C library with a printf directive ("%", flags, width,
// precision and the conversion).
template <typename T>
void appendConverted(std::string& out, const std::string& directive, T value) {
  char small[128];
  const int n = std::snprintf(small, sizeof small, directive.c_str(), value);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
    return;
  }
  // A float with a long integer part (up to 309 digits).
  std::vector<char> large(static_cast<size_t>(n) + 1);
  std::snprintf(large.data(), large.size(), directive.c_str(), value);
  out.append(large.data(), static_cast<size_t>(n));
}

// %s by hand, so strings with NUL bytes keep them.
void appendString(std::string& out, std::string_view text, bool leftAlign, int width, int precision) {
  if (precision >= 0 && text.size() > static_cast<size_t>(precision)) text = text.substr(0, static_cast<size_t>(precision));
  const size_t padding = width > 0 && static_cast<size_t>(width) > text.size() ? static_cast<size_t>(width) - text.size() : 0;
  if (!leftAlign) out.append(padding, ' ');
  out.append(text);
  if (leftAlign) out.append(padding, ' ');
}

// The formatted text, or false with the error text.
bool formatInto(HSQUIRRELVM v, SQInteger formatIndex, std::string& out, std::string& error) {
  const std::string_view format = stringAt(v, formatIndex);
  const SQInteger top = sq_gettop(v);
  SQInteger next = formatIndex + 1;
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i < format.size() && format[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    std::string directive = "%";
    bool leftAlign = false;
    // (strchr also finds the terminator: a NUL in the format is never a flag or a conversion.)
    while (i < format.size() && format[i] != '\0' && std::strchr("-+ #0", format[i]) && directive.size() < 6) {
      leftAlign = leftAlign || format[i] == '-';
      directive += format[i++];
    }
    int width = 0;
    size_t digits = 0;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) {
      if (++digits > kMostDigits) {
        error = "width format too long";
        return false;
      }
      width = width * 10 + (format[i] - '0');
      directive += format[i++];
    }
    int precision = -1;
    if (i < format.size() && format[i] == '.') {
      directive += format[i++];
      precision = 0;
      digits = 0;
      while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) {
        if (++digits > kMostDigits) {
          error = "precision format too long";
          return false;
        }
        precision = precision * 10 + (format[i] - '0');
        directive += format[i++];
      }
    }
    if (i >= format.size()) {
      error = "invalid format";
      return false;
    }
    const char conversion = format[i++];
    if (conversion == '\0' || !std::strchr("diouxXcfFeEgGs", conversion)) {
      error = "invalid format";
      return false;
    }
    if (next > top) {
      error = "not enough parameters for the given format string";
      return false;
    }
    const SQInteger argument = next++;
    switch (conversion) {
      case 'd':
      case 'i':
      case 'c':
        if (!isNumber(v, argument)) {
          error = "integer expected for the specified format";
          return false;
        }
        if (conversion == 'c') {
          appendConverted(out, directive + 'c', static_cast<int>(integerArgument(v, argument)));
        } else {
          appendConverted(out, directive + "ll" + conversion, static_cast<long long>(integerArgument(v, argument)));
        }
        break;
      case 'o':
      case 'u':
      case 'x':
      case 'X':
        if (!isNumber(v, argument)) {
          error = "integer expected for the specified format";
          return false;
        }
        appendConverted(out, directive + "ll" + conversion,
                        static_cast<unsigned long long>(integerArgument(v, argument)));
        break;
      case 's':
        if (sq_gettype(v, argument) != OT_STRING) {
          error = "string expected for the specified format";
          return false;
        }
        appendString(out, stringAt(v, argument), leftAlign, width, precision);
        break;
      default:
        if (!isNumber(v, argument)) {
          error = "float expected for the specified format";
          return false;
        }
        appendConverted(out, directive + conversion, floatArgument(v, argument));
        break;
    }
  }
  return true;
}

SQInteger format(HSQUIRRELVM v) {
  std::string out, error;
  if (!formatInto(v, 2, out, error)) return throwError(v, error);
  pushString(v, out);
  return 1;
}

SQInteger printf(HSQUIRRELVM v) {
  std::string out, error;
  if (!formatInto(v, 2, out, error)) return throwError(v, error);
  if (SQPRINTFUNCTION print = sq_getprintfunc(v)) print(v, "%s", out.c_str());
  return 0;
}

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view leftStripped(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view rightStripped(std::string_view s) {
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

SQInteger strip(HSQUIRRELVM v) {
  pushString(v, rightStripped(leftStripped(stringAt(v, 2))));
  return 1;
}

SQInteger lstrip(HSQUIRRELVM v) {
  pushString(v, leftStripped(stringAt(v, 2)));
  return 1;
}

SQInteger rstrip(HSQUIRRELVM v) {
  pushString(v, rightStripped(stringAt(v, 2)));
  return 1;
}

SQInteger split(HSQUIRRELVM v) {
  const std::string_view text = stringAt(v, 2);
  const std::string_view separators = stringAt(v, 3);
  SQBool skipEmpty = SQFalse;
  if (sq_gettop(v) > 3) sq_tobool(v, 4, &skipEmpty);
  sq_newarray(v, 0);
  const SQInteger array = sq_gettop(v);
  size_t start = 0;
  auto add = [&](size_t end) {
    if (end == start && skipEmpty) return;
    pushString(v, text.substr(start, end - start));
    sq_arrayappend(v, array);
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (separators.find(text[i]) != std::string_view::npos) {
      add(i);
      start = i + 1;
    }
  }
  add(text.size());
  return 1;
}

SQInteger escape(HSQUIRRELVM v) {
  const std::string_view text = stringAt(v, 2);
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    // The quotes and the backslash get a backslash; any other unprintable byte (a line feed
    // too) becomes \x and two lower-case hex digits.
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\'': out += "\\'"; break;
      default:
        // Printable means printable ASCII, whatever the process locale says of other bytes.
        if (c >= 0x20 && c < 0x7F) {
          out += c;
        } else {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
          out += hex;
        }
    }
  }
  pushString(v, out);
  return 1;
}

SQInteger startswith(HSQUIRRELVM v) {
  const std::string_view text = stringAt(v, 2);
  const std::string_view prefix = stringAt(v, 3);
  sq_pushbool(v, text.substr(0, prefix.size()) == prefix ? SQTrue : SQFalse);
  return 1;
}

SQInteger endswith(HSQUIRRELVM v) {
  const std::string_view text = stringAt(v, 2);
  const std::string_view suffix = stringAt(v, 3);
  const bool ends = text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
  sq_pushbool(v, ends ? SQTrue : SQFalse);
  return 1;
}

const Function kStringFunctions[] = {
    {"format", &format, -2, ".s"},        {"printf", &printf, -2, ".s"},          {"strip", &strip, 2, ".s"},
    {"lstrip", &lstrip, 2, ".s"},         {"rstrip", &rstrip, 2, ".s"},           {"split", &split, -3, ".ssb"},
    {"escape", &escape, 2, ".s"},         {"startswith", &startswith, 3, ".ss"},  {"endswith", &endswith, 3, ".ss"},
};

}  // namespace

}  // namespace vellum::sqstd

using namespace vellum::sqstd;

extern "C" SQRESULT sqstd_register_stringlib(HSQUIRRELVM v) {
  if (sq_gettype(v, -1) != OT_TABLE) return sq_throwerror(v, "a table is expected on the stack");
  const SQInteger table = absoluteIndex(v, -1);
  registerFunctions(v, table, kStringFunctions);
  registerRegexpClass(v, table);
  return SQ_OK;
}

extern "C" SQRESULT sqstd_format(HSQUIRRELVM v, SQInteger nformatstringidx, SQInteger* outlen, SQChar** output) {
  nformatstringidx = absoluteIndex(v, nformatstringidx);
  if (sq_gettype(v, nformatstringidx) != OT_STRING) return sq_throwerror(v, "format string expected");
  std::string out, error;
  if (!formatInto(v, nformatstringidx, out, error)) return throwError(v, error);
  SQChar* pad = sq_getscratchpad(v, static_cast<SQInteger>(out.size() + 1));
  if (!pad) return sq_throwerror(v, "out of memory");
  std::memcpy(pad, out.data(), out.size());
  pad[out.size()] = '\0';
  if (outlen) *outlen = static_cast<SQInteger>(out.size());
  if (output) *output = pad;
  return SQ_OK;
}
