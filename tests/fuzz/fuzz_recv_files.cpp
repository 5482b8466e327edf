// Fuzz target: the received-file processing fed arbitrary temporary files.
// The input chooses up to four files of the receive directory (names from a
// list that holds colliding, empty, non-ASCII and not-temporary names), their
// bytes, what their data files held before, and optionally a failing call or a
// disk that fills up. Whatever happens, no received byte is lost: each
// temporary file's records end up in its data file, or its data is kept whole.
#include <cerrno>
#include <map>
#include <string>

#include "comm_log.h"
#include "fake_file_system.h"
#include "frame.h"
#include "fuzz_input.h"
#include "kept_records.h"
#include "recv_files.h"

namespace {

using vtest::FakeFileSystem;

const std::string kDir = "recv/";
// "D" is a directory, so "D.Tmp" has a data file that cannot be opened.
const char* const kNames[] = {"A.TXT.Tmp",     "A.TXT.tmp", "B.TXT.TMP",         ".Tmp",         "\xEA\xB0\x80.TXT.Tmp",
                              "STOCK.TXT.Tmp", "D.Tmp",     "C.TXT.Tmp.unsaved", "COMMLIST.LST", "A.TXT"};
const char* const kPathParts[] = {"", ".Tmp", "A.TXT", ".unsaved", "recv"};
const int kErrors[] = {ENOSPC, EIO, EACCES};

using vfuzz::KeptRecords;

bool IsKeptWhole(const FakeFileSystem& fs, const std::string& tmpName, const std::string& data) {
  for (const std::string& name : fs.Names(kDir)) {
    if (name.rfind(tmpName, 0) == 0 && fs.Get(kDir + name) == data) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  vfuzz::FuzzInput in(bytes, size);
  FakeFileSystem fs;
  FakeFileSystem logFs;  // apart, so that a full disk or a failing call hits the data only
  vantor::SetLogFileSystem(&logFs);
  fs.MakeDir("recv");
  fs.MakeDir("recv/D");

  const std::uint8_t flags = in.Byte();
  std::map<std::string, std::string> tmpFiles;  // name -> data
  std::map<std::string, std::string> before;    // every file before the processing
  const int count = 1 + (flags & 3);
  for (int i = 0; i < count; ++i) {
    const std::string name = kNames[in.Pick(sizeof kNames / sizeof kNames[0])];
    const std::string data = in.Bytes(in.U16() % 6000);
    fs.Put(kDir + name, data);
    before[name] = data;
    if (vantor::IsTmpName(name)) tmpFiles[name] = data;
  }
  const bool faulty = (flags & 0x0C) != 0;
  if ((flags & 0x04) != 0) {
    const auto op = static_cast<FakeFileSystem::Op>(in.Pick(12));
    const std::string part = kPathParts[in.Pick(sizeof kPathParts / sizeof kPathParts[0])];
    const int error = kErrors[in.Pick(3)];
    const int after = in.Pick(8);
    const int times = static_cast<int>(in.Pick(3)) - 1;
    fs.Fail(op, part, error, after, times == 0 ? 2 : times);
  }
  if ((flags & 0x08) != 0) fs.SetCapacity(in.U16());

  vantor::ParseRecvFiles(kDir, fs);
  vantor::SetLogFileSystem(nullptr);

  // Files that are neither temporary files nor their data files are never touched.
  for (const auto& [name, data] : before) {
    const bool dataFile =
        tmpFiles.count(name + ".Tmp") || tmpFiles.count(name + ".tmp") || tmpFiles.count(name + ".TMP");
    if (!vantor::IsTmpName(name) && !dataFile) FUZZ_CHECK(fs.Get(kDir + name) == data);
  }
  // Expected data files: what was there, then the records of each temporary
  // file of that name in the order the directory lists them.
  std::map<std::string, std::string> expected;
  for (const auto& [name, data] : tmpFiles) {
    const std::string dataName = name.substr(0, name.size() - 4);
    if (dataName.empty() || dataName == "D") continue;  // no data file can be written
    auto [it, fresh] = expected.try_emplace(dataName, before.count(dataName) ? before[dataName] : "");
    it->second += KeptRecords(data);
  }
  for (const auto& [name, data] : tmpFiles) {
    const std::string dataName = name.substr(0, name.size() - 4);
    if (dataName.empty()) continue;  // ".Tmp" names no data file; it is dropped
    if (!faulty) {
      if (dataName == "D") {
        FUZZ_CHECK(fs.Get(kDir + name + ".unsaved") == data);
      } else {
        FUZZ_CHECK(!fs.Has(kDir + name));
        FUZZ_CHECK(fs.Get(kDir + dataName) == expected[dataName]);
      }
      continue;
    }
    // With a failure: merged, or kept byte for byte under its own name or set aside.
    const bool merged = !fs.Has(kDir + name) && fs.Get(kDir + dataName).find(KeptRecords(data)) != std::string::npos;
    FUZZ_CHECK(merged || IsKeptWhole(fs, name, data));
  }
  return 0;
}
