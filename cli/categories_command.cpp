// `categories`: the category list that opening the file fills.
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/session.h"

namespace waymint::cli {

int runCategories(const Invocation& invocation, Session& session) {
  if (!session.load(invocation.osmFile)) return exitUsage;
  for (const std::string& category : session.window().List1(2).items()) session.print({category});
  return exitOk;
}

}  // namespace waymint::cli
