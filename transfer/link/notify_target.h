#pragma once
// What the link object needs of the transfer dialog: its controls (texts in
// code page 949, progress bars with the platform's semantics: a position is
// kept within the bar's range) and the synchronous hand-over of received data
// from the watch thread to the dialog's thread.

#include <cstdint>
#include <string>

namespace vantor {

class CNotifyTarget {
 public:
  virtual ~CNotifyTarget() = default;

  // Dialog's thread only.
  virtual void SetDlgItemText(int id, const std::string& text) = 0;
  virtual void SetRange32(int id, long low, long high) = 0;
  virtual void SetPos(int id, long pos) = 0;
  virtual long GetPos(int id) = 0;
  // Dialog's thread, on the terminal's end frame, just before the first end
  // answer tells the terminal that its data arrived: makes the data received in
  // this run durable (the commit). False when that failed; the run then ends
  // without an end answer, and the terminal keeps its data.
  virtual bool CommitReceived() = 0;

  // Watch thread only. Hands n received bytes to the dialog's thread, which
  // copies them into the receive buffer and runs the protocol step; returns
  // when the step has run, or false at once when the dialog takes no more data.
  virtual bool SendCommRecv(const std::uint8_t* data, int n) = 0;
  // Watch thread only: the line failed for good (hang-up, device gone).
  virtual void SendPortFailed() = 0;
};

}  // namespace vantor
