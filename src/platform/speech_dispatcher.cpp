#include "platform/speech_dispatcher.h"

#include <dlfcn.h>
#include <libspeechd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "base/libraries_opened_on_first_use.h"

namespace vellum {

namespace {

// Utterances waiting beyond this many are stale: the oldest go.
constexpr size_t kMostWaiting = 16;
constexpr auto kCloseWait = std::chrono::milliseconds(500);

struct Request {
  bool cancel = false;
  std::string text;
};

// Everything the worker touches; it holds its own reference, so a worker left behind at close
// never uses freed memory.
struct Link {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Request> waiting;
  bool stop = false, finished = false;
  bool unreachable = false;  // set once the connection failed: requests are dropped from then on
  std::string problem;       // the failure not yet reported
};

std::shared_ptr<Link>& currentLink() {
  static std::shared_ptr<Link> link;
  return link;
}

// The client library's functions, found when the first utterance is said: a game that never reads
// aloud does not load it (nor GLib behind it) at every start. Only its types come from the header.
struct SpeechLibrary {
  decltype(&spd_open2) open = nullptr;
  decltype(&spd_say) say = nullptr;
  decltype(&spd_cancel) cancel = nullptr;
  decltype(&spd_close) close = nullptr;
};

// Used by the worker thread only. Never closed: a connection's own threads may outlive ours.
bool openSpeechLibrary(SpeechLibrary& library, std::string& problem) {
  const std::string name(kSpeechLibrary);
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    problem = why ? why : name + " cannot be opened";
    return false;
  }
  library.open = reinterpret_cast<decltype(&spd_open2)>(dlsym(handle, "spd_open2"));
  library.say = reinterpret_cast<decltype(&spd_say)>(dlsym(handle, "spd_say"));
  library.cancel = reinterpret_cast<decltype(&spd_cancel)>(dlsym(handle, "spd_cancel"));
  library.close = reinterpret_cast<decltype(&spd_close)>(dlsym(handle, "spd_close"));
  if (library.open && library.say && library.cancel && library.close) return true;
  problem = name + ": it lacks the functions of a speech-dispatcher client";
  return false;
}

SPDConnection* openConnection(const SpeechLibrary& library, std::string& problem) {
  // A player who names a service with SPEECHD_ADDRESS runs it; otherwise the library may start the
  // desktop's own, as other speaking programs do.
  const int autospawn = std::getenv("SPEECHD_ADDRESS") == nullptr ? 1 : 0;
  char* error = nullptr;
  SPDConnection* connection = library.open("vellum", "story", nullptr, SPD_MODE_SINGLE, nullptr, autospawn, &error);
  if (!connection) problem = error && *error ? error : "no speech service answered";
  std::free(error);
  return connection;
}

void work(std::shared_ptr<Link> link) {
  SpeechLibrary library;
  SPDConnection* connection = nullptr;
  bool tried = false;
  std::unique_lock lock(link->mutex);
  for (;;) {
    link->wake.wait(lock, [&] { return link->stop || !link->waiting.empty(); });
    if (link->stop) break;
    Request request = std::move(link->waiting.front());
    link->waiting.pop_front();
    lock.unlock();
    if (!tried) {
      tried = true;
      std::string problem;
      if (openSpeechLibrary(library, problem)) connection = openConnection(library, problem);
      if (!connection) {
        lock.lock();
        link->unreachable = true;
        link->problem = problem;
        link->waiting.clear();
        continue;
      }
    }
    if (connection) {
      if (request.cancel) library.cancel(connection);
      else library.say(connection, SPD_TEXT, request.text.c_str());
    }
    lock.lock();
  }
  lock.unlock();
  if (connection) library.close(connection);
  lock.lock();
  link->finished = true;
  link->wake.notify_all();
}

// The link, its worker started on first use.
std::shared_ptr<Link> link() {
  std::shared_ptr<Link>& link = currentLink();
  if (!link) {
    link = std::make_shared<Link>();
    std::thread(work, link).detach();
  }
  return link;
}

void post(Request request) {
  const std::shared_ptr<Link> l = link();
  std::lock_guard lock(l->mutex);
  if (l->unreachable) return;
  if (request.cancel) l->waiting.clear();
  while (l->waiting.size() >= kMostWaiting) l->waiting.pop_front();
  l->waiting.push_back(std::move(request));
  l->wake.notify_all();
}

}  // namespace

void speakWithDispatcher(const std::string& utf8) { post({false, utf8}); }

void cancelDispatcherSpeech() {
  // Nothing was said yet: there is nothing to stop, and no reason to reach the service.
  if (!currentLink()) return;
  post({true, {}});
}

std::string takeDispatcherProblem() {
  const std::shared_ptr<Link>& l = currentLink();
  if (!l) return {};
  std::lock_guard lock(l->mutex);
  return std::exchange(l->problem, std::string());
}

void closeDispatcher() {
  std::shared_ptr<Link> l = std::exchange(currentLink(), nullptr);
  if (!l) return;
  std::unique_lock lock(l->mutex);
  l->stop = true;
  l->wake.notify_all();
  l->wake.wait_for(lock, kCloseWait, [&] { return l->finished; });
}

}  // namespace vellum
