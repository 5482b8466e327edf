#include "transfer_file.h"

#include <cstring>

#include "comm_log.h"

namespace vantor {

long CTransferFile::FileLength(const std::string& path) const {
  if (!m_fs.Open(path, OpenMode::Read)) return 0;
  const FileStatus st = m_fs.Status(path);
  if (st.kind != FileKind::Regular) return 0;
  // The protocol carries 32-bit sizes.
  return st.size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<long>(st.size);
}

int CTransferFile::ReadBlock(const std::string& path, std::uint8_t* buffer, int blockSize, long number) const {
  std::memset(buffer, 0, static_cast<std::size_t>(blockSize) + 1);
  std::unique_ptr<CFile> f = m_fs.Open(path, OpenMode::Read);
  if (!f) {
    WriteLog("File Open Error");
    return 0;
  }
  const long long offset = static_cast<long long>(number - 1) * blockSize;
  if (offset < 0 || f->Seek(offset)) return 0;
  std::size_t got = 0;
  f->Read(buffer, static_cast<std::size_t>(blockSize), &got);
  return static_cast<int>(std::strlen(reinterpret_cast<const char*>(buffer)));
}

bool CTransferFile::AppendToTemp(const std::string& path, const std::uint8_t* data, int length) const {
  std::unique_ptr<CFile> f = m_fs.Open(path + ".Tmp", OpenMode::Append);
  if (!f) return false;
  std::int64_t before = 0;
  const bool sized = !f->Size(&before);
  if (!f->Write(data, static_cast<std::size_t>(length))) return true;
  if (sized) f->Truncate(before);
  return false;
}

void CTransferFile::AppendLine(const std::string& path, const std::string& text) const {
  std::unique_ptr<CFile> f = m_fs.Open(path, OpenMode::Append);
  if (!f) return;
  const std::string line = text + "\r\n";
  f->Write(line.data(), line.size());
}

}  // namespace vantor
