// `list`: the names that a press on the category lists.
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "workflow/category_workflow.h"

namespace waymint::cli {

int runList(const Invocation& invocation, Session& session) {
  if (!session.load(invocation.osmFile)) return exitUsage;
  const std::string& category = invocation.categories.front();
  const bool listed = session.choose(category);
  session.setSubject(category);
  // A category the file does not have: the press says "Please select".
  workflow::List1_MouseDown(session.program(), 2);
  for (const std::string& name : session.window().List1(0).items()) session.print({name});
  return listed ? exitOk : exitFailure;
}

}  // namespace waymint::cli
