// A file of the app layer that includes from the workflow above it, in angle brackets.
#include <app/state.h>
#include <workflow/menus.h>
