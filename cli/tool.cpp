#include "cli/tool.h"

#include <cstring>
#include <exception>
#include <string>
#include <variant>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/descriptor_output.h"
#include "cli/escape.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "messages/messages.h"

namespace waymint::cli {
namespace {

// ": " and the system's description of why `out` failed, when its buffer knows it.
std::string whyFailed(const std::ostream& out) {
  const auto* descriptor = dynamic_cast<const DescriptorOutput*>(out.rdbuf());
  if (!descriptor || descriptor->error() == 0) return "";
  return std::string(": ") + std::strerror(descriptor->error());
}

// A script must not take a run whose output was lost for a success: once standard output
// is flushed, a failed stream fails the run.
int finish(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  if (out) return status;
  err << messages::cliPrefix << messages::cannotWriteOutput(whyFailed(out)) << '\n';
  err.flush();
  return exitFailure;
}

int work(const Invocation& invocation, std::ostream& out, std::ostream& err, bool showProgress) {
  if (invocation.command == Command::Help) {
    out << usage();
    return exitOk;
  }
  if (invocation.command == Command::Version) {
    out << versionLine();
    return exitOk;
  }
  try {
    Session session(out, err, showProgress);
    session.program().state.choices = invocation.choices;
    return commandFor(invocation.command).run(invocation, session);
  } catch (const std::exception& failure) {
    out.flush();
    err << messages::cliPrefix << escapedMessage(failure.what()) << '\n';
    return exitFailure;
  }
}

}  // namespace

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
        bool showProgress) {
  const ParseResult parsed = parseArguments(arguments);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    err << messages::cliPrefix << escapedMessage(error->reason) << "\n\n" << usage();
    return exitUsage;
  }
  return finish(out, err, work(std::get<Invocation>(parsed), out, err, showProgress));
}

}  // namespace waymint::cli
