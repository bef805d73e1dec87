/* The simulated host's control side in libtessel.so: tessel_sim_reset builds
 * the host again from its topology, tessel_sim_load_topology replaces that
 * topology, tessel_sim_dump_topology writes the host as one,
 * tessel_sim_add_switch adds a large switch for scale runs, and the state
 * file (TESSEL_SIM_STATE) carries the host from one process to the next. */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <optional>

#include <nlohmann/json.hpp>

#include "hostapi/mac.h"
#include "mac_model.h"
#include "sim_internal.h"
#include "tessel_sim.h"

namespace tessel {
namespace {

/* ---- The state file ---- */

/* The file TESSEL_SIM_STATE names, the lock file beside it, and the text last
 * written (or read), so that only a change is written. */
struct StateFile {
   std::mutex lock;
   std::string path;
   std::string last;
   bool watching = false;
   bool busy = false;
   /* The file did not exist: the first call of any kind creates it. */
   bool create = false;
   /* A failed write is reported once, until a write succeeds again. */
   bool reported = false;
   /* The file as this process last read or wrote it, to tell whether
    * another process replaced it since. */
   struct stat seen{};
   bool seenValid = false;
};

StateFile &stateFile() {
   static auto *state = new StateFile;
   return *state;
}

char const *statePath() {
   char const *path = getenv("TESSEL_SIM_STATE");
   return path != nullptr && path[0] != '\0' ? path : nullptr;
}

/* Holds an flock on the lock file beside the state file while it lives. */
class FileLock {
 public:
   FileLock(std::string const &path, int how) {
      std::string const lockPath = path + ".lock";
      fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
      if (fd_ < 0)
         throw TopologyError(lockPath + ": cannot be opened: " + strerror(errno));
      while (flock(fd_, how) != 0) {
         if (errno != EINTR) {
            int const error = errno;
            close(fd_);
            throw TopologyError(lockPath + ": cannot be locked: " + strerror(error));
         }
      }
   }
   FileLock(FileLock const &) = delete;
   FileLock &operator=(FileLock const &) = delete;
   ~FileLock() { close(fd_); }

