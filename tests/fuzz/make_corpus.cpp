// Writes the fuzz targets' seed corpora: real frames of the terminal, whole
// runs as step scripts, and temporary files as the receiving step leaves them.
// The scripts follow the input layouts of fuzz_steps.cpp and
// fuzz_recv_files.cpp. Usage: fuzz_make_corpus <corpus folder>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "frame.h"
#include "serial_port.h"
#include "test_terminal.h"

namespace {

using namespace vantor;
using vtest::TestTerminal;
namespace fs = std::filesystem;

void Write(const fs::path& dir, const std::string& name, const std::string& bytes) {
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

// A script as the targets read it.
struct Script {
  std::string b;
  Script& Byte(unsigned v) {
    b.push_back(static_cast<char>(v & 0xFF));
    return *this;
  }
  Script& U16(unsigned v) { return Byte(v >> 8).Byte(v); }
  Script& Raw(const std::string& s) {
    b += s;
    return *this;
  }
};

// fuzz_steps: the send file's length, the start (phase - 1, append in bit 2),
// the block size of a file received from the start.
Script Steps(unsigned sendLen, int phase, unsigned blockSize, unsigned nameIndex = 0) {
  Script s;
  s.U16(sendLen).Byte(static_cast<unsigned>(phase - 1)).U16(blockSize - 1);
  if (phase == PHASE_RECV) s.Byte(nameIndex);
  return s;
}
// Operation 3 (a real frame of the terminal) with its selector.
Script& Enq(Script& s, bool send) { return s.Byte(3 | 0 << 2).U16(0).Byte(send ? 1 : 0).Byte(0).Byte(1); }
Script& Soh1(Script& s, unsigned block, unsigned size, unsigned name) {
  return s.Byte(3 | 1 << 2).U16(block - 1).U16(size).Byte(name);
}
Script& Soh2(Script& s, unsigned name) { return s.Byte(3 | 2 << 2).U16(0).Byte(name); }
Script& Eot(Script& s) { return s.Byte(3 | 3 << 2).U16(0); }
// lead: 0 STX, 1 ETB, 2 FS
Script& Data(Script& s, unsigned number, const std::string& data, unsigned lead) {
  return s.Byte(3 | 4 << 2).U16(number).U16(static_cast<unsigned>(data.size())).Raw(data).Byte(lead);
}
Script& Request(Script& s, unsigned number, bool end) { return s.Byte(3 | 6 << 2).U16(number).Byte(end ? 1 : 0); }
Script& Again(Script& s) { return s.Byte(3 | 7 << 2).U16(0); }
// Operation 0: a piece cut short, of n bytes.
Script& Short(Script& s, const std::string& bytes) {
  return s.Byte(0).U16(static_cast<unsigned>(bytes.size() - 1)).Raw(bytes);
}

std::string Lines(int count, int width) {
  std::string d;
  for (int i = 0; i < count; ++i)
    d += std::string(static_cast<std::size_t>(width), static_cast<char>('A' + i % 26)) + "\r\n";
  return d;
}

void FrameCorpus(const fs::path& dir) {
  Write(dir, "enq_receive", TestTerminal::Enq('1', "0000001234", "A.TXT:B.TXT:"));
  Write(dir, "enq_send", TestTerminal::Enq('2', "0000000000", "A.TXT::\xB0\xA1.TXT:"));
  Write(dir, "soh_receive", TestTerminal::Soh('1', 100, 250, "STOCK.TXT"));
  Write(dir, "soh_send", TestTerminal::Soh('2', 4000, 0, "A.TXT"));
  Write(dir, "soh_hostile_name", TestTerminal::Soh('1', 100, 0, "../X"));
  Write(dir, "eot", TestTerminal::Eot());
  Write(dir, "data_stx", TestTerminal::Data(STX, 1, Lines(5, 18), 100));
  Write(dir, "data_etb", TestTerminal::Data(ETB, 2, "*DELETED\r\n", 100));
  Write(dir, "data_fs", TestTerminal::Data(FS, 3, "", 100));
  Write(dir, "request", TestTerminal::Request(1));
  Write(dir, "request_end", TestTerminal::Request(4, FS));
  Write(dir, "ack", BuildBlockFrame(2, STX));
  Write(dir, "end_answer", BuildEndAnswer());
  Write(dir, "number_signed", "  -0000042x");
  Write(dir, "number_long", "123456789012345678901234567890");
}

void StepsCorpus(const fs::path& dir) {
  {  // a receive run: one file in two blocks and the end
    Script s = Steps(0, PHASE_ENQ, 1);
    Enq(s, false);
    Soh1(s, 100, 130, 0);
    Data(s, 1, Lines(5, 18), 0);
    Data(s, 2, Lines(1, 28), 1);
    Data(s, 3, "", 2);
    Eot(s);
    Write(dir, "receive_run", s.b);
  }
  {  // a send run of a 9000-byte file
    Script s = Steps(9000, PHASE_ENQ, 1);
    Enq(s, true);
    Soh2(s, 0);
    for (unsigned n = 1; n <= 4; ++n) Request(s, n, false);
    Request(s, 5, true);
    Eot(s);
    Write(dir, "send_run", s.b);
  }
  {  // a data frame sent again (its acknowledgement lost), then the header again
    Script s = Steps(0, PHASE_RECV, 1016, 2);
    Data(s, 1, Lines(3, 40), 0);
    Again(s);
    Data(s, 2, "", 2);
    Soh1(s, 1016, 0, 2);
    Again(s);
    Write(dir, "resent_block_and_header", s.b);
  }
  {  // a 1024-byte header resent while 108-byte frames are read
    Script s = Steps(0, PHASE_SOH, 1);
    Soh1(s, 100, 0, 0);
    Again(s);
    Write(dir, "resent_header_short_blocks", s.b);
  }
  {  // a header resent while 4008-byte frames are read
    Script s = Steps(0, PHASE_SOH, 1);
    Soh1(s, 4000, 8000, 1);
    Again(s);
    Data(s, 1, std::string(4000, 'q'), 0);
    Write(dir, "resent_header_long_blocks", s.b);
  }
  {  // a file's end frame resent (its acknowledgement lost), short and long
    for (const int blockSize : {100, 4000}) {
      Script s = Steps(0, PHASE_SOH, 1);
      Soh1(s, blockSize, blockSize, 0);
      Data(s, 1, std::string(static_cast<std::size_t>(blockSize), 'e'), 0);
      Data(s, 2, "", 2);
      Again(s);
      Again(s);
      Eot(s);
      Write(dir, "resent_end_frame_" + std::to_string(blockSize), s.b);
    }
  }
  {  // frames cut short and garbage up to the retry limit
    Script s = Steps(0, PHASE_RECV, 100, 0);
    Short(s, std::string("\x02"
                         "00001ABC",
                         9));
    for (int i = 0; i < 11; ++i) Short(s, "\x18garbage");
    Write(dir, "faults_to_retry_limit", s.b);
  }
  {  // hostile and odd names in headers
    Script s = Steps(0, PHASE_SOH, 1);
    Soh1(s, 100, 0, 4);   // "../A.TXT"
    Soh1(s, 100, 0, 5);   // ""
    Soh1(s, 100, 0, 7);   // "A.TXT.Tmp", kept for the directory's own files
    Soh1(s, 100, 0, 6);   // "COMMLIST.LST", too
    Soh1(s, 9999, 0, 3);  // a Korean name, the largest block
    Data(s, 1, "\xB0\xA1\r\n", 1);
    Write(dir, "odd_names", s.b);
  }
  {  // send requests out of range and the header answer sent again
    Script s = Steps(100, PHASE_SEND, 1);
    Short(s, "\x02\x06-0001 x\x03");
    Request(s, 0, false);
    Request(s, 99999, false);
    Request(s, 1, false);
    Request(s, 1, true);
    Write(dir, "send_odd_requests", s.b);
  }
  {  // whole frames of the read length with valid trailers (operation 1)
    Script s = Steps(0, PHASE_RECV, 10, 1);
    s.Byte(1 | 3 << 2)
        .Raw(
            "\x02"
            "00001"
            "0123456789..");  // STX, 18 bytes with the trailer
    s.Byte(1 | 5 << 2)
        .Raw(
            "\x1C"
            "00002"
            "           ..");  // FS
    s.Byte(1 | 2 << 2);        // EOT, filled with blanks
    Write(dir, "sealed_frames", s.b);
  }
  {  // append mode, two files
    Script s = Steps(0, PHASE_ENQ, 1);
    s.b[2] = 4;  // append
    Enq(s, false);
    Soh1(s, 50, 0, 0);
    Data(s, 1, Lines(2, 10), 1);
    Data(s, 2, "", 2);
    Soh1(s, 50, 0, 1);
    Data(s, 1, "*X\r\nY\r\n", 0);
    Data(s, 2, "", 2);
    Eot(s);
    Write(dir, "append_two_files", s.b);
  }
}

// fuzz_recv_files: flags (files - 1; 4 a failing call; 8 a disk limit), then
// per file its name's index, length and bytes.
Script Files(unsigned flags) { return Script().Byte(flags); }
Script& File(Script& s, unsigned name, const std::string& data) {
  return s.Byte(name).U16(static_cast<unsigned>(data.size())).Raw(data);
}

void RecvFilesCorpus(const fs::path& dir) {
  {
    Script s = Files(0);
    File(s, 0, "ABC\r\nDEF\r\n*GH\r\nIJ");
    Write(dir, "records_and_deleted", s.b);
  }
  {
    Script s = Files(1);
    File(s, 5, "AB\r\nCDEFGH\r\nIJ\r\n");  // lines of different lengths
    File(s, 9, "OLD\r\n");                 // its data file in append mode ("A.TXT")
    Write(dir, "uneven_lines", s.b);
  }
  {
    Script s = Files(3);
    File(s, 0, Lines(3, 8));
    File(s, 1, Lines(2, 8));  // the same data file, another letter case
    File(s, 3, "dropped");    // ".Tmp"
    File(s, 6, Lines(1, 3));  // "D.Tmp", whose data file is a directory
    Write(dir, "colliding_names", s.b);
  }
  {
    Script s = Files(2);
    File(s, 4, "");             // empty, Korean name
    File(s, 2, "no line end");  // no CR at all
    File(s, 7, "kept\r\n");     // ".unsaved", not a temporary file
    Write(dir, "empty_and_no_cr", s.b);
  }
  {
    Script s = Files(0);
    File(s, 0, std::string(5100, 'L') + "\r\n" + std::string(300, 'M'));  // a first line beyond 5018 bytes
    Write(dir, "long_first_line", s.b);
  }
  {  // a write that fails (disk full) after some calls
    Script s = Files(4 | 1);
    File(s, 0, Lines(40, 30));
    File(s, 2, Lines(5, 10));
    s.Byte(2).Byte(0).Byte(0).Byte(1).Byte(0);  // Write, any path, ENOSPC, after 1, once
    Write(dir, "write_fails", s.b);
  }
  {  // a disk that fills up
    Script s = Files(8);
    File(s, 5, Lines(50, 20));
    s.U16(600);
    Write(dir, "disk_fills_up", s.b);
  }
  {  // the data file cannot be opened
    Script s = Files(4);
    File(s, 0, Lines(4, 4));
    s.Byte(0).Byte(2).Byte(2).Byte(0).Byte(0);  // Open, "A.TXT", EACCES, at once, for good
    Write(dir, "open_refused", s.b);
  }
}

// fuzz_recovery: flags (bit 0 a damaged record; bit 1 append; bits 2-3 files;
// bit 4 cut short, or the cleanup for a damaged record; bit 5 a power cut).
// A run ends with the call after which it is cut, then a failing call: its
// number, how many times in a row it fails, the phase (0 the commit, 1
// storing, 2 the first recovery) and the error (0 EIO, 1 ENOSPC, 2 EACCES).
Script& RunFile(Script& s, unsigned name, bool tmp, const std::string& tmpData, bool data, const std::string& old) {
  s.Byte(name).Byte((tmp ? 1 : 0) | (data ? 2 : 0));
  if (tmp) s.U16(static_cast<unsigned>(tmpData.size())).Raw(tmpData);
  if (data) s.U16(static_cast<unsigned>(old.size())).Raw(old);
  return s;
}

void RecoveryCorpus(const fs::path& dir) {
  {
    Script s = Files(1 << 2);
    RunFile(s, 0, true, "ABC\r\nDEF\r\n*GH\r\nIJ", true, "OLD\r\n");
    RunFile(s, 1, false, "", true, "KEEP\r\n");
    s.U16(0);
    Write(dir, "replace_two_files", s.b);
  }
  {
    Script s = Files(2 | 2 << 2 | 0x10 | 0x20);
    RunFile(s, 3, true, Lines(20, 10), true, "OLD1\r\nOLD2\r\n");
    RunFile(s, 2, true, "\xB0\xA1\r\n", false, "");
    RunFile(s, 4, true, Lines(2, 2), false, "");  // "D", a directory
    s.U16(25);
    Write(dir, "append_cut_and_power_cut", s.b);
  }
  {
    Script s = Files(0x10);
    RunFile(s, 0, true, Lines(30, 5), true, "X\r\n");
    s.U16(12);
    Write(dir, "replace_cut", s.b);
  }
  struct Failing {
    const char* name;
    unsigned flags, at, times, phase, error;
  };
  for (const Failing& f :
       {Failing{"commit_call_fails", 2 << 2, 3, 1, 0, 0}, Failing{"storing_call_fails_twice", 2 | 2 << 2, 6, 2, 1, 1},
        Failing{"recovery_call_fails_after_a_cut", 2 << 2 | 0x10 | 0x20, 4, 3, 2, 2}}) {
    Script s = Files(f.flags);
    RunFile(s, 0, true, "ABC\r\nDEF\r\n*GH\r\nIJ", true, "OLD\r\n");
    RunFile(s, 1, true, Lines(5, 3), false, "");
    RunFile(s, 3, false, "", true, "KEEP\r\n");
    s.U16(9).U16(f.at).Byte(f.times).Byte(f.phase).Byte(f.error);
    Write(dir, f.name, s.b);
  }
  const std::string record = "VANTOR2-COMMIT 1\nMODE APPEND\nFILES 2\n1 4 9:A.TXT.Tmp\n0 -1 9:B.TXT.Tmp\nEND\n";
  {
    Script s = Files(1 | 1 << 2);
    File(s, 0, "AB\r\nCD\r\n");
    s.U16(static_cast<unsigned>(record.size())).Raw(record);
    Write(dir, "damaged_record_whole", s.b);
  }
  {
    Script s = Files(1 | 2 << 2);
    File(s, 0, "AB\r\n");
    File(s, 1, "CD\r\n");
    const std::string cut = record.substr(0, 40);
    s.U16(static_cast<unsigned>(cut.size())).Raw(cut);
    Write(dir, "damaged_record_cut", s.b);
  }
  {
    Script s = Files(1 | 1 << 2 | 0x10);
    File(s, 1, "CD\r\n");
    const std::string hostile = "VANTOR2-COMMIT 1\nMODE REPLACE\nFILES 1\n1 -1 12:../A.TXT.Tmp\nEND\n";
    s.U16(static_cast<unsigned>(hostile.size())).Raw(hostile);
    Write(dir, "damaged_record_hostile_name", s.b);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  FrameCorpus(root / "frame");
  StepsCorpus(root / "steps");
  RecvFilesCorpus(root / "recv_files");
  RecoveryCorpus(root / "recovery");
  return 0;
}
