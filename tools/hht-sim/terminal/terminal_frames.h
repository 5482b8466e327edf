#pragma once
// The frames the terminal writes and the rules by which it judges the PC's
// answers. Built on the shared frame layouts (frame.h); names and texts here
// are already in the line's code page.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hht {

// How an answer from the PC is taken.
enum class Verdict {
  Positive,  // the answer the frame asked for
  Negative,  // the PC refused the frame (NAK in byte 1)
  Faulty,    // broken, or not the answer to this frame
};

inline constexpr int kDirSend = 1;   // terminal sends, PC receives
inline constexpr int kDirFetch = 2;  // PC sends, terminal receives

// 1024-byte opening request. `names` are listed each followed by ":".
std::string BuildEnqRequest(int direction, int number, long long totalSize, std::string_view text15,
                            std::string_view text40, const std::vector<std::string>& names);
// The list as it stands in the request; its length must stay within 953 bytes.
std::string NameList(const std::vector<std::string>& names);

// 1024-byte file header.
std::string BuildSohHeader(int direction, int blockSize, long long fileSize, std::string_view name);
// 1024-byte end frame.
std::string BuildEotFrame();
// The terminal's cancel: `length` CAN bytes, the length of the frame it replaces.
std::string BuildCancelRun(std::size_t length);

// Answers to the header frames (54 bytes) and to EOT (10 bytes).
Verdict JudgeEnqAnswer(std::string_view answer);
Verdict JudgeSohAnswer(std::string_view answer);
Verdict JudgeEndAnswer(std::string_view answer);
// Block acknowledgement of a data frame that began with `lead`.
Verdict JudgeBlockAck(std::string_view answer, std::uint8_t lead);
// Data frame answering the request for block `number`: STX or ETB carrying
// that number, or FS (its number is not looked at).
Verdict JudgeDataFrame(std::string_view frame, long number);

// Fields of a positive header answer.
std::string AnswerName(std::string_view answer);  // trailing blanks removed
long AnswerBlockSize(std::string_view answer);
long long AnswerSize(std::string_view answer);
std::string_view AnswerSizeText(std::string_view answer);
// Number field of a block acknowledgement.
long AckNumber(std::string_view answer);

// Data of a data frame with the given block size: the whole block for STX,
// the bytes before the first RS for ETB, nothing for FS.
std::string FrameData(std::string_view frame, int blockSize);

}  // namespace hht
