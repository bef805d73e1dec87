/* Checks and helpers shared by the host library tests: failed checks are
 * counted and reported with their line, and a test program exits non-zero
 * when any failed. */
#ifndef TESSEL_HOST_TESTS_CHECK_H
#define TESSEL_HOST_TESTS_CHECK_H

#include <stdio.h>
#include <string.h>

#include "tessel_sim.h"

namespace check {

inline int failures = 0;

inline void report(char const *file, int line, char const *what) {
   fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
   ++failures;
}

inline void equal(char const *file, int line, char const *what, long long actual,
                  long long expected) {
   if (actual != expected) {
      fprintf(stderr, "%s:%d: %s is %#llx, expected %#llx\n", file, line, what, actual, expected);
      ++failures;
   }
}

inline void equalText(char const *file, int line, char const *what, char const *actual,
                      char const *expected) {
   if (actual == nullptr || strcmp(actual, expected) != 0) {
      fprintf(stderr, "%s:%d: %s is \"%s\", expected \"%s\"\n", file, line, what,
              actual != nullptr ? actual : "(null)", expected);
      ++failures;
   }
}

/* True when the n bytes at p all have value. */
inline bool allBytes(void const *p, size_t n, unsigned char value) {
   for (size_t i = 0; i < n; ++i) {
      if (static_cast<unsigned char const *>(p)[i] != value)
         return false;
   }
   return true;
}

/* Exit status of a test program. */
inline int finish(char const *name) {
   if (failures != 0) {
      fprintf(stderr, "%s: %d check(s) failed\n", name, failures);
      return 1;
   }
   printf("%s passed\n", name);
   return 0;
}

/* Reads a field of a packed record by copy, whatever its alignment. */
template <typename T> T at(void const *record, size_t offset) {
   T value;
   memcpy(&value, static_cast<char const *>(record) + offset, sizeof value);
   return value;
}

template <typename T> void put(void *record, size_t offset, T value) {
   memcpy(static_cast<char *>(record) + offset, &value, sizeof value);
}

} // namespace check

#define CHECK(cond) ((cond) ? (void)0 : check::report(__FILE__, __LINE__, #cond))
#define CHECK_EQ(actual, expected)                                                                 \
   check::equal(__FILE__, __LINE__, #actual, static_cast<long long>(actual),                       \
                static_cast<long long>(expected))
#define CHECK_STR(actual, expected)                                                                \
   check::equalText(__FILE__, __LINE__, #actual, (actual), (expected))

#endif
