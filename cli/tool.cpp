#include "cli/tool.h"

#include <exception>
#include <variant>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/session.h"

namespace waymint::cli {

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
        bool showProgress) {
  const ParseResult parsed = parseArguments(arguments);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    err << "waymint-cli: " << error->reason << "\n\n" << usage();
    return exitUsage;
  }
  const Invocation& invocation = std::get<Invocation>(parsed);
  if (invocation.command == Command::Help) {
    out << usage();
    return exitOk;
  }
  try {
    Session session(out, err, showProgress);
    const int status = commandFor(invocation.command).run(invocation, session);
    out.flush();
    return status;
  } catch (const std::exception& failure) {
    out.flush();
    err << "waymint-cli: " << failure.what() << '\n';
    return exitFailure;
  }
}

}  // namespace waymint::cli
