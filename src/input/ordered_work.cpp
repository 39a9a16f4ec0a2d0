#include "input/ordered_work.h"

namespace waymint::input {
namespace {

std::function<void()> g_beforeJob;

}  // namespace

void setBeforeJob(std::function<void()> hook) { g_beforeJob = std::move(hook); }

void beforeJob() {
  if (g_beforeJob) g_beforeJob();
}

}  // namespace waymint::input
