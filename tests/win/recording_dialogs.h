// Dialogs for platform tests: records every message and answers all of them the same way.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace tessel::wintest {

class RecordingDialogs : public Dialogs {
 public:
  explicit RecordingDialogs(Answer answer = Answer::Ok) : answer_(answer) {}
  std::vector<std::wstring> messages;
  Answer ShowMessage(std::wstring_view text, std::wstring_view, Buttons buttons) override {
    messages.emplace_back(text);
    return buttons == Buttons::Ok ? Answer::Ok : answer_;
  }
  std::optional<std::wstring> BrowseForFolder() override { return std::nullopt; }
  void SetBusyPointer(bool) override {}

 private:
  Answer answer_;
};

}  // namespace tessel::wintest
