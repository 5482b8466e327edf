#pragma once
// A notifier that keeps the notifications it is given, in order, for the
// tests of the program's rules and of its windows on both window systems.

#include <string>
#include <vector>

#include "Notifier.h"

class RecordingNotifier final : public Notifier {
 public:
  struct Shown {
    std::string title;
    std::string text;
  };
  void Notify(const std::string& title, const std::string& text) override { shown.push_back({title, text}); }

  std::vector<Shown> shown;
};
