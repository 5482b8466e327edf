#pragma once
// The terminal's side of the protocol, for the serial tests. It speaks on the
// master of a pseudo-terminal: frames are built here from the layouts the
// terminal uses, answers are read by their exact length with a time-out.
// Whole runs (SendFiles, FetchFiles) follow a well-behaved terminal; single
// frames let a test script faults.

#include <map>
#include <string>
#include <vector>

namespace vtest {

struct FileData {
  std::string name;  // as on the line (code page 949)
  std::string data;
};

class TestTerminal {
 public:
  explicit TestTerminal(int fd) : m_fd(fd) {}

  void Send(const std::string& frame);
  // Reads exactly n bytes, or what arrived before the time-out.
  std::string Receive(std::size_t n, int timeoutMs = 5000);
  // Reads whatever arrives until the line stays quiet for quietMs.
  std::string Drain(int quietMs = 300);

  // Frames of the terminal.
  static std::string Enq(char direction, const std::string& total10, const std::string& list);
  static std::string Soh(char direction, int blockSize, long fileSize, const std::string& name);
  static std::string Eot();
  static std::string Data(unsigned char lead, long number, const std::string& data, int blockSize);
  static std::string Request(long number, unsigned char kind = ' ');
  static std::string NameList(const std::vector<FileData>& files);

  // A direction-1 run: ENQ, each file's header and blocks, EOT. Returns true
  // when every answer was positive and the end answer arrived.
  bool SendFiles(const std::vector<FileData>& files, int blockSize);
  // A direction-2 run fetching the named files; the data goes into out.
  bool FetchFiles(const std::vector<std::string>& names, std::map<std::string, std::string>* out);

  // Parts of a run, for tests that mix them. `resends` plays answers to the
  // header that were lost: the header is sent again that many times after
  // its positive answer, and each time the same answer must come back.
  // `endResends` does the same with the file's end frame (FS).
  bool OpenRun(char direction, const std::string& list, long total, int resends = 0);
  bool SendOneFile(const FileData& file, int blockSize, int resends = 0, int endResends = 0);
  bool FetchOneFile(const std::string& name, std::string* data, int resends = 0);
  bool EndRun();

  // Sends a header and returns its answer if it is positive (else empty),
  // after sending the header again `resends` times and getting the same
  // answer each time.
  std::string Header(const std::string& frame, int resends = 0);

 private:
  int m_fd;
};

// True when the answer is a positive 54-byte header answer.
bool IsPositiveAnswer(const std::string& answer);

}  // namespace vtest
