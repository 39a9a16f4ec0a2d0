#include "platform/headless/headless_platform.h"

#include <chrono>
#include <ctime>

#include "platform/memory_status.h"
#include "platform/window.h"

namespace waymint::platform {
namespace {

Answer firstButton(Buttons buttons) { return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok; }

}  // namespace

HeadlessPlatform::HeadlessPlatform()
    : m_memoryLoad(physicalMemoryLoadPercent()),
      m_memoryForLoading(availableMemory().value_or(std::uint64_t{4} << 30)) {}

// The machine's local time of day.
double HeadlessPlatform::secondsSinceMidnight() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  double fraction = duration<double>(now.time_since_epoch()).count() - static_cast<double>(seconds);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

std::vector<std::string> HeadlessPlatform::messageTexts() const {
  std::vector<std::string> texts;
  for (const auto& message : m_messages) texts.push_back(message.text);
  return texts;
}

Answer HeadlessPlatform::messageBox(const std::string& text, Buttons buttons, Answer preset) {
  m_messages.push_back({text, buttons, preset});
  if (m_messageSink) m_messageSink(text);
  if (m_answers.empty()) return firstButton(buttons);
  Answer answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

std::optional<std::string> HeadlessPlatform::openFileDialog(const OpenDialogRequest& request) {
  m_dialogs.push_back(request);
  if (m_dialogResults.empty()) return std::nullopt;
  auto result = m_dialogResults.front();
  m_dialogResults.pop_front();
  return result;
}

void HeadlessPlatform::setBusyPointer(bool busy) {
  m_busy = busy;
  ++m_busyChanges;
}

void HeadlessPlatform::yield() {
  ++m_yields;
  if (m_yieldAction && !m_inYieldAction) {
    m_inYieldAction = true;
    m_yieldAction();
    m_inYieldAction = false;
  }
}

bool HeadlessPlatform::shellOpen(const std::string& verb, const std::string& target,
                                 const std::string& workingFolder, int show) {
  m_shellCalls.push_back({verb, target, workingFolder, show});
  return m_shellSucceeds;
}

void HeadlessPlatform::showModal(Window& window) {
  m_modalShown.push_back(window.name());
  window.Form_Activate();
  auto action = m_modalActions.find(window.name());
  if (action != m_modalActions.end() && action->second) action->second(window);
}

void HeadlessPlatform::progress(const std::string& activity, double fraction, bool) {
  if (m_activities.empty() || m_activities.back() != activity) m_activities.push_back(activity);
  if (m_progressSink) m_progressSink(activity, fraction);
}

void HeadlessPlatform::progressDone() {
  m_cancel = false;
  if (m_progressSink) m_progressSink("", std::nullopt);
}

std::optional<std::string> HeadlessPlatform::environmentVariable(const std::string& name) {
  auto value = m_environment.find(name);
  return value == m_environment.end() ? std::nullopt : value->second;
}

std::optional<std::string> HeadlessPlatform::whyNotWritable(const std::string& folder) {
  auto told = m_unwritable.find(folder);
  if (told != m_unwritable.end()) return told->second;
  return Platform::whyNotWritable(folder);
}

}  // namespace waymint::platform
