// A Windows caller of Vantor2.dll, as a front end calls it: the library is
// loaded by file name, RunVantor is looked up by its undecorated name and
// called with the standard calling convention.
//
//   dll_caller DLL RECV SEND PORT SPEED APPEND USERDATA
//       one transfer; prints the result code (last line) and exits with
//       status 0 for a positive code, else minus the code
//   dll_caller --check DLL EXE
//       checks the DLL without a port: the export names, the version
//       resource, argument errors, and (32-bit) that RunVantor removes its
//       24 bytes of arguments from the stack itself; and that the program EXE
//       (vantor.exe) has the DLL's version resource with its own name and
//       the same company and copyright
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using RunVantorFn = int(__stdcall*)(const char*, const char*, int, int, int, const char*);

int g_failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) ++g_failures;
}

#if defined(__i386__)
// Calls fn with six 32-bit arguments pushed by hand and returns how many
// bytes of them were still on the stack after the call: 0 when the callee
// removed them (stdcall), 24 when it left them to the caller (cdecl).
int StackLeftByCall(void* fn, const char* recv, const char* send, int port, int speed, int append, const char* user,
                    int* result) {
  int left = 0;
  int code = 0;
  __asm__ volatile(
      "movl %%esp, %%esi\n\t"
      "pushl %7\n\t"
      "pushl %6\n\t"
      "pushl %5\n\t"
      "pushl %4\n\t"
      "pushl %3\n\t"
      "pushl %2\n\t"
      "call *%8\n\t"
      "movl %%esi, %%ecx\n\t"
      "subl %%esp, %%ecx\n\t"
      "movl %%esi, %%esp\n\t"
      : "=a"(code), "=c"(left)
      : "m"(recv), "m"(send), "m"(port), "m"(speed), "m"(append), "m"(user), "m"(fn)
      : "edx", "esi", "memory", "cc");
  *result = code;
  return left;
}
#endif

std::wstring VersionString(const wchar_t* dll, const wchar_t* key) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(dll, &ignored);
  if (size == 0) return L"";
  std::string data(size, '\0');
  if (!GetFileVersionInfoW(dll, 0, size, data.data())) return L"";
  void* value = nullptr;
  UINT len = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\041204b0\\") + key;
  if (!VerQueryValueW(data.data(), path.c_str(), &value, &len) || len == 0) return L"";
  return static_cast<const wchar_t*>(value);
}

bool FixedVersionIs1001(const wchar_t* dll) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(dll, &ignored);
  std::string data(size, '\0');
  if (size == 0 || !GetFileVersionInfoW(dll, 0, size, data.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len)) return false;
  return fixed->dwFileVersionMS == 0x00010000 && fixed->dwFileVersionLS == 0x00000001 &&
         fixed->dwProductVersionMS == 0x00010000 && fixed->dwProductVersionLS == 0x00000001;
}

std::wstring WideFromUtf8(const char* s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s, -1, out.data(), n);
  out.resize(static_cast<std::size_t>(n - 1));
  return out;
}

