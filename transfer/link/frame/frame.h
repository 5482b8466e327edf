#pragma once
// Frames on the line between the PC and the hand-held terminal.
//
// Every frame starts with one control character, ends with ETX, and carries a
// check character just before the ETX over everything between the two (the
// negative block acknowledgement is the one exception: it repeats bytes of an
// earlier frame). Numbers are fixed-width decimal text, texts are blank padded.
// This file holds the offsets, the check character and the pure functions that
// build and test frames; nothing here touches a port, a file or a window.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vantor {

using Bytes = std::span<const std::uint8_t>;

// Control characters.
inline constexpr std::uint8_t SOH = 0x01;
inline constexpr std::uint8_t STX = 0x02;
inline constexpr std::uint8_t ETX = 0x03;
inline constexpr std::uint8_t EOT = 0x04;
inline constexpr std::uint8_t ENQ = 0x05;
inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t XON = 0x11;
inline constexpr std::uint8_t XOFF = 0x13;
inline constexpr std::uint8_t NAK = 0x15;
inline constexpr std::uint8_t ETB = 0x17;
inline constexpr std::uint8_t CAN = 0x18;
inline constexpr std::uint8_t FS = 0x1C;
inline constexpr std::uint8_t RS = 0x1E;

// Frame lengths.
inline constexpr int kHeaderLen = 1024;      // ENQ request, SOH header, EOT frame
inline constexpr int kAnswerLen = 54;        // the PC's header answer
inline constexpr int kShortLen = 10;         // block request, block ack, end answer
inline constexpr int kSendBlockSize = 4000;  // data bytes per frame when the PC sends
inline constexpr int kDataOverhead = 8;      // data frame = block size + 8
inline constexpr int kMaxBlockSize = 9999;   // four digits in the SOH header
// Largest frame (block size 9999 + 8) plus the NUL kept after every frame.
inline constexpr int kBufSize = kMaxBlockSize + kDataOverhead + 1;

// ENQ request offsets.
inline constexpr int kEnqDir = 1;
inline constexpr int kEnqNumber = 2, kEnqNumberLen = 2;
inline constexpr int kEnqTotal = 4, kEnqTotalLen = 10;
inline constexpr int kEnqText15 = 14, kEnqText15Len = 15;
inline constexpr int kEnqText40 = 29, kEnqText40Len = 40;
inline constexpr int kEnqList = 69, kEnqListLen = 953;

// SOH header offsets.
inline constexpr int kSohDir = 1;
inline constexpr int kSohBlock = 2, kSohBlockLen = 4;
inline constexpr int kSohSize = 6, kSohSizeLen = 10;
inline constexpr int kSohName = 16, kSohNameLen = 30;

// Header answer offsets.
inline constexpr int kAnsNumber = 2, kAnsNumberLen = 5;
inline constexpr int kAnsBlock = 7, kAnsBlockLen = 4;
inline constexpr int kAnsSize = 11, kAnsSizeLen = 10;
inline constexpr int kAnsName = 21, kAnsNameLen = 30;
inline constexpr int kAnsKind = 51;

// Block request / acknowledgement offsets.
inline constexpr int kReqNumber = 2, kReqNumberLen = 5;
inline constexpr int kReqKind = 7;

// Data frame offsets.
inline constexpr int kDataNumber = 1, kDataNumberLen = 5;
inline constexpr int kData = 6;

// The check character over a byte range: XOR of the bytes folded into the
// printable range 0x20..0x7E, so that it is never a control or flow character.
std::uint8_t CalcCheck(Bytes range);

// True when frame[len-1] is ETX and frame[len-2] is the check over 1..len-3.
bool HasValidTrailer(Bytes frame);

// Puts the check character and ETX at the end of a frame of at least 3 bytes.
void SealFrame(std::span<std::uint8_t> frame);

// Reads a number field the way atol does: leading blanks skipped, an optional
// sign, digits up to the first non-digit; a blank field gives 0. A number
// beyond the range of long gives LONG_MAX or LONG_MIN, as strtol does.
long ParseNumber(Bytes field);

// A field as text: the bytes up to the first NUL.
std::string FieldText(Bytes field);

// Header answers (54 bytes). The positive ones leave the caller to fill the
// number, block, size and name fields before sealing; see the builders below.
std::string BuildEnqAnswer(std::string_view size10);
std::string BuildSohAnswer(std::string_view block4, std::string_view size10, std::string_view name);
std::string BuildNegativeAnswer();

// The end answer to an EOT: always 02 06 30 30 30 30 30 04 32 03.
std::string BuildEndAnswer();

// The PC's block acknowledgement and the terminal's block request share one
// layout: STX ACK number(%05d) kind check ETX. In a request, kind FS asks for
// nothing more (the end-of-file request).
std::string BuildBlockFrame(long number, std::uint8_t kind);

// Data frame of blockSize + 8 bytes: lead, number text (5 chars), data padded
// to blockSize with pad, check, ETX.
std::string BuildDataFrame(std::uint8_t lead, std::string_view number5, std::string_view data, int blockSize,
                           std::uint8_t pad);

// Formats n with at least `width` digits and leading zeros ("%0*ld").
std::string ZeroPad(long n, int width);

// Returns true when the name is plain: not empty, not "." or "..", and free of
// "/", "\" and ":". Only plain names are joined to a directory.
bool IsPlainName(std::string_view name);

}  // namespace vantor
