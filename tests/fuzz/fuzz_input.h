#pragma once
// Reading a fuzz input as a small script: the targets take their choices (a
// phase, a block size, a name, a length) and their bytes from the front of the
// input. An input that runs out reads as zeros, so every input is a script.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vfuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  bool Empty() const { return m_pos >= m_size; }
  std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  unsigned U16() {
    const unsigned hi = Byte();
    return hi << 8 | Byte();
  }
  // A value in 0..count-1.
  unsigned Pick(unsigned count) { return count == 0 ? 0 : Byte() % count; }
  // Up to n bytes (fewer when the input ends).
  std::string Bytes(std::size_t n) {
    const std::size_t take = m_pos < m_size ? std::min(n, m_size - m_pos) : 0;
    std::string out(reinterpret_cast<const char*>(m_data + m_pos), take);
    m_pos += take;
    return out;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

}  // namespace vfuzz

// A property that must hold whatever the input: a failure aborts, which the
// fuzzer reports as a crash with the input that caused it, and which fails the
// corpus replay test.
#define FUZZ_CHECK(cond)                                                               \
  do {                                                                                 \
    if (!(cond)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)
