#include "cli/arguments.h"

#include <optional>
#include <string_view>
#include <utility>

#include "cli/commands.h"
#include "messages/messages.h"
#include "osm/number_text.h"

namespace waymint::cli {
namespace {

// "--" ends the options, so that a category may begin with a dash.
constexpr std::string_view endOfOptions = "--";

bool looksLikeOption(std::string_view argument) {
  return argument.size() > 1 && argument.front() == '-';
}

bool asksForHelp(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == endOfOptions) return false;
    if (argument == "--help" || argument == "-h") return true;
  }
  return false;
}

// The options of `write`, gathered in one pass; the positional arguments apart.
struct Gathered {
  std::vector<std::string> positionals;
  app::Choices choices;
  bool all = false;
  bool alert = false;
  std::optional<std::string> gpxFolder;
  std::optional<std::string> proximity;
  std::optional<std::string> sound;
  bool gpi = false;
  std::optional<std::string> device;
};

class Gatherer {
 public:
  Gatherer(const CommandEntry& command, const std::vector<std::string>& arguments)
      : m_command(command), m_arguments(arguments) {}

  std::optional<UsageError> run() {
    bool optionsEnded = false;
    for (m_next = 1; m_next < m_arguments.size();) {
      const std::string& argument = m_arguments[m_next++];
      if (optionsEnded || !looksLikeOption(argument)) {
        m_gathered.positionals.push_back(argument);
      } else if (argument == endOfOptions) {
        optionsEnded = true;
      } else if (auto error = option(argument)) {
        return error;
      }
    }
    return std::nullopt;
  }
  const Gathered& gathered() const { return m_gathered; }

 private:
  std::optional<UsageError> option(const std::string& name) {
    if (m_command.command == Command::Send) {
      if (name == "--device") return value(name, m_gathered.device);
      return UsageError{messages::takesNoOption(m_command.name, name)};
    }
    if (name == "--areas") return choice(name, m_gathered.choices.areas);
    if (name == "--exact") return choice(name, m_gathered.choices.exact);
    if (name == "--details") return choice(name, m_gathered.choices.details);
    if (m_command.command != Command::Write) {
      return UsageError{messages::takesNoOption(m_command.name, name)};
    }
    if (name == "--all") {
      m_gathered.all = true;
    } else if (name == "--alert") {
      m_gathered.alert = true;
    } else if (name == "--gpi") {
      return choice(name, m_gathered.gpi);
    } else if (name == "--gpx-folder") {
      return value(name, m_gathered.gpxFolder);
    } else if (name == "--proximity") {
      return value(name, m_gathered.proximity);
    } else if (name == "--sound") {
      return value(name, m_gathered.sound);
    } else {
      return UsageError{messages::unknownOption(name)};
    }
    return std::nullopt;
  }

  std::optional<UsageError> choice(const std::string& name, bool& into) {
    if (into) return UsageError{messages::givenTwice(name)};
    into = true;
    return std::nullopt;
  }

  // The argument after an option is its value, unless it is another option ("-5" is a value).
  std::optional<UsageError> value(const std::string& name, std::optional<std::string>& into) {
    if (into) return UsageError{messages::givenTwice(name)};
    if (m_next >= m_arguments.size() || m_arguments[m_next].starts_with("--") ||
        m_arguments[m_next].empty()) {
      return UsageError{messages::needsValue(name)};
    }
    into = m_arguments[m_next++];
    return std::nullopt;
  }

  const CommandEntry& m_command;
  const std::vector<std::string>& m_arguments;
  size_t m_next = 1;
  Gathered m_gathered;
};

std::optional<UsageError> countPositionals(const CommandEntry& command, size_t have, size_t want) {
  const std::string name(command.name);
  if (have < want) {
    const std::string_view needed = command.synopsis.substr(name.size() + 1);
    return UsageError{messages::needs(name, needed.substr(0, needed.find(" [")))};
  }
  if (have > want) return UsageError{messages::tooManyArguments(name)};
  return std::nullopt;
}

ParseResult writeInvocation(Gathered gathered) {
  Invocation invocation;
  invocation.command = Command::Write;
  auto& positionals = gathered.positionals;
  if (positionals.empty()) return UsageError{std::string(messages::writeNeedsOsmFile)};
  invocation.osmFile = positionals.front();
  invocation.categories.assign(positionals.begin() + 1, positionals.end());
  invocation.all = gathered.all;
  invocation.choices = gathered.choices;
  if (invocation.all && !invocation.categories.empty()) {
    return UsageError{std::string(messages::categoriesOrAll)};
  }
  if (!invocation.all && invocation.categories.empty()) {
    return UsageError{std::string(messages::writeNeedsCategories)};
  }
  if (!gathered.gpxFolder) return UsageError{std::string(messages::writeNeedsGpxFolder)};
  invocation.gpxFolder = *gathered.gpxFolder;
  invocation.alert = gathered.alert;
  invocation.gpi = gathered.gpi;
  if (gathered.proximity) invocation.proximity = *gathered.proximity;
  // Read as the Proximity box reads it ("25m" is 25), but a distance beyond the box's range
  // is a wrong command line, not a run that goes on with another distance.
  if (!osm::boxNumber(invocation.proximity)) {
    return UsageError{messages::proximityOutOfRange(invocation.proximity)};
  }
  if (gathered.sound == "wav") {
    invocation.sound = gpx::SoundFormat::Wav;
  } else if (gathered.sound == "mp3") {
    invocation.sound = gpx::SoundFormat::Mp3;
  } else if (gathered.sound) {
    return UsageError{messages::soundNotKnown(*gathered.sound)};
  }
  return invocation;
}

ParseResult sendInvocation(Gathered gathered) {
  Invocation invocation;
  invocation.command = Command::Send;
  auto& positionals = gathered.positionals;
  if (positionals.empty()) return UsageError{std::string(messages::sendNeedsGpxFolder)};
  invocation.gpxFolder = positionals.front();
  invocation.categories.assign(positionals.begin() + 1, positionals.end());
  if (gathered.device) invocation.device = *gathered.device;
  return invocation;
}

}  // namespace

ParseResult parseArguments(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return UsageError{std::string(messages::noCommand)};
  if (asksForHelp(arguments)) return Invocation{};
  if (arguments.front() == "--version") {
    Invocation version;
    version.command = Command::Version;
    return version;
  }
  const CommandEntry* command = findCommand(arguments.front());
  if (!command) return UsageError{messages::unknownCommand(arguments.front())};

  Gatherer gatherer(*command, arguments);
  if (auto error = gatherer.run()) return *error;
  Gathered gathered = gatherer.gathered();
  if (command->command == Command::Write) return writeInvocation(std::move(gathered));
  if (command->command == Command::Send) return sendInvocation(std::move(gathered));

  const size_t want = command->command == Command::List ? 2 : 1;
  if (auto error = countPositionals(*command, gathered.positionals.size(), want)) return *error;
  Invocation invocation;
  invocation.command = command->command;
  invocation.osmFile = gathered.positionals[0];
  invocation.choices = gathered.choices;
  if (want == 2) invocation.categories.push_back(gathered.positionals[1]);
  return invocation;
}

}  // namespace waymint::cli