 private:
   int fd_ = -1;
};

std::string documentText(nlohmann::json const &document) { return document.dump(2) + "\n"; }

/* The lock a host call holds on the state file from before it runs until
 * the host is written out after it, and how deep in nested calls the
 * thread is. */
thread_local std::unique_ptr<FileLock> t_held;
thread_local int t_heldHow = 0;
thread_local int t_depth = 0;

void remember(StateFile &state) { state.seenValid = stat(state.path.c_str(), &state.seen) == 0; }

bool replacedSince(StateFile const &state) {
   struct stat now{};
   if (stat(state.path.c_str(), &now) != 0)
      return false;
   return !state.seenValid || now.st_ino != state.seen.st_ino ||
          now.st_size != state.seen.st_size || now.st_mtim.tv_sec != state.seen.st_mtim.tv_sec ||
          now.st_mtim.tv_nsec != state.seen.st_mtim.tv_nsec;
}

/* Writes text as the whole state file at once: a temporary file in the same
 * folder, flushed to disk, renamed over the file. */
void writeStateFile(std::string const &path, std::string const &text) {
   /* A call that changes the host holds the lock already. */
   std::unique_ptr<FileLock> const held = t_held != nullptr && t_heldHow == LOCK_EX
                                              ? nullptr
                                              : std::make_unique<FileLock>(path, LOCK_EX);
   std::string const temporary = path + ".tmp." + std::to_string(getpid());
   int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
   if (fd < 0)
      throw TopologyError(temporary + ": cannot be created: " + strerror(errno));
   size_t done = 0;
   while (done < text.size()) {
      ssize_t n = write(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR)
         continue;
      if (n <= 0) {
         int const error = errno;
         close(fd);
         unlink(temporary.c_str());
         throw TopologyError(temporary + ": cannot be written: " + strerror(error));
      }
      done += static_cast<size_t>(n);
   }
   if (fsync(fd) != 0 || close(fd) != 0 || rename(temporary.c_str(), path.c_str()) != 0) {
      int const error = errno;
      unlink(temporary.c_str());
      throw TopologyError(path + ": cannot be replaced: " + strerror(error));
   }
}

/* Writes the host to the state file when it changed since the last write. */
void persist() {
   StateFile &state = stateFile();
   std::lock_guard<std::mutex> const held(state.lock);
   if (!state.watching || state.busy)
      return;
   state.busy = true;
   try {
      std::string text = documentText(Host::instance().dump());
      if (text != state.last) {
         writeStateFile(state.path, text);
         state.last = std::move(text);
         remember(state);
      }
      state.create = false;
      state.reported = false;
   } catch (std::exception const &e) {
      if (!state.reported)
         fprintf(stderr, "libtessel: state not saved: %s\n", e.what());
      state.reported = true;
   }
   state.busy = false;
}

/* Calls that only read (Get..., Is..., FreeMemory, the store's lookups and
 * traversals) never change the host, so the host is not written out after
 * them. */
bool readsOnly(char const *function) {
   char const *rest = strchr(function, '_');
   rest = rest != nullptr ? rest + 1 : function;
   for (char const *prefix : {"Get", "Is", "Free", "Lookup", "Iterate", "Walk"})
      if (strncmp(rest, prefix, strlen(prefix)) == 0)
         return true;
   return strstr(rest, "Lookup") != nullptr;
}

/* Before a host call: takes the state file's lock (shared for a call that
 * only reads) and, when another process replaced the file since, takes the
 * host it holds, so a change is made to the newest host and none is lost. */
void beforeCall(char const *function) {
   if (t_depth++ != 0)
      return;
   StateFile &state = stateFile();
   if (!state.watching)
      return;
   bool const writes = function == nullptr || !readsOnly(function) || state.create;
   try {
      t_held = std::make_unique<FileLock>(state.path, writes ? LOCK_EX : LOCK_SH);
      t_heldHow = writes ? LOCK_EX : LOCK_SH;
      std::lock_guard<std::mutex> const held(state.lock);
      if (replacedSince(state)) {
         /* A file that cannot be taken is reported once, and the host goes
          * on as it was. */
         remember(state);
         std::string text = readFile(state.path, state.path);
         if (text != state.last) {
            Host::install(parseTopology(text, "TESSEL_SIM_STATE=" + state.path),
                          "TESSEL_SIM_STATE=" + state.path);
            state.last = std::move(text);
         }
      }
   } catch (std::exception const &e) {
      fprintf(stderr, "libtessel: state not read: %s\n", e.what());
   }
}

void afterCall(char const *function) {
   /* The call that built the host (and installed the hooks) started before
    * they were: it ends without a start, as an outermost call. */
   if (t_depth > 0 && --t_depth != 0)
      return;
   if (function == nullptr || !readsOnly(function) || stateFile().create)
      persist();
   t_held.reset();
   t_heldHow = 0;
}

/* Hands each top-level key another library contributed its value in the
 * topology (NULL when absent); returns the first refusal, or "". */
std::string applyContributedKeys(nlohmann::json const &document) {
   char const *key = nullptr;
   tessel_sim_key_load load = nullptr;
   tessel_sim_key_dump dump = nullptr;
   for (size_t i = 0; tessel_sim_topology_key(i, &key, &load, &dump) == 0; ++i) {
      auto const found = document.find(key);
      std::string const value = found != document.end() ? found->dump() : std::string();
      char message[512] = "";
      if (load(found != document.end() ? value.c_str() : nullptr, message, sizeof message) != 0) {
         /* A message that names its place (starting with the key) stands as
          * it is. */
         if (strncmp(message, key, strlen(key)) == 0)
            return message;
         return std::string(key) + ": " + message;
      }
   }
   return std::string();
}

/* The refusal of a contributed key during the reset a load runs, for the
 * load to report; empty otherwise. */
std::string g_contributedError;
bool g_loading = false;

void resetHook() {
   try {
      Host::reset();
      /* The other libraries' hooks ran before this one (they registered
       * theirs when they loaded, ahead of this library), so their keys go
       * to a fresh state. */
      std::string const refused = applyContributedKeys(topologyDocument());
      if (!refused.empty() && g_loading)
         g_contributedError = refused;
      else if (!refused.empty())
         fprintf(stderr, "libtessel: %s: %s\n", topologySource().c_str(), refused.c_str());
   } catch (std::exception const &e) {
      fprintf(stderr, "libtessel: host not restored: %s\n", e.what());
   }
   persist();
}

struct LoadTimeSetup {
   LoadTimeSetup() { tessel_sim_add_reset_hook(resetHook); }
   ~LoadTimeSetup() { tessel_sim_remove_reset_hook(resetHook); }
} g_loadTimeSetup;

/* The topology entry of a standard switch with ports ports (the first of
 * several is an uplink, the others VM ports on VLANs 1..100) and learnedMacs
 * learned entries spread evenly over them.  A switch that learns more than
 * the host-wide limit gets the scaled limit. */
nlohmann::json scaledSwitch(Host const &host, std::string const &name, uint32_t ports,
                            uint32_t learnedMacs) {
   nlohmann::json sw = {{"name", name}, {"kernel", {{"maxPorts", ports}, {"flags", 1}}}};
   if (learnedMacs > host.component<MacComponent>().hostLearning().macLimit)
      sw["mac"] = {{"macLimit", VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED}};
   nlohmann::json list = nlohmann::json::array();
   for (uint32_t i = 0; i < ports; ++i) {
      uint32_t learned = learnedMacs / ports + (i < learnedMacs % ports ? 1 : 0);
      nlohmann::json port;
      if (i == 0 && ports > 1)
         port = {{"name", "uplink0"}, {"type", "uplink"}};
      else
         port = {{"name", "vm-" + std::to_string(i) + ".eth0"},
                 {"type", "vnic"},
                 {"ports", {{"vlan", 1 + i % 100}}}};
      port["mac"] = {{"learned", learned}};
      list.push_back(std::move(port));
   }
   sw["ports"] = std::move(list);
   return sw;
}

} // namespace

std::optional<nlohmann::json> stateDocument() {
   char const *path = statePath();
   if (path == nullptr)
      return std::nullopt;
   std::string const source = std::string("TESSEL_SIM_STATE=") + path;
   std::string text;
   {
      FileLock const held(path, LOCK_SH);
      std::unique_ptr<FILE, int (*)(FILE *)> file(fopen(path, "rb"), fclose);
      if (!file) {
         if (errno == ENOENT) {
            stateFile().create = true;
            return std::nullopt;
         }
         throw TopologyError(source + ": cannot be opened: " + strerror(errno));
      }
      char chunk[4096];
      size_t n;
      while ((n = fread(chunk, 1, sizeof chunk, file.get())) > 0)
         text.append(chunk, n);
      if (ferror(file.get()))
         throw TopologyError(source + ": cannot be read: " + strerror(errno));
   }
   stateFile().last = text;
   stateFile().create = false;
   stateFile().path = path;
   remember(stateFile());
   return parseTopology(text, source);
}

void watchStateFile(bool built) {
   char const *path = statePath();
   if (path == nullptr)
      return;
   StateFile &state = stateFile();
   if (!built) {
      /* A host that could not be built is never written over the file. */
      fprintf(stderr, "libtessel: %s is not written while the host has no switches\n", path);
      return;
   }
   state.path = path;
   state.watching = true;
   tessel_sim_set_call_hooks(beforeCall, afterCall);
}

} // namespace tessel

