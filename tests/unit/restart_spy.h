/*
 * Stands in front of the restart question and the restart itself: the real
 * ExitWindowsEx under Wine ends every windowed process of the prefix.
 */
#ifndef RESTART_SPY_H
#define RESTART_SPY_H

#include <windows.h>

struct RestartSpy
{
    int answer;         /* what the restart question answers */
    BOOL result;        /* what the restart request returns */
    int requests;       /* restart requests made */
};

extern RestartSpy restartSpy;

/* Puts the spy in front of this program's MessageBoxA and ExitWindowsEx. */
void SpyOnRestart(int answer, BOOL result);

#endif
