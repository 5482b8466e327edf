// Fuzz target: the commit record and the recovery of received data. Two kinds
// of input, chosen by the first byte:
//
// - A run: temporary files and data files chosen by the input, committed by
//   CommitRecvFiles in either mode, then stored by ParseRecvFiles that the
//   input may cut short after any call (a killed process) and follow with a
//   power cut, then completed by the next run's RecoverRecvFiles. A call of
//   the commit, of storing or of that recovery may also fail, once or a few
//   times in a row; a start after that finds the disk mended. Every data file
//   must end exactly as one uncut storing leaves it when the commit held, and
//   as it was when it did not; a second recovery changes nothing.
// - A damaged record: arbitrary bytes as the commit record beside temporary
//   files. The parser takes only well-formed records; recovery touches nothing
//   outside the receive directory, removes the record so that it never blocks
//   a run (an empty one, a commit taken back, blocks nothing and may stay), and
//   loses no received byte.
#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "comm_log.h"
#include "commit_record.h"
#include "fake_file_system.h"
#include "frame.h"
#include "fuzz_input.h"
#include "kept_records.h"
#include "recv_files.h"

namespace {

using vtest::FakeFileSystem;

const std::string kDir = "recv/";
// "D" is a directory: its data cannot be stored and is set aside.
const char* const kDataNames[] = {"A.TXT", "B.TXT", "\xEA\xB0\x80.TXT", "STOCK.TXT", "D"};
const std::string kOther = "COMMLIST.LST";

using vfuzz::KeptRecords;

struct File {
  bool hasTmp = false;
  std::string tmp;
  bool hadData = false;
  std::string data;
};

void CheckCalls(const FakeFileSystem& fs) {
  for (const std::string& call : fs.calls) {
    const std::string paths = call.substr(call.find(' ') + 1);
    const std::size_t arrow = call.rfind("Rename ", 0) == 0 ? paths.find(" -> ") : std::string::npos;
    for (const std::string& path :
         {paths.substr(0, arrow), arrow == std::string::npos ? paths : paths.substr(arrow + 4)}) {
      FUZZ_CHECK(path.rfind(kDir, 0) == 0);
      const std::string name = path.substr(kDir.size());
      FUZZ_CHECK(name.empty() || vantor::IsPlainName(name));
    }
  }
}

// The received bytes of tmpName are somewhere: stored in the data file, or
// kept whole under the temporary name or set aside.
bool NotLost(const FakeFileSystem& fs, const std::string& tmpName, const std::string& dataName, const std::string& d) {
  for (const std::string& name : fs.Names(kDir)) {
    if (name.rfind(tmpName, 0) == 0 && fs.Get(kDir + name) == d) return true;
  }
  return !fs.Has(kDir + tmpName) && !dataName.empty() &&
         fs.Get(kDir + dataName).find(KeptRecords(d)) != std::string::npos;
}

void Run(vfuzz::FuzzInput& in, FakeFileSystem& fs, std::uint8_t flags) {
  const bool append = (flags & 0x02) != 0;
  std::map<std::string, File> files;
  const int count = 1 + (flags >> 2 & 3);
  for (int i = 0; i < count; ++i) {
    const std::string name = kDataNames[in.Pick(sizeof kDataNames / sizeof kDataNames[0])];
    const std::uint8_t bits = in.Byte();
    File f;
    f.hasTmp = (bits & 1) != 0;
    f.hadData = (bits & 2) != 0 && name != "D";
    if (f.hasTmp) f.tmp = in.Bytes(in.U16() % 3000);
    if (f.hadData) f.data = in.Bytes(in.U16() % 300);
    files[name] = f;
  }
  std::vector<std::string> names;
  for (const auto& [name, f] : files) {
    names.push_back(name);
    if (f.hasTmp) fs.Put(kDir + name + ".Tmp", f.tmp);
    if (f.hadData) fs.Put(kDir + name, f.data);
  }
  const bool cut = (flags & 0x10) != 0;
  const bool powerCut = (flags & 0x20) != 0;
  const int stopAfter = static_cast<int>(in.U16() % 400);
  // A call that fails (once, or a few times in a row) in the commit, in
  // storing or in the first recovery; the start after that finds the disk
  // mended.
  const int failAt = static_cast<int>(in.U16() % 400);
  const int failTimes = in.Byte() % 4;
  const int failPhase = static_cast<int>(in.Pick(3));
  const int errors[] = {EIO, ENOSPC, EACCES};
  const int failError = errors[in.Pick(3)];
  auto failIn = [&](int phase) {
    if (failTimes > 0 && failPhase == phase)
      fs.FailCall(static_cast<int>(fs.calls.size()) + failAt, failError, failTimes);
  };

  failIn(0);
  const bool promised = vantor::CommitRecvFiles(kDir, names, append, fs);
  if (promised) {
    failIn(1);
    if (cut) fs.StopAfter(stopAfter);
    vantor::ParseRecvFiles(kDir, fs);
    fs.Restart();
  }
  if (powerCut) fs.PowerCut();
  failIn(2);
  vantor::RecoverRecvFiles(kDir, fs);
  fs.ClearFailures();
  vantor::RecoverRecvFiles(kDir, fs);
  vantor::DeleteTmpFiles(kDir, fs);

  FUZZ_CHECK(!fs.Has(kDir + vantor::kCommitRecordName));
  FUZZ_CHECK(!fs.Has(kDir + vantor::kCommitRecordNewName));
  FUZZ_CHECK(fs.Get(kDir + kOther) == "lists");
  for (const auto& [name, f] : files) {
    FUZZ_CHECK(!fs.Has(kDir + name + ".Tmp"));
    if (name == "D") {
      if (f.hasTmp && promised) FUZZ_CHECK(fs.Get(kDir + "D.Tmp.unsaved") == f.tmp);
      continue;
    }
    if (!promised) {  // no end answer: the data file as it was
      FUZZ_CHECK(fs.Has(kDir + name) == f.hadData && fs.Get(kDir + name) == f.data);
      continue;
    }
    std::string expected;
    if (append) expected = f.data;
    if (f.hasTmp) expected += KeptRecords(f.tmp);
    const bool exists = fs.Has(kDir + name);
    if (!f.hasTmp && !(append && f.hadData)) {
      FUZZ_CHECK(!exists || fs.Get(kDir + name).empty());  // replace mode with no data: none, or empty
    } else {
      FUZZ_CHECK(exists && fs.Get(kDir + name) == expected);
    }
  }
  // Redoing is harmless: nothing is left to do.
  const std::vector<std::string> before = fs.Names(kDir);
  std::map<std::string, std::string> contents;
  for (const std::string& n : before) contents[n] = fs.Get(kDir + n);
  vantor::RecoverRecvFiles(kDir, fs);
  FUZZ_CHECK(fs.Names(kDir) == before);
  for (const std::string& n : before) FUZZ_CHECK(fs.Get(kDir + n) == contents[n]);
}

void Damaged(vfuzz::FuzzInput& in, FakeFileSystem& fs, std::uint8_t flags) {
  std::map<std::string, std::string> tmps;
  const int count = flags >> 2 & 3;
  for (int i = 0; i < count; ++i) {
    const std::string name = kDataNames[in.Pick(sizeof kDataNames / sizeof kDataNames[0])];
    tmps[name + ".Tmp"] = in.Bytes(in.U16() % 1000);
    fs.Put(kDir + name + ".Tmp", tmps[name + ".Tmp"]);
  }
  const std::string text = in.Bytes(in.U16() % 4096);
  fs.Put(kDir + vantor::kCommitRecordName, text);

  if (auto record = vantor::ParseCommitRecord(text)) {
    for (const vantor::CommitEntry& e : record->entries) {
      FUZZ_CHECK(vantor::IsPlainName(e.tmpName) && vantor::IsTmpName(e.tmpName) && e.before >= -1);
    }
    FUZZ_CHECK(vantor::ParseCommitRecord(vantor::FormatCommitRecord(*record)) == record);
  }
  if ((flags & 0x10) != 0) {
    vantor::DeleteTmpFiles(kDir, fs);  // the stale-file cleanup spares what the record names
  } else {
    vantor::RecoverRecvFiles(kDir, fs);
    // An empty record is a commit taken back: it names nothing and blocks nothing.
    FUZZ_CHECK(!fs.Has(kDir + vantor::kCommitRecordName) || text.empty());
    for (const auto& [tmpName, d] : tmps) {
      FUZZ_CHECK(NotLost(fs, tmpName, tmpName.substr(0, tmpName.size() - 4), d));
    }
  }
  FUZZ_CHECK(fs.Get(kDir + kOther) == "lists");
  CheckCalls(fs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  vfuzz::FuzzInput in(bytes, size);
  FakeFileSystem fs;
  FakeFileSystem logFs;
  vantor::SetLogFileSystem(&logFs);
  fs.MakeDir("recv");
  fs.MakeDir("recv/D");
  fs.Put(kDir + kOther, "lists");
  const std::uint8_t flags = in.Byte();
  if ((flags & 1) == 0) {
    Run(in, fs, flags);
  } else {
    Damaged(in, fs, flags);
  }
  vantor::SetLogFileSystem(nullptr);
  return 0;
}
