/*
 * The work that runs when one of the controller's one-shot timers fires.
 * The start-up check for an earlier installation and the registration phase
 * are not in place yet: the first timer leads straight to the Welcome page.
 */
#include <windows.h>
#include "controller.h"
#include "install_state.h"

void HandlePhaseTimer(HWND hwnd, UINT_PTR timerId)
{
    switch (timerId) {
    case TIMER_READ_SETUP_INFO:
        PostMessageA(hwnd, WM_COMMAND, CMD_WELCOME_PAGE, 0);
        break;
    }
}
