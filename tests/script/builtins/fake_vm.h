// A stand-in for a script VM's argument accessor: arguments come from a list, results are pushed
// onto a stack, arrays collect their elements. Bodies called with it behave as they would for Lua.
#pragma once

#include <map>
#include <string>
#include <variant>
#include <vector>

#include "script/arg_accessor.h"
#include "script/command_registry.h"

namespace vellum::test {

struct Nil {};
using Array = std::map<int, std::variant<int32_t, std::string>>;
using VmValue = std::variant<Nil, int32_t, std::string, Array>;

class FakeVm {
 public:
  // Runs the body provided for `name` with these arguments; returns what it pushed.
  static std::vector<VmValue> call(const std::string& name, std::vector<std::variant<int32_t, std::string>> arguments) {
    return callBody(scriptVmBody(name), std::move(arguments));
  }

  static std::vector<VmValue> callBody(CommandBody body, std::vector<std::variant<int32_t, std::string>> arguments) {
    state() = State{std::move(arguments), {}};
    ArgAccessor& a = args();
    const ArgAccessor saved = a;
    for (int k = 0; k < 7; ++k) a.count[k] = &count;
    a.type = [](void*, int i) { return std::holds_alternative<std::string>(argument(i)) ? 4 : 3; };
    a.canReceiveInt = [](void*, int) { return 1; };
    a.canReceiveString = [](void*, int) { return 1; };
    a.getInt = [](void*, int i) { return number(i); };
    a.getInt64 = [](void*, int i) { return int64_t{number(i)}; };
    a.getFloat = [](void*, int i) { return static_cast<float>(number(i)); };
    a.getDouble = [](void*, int i) { return static_cast<double>(number(i)); };
    a.getString = [](void*, int i) { return text(i).c_str(); };
    a.getStringLength = [](void*, int i, size_t* length) {
      if (length) *length = text(i).size();
      return text(i).c_str();
    };
    a.discard = [](void*, int) {};
    a.returnInt = [](void*, int, int32_t v) { state().stack.emplace_back(v); };
    a.returnString = [](void*, int, const char* s) { state().stack.emplace_back(std::string(s)); };
    a.returnBytes = [](void*, int, const char* b, size_t n) { state().stack.emplace_back(std::string(b, n)); };
    a.returnNothing = [](void*) { state().stack.emplace_back(Nil{}); };
    a.beginArray = [](void*) { state().stack.emplace_back(Array{}); };
    a.setArrayElement = [](void*, int i) {
      auto& stack = state().stack;
      const VmValue top = stack.back();
      stack.pop_back();
      auto& array = std::get<Array>(stack.back());
      if (const auto* n = std::get_if<int32_t>(&top)) array[i] = *n;
      if (const auto* s = std::get_if<std::string>(&top)) array[i] = *s;
    };
    a.appendArrayElement = [](void*) {};
    a.fail = [](void*) {};
    a.intType = 3;
    a.stringType = 4;
    a.binding = Binding::Lua;
    if (body) body(nullptr);
    a = saved;
    return state().stack;
  }

 private:
  struct State {
    std::vector<std::variant<int32_t, std::string>> arguments;
    std::vector<VmValue> stack;
  };
  static State& state() {
    static State s;
    return s;
  }
  static int count(void*) { return static_cast<int>(state().arguments.size()); }
  static const std::variant<int32_t, std::string>& argument(int i) {
    static const std::variant<int32_t, std::string> none{0};
    return i >= 1 && static_cast<size_t>(i) <= state().arguments.size() ? state().arguments[static_cast<size_t>(i - 1)]
                                                                           : none;
  }
  static int32_t number(int i) {
    const auto* n = std::get_if<int32_t>(&argument(i));
    return n ? *n : 0;
  }
  static const std::string& text(int i) {
    static const std::string empty;
    const auto* s = std::get_if<std::string>(&argument(i));
    return s ? *s : empty;
  }
};

}  // namespace vellum::test
