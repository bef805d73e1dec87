/* Reading the host's topology: a JSON document of switches, their ports and
 * each subsystem's settings under its own key.  Settings is a checked view of
 * one object of the document: every value is read with its type and range
 * checked, and a key nobody read is an error, so a misspelt setting is
 * reported instead of silently falling back to its default. */
#ifndef TESSEL_HOST_TOPOLOGY_H
#define TESSEL_HOST_TOPOLOGY_H

#include <stdint.h>

#include <array>
#include <deque>
#include <initializer_list>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace tessel {

/* A topology the host cannot build, with the path of the offending value
 * ("switches[2].ports[1].mac.limit: ..."). */
class TopologyError : public std::invalid_argument {
 public:
   using std::invalid_argument::invalid_argument;
};

class Settings {
 public:
   /* node may be NULL: an absent object, whose every value reads as its
    * default. */
   Settings(nlohmann::json const *node, std::string path);
   Settings(Settings const &) = delete;
   Settings &operator=(Settings const &) = delete;

   bool present() const { return node_ != nullptr; }
   bool has(char const *key) const;
   std::string const &path() const { return path_; }
   /* Throws TopologyError naming this object (and key, when given). */
   [[noreturn]] void fail(std::string const &what, char const *key = nullptr) const;

   /* The value of key, or fallback when the key is absent. */
   bool flag(char const *key, bool fallback);
   std::string text(char const *key, std::string fallback);
   /* An unsigned integer of type T, at most max. */
   template <typename T>
   std::optional<T> optionalNumber(char const *key, T max = std::numeric_limits<T>::max()) {
      static_assert(std::numeric_limits<T>::is_integer && !std::numeric_limits<T>::is_signed,
                    "unsigned integers");
      auto value = readNumber(key, max);
      return value ? std::optional<T>(static_cast<T>(*value)) : std::nullopt;
   }
   template <typename T>
   T number(char const *key, T fallback, T max = std::numeric_limits<T>::max()) {
      return optionalNumber<T>(key, max).value_or(fallback);
   }
   std::optional<bool> optionalFlag(char const *key);
   /* One of the names of choices, as its value. */
   template <typename T>
   T choice(char const *key, std::initializer_list<std::pair<char const *, T>> choices,
            T fallback) {
      std::optional<std::string> name = optionalText(key);
      if (!name)
         return fallback;
      std::string known;
      for (auto const &c : choices) {
         if (*name == c.first)
            return c.second;
         known += known.empty() ? c.first : std::string(", ") + c.first;
      }
      fail("\"" + *name + "\" is none of " + known, key);
   }
   /* A MAC address written as six hexadecimal pairs separated by colons. */
   std::optional<std::array<uint8_t, 6>> address(char const *key);
   /* A list of texts. */
   std::optional<std::vector<std::string>> texts(char const *key);
   /* An object of unsigned numbers keyed by unsigned decimal numbers, such as
    * {"10": 2}. */
   std::vector<std::pair<uint64_t, uint64_t>> numberMap(char const *key, uint64_t maxKey,
                                                        uint64_t maxValue);

   /* The object under key (absent when the key is); it stays owned by this
    * one and is checked with it by finish. */
   Settings &object(char const *key);
   /* The objects of the list under key (none when the key is absent). */
   std::vector<Settings *> list(char const *key);

   /* The value under key as it is (NULL when absent), taken as read: for a
    * key another library reads. */
   nlohmann::json const *raw(char const *key);

   /* Throws TopologyError for the first key of this object or of an object
    * read through it that nothing read. */
   void finish() const;

 private:
   nlohmann::json const *member(char const *key, char const *type);
   std::optional<std::string> optionalText(char const *key);
   std::optional<uint64_t> readNumber(char const *key, uint64_t max);

   nlohmann::json const *node_;
   std::string path_;
   std::set<std::string> read_;
   std::deque<Settings> children_;
};

/* The topology the host is built from: the file named by the environment
 * variable TESSEL_SIM_TOPOLOGY when it is set, else the default built into
 * the library.  Read once, at the first use; a document that cannot be read
 * or parsed throws TopologyError naming its source. */
nlohmann::json const &topologyDocument();
/* Where topologyDocument came from, for messages. */
std::string const &topologySource();
/* The topology the process started with (the default or the file
 * TESSEL_SIM_TOPOLOGY names) and its source, whatever replaced it since. */
nlohmann::json const &originalTopology();
std::string const &originalTopologySource();
/* Makes document (from source) the topology tessel_sim_reset restores. */
void replaceTopology(nlohmann::json document, std::string source);

/* The state file's document when TESSEL_SIM_STATE names a file that exists
 * (read under its lock), else nothing; throws TopologyError naming it. */
std::optional<nlohmann::json> stateDocument();
/* After the live host was first built (built false when it could not be):
 * with TESSEL_SIM_STATE set, every host call that changes the host from
 * then on writes it to the file. */
void watchStateFile(bool built);

/* The whole content of a file; throws TopologyError naming label when it
 * cannot be opened or read. */
std::string readFile(std::string const &path, std::string const &label);

/* Parses a document from text; throws TopologyError naming source. */
nlohmann::json parseTopology(std::string const &text, std::string const &source);

} // namespace tessel

#endif
