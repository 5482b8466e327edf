#pragma once
// Stateless file access of the protocol steps: the length of a file, block n of
// a file as text, and appending received data to a file's ".Tmp" file. Paths are
// in the locale's encoding; every call opens and closes its file.

#include <cstdint>
#include <string>

namespace vantor {

class CTransferFile {
 public:
  virtual ~CTransferFile() = default;

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
};

}  // namespace vantor
