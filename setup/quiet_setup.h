/* The installation without a window, for /quiet. */
#ifndef QUIET_SETUP_H
#define QUIET_SETUP_H

#include "switch_rules.h"

/* Returns the exit code. */
int RunQuietSetup(const SwitchValues *switches);

#endif
