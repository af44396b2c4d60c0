/* The wizard's process state, in one place. */
#include <windows.h>
#include "install_state.h"

InstallState installState;
int stepRunning;
int closeRequested;
int quietRun;
int failedSteps;
