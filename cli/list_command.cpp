// `list`: the names that a press on the category lists.
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/session.h"

namespace waymint::cli {

int runList(const Invocation& invocation, Session& session) {
  if (!session.load(invocation.osmFile)) return exitUsage;
  const std::string& category = invocation.categories.front();
  session.choose(category);
  session.setActivity("scanning " + category);
  app::f1& window = session.window();
  window.List1_MouseDown(2);
  for (const std::string& name : window.List1(0).items()) session.print(name);
  return session.status();
}

}  // namespace waymint::cli
