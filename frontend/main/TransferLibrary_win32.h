#pragma once
// Binding of the transfer library on Windows: Vantor2.dll is loaded from the
// program's own folder (never from the current directory or the search
// path) at the first transfer, and RunVantor looked up; once found it stays
// loaded until the program ends. When the library or its export is missing,
// no transfer takes place and the next transfer tries again.

#include <windows.h>

#include <optional>
#include <string>

#include "transfer_args.h"
#include "vantor2.h"

class Vantor2Library {
 public:
  // path: the DLL's full path; empty for Vantor2.dll beside the program.
  explicit Vantor2Library(std::wstring path = {});
  Vantor2Library(const Vantor2Library&) = delete;
  Vantor2Library& operator=(const Vantor2Library&) = delete;

  // Calls RunVantor; no result when the library or its export is missing.
  std::optional<int> Run(const vantor::TransferArgs& args);
  bool IsLoaded() const { return m_run != nullptr; }

  static std::wstring BesideProgram();

 private:
  using RunVantorFn = int(VANTOR_CALL*)(const char*, const char*, int, int, int, const char*);
  bool Bind();

  std::wstring m_path;
  HMODULE m_module = nullptr;
  RunVantorFn m_run = nullptr;
};