std::string AnsiFromWide(const std::wstring& s) {
  const int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

int CheckDll(const char* dllPath, const char* exePath) {
  const HMODULE dll = LoadLibraryA(dllPath);
  Check(dll != nullptr, "LoadLibrary");
  if (dll == nullptr) return 1;
  auto run = reinterpret_cast<RunVantorFn>(reinterpret_cast<void*>(GetProcAddress(dll, "RunVantor")));
  Check(run != nullptr, "GetProcAddress(\"RunVantor\")");
  Check(GetProcAddress(dll, "_RunVantor@24") == nullptr && GetProcAddress(dll, "RunVantor@24") == nullptr,
        "no decorated export");
  using VersionFn = const char*(__stdcall*)();
  auto version = reinterpret_cast<VersionFn>(reinterpret_cast<void*>(GetProcAddress(dll, "VantorVersion")));
  Check(version != nullptr, "GetProcAddress(\"VantorVersion\")");
  if (version != nullptr) {
    // The caller's ANSI code page (949 here), as every narrow text the library hands out.
    const std::string text = version();
    const std::string utf8Name = "Vantor3 동적 연결 라이브러리";
    const std::string ansiName = AnsiFromWide(WideFromUtf8(utf8Name.c_str()));
    Check(GetACP() == 949 && ansiName != utf8Name, "the tests' ANSI code page is 949");
    Check(text.find("ProductName: " + ansiName + "\n") != std::string::npos, "VantorVersion in the ANSI code page");
  }
  if (run == nullptr) return 1;
  // Argument errors come back at once, without a window.
  Check(run("C:\\", "C:\\", 0, 19200, 0, "") == -13, "port 0 gives -13");
  Check(run("C:\\", "C:\\", 5, 4800, 0, "") == -13, "port 5 and a wrong speed give -13");
  Check(run("C:\\", "C:\\", 4, 4800, 0, "") == -14, "speed 4800 gives -14");
#if defined(__i386__)
  int code = 0;
  const int left = StackLeftByCall(reinterpret_cast<void*>(run), "C:\\", "C:\\", 9, 19200, 0, "", &code);
  Check(code == -13, "a hand-made call returns -13");
  Check(left == 0, "the callee removes its 24 bytes of arguments (stdcall)");
#endif
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(dll, path, MAX_PATH);
  Check(FixedVersionIs1001(path), "file and product version 1.0.0.1");
  Check(VersionString(path, L"FileDescription") == L"Vantor3 DLL", "FileDescription");
  Check(VersionString(path, L"OriginalFilename") == L"Vantor3.DLL", "OriginalFilename");
  Check(VersionString(path, L"ProductName") == WideFromUtf8("Vantor3 동적 연결 라이브러리"), "ProductName (Korean)");
  Check(VersionString(path, L"FileVersion") == L"1, 0, 0, 1", "FileVersion");
  const std::wstring company = VersionString(path, L"CompanyName");
  const std::wstring copyright = VersionString(path, L"LegalCopyright");
  Check(!company.empty() && !copyright.empty(), "CompanyName and LegalCopyright");
  const std::wstring exe = WideFromUtf8(exePath);
  Check(FixedVersionIs1001(exe.c_str()), "vantor.exe: file and product version 1.0.0.1");
  Check(VersionString(exe.c_str(), L"OriginalFilename") == L"vantor.exe", "vantor.exe: OriginalFilename");
  Check(VersionString(exe.c_str(), L"ProductName") == VersionString(path, L"ProductName"), "vantor.exe: ProductName");
  Check(VersionString(exe.c_str(), L"CompanyName") == company, "vantor.exe: the DLL's CompanyName");
  Check(VersionString(exe.c_str(), L"LegalCopyright") == copyright, "vantor.exe: the DLL's LegalCopyright");
  FreeLibrary(dll);
  std::printf("%d failure(s)\n", g_failures);
  return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--check") == 0) return CheckDll(argv[2], argv[3]);
  if (argc != 8) {
    std::fprintf(stderr, "usage: dll_caller DLL RECV SEND PORT SPEED APPEND USERDATA | --check DLL EXE\n");
    return 64;
  }
  const HMODULE dll = LoadLibraryA(argv[1]);
  if (dll == nullptr) {
    std::fprintf(stderr, "dll_caller: cannot load %s (error %lu)\n", argv[1], GetLastError());
    return 70;
  }
  auto run = reinterpret_cast<RunVantorFn>(reinterpret_cast<void*>(GetProcAddress(dll, "RunVantor")));
  if (run == nullptr) {
    std::fprintf(stderr, "dll_caller: no RunVantor in %s\n", argv[1]);
    return 70;
  }
  const int code = run(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), argv[7]);
  std::printf("%d\n", code);
  std::fflush(stdout);
  FreeLibrary(dll);
  return code > 0 ? 0 : -code;
}
