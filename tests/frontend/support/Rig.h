#pragma once
// Everything a main window needs, made of fakes, with the transfer library
// bound to the test's stand-in (or to nothing).

#include <QDateTime>
#include <QStringList>
#include <memory>

#include "Fakes.h"
#include "RecordingNotifier.h"
#include "TransferLibrary.h"
#include "VarDefine.h"
#include "frmMain.h"

struct Rig {
  explicit Rig(QStringList libraryCandidates = {})
      : clock(QDateTime(QDate(2026, 3, 15), QTime(14, 25, 30))), library(std::move(libraryCandidates)) {
    gPortNo = 0;
    gBaudRate = 0;
    gSelectDir.clear();
  }

  frmMain::Services Services() { return {store, messages, clock, library, volumes, notifier}; }
  std::unique_ptr<frmMain> MakeWindow() { return std::make_unique<frmMain>(Services()); }

  MemoryStore store;
  ScriptedMessages messages;
  FakeClock clock;
  TransferLibrary library;
  FakeVolumes volumes;
  RecordingNotifier notifier;
};
