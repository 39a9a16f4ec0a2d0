#include "app/state_file.h"

#include <optional>
#include <string_view>
#include <utility>

#include "osm/number_text.h"
#include "app/program.h"
#include "app/state_location.h"
#include "platform/files.h"

namespace waymint::app {
namespace {

namespace files = platform::files;

std::string_view skipLeadingBlanks(std::string_view line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  return line;
}

std::string_view trimmed(std::string_view line) {
  line = skipLeadingBlanks(line);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Reads the values of the state file in order; each read fails at the end of the file or
// on a line that does not hold what is expected.
class ValueReader {
 public:
  explicit ValueReader(std::string_view text) : m_lines(text) {}

  bool text(std::string& into) {
    std::string_view line;
    if (!m_lines.next(line)) return false;
    into = std::string(skipLeadingBlanks(line));
    return true;
  }
  bool optionalText(std::optional<std::string>& into) {
    std::string value;
    if (!text(value)) return false;
    into = value.empty() ? std::nullopt : std::optional<std::string>(value);
    return true;
  }
  bool number(double& into) {
    std::string_view line;
    if (!m_lines.next(line)) return false;
    auto value = osm::leadingNumber(line);
    if (!value) return false;
    into = *value;
    return true;
  }
  // The lines after the values, each handed over as it is.
  template <typename Take>
  void rest(Take take) {
    for (std::string_view line; m_lines.next(line);) take(line);
  }
  bool flag(bool& into) {
    std::string_view line;
    if (!m_lines.next(line)) return false;
    auto value = trimmed(line);
    if (equalsIgnoringCase(value, "True") || equalsIgnoringCase(value, "#TRUE#")) {
      into = true;
    } else if (equalsIgnoringCase(value, "False") || equalsIgnoringCase(value, "#FALSE#")) {
      into = false;
    } else {
      return false;
    }
    return true;
  }

 private:
  files::LineReader m_lines;
};

// False when a line could not be read: the rest of the file is then not looked at.
bool readValues(Program& program, ValueReader& in) {
  State& state = program.state;
  double number = 0;
  if (!in.number(number)) return false;
  state.version = static_cast<float>(number);
  for (int index = 9; index <= 16; ++index) {
    std::string caption;
    if (!in.text(caption)) return false;
    program.f1.mf(index).setCaption(caption);
  }
  if (!in.text(state.restemplates[0]) || !in.text(state.stylepath) || !in.text(state.spare) ||
      !in.flag(state.alert) || !in.text(state.gpxfolder) || !in.text(state.loaderpath) ||
      !in.optionalText(state.lastosm) || !in.text(state.restemplates[1]) ||
      !in.text(state.restemplates[2])) {
    return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (!in.number(number)) return false;
  }
  return true;
}

constexpr std::string_view areasKey = "areas";
constexpr std::string_view exactKey = "exact";
constexpr std::string_view detailsKey = "details";

bool flagOf(const StateFileExtras& extras, std::string_view key) {
  return extras.value(key) == "1";
}

void readChoices(State& state) {
  state.choices.areas = flagOf(state.extras, areasKey);
  state.choices.exact = flagOf(state.extras, exactKey);
  state.choices.details = flagOf(state.extras, detailsKey);
}

// A choice that is off writes no line: the file of a user who made none stays as it was.
void keepChoices(State& state) {
  const std::pair<std::string_view, bool> flags[] = {{areasKey, state.choices.areas},
                                                     {exactKey, state.choices.exact},
                                                     {detailsKey, state.choices.details}};
  for (const auto& [key, on] : flags) {
    if (on) {
      state.extras.set(key, "1");
    } else {
      state.extras.erase(key);
    }
  }
}

// The sound and the proximity, as the window has them; each kept in a line only when it is
// not what the window starts with (Sound off, MP3, 25 metres).
constexpr std::string_view soundKey = "sound";
constexpr std::string_view soundFormatKey = "soundformat";
constexpr std::string_view proximityKey = "proximity";
constexpr std::string_view startProximity = "25";

void readSoundAndProximity(const StateFileExtras& extras, f1& window) {
  window.Check1.setValue(flagOf(extras, soundKey) ? 1 : 0);
  const bool wav = extras.value(soundFormatKey) == "wav";
  window.Opt(0).setValue(wav);
  window.Opt(1).setValue(!wav);
  const auto proximity = extras.value(proximityKey);
  if (proximity && osm::typedNumber(*proximity)) {
    window.Text3(1).setText(std::to_string(*osm::typedNumber(*proximity)));
  }
}

void keepSoundAndProximity(const f1& window, StateFileExtras& extras) {
  const auto keep = [&extras](std::string_view key, bool differs, const std::string& value) {
    if (differs) {
      extras.set(key, value);
    } else {
      extras.erase(key);
    }
  };
  keep(soundKey, window.Check1.value() == 1, "1");
  keep(soundFormatKey, window.Opt(0).value(), "wav");
  // A box that holds no distance a GPX can take keeps the distance kept before.
  if (const auto distance = osm::typedNumber(window.Text3(1).text())) {
    const std::string text = std::to_string(*distance);
    keep(proximityKey, text != startProximity, text);
  }
}

}  // namespace

std::string stateFilePath(const Program& program) {
  return program.state.statelocation.folder + "/osm_pois.dat";
}

void loaddata(Program& program) {
  const std::string& path = program.state.statelocation.readFrom;
  if (path.empty()) return;
  std::string text;
  try {
    text = files::readWhole(path);
  } catch (const files::IoError&) {
    return;
  }
  ValueReader in(text);
  if (!readValues(program, in)) return;
  in.rest([&](std::string_view line) { program.state.extras.read(line); });
  readChoices(program.state);
  readSoundAndProximity(program.state.extras, program.f1);
}

void savedata(Program& program) {
  State& state = program.state;
  const std::string crlf = "\r\n";
  std::string text = osm::numberText(state.version) + crlf;
  for (int index = 9; index <= 16; ++index) text += program.f1.mf(index).caption() + crlf;
  for (const std::string* value :
       {&state.restemplates[0], &state.stylepath, &state.spare}) {
    text += *value + crlf;
  }
  text += std::string(state.alert ? "True" : "False") + crlf;
  text += state.gpxfolder + crlf;
  text += state.loaderpath + crlf;
  text += state.lastosm.value_or("") + crlf;
  text += state.restemplates[1] + crlf;
  text += state.restemplates[2] + crlf;
  for (int i = 0; i < 4; ++i) text += "0" + crlf;
  keepChoices(state);
  keepSoundAndProximity(program.f1, state.extras);
  text += state.extras.text();
  if (state.statelocation.folder.empty() || !stateFolderReady(program)) return;
  try {
    files::replaceWhole(stateFilePath(program), text);
  } catch (const files::IoError&) {
    // An unwritable state file keeps its old contents; closing goes on without a message.
  }
}

}  // namespace waymint::app
