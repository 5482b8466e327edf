#pragma once
// Stateless file access of the protocol steps: the length of a file, block n of
// a file as text, and appending received data to a file's ".Tmp" file. Paths are
// in the locale's encoding; every call opens and closes its file, through the
// file system seam.

#include <cstdint>
#include <string>

#include "file_system.h"

namespace vantor {

class CTransferFile {
 public:
  explicit CTransferFile(CFileSystem& fs) : m_fs(fs) {}

  // Length of the file in bytes, 0 when it cannot be opened for reading.
  long FileLength(const std::string& path) const;

  // Reads block `number` (from 1) of `blockSize` bytes into buffer (which holds
  // blockSize + 1 bytes), zero where the file ended, and a NUL after it. Returns
  // the length of the text (bytes before the first NUL); logs "File Open Error"
  // and returns 0 when the file cannot be opened.
  int ReadBlock(const std::string& path, std::uint8_t* buffer, int blockSize, long number) const;

  // Appends length bytes to path + ".Tmp". Returns true when every byte was
  // stored; on a short write the file is cut back to its earlier length, so a
  // block is either stored whole or not at all.
  bool AppendToTemp(const std::string& path, const std::uint8_t* data, int length) const;

  // True when path + ".Tmp" is there, or when that cannot be told.
  bool TempMayExist(const std::string& path) const { return m_fs.Exists(path + ".Tmp").kind != FileKind::None; }

  // Appends text and CR LF to a list file (created when missing); a list that
  // cannot be written is skipped, as nothing in the system reads it back.
  void AppendLine(const std::string& path, const std::string& text) const;

  // Removes a file; a file that is not there is no error.
  void Remove(const std::string& path) const { m_fs.Remove(path); }

 private:
  CFileSystem& m_fs;
};

}  // namespace vantor
