#pragma once
// The few POSIX calls that the library's unit tests (tests/unit) make for
// their own surroundings (temporary directories, directories with a mode, an
// environment variable), mapped to the Microsoft C library, so that those
// tests build unchanged as a Windows program. Force-included by
// tests/support/CMakeLists.txt into every Windows test that uses the test
// support; nothing of the library uses it.
#include <direct.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>

#ifdef __cplusplus
inline char* mkdtemp(char* tmpl) {
  if (_mktemp_s(tmpl, strlen(tmpl) + 1) != 0 || _mkdir(tmpl) != 0) return nullptr;
  return tmpl;
}
inline int mkdir(const char* path, int /*mode*/) { return _mkdir(path); }
inline int setenv(const char* name, const char* value, int /*overwrite*/) { return _putenv_s(name, value); }
inline int symlink(const char*, const char*) { return -1; }  // none for tests on Windows
#include <string.h>
#endif