namespace {

void putError(char *error, unsigned long errorSize, char const *text) {
   if (error == nullptr || errorSize == 0)
      return;
   size_t const n = std::min<size_t>(strlen(text), errorSize - 1);
   memcpy(error, text, n);
   error[n] = '\0';
}

} // namespace

extern "C" TESSEL_HOST_EXPORT int tessel_sim_load_topology(char const *text, char const *source,
                                                           char *error, unsigned long errorSize) {
   try {
      std::string from = source != nullptr && source[0] != '\0' ? source : "a loaded topology";
      nlohmann::json document;
      if (text == nullptr) {
         /* Back to the topology the process started with. */
         document = tessel::originalTopology();
         from = tessel::originalTopologySource();
      } else {
         document = tessel::parseTopology(text, from);
      }
      /* What a refused document must leave as it was: the live host (with
         the other libraries' keys) and the document resets go back to. */
      nlohmann::json const previousLive = tessel::Host::instance().dump();
      nlohmann::json const previous = tessel::topologyDocument();
      std::string const previousSource = tessel::topologySource();
      tessel::Host::install(document, from);
      tessel::replaceTopology(std::move(document), from);
      /* The other libraries start again from the new host; this one is
         rebuilt from the same document and hands the other libraries their
         keys of it. */
      tessel::g_loading = true;
      tessel::g_contributedError.clear();
      tessel_sim_reset();
      tessel::g_loading = false;
      if (!tessel::g_contributedError.empty()) {
         std::string const refused = tessel::g_contributedError;
         /* Another library refused its key: every library goes back to the
            live host of before, and resets to the document of before. */
         tessel::replaceTopology(previousLive, previousSource);
         tessel_sim_reset();
         tessel::replaceTopology(previous, previousSource);
         throw tessel::TopologyError(from + ": " + refused);
      }
      tessel::persist();
      return 0;
   } catch (std::exception const &e) {
      putError(error, errorSize, e.what());
      return -1;
   }
}

extern "C" TESSEL_HOST_EXPORT char *tessel_sim_dump_topology(void) {
   try {
      std::string const text = tessel::documentText(tessel::Host::instance().dump());
      auto *block = static_cast<char *>(tessel_sim_block_alloc(text.size() + 1));
      if (block != nullptr)
         memcpy(block, text.c_str(), text.size() + 1);
      return block;
   } catch (...) {
      return nullptr;
   }
}

extern "C" TESSEL_HOST_EXPORT int tessel_sim_add_switch(char const *name, unsigned ports,
                                                        unsigned learnedMacs) {
   if (name == nullptr || name[0] == '\0' || ports < 1 || ports > tessel::kMaxPorts)
      return -1;
   try {
      tessel::Host &host = tessel::Host::instance();
      nlohmann::json const entry = tessel::scaledSwitch(host, name, ports, learnedMacs);
      tessel::Settings settings(&entry, std::string("tessel_sim_add_switch(") + name + ")");
      host.add(settings);
      return 0;
   } catch (...) {
      return -1;
   }
}
