#include "TransferLibrary_win32.h"

Vantor2Library::Vantor2Library(std::wstring path) : m_path(path.empty() ? BesideProgram() : std::move(path)) {}

std::wstring Vantor2Library::BesideProgram() {
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (n < exe.size()) {
      exe.resize(n);
      break;
    }
    exe.resize(exe.size() * 2);
  }
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"Vantor2.dll";
}

bool Vantor2Library::Bind() {
  if (m_run != nullptr) return true;
  if (m_module == nullptr) {
    // The full path: the DLL beside the program, not one planted elsewhere.
    m_module = LoadLibraryW(m_path.c_str());
    if (m_module == nullptr) return false;
  }
  m_run = reinterpret_cast<RunVantorFn>(reinterpret_cast<void*>(GetProcAddress(m_module, "RunVantor")));
  return m_run != nullptr;
}

std::optional<int> Vantor2Library::Run(const vantor::TransferArgs& args) {
  if (!Bind()) return std::nullopt;
  return m_run(args.recvDir.c_str(), args.sendDir.c_str(), args.portNo, args.speed, args.appendMode,
               args.userData.c_str());
}
