#include "script/builtins/regexp_plugin.h"

#include "base/report.h"
#include "script/builtins/builtin_messages.h"

namespace vellum {

namespace {

// One call's result record, released as soon as the caller has read it.
class CallRecord {
 public:
  CallRecord() = default;
  ~CallRecord() {
    if (record_) regexpPlugin().regfree(record_);
  }
  CallRecord(const CallRecord&) = delete;
  CallRecord& operator=(const CallRecord&) = delete;

  regex::Regexp** address() { return &record_; }
  const regex::Regexp* operator->() const { return record_; }
  char* message() { return message_; }

 private:
  regex::Regexp* record_ = nullptr;
  char message_[regex::kRegexpMessageSize] = {};
};

RegexpPlugin& usablePlugin() {
  RegexpPlugin& plugin = regexpPlugin();
  if (!plugin.loaded) loadRegexpPlugin();
  return plugin;
}

void reportFailure(std::string_view expression, const char* message) {
  errorc(ReportText().gbk(expression).ascii(" : ").ascii(message), true);
}

using TextCall = int (*)(const char*, const char*, const char*, regex::Regexp**, char*);

int rewrite(TextCall call, std::string_view expression, std::string_view text, std::string& out) {
  out.assign(text);
  if (!call) return -1;
  const std::string pattern(expression);
  CallRecord record;
  const int result = call(pattern.c_str(), out.data(), out.data() + out.size(), record.address(), record.message());
  if (result < 0) {
    reportFailure(expression, record.message());
    return result;
  }
  if (record.address() && *record.address() && record->outp) out.assign(record->outp, record->outendp);
  return result;
}

}  // namespace

RegexpPlugin& regexpPlugin() {
  static RegexpPlugin plugin;
  return plugin;
}

bool loadRegexpPlugin() {
  RegexpPlugin& plugin = regexpPlugin();
  if (plugin.loaded) return true;
  plugin.match = &regex::BMatch;
  plugin.subst = &regex::BSubst;
  plugin.trans = &regex::BTrans;
  plugin.split = &regex::BSplit;
  plugin.regfree = &regex::BRegfree;
  plugin.loaded = plugin.match && plugin.subst && plugin.trans && plugin.split && plugin.regfree;
  if (!plugin.loaded) errorc(ReportText().sjis(messages::kRegexpLoadFailed), true);
  return plugin.loaded;
}

int regexpSubstitute(std::string_view expression, std::string_view text, std::string& out) {
  return rewrite(usablePlugin().subst, expression, text, out);
}

int regexpTransliterate(std::string_view expression, std::string_view text, std::string& out) {
  return rewrite(usablePlugin().trans, expression, text, out);
}

RegexpFound regexpFirstMatch(std::string_view expression, std::string_view text) {
  RegexpFound found;
  RegexpPlugin& plugin = usablePlugin();
  if (!plugin.match) return found;
  const std::string pattern(expression);
  const std::string subject(text);
  CallRecord record;
  const int result = plugin.match(pattern.c_str(), subject.data(), subject.data() + subject.size(), record.address(),
                                  record.message());
  if (result < 0) reportFailure(expression, record.message());
  if (result <= 0 || !record->startp || !record->startp[0]) return found;
  found.matched = true;
  found.offset = static_cast<size_t>(record->startp[0] - subject.data());
  found.length = static_cast<size_t>(record->endp[0] - record->startp[0]);
  return found;
}

std::vector<std::string> regexpPieces(std::string_view expression, std::string_view text) {
  std::vector<std::string> pieces;
  RegexpPlugin& plugin = usablePlugin();
  if (!plugin.split) return pieces;
  const std::string pattern(expression);
  const std::string subject(text);
  CallRecord record;
  const int result = plugin.split(pattern.c_str(), subject.data(), subject.data() + subject.size(), 0,
                                  record.address(), record.message());
  if (result < 0) {
    reportFailure(expression, record.message());
    return pieces;
  }
  for (int i = 0; i < record->splitctr; ++i) pieces.emplace_back(record->splitp[2 * i], record->splitp[2 * i + 1]);
  return pieces;
}

}  // namespace vellum
