#ifndef REMOVER_H
#define REMOVER_H

#include <windows.h>

#define TIMER_REMOVE  3008
#define TIMER_RESTART 3009

int RunRemove(HINSTANCE instance);
LRESULT CALLBACK RemoverWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void HandleRemovalTimer(HWND hwnd, UINT_PTR timerId);

#endif
