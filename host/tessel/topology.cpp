#include "topology.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>

#include <nlohmann/json.hpp>

/* The default topology, embedded by the build (host/topology/default.json). */
extern "C" char const tessel_default_topology[];

namespace tessel {

using nlohmann::json;

namespace {

char const *typeName(json const &value) { return value.type_name(); }

} // namespace

Settings::Settings(json const *node, std::string path) : node_(node), path_(std::move(path)) {
   if (node_ != nullptr && !node_->is_object())
      fail(std::string("expected an object, found ") + typeName(*node_));
}

bool Settings::has(char const *key) const { return node_ != nullptr && node_->contains(key); }

void Settings::fail(std::string const &what, char const *key) const {
   std::string where = path_;
   if (key != nullptr)
      where += (where.empty() ? "" : ".") + std::string(key);
   throw TopologyError((where.empty() ? std::string("top level") : where) + ": " + what);
}

/* The value of key, or NULL when absent; type names what the caller expects,
 * for the message when the value is null. */
json const *Settings::member(char const *key, char const *type) {
   read_.insert(key);
   if (node_ == nullptr)
      return nullptr;
   auto it = node_->find(key);
   if (it == node_->end())
      return nullptr;
   if (it->is_null())
      fail(std::string("expected ") + type + ", found null", key);
   return &*it;
}

bool Settings::flag(char const *key, bool fallback) {
   std::optional<bool> value = optionalFlag(key);
   return value ? *value : fallback;
}

std::optional<bool> Settings::optionalFlag(char const *key) {
   json const *value = member(key, "true or false");
   if (value == nullptr)
      return std::nullopt;
   if (!value->is_boolean())
      fail(std::string("expected true or false, found ") + typeName(*value), key);
   return value->get<bool>();
}

std::optional<std::string> Settings::optionalText(char const *key) {
   json const *value = member(key, "a string");
   if (value == nullptr)
      return std::nullopt;
   if (!value->is_string())
      fail(std::string("expected a string, found ") + typeName(*value), key);
   return value->get<std::string>();
}

std::string Settings::text(char const *key, std::string fallback) {
   std::optional<std::string> value = optionalText(key);
   return value ? *value : fallback;
}

std::optional<uint64_t> Settings::readNumber(char const *key, uint64_t max) {
   json const *value = member(key, "a number");
   if (value == nullptr)
      return std::nullopt;
   if (!value->is_number_integer())
      fail(std::string("expected an integer, found ") + typeName(*value), key);
   if (!value->is_number_unsigned() && value->get<int64_t>() < 0)
      fail("negative value " + value->dump(), key);
   uint64_t n = value->get<uint64_t>();
   if (n > max)
      fail(std::to_string(n) + " is more than " + std::to_string(max), key);
   return n;
}

std::optional<std::array<uint8_t, 6>> Settings::address(char const *key) {
   std::optional<std::string> text = optionalText(key);
   if (!text)
      return std::nullopt;
   std::array<uint8_t, 6> mac{};
   auto hex = [](char c) {
      return c >= '0' && c <= '9'   ? c - '0'
             : c >= 'a' && c <= 'f' ? c - 'a' + 10
             : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                    : -1;
   };
   bool ok = text->size() == 17;
   for (size_t i = 0; ok && i < 6; ++i) {
      int hi = hex((*text)[3 * i]), lo = hex((*text)[3 * i + 1]);
      ok = hi >= 0 && lo >= 0 && (i == 5 || (*text)[3 * i + 2] == ':');
      mac[i] = static_cast<uint8_t>(hi * 16 + lo);
   }
   if (!ok)
      fail("\"" + *text + "\" is not a MAC address such as \"02:aa:00:00:00:01\"", key);
   return mac;
}

std::optional<std::vector<std::string>> Settings::texts(char const *key) {
   json const *value = member(key, "a list of strings");
   if (value == nullptr)
      return std::nullopt;
   if (!value->is_array())
      fail(std::string("expected a list of strings, found ") + typeName(*value), key);
   std::vector<std::string> out;
   for (auto const &item : *value) {
      if (!item.is_string())
         fail(std::string("expected a list of strings, found ") + typeName(item) + " in it", key);
      out.push_back(item.get<std::string>());
   }
   return out;
}

std::vector<std::pair<uint64_t, uint64_t>> Settings::numberMap(char const *key, uint64_t maxKey,
                                                               uint64_t maxValue) {
   std::vector<std::pair<uint64_t, uint64_t>> out;
   json const *value = member(key, "an object");
   if (value == nullptr)
      return out;
   Settings &map = object(key);
   for (auto const &item : value->items()) {
      std::string const &name = item.key();
      bool digits = !name.empty() && name.size() <= 10 &&
                    name.find_first_not_of("0123456789") == std::string::npos;
      uint64_t number = digits ? std::stoull(name) : 0;
      if (!digits || number > maxKey)
         map.fail("key \"" + name + "\" is not a number from 0 to " + std::to_string(maxKey));
      auto count = map.readNumber(name.c_str(), maxValue);
      out.emplace_back(number, *count);
   }
   return out;
}

Settings &Settings::object(char const *key) {
   json const *value = member(key, "an object");
   children_.emplace_back(value, path_.empty() ? key : path_ + "." + key);
   return children_.back();
}

std::vector<Settings *> Settings::list(char const *key) {
   json const *value = member(key, "a list");
   std::vector<Settings *> out;
   if (value == nullptr)
      return out;
   if (!value->is_array())
      fail(std::string("expected a list, found ") + typeName(*value), key);
   std::string const base = path_.empty() ? key : path_ + "." + key;
   for (size_t i = 0; i < value->size(); ++i) {
      children_.emplace_back(&(*value)[i], base + "[" + std::to_string(i) + "]");
      out.push_back(&children_.back());
   }
   return out;
}

json const *Settings::raw(char const *key) {
   read_.insert(key);
   if (node_ == nullptr)
      return nullptr;
   auto it = node_->find(key);
   return it == node_->end() ? nullptr : &*it;
}

void Settings::finish() const {
   if (node_ != nullptr) {
      for (auto const &item : node_->items()) {
         if (read_.count(item.key()) == 0)
            fail("unknown setting", item.key().c_str());
      }
   }
   for (auto const &child : children_)
      child.finish();
}

json parseTopology(std::string const &text, std::string const &source) {
   try {
      return json::parse(text);
   } catch (json::parse_error const &e) {
      throw TopologyError(source + ": " + e.what());
   }
}

std::string readFile(std::string const &path, std::string const &label) {
   std::unique_ptr<FILE, int (*)(FILE *)> file(fopen(path.c_str(), "rb"), fclose);
   if (!file)
      throw TopologyError(label + ": cannot be opened: " + strerror(errno));
   std::string text;
   char chunk[4096];
   size_t n;
   while ((n = fread(chunk, 1, sizeof chunk, file.get())) > 0)
      text.append(chunk, n);
   if (ferror(file.get()))
      throw TopologyError(label + ": cannot be read: " + strerror(errno));
   return text;
}

namespace {

struct Loaded {
   std::string source;
   json document;
};

Loaded load() {
   char const *path = getenv("TESSEL_SIM_TOPOLOGY");
   if (path == nullptr || path[0] == '\0')
      return {"the built-in default topology",
              parseTopology(tessel_default_topology, "the built-in default topology")};
   std::string const source = std::string("TESSEL_SIM_TOPOLOGY=") + path;
   return {source, parseTopology(readFile(path, source), source)};
}

Loaded &loaded() {
   static Loaded *document = new Loaded(load());
   return *document;
}

} // namespace

json const &topologyDocument() { return loaded().document; }

std::string const &topologySource() { return loaded().source; }

namespace {

/* The topology the process started with, kept when another replaces it. */
Loaded const &original() {
   static Loaded const *first = new Loaded(loaded());
   return *first;
}

} // namespace

json const &originalTopology() { return original().document; }

std::string const &originalTopologySource() { return original().source; }

void replaceTopology(json document, std::string source) {
   original();
   Loaded &current = loaded();
   current.document = std::move(document);
   current.source = std::move(source);
}

} // namespace tessel
