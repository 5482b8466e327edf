#include "test_terminal.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "frame.h"

namespace vtest {
namespace {

using namespace vantor;

std::string Seal(std::string frame) {
  SealFrame({reinterpret_cast<std::uint8_t*>(frame.data()), frame.size()});
  return frame;
}

void Put(std::string& f, int offset, const std::string& text) { f.replace(offset, text.size(), text); }

std::string Digits(long n, int width) { return ZeroPad(n, width).substr(0, static_cast<std::size_t>(width)); }

}  // namespace

void TestTerminal::Send(const std::string& frame) {
  std::size_t done = 0;
  while (done < frame.size()) {
    const ssize_t n = ::write(m_fd, frame.data() + done, frame.size() - done);
    if (n <= 0) {
      pollfd p{m_fd, POLLOUT, 0};
      ::poll(&p, 1, 100);
      continue;
    }
    done += static_cast<std::size_t>(n);
  }
}

std::string TestTerminal::Receive(std::size_t n, int timeoutMs) {
  std::string got;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (got.size() < n) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    if ((p.revents & POLLIN) == 0) break;
    char buf[16384];
    const ssize_t r = ::read(m_fd, buf, std::min(sizeof buf, n - got.size()));
    if (r <= 0) break;
    got.append(buf, static_cast<std::size_t>(r));
  }
  return got;
}

std::string TestTerminal::Drain(int quietMs) {
  std::string got;
  for (;;) {
    std::string more = Receive(65536, quietMs);
    if (more.empty()) return got;
    got += more;
  }
}

std::string TestTerminal::Enq(char direction, const std::string& total10, const std::string& list) {
  std::string f(kHeaderLen, ' ');
  f[0] = static_cast<char>(ENQ);
  f[kEnqDir] = direction;
  Put(f, kEnqNumber, "01");
  Put(f, kEnqTotal, total10.substr(0, kEnqTotalLen));
  Put(f, kEnqText15, "HHT-TEST");
  Put(f, kEnqList, list.substr(0, kEnqListLen));
  return Seal(f);
}

std::string TestTerminal::Soh(char direction, int blockSize, long fileSize, const std::string& name) {
  std::string f(kHeaderLen, ' ');
  f[0] = static_cast<char>(SOH);
  f[kSohDir] = direction;
  Put(f, kSohBlock, Digits(blockSize, kSohBlockLen));
  Put(f, kSohSize, Digits(fileSize, kSohSizeLen));
  Put(f, kSohName, name.substr(0, kSohNameLen));
  return Seal(f);
}

std::string TestTerminal::Eot() {
  std::string f(kHeaderLen, ' ');
  f[0] = static_cast<char>(EOT);
  return Seal(f);
}

std::string TestTerminal::Data(unsigned char lead, long number, const std::string& data, int blockSize) {
  return BuildDataFrame(lead, Digits(number, 5), data, blockSize, lead == ETB ? RS : ' ');
}

std::string TestTerminal::Request(long number, unsigned char kind) { return BuildBlockFrame(number, kind); }

std::string TestTerminal::NameList(const std::vector<FileData>& files) {
  std::string list;
  for (const FileData& f : files) list += f.name + ":";
  return list;
}

bool IsPositiveAnswer(const std::string& a) {
  return a.size() == static_cast<std::size_t>(kAnswerLen) && a[0] == STX && a[1] == ACK &&
         HasValidTrailer({reinterpret_cast<const std::uint8_t*>(a.data()), a.size()});
}

std::string TestTerminal::Header(const std::string& frame, int resends) {
  Send(frame);
  const std::string answer = Receive(kAnswerLen);
  if (!IsPositiveAnswer(answer)) return {};
  for (int i = 0; i < resends; ++i) {
    Send(frame);
    if (Receive(kAnswerLen) != answer) return {};
  }
  return answer;
}

bool TestTerminal::OpenRun(char direction, const std::string& list, long total, int resends) {
  return !Header(Enq(direction, Digits(total, 10), list), resends).empty();
}

bool TestTerminal::SendOneFile(const FileData& file, int blockSize, int resends, int endResends) {
  if (Header(Soh('1', blockSize, static_cast<long>(file.data.size()), file.name), resends).empty()) return false;
  long number = 1;
  for (std::size_t pos = 0; pos < file.data.size(); pos += static_cast<std::size_t>(blockSize), ++number) {
    const std::string piece = file.data.substr(pos, static_cast<std::size_t>(blockSize));
    const unsigned char lead = piece.size() == static_cast<std::size_t>(blockSize) ? STX : ETB;
    Send(Data(lead, number, piece, blockSize));
    if (Receive(kShortLen) != BuildBlockFrame(number + 1, lead)) return false;
  }
  const std::string end = Data(FS, number, "", blockSize);
  const std::string ack = BuildBlockFrame(number + 1, FS);
  for (int i = 0; i <= endResends; ++i) {
    Send(end);
    if (Receive(kShortLen) != ack) return false;
  }
  return true;
}

bool TestTerminal::FetchOneFile(const std::string& name, std::string* data, int resends) {
  if (Header(Soh('2', 0, 0, name), resends).empty()) return false;
  const int frameLen = kSendBlockSize + kDataOverhead;
  for (long number = 1;; ++number) {
    Send(Request(number));
    const std::string f = Receive(static_cast<std::size_t>(frameLen));
    if (f.size() != static_cast<std::size_t>(frameLen) ||
        !HasValidTrailer({reinterpret_cast<const std::uint8_t*>(f.data()), f.size()})) {
      return false;
    }
    const unsigned char lead = static_cast<unsigned char>(f[0]);
    std::string block = f.substr(kData, kSendBlockSize);
    if (lead == ETB) block = block.substr(0, block.find(static_cast<char>(RS)));
    if (lead == STX || lead == ETB) *data += block;
    if (lead != STX) break;
  }
  Send(Request(0, FS));
  return true;
}

bool TestTerminal::EndRun() {
  Send(Eot());
  const std::string end = Receive(kShortLen, 5000);
  Drain(400);  // the other four end answers
  return end == BuildEndAnswer();
}

bool TestTerminal::SendFiles(const std::vector<FileData>& files, int blockSize) {
  long total = 0;
  for (const FileData& f : files) total += static_cast<long>(f.data.size());
  if (!OpenRun('1', NameList(files), total)) return false;
  for (const FileData& f : files) {
    if (!SendOneFile(f, blockSize)) return false;
  }
  return EndRun();
}

bool TestTerminal::FetchFiles(const std::vector<std::string>& names, std::map<std::string, std::string>* out) {
  std::string list;
  for (const std::string& n : names) list += n + ":";
  if (!OpenRun('2', list, 0)) return false;
  for (const std::string& n : names) {
    if (!FetchOneFile(n, &(*out)[n])) return false;
  }
  return EndRun();
}

}  // namespace vtest
