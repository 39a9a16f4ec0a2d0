#pragma once

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/program.h"
#include "platform/headless/headless_platform.h"

namespace waymint::cli {

// The program as the tool runs it: the main window on the headless platform, started
// without the state file. Every message the window would show goes to standard error as
// "waymint-cli: " + its text; progress goes there too, as one line that is rewritten, when
// standard error is a terminal.
class Session {
 public:
  Session(std::ostream& out, std::ostream& err, bool progressShown);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  app::Program& program() { return m_program; }
  app::f1& window() { return m_program.f1; }

  // Opens `osmFile` as File > Open opens the file picked. False, after saying why, when it
  // cannot be read.
  bool load(const std::string& osmFile);
  // Selects the entry of List1(2) whose escaped form (see escape.h) is `category`, or else the
  // entry that is `category` as it stands; with none, nothing is selected.
  bool choose(const std::string& category);
  // One line on standard output: the fields escaped, separated by TABs.
  void print(std::initializer_list<std::string_view> fields);
  // A line of the tool's own on standard error.
  void complain(std::string_view text);
  // What the messages from now on concern, named before them ("cafe: ..."); "" for nothing.
  void setSubject(std::string subject) { m_subject = std::move(subject); }

 private:
  void showMessage(const std::string& text);
  void showProgress(const std::string& activity, std::optional<double> fraction);
  void clearProgress();

  std::ostream& m_out;
  std::ostream& m_err;
  const bool m_showProgress;
  platform::HeadlessPlatform m_machine;
  app::Program m_program;
  std::string m_loading;  // the OSM file while it is being opened
  std::string m_subject;
  std::string m_progressLine;  // what the progress line shows; empty when cleared
};

}  // namespace waymint::cli
