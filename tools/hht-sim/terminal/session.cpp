#include "session.h"

#include <cmath>
#include <vector>

#include "frame.h"

namespace hht {

namespace {

// The receive noise runs on its own generator, so that adding it to a run does
// not change which sent bytes the send noise hits.
constexpr std::uint64_t kRecvSeedSalt = 0x9E3779B97F4A7C15ull;
// Lost and extra bytes and lost answers have a generator of their own too, so
// that playing them leaves the noise of a seed as it was.
constexpr std::uint64_t kFaultSeedSalt = 0xD1B54A32D192ED03ull;
// The PC writes its end answer this many times.
constexpr int kEndAnswerCopies = 5;

std::span<std::uint8_t> Writable(std::string& s) { return {reinterpret_cast<std::uint8_t*>(s.data()), s.size()}; }

std::string Bytes(std::size_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

}  // namespace

Session::Session(ByteStream& line, const Options& options, RunResult& result)
    : line_(line),
      options_(options),
      result_(result),
      sendNoise_(options.noiseRate, options.seed),
      recvNoise_(options.answerNoiseRate, options.seed ^ kRecvSeedSalt),
      faults_(options.faults, options.seed ^ kFaultSeedSalt) {}

void Session::Log(const std::string& line) const {
  if (options_.log) options_.log(line);
}

void Session::Fail(Ending ending, std::string message) {
  if (failed_) return;
  failed_ = true;
  result_.ok = false;
  result_.ending = ending;
  result_.message = std::move(message);
  Log(result_.message);
}

Millis Session::LineTime(std::size_t bytes) const {
  return Millis(static_cast<long long>(std::ceil(static_cast<double>(bytes) * options_.byteTimeMs)));
}

bool Session::Write(const std::string& frame, int attempt, bool firstTry) {
  const std::uint64_t key = exchange_ * 1024 + static_cast<std::uint64_t>(attempt);
  sendNoise_.Rekey(key);
  recvNoise_.Rekey(key);
  faults_.Rekey(key);
  std::string out = frame;
  const bool flipped = sendNoise_.Apply(Writable(out)) > 0;
  const LineFaults::Damage damage = faults_.Apply(out, static_cast<long>(exchange_), firstTry);
  result_.bytesDropped += damage.dropped;
  result_.bytesInserted += damage.inserted;
  if (damage.Any()) {
    Log("frame " + std::to_string(exchange_) + ": " + std::to_string(damage.dropped) + " byte(s) lost, " +
        std::to_string(damage.inserted) + " added on the line");
  }
  lastCorrupted_ = flipped || damage.Any();
  if (lastCorrupted_) ++result_.framesCorrupted;
  ++result_.framesSent;
  if (LineError err = line_.Write({reinterpret_cast<const std::uint8_t*>(out.data()), out.size()})) {
    Fail(Ending::LineFailed, "line failed: " + err.message);
    return false;
  }
  return true;
}

bool Session::LoseAnswer(std::string_view what) {
  if (!faults_.LoseAnswer(static_cast<long>(exchange_))) return false;
  ++result_.answersLost;
  Log(std::string(what) + ": answer lost on the line");
  return true;
}

ReadResult Session::ReadAnswer(std::string& answer, std::size_t frameLen, Millis wait) {
  // The frame has to cross the line before the PC can read it, and the answer
  // after it: on a slow line both count against the wait.
  const ReadResult r = line_.Read(Writable(answer), wait + LineTime(frameLen + answer.size()));
  answer.resize(r.count);
  recvNoise_.Apply(Writable(answer));
  if (r.error) Fail(Ending::LineFailed, "line failed: " + r.error.message);
  return r;
}

void Session::Drain() {
  // Whatever is still arriving belongs to an answer already judged; it must not
  // be taken for the start of the next one.
  line_.DiscardInput();
  std::vector<std::uint8_t> sink(1024);
  for (;;) {
    const ReadResult r = line_.Read(sink, options_.settleTime);
    if (r.count == 0 || r.hangup || r.error) return;
  }
}

std::optional<std::string> Session::Open(const std::string& request) {
  int silent = 0;
  int refused = 0;
  NextExchange();
  for (;;) {
    if (result_.openings > 0) line_.DiscardInput();
    // A request nobody heard is the same try again: only refusals count.
    if (!Write(request, refused, refused == 0)) return std::nullopt;
    ++result_.openings;
    std::string answer(vantor::kAnswerLen, '\0');
    const ReadResult r = ReadAnswer(answer, request.size(), options_.repeatInterval);
    if (r.error) return std::nullopt;
    if (r.arrived) {
      // The PC has just opened its port and discards what came before; give
      // it a moment to get ready, then send the request at once.
      Drain();
      continue;
    }
    if (answer.size() < static_cast<std::size_t>(vantor::kAnswerLen)) {
      // Nobody there yet, or the PC opened its port in the middle of the
      // request: the operator presses send again.
      if (options_.maxOpenings > 0 && ++silent >= options_.maxOpenings) {
        Fail(Ending::NoAnswer, "the PC did not answer " + std::to_string(silent) + " opening requests");
        return std::nullopt;
      }
      continue;
    }
    const bool lost = LoseAnswer("opening request");
    const Verdict verdict = lost ? Verdict::Faulty : JudgeEnqAnswer(answer);
    if (verdict == Verdict::Positive) {
      if (lastCorrupted_) ++result_.corruptedAccepted;
      return answer;
    }
    ++result_.retries;
    Log(std::string("opening request: ") +
        (lost                           ? "no answer"
         : verdict == Verdict::Negative ? "refused"
                                        : "faulty answer") +
        ", sending it again");
    if (++refused >= options_.maxTries) {
      Fail(Ending::TooManyTries, "the PC refused the opening request " + std::to_string(refused) + " times");
      return std::nullopt;
    }
  }
}

std::optional<std::string> Session::Transact(const std::string& frame, std::size_t answerLen, const Judge& judge,
                                             std::string_view what, int copies) {
  const std::string name(what);
  NextExchange();
  for (int attempt = 1; attempt <= options_.maxTries; ++attempt) {
    if (attempt > 1) {
      ++result_.retries;
      Drain();
    }
    if (!Write(frame, attempt, attempt == 1)) return std::nullopt;
    std::string answer;
    ReadResult r;
    bool lost = false;
    for (int copy = 0; copy < copies; ++copy) {
      answer.assign(answerLen, '\0');
      r = ReadAnswer(answer, frame.size(), options_.answerTimeout);
      lost = !r.error && !r.hangup && answer.size() == answerLen && LoseAnswer(name);
      if (!lost) break;
    }
    if (r.error) return std::nullopt;
    if (r.hangup) {
      Fail(Ending::LineClosed, "the PC closed the line while " + name + " waited for its answer");
      return std::nullopt;
    }
    std::string reason;
    if (lost) {
      reason = "no answer";
    } else if (answer.size() < answerLen) {
      reason = answer.empty() ? "no answer" : "short answer (" + Bytes(answer.size()) + " of " + Bytes(answerLen) + ")";
    } else {
      const Verdict verdict = judge(answer);
      if (verdict == Verdict::Positive) {
        if (lastCorrupted_) ++result_.corruptedAccepted;
        return answer;
      }
      reason = verdict == Verdict::Negative ? "refused" : "faulty answer";
    }
    Log(name + ": " + reason + (attempt < options_.maxTries ? ", sending it again" : ""));
  }
  Fail(Ending::TooManyTries, name + " got no positive answer in " + std::to_string(options_.maxTries) + " tries");
  return std::nullopt;
}

bool Session::SendEndOfFile(const std::string& request) {
  std::vector<std::uint8_t> echo(64);
  NextExchange();
  for (int attempt = 1; attempt <= options_.maxTries; ++attempt) {
    if (attempt > 1) {
      ++result_.retries;
      Drain();
    }
    if (!Write(request, attempt, attempt == 1)) return false;
    // A request that lost a byte reaches the PC only when its read gives up
    // waiting for the rest; its repeat of the last frame comes after that.
    const ReadResult r = line_.Read(echo, options_.settleTime + options_.pcReadInterval + LineTime(request.size()));
    if (r.error) {
      Fail(Ending::LineFailed, "line failed: " + r.error.message);
      return false;
    }
    if (r.hangup) {
      Fail(Ending::LineClosed, "the PC closed the line after the end-of-file request");
      return false;
    }
    if (r.count == 0) {
      if (lastCorrupted_) ++result_.corruptedAccepted;
      return true;
    }
    Log("end-of-file request: the PC repeated its last frame, sending the request again");
  }
  Fail(Ending::TooManyTries, "the PC did not take the end-of-file request");
  return false;
}

bool Session::Finish() {
  const auto answer = Transact(BuildEotFrame(), vantor::kShortLen, JudgeEndAnswer, "end frame", kEndAnswerCopies);
  if (!answer) return false;
  // The PC writes its end answer several times; take the rest off the line
  // and count the copies, so that a PC that drops its last answers shows.
  std::vector<std::uint8_t> sink(vantor::kShortLen * 8);
  std::size_t rest = 0;
  for (;;) {
    const ReadResult r = line_.Read(sink, options_.settleTime);
    rest += r.count;
    if (r.count == 0 || r.hangup || r.error) break;
  }
  result_.endAnswers = 1 + static_cast<int>(rest / static_cast<std::size_t>(vantor::kShortLen));
  result_.ok = true;
  result_.ending = Ending::Success;
  result_.message = "run complete";
  return true;
}

bool Session::CancelHere(std::size_t frameLen) {
  ++blocks_;
  if (options_.cancelAtBlock <= 0 || blocks_ != options_.cancelAtBlock) return false;
  Log("cancelling at block " + std::to_string(blocks_));
  const std::string run = BuildCancelRun(frameLen);
  ++result_.framesSent;
  if (LineError err = line_.Write({reinterpret_cast<const std::uint8_t*>(run.data()), run.size()})) {
    Fail(Ending::LineFailed, "line failed: " + err.message);
    return true;
  }
  Fail(Ending::Cancelled, "cancelled at block " + std::to_string(blocks_) + ", as asked");
  // Stay on the line until the PC has taken the run (it lets go of the line
  // then): a pseudo-terminal closed at once would take the bytes with it.
  Drain();
  return true;
}

}  // namespace hht
