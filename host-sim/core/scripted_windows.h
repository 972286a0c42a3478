// What every window system of the host shares: the queued message-box
// answers and dialog actions a script gives, the record of boxes and dialogs,
// and the errors found on the way. The platforms add the windows themselves.
#pragma once

#include <deque>
#include <optional>

#include "host-sim/core/window_system.h"

namespace lumo::hostsim {

class ScriptedWindowSystem : public WindowSystem {
 public:
  void queueAnswer(int answer) final { answers_.push_back(answer); }
  std::size_t pendingAnswers() const final { return answers_.size(); }
  void setPrompt(std::function<int(const MessageBoxRecord&)> prompt) final { prompt_ = std::move(prompt); }
  const std::vector<MessageBoxRecord>& messageBoxes() const final { return boxes_; }

  void queueDialogAction(DialogAction action) final { dialogActions_.push_back(std::move(action)); }
  std::size_t pendingDialogActions() const final { return dialogActions_.size(); }
  void setDialogRefill(std::function<bool(int)> refill) final { dialogRefill_ = std::move(refill); }
  const std::vector<DialogRecord>& dialogs() const final { return dialogRecords_; }
  std::vector<std::string> takeErrors() final;

 protected:
  // The answer a box gets: the next queued one (one its buttons cannot give
  // is an error, and the box gets its harmless button), else the person's
  // (interactive use), else its harmless button and an error. Marks the box
  // unqueued in the last case.
  int chooseAnswer(MessageBoxRecord& box);
  void recordBox(const MessageBoxRecord& box) { boxes_.push_back(box); }

  // Records a dialog as opened; closeDialog() gives it its result.
  std::size_t openDialog(int templateId);
  void closeDialog(std::size_t record, INT_PTR result) { dialogRecords_[record].result = result; }
  // Runs the next action on an open dialog (asking for more in interactive
  // use). False, with an error, when none is left: the caller cancels it.
  bool runNextDialogAction(HWND dialog, int templateId);

  void reportError(std::string error) { errors_.push_back(std::move(error)); }

 private:
  std::deque<int> answers_;
  std::function<int(const MessageBoxRecord&)> prompt_;
  std::vector<MessageBoxRecord> boxes_;
  std::deque<DialogAction> dialogActions_;
  std::function<bool(int)> dialogRefill_;
  std::vector<DialogRecord> dialogRecords_;
  std::vector<std::string> errors_;
};

}  // namespace lumo::hostsim
