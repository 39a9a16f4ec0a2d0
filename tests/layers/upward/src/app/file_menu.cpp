#include "workflow/menus.h"
