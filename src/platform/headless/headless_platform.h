#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace waymint::platform {

// A platform without a screen, for tests and the command-line tool. It answers from a
// script given in advance and records what the program showed and asked for.
class HeadlessPlatform : public Platform {
 public:
  struct Message {
    std::string text;
    Buttons buttons;
    Answer preset;
  };
  struct ShellCall {
    std::string verb;
    std::string target;
    std::string workingFolder;
    int show;
  };

  HeadlessPlatform();

  // --- the script ---
  // The next answers to message boxes; with none left, a box answers its first button.
  void answerNext(Answer answer) { m_answers.push_back(answer); }
  // The next results of file-open dialogs; with none left, a dialog is cancelled.
  void chooseNext(std::optional<std::string> path) { m_dialogResults.push_back(std::move(path)); }
  // What a modal window of the given name does while it is shown (press its buttons...).
  void whenShown(const std::string& window, std::function<void(Window&)> action) {
    m_modalActions[window] = std::move(action);
  }
  // Runs inside every yield, so that tests can deliver events in the middle of work.
  void duringYield(std::function<void()> action) { m_yieldAction = std::move(action); }
  void setMemoryLoad(std::optional<int> percent) { m_memoryLoad = percent; }
  // The memory the program is told it holds; by default what the system says.
  void setResidentMemory(std::optional<std::uint64_t> bytes) { m_resident = bytes; }
  void setExecutableFolder(std::string folder) { m_executableFolder = std::move(folder); }
  // The environment the program sees: nothing is set but what is given here.
  void setEnvironmentVariable(const std::string& name, std::optional<std::string> value) {
    m_environment[name] = std::move(value);
  }
  void setHomeFolder(std::string folder) { m_homeFolder = std::move(folder); }
  // A folder the program is told it cannot write, with the reason, whatever the file system
  // would answer (root may write anywhere); the others are asked of the file system.
  void setUnwritable(const std::string& folder, std::string reason) {
    m_unwritable[folder] = std::move(reason);
  }
  // Every message is also handed here as it is shown (the command-line tool prints them).
  void onMessage(std::function<void(const std::string&)> sink) { m_messageSink = std::move(sink); }
  // Every report of progress is also handed here: the activity and fraction, or nothing when
  // the operation has ended.
  using ProgressSink = std::function<void(const std::string& activity, std::optional<double>)>;
  void onProgress(ProgressSink sink) { m_progressSink = std::move(sink); }
  // The user asks to end the cancellable operation in progress (from a yield, typically).
  void requestCancel() { m_cancel = true; }
  void setMemoryForLoading(std::uint64_t bytes) { m_memoryForLoading = bytes; }
  // Whether the desktop manages what is handed to it from now on.
  void setShellSucceeds(bool succeeds) { m_shellSucceeds = succeeds; }
  void setWaitsForBusyFiles(bool waits) { m_waitsForBusyFiles = waits; }
  // Where navigators are looked for (a fake mount table and media folder); by default the
  // machine's.
  void setMountPlaces(MountPlaces places) { m_mountPlaces = std::move(places); }

  // --- the record ---
  const std::vector<Message>& messages() const { return m_messages; }
  std::vector<std::string> messageTexts() const;
  void forgetMessages() { m_messages.clear(); }
  const std::vector<OpenDialogRequest>& dialogs() const { return m_dialogs; }
  const std::vector<ShellCall>& shellCalls() const { return m_shellCalls; }
  const std::vector<std::string>& modalWindowsShown() const { return m_modalShown; }
  int yields() const { return m_yields; }
  int busyChanges() const { return m_busyChanges; }
  // The activities progress was shown for, each once, in order.
  const std::vector<std::string>& activities() const { return m_activities; }
  bool processEnded() const { return m_ended; }

  // --- Platform ---
  using Platform::messageBox;
  Answer messageBox(const std::string& text, Buttons buttons, Answer preset) override;
  std::optional<std::string> openFileDialog(const OpenDialogRequest& request) override;
  void setBusyPointer(bool busy) override;
  bool busyPointer() const override { return m_busy; }
  void yield() override;
  double secondsSinceMidnight() override;
  bool shellOpen(const std::string& verb, const std::string& target,
                 const std::string& workingFolder, int show) override;
  std::optional<int> memoryLoadPercent() override { return m_memoryLoad; }
  std::optional<std::uint64_t> residentMemory() override {
    return m_resident ? *m_resident : Platform::residentMemory();
  }
  void showModal(Window& window) override;
  void progress(const std::string& activity, double fraction, bool cancellable) override;
  void progressDone() override;
  bool cancelRequested() override { return m_cancel; }
  std::uint64_t memoryForLoading() override { return m_memoryForLoading; }
  bool waitsForBusyFiles() override { return m_waitsForBusyFiles; }
  std::string executableFolder() override { return m_executableFolder; }
  std::optional<std::string> environmentVariable(const std::string& name) override;
  std::string homeFolder() override { return m_homeFolder; }
  std::optional<std::string> whyNotWritable(const std::string& folder) override;
  MountPlaces mountPlaces() override { return m_mountPlaces; }
  void endProcess() override { m_ended = true; }

 private:
  std::deque<Answer> m_answers;
  std::deque<std::optional<std::string>> m_dialogResults;
  std::map<std::string, std::function<void(Window&)>> m_modalActions;
  std::function<void()> m_yieldAction;
  bool m_inYieldAction = false;
  std::optional<int> m_memoryLoad;
  std::optional<std::optional<std::uint64_t>> m_resident;
  std::string m_executableFolder;
  std::map<std::string, std::optional<std::string>> m_environment;
  std::string m_homeFolder;
  std::map<std::string, std::string> m_unwritable;
  std::function<void(const std::string&)> m_messageSink;
  ProgressSink m_progressSink;
  bool m_cancel = false;
  std::uint64_t m_memoryForLoading;
  bool m_waitsForBusyFiles = false;
  bool m_shellSucceeds = true;
  MountPlaces m_mountPlaces;

  std::vector<Message> m_messages;
  std::vector<OpenDialogRequest> m_dialogs;
  std::vector<ShellCall> m_shellCalls;
  std::vector<std::string> m_modalShown;
  int m_yields = 0;
  int m_busyChanges = 0;
  std::vector<std::string> m_activities;
  bool m_busy = false;
  bool m_ended = false;
};

}  // namespace waymint::platform
