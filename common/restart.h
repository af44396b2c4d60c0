/*
 * The restart both programs may end with: the question, the privilege and
 * the request, and a restart that is cancelled after it was requested.
 */
#ifndef RESTART_H
#define RESTART_H

#include <windows.h>

/* Set once the system has taken this program's restart request. */
extern int restartRequested;

/* 1 when the user answers Yes. */
int AskRestartQuestion(const char *question);

/* Asks the system to restart, with the privilege that needs; 1, and
   restartRequested set, when the system took the request. */
int RequestRestart(void);

/*
 * A restart requested may still be cancelled, by the user or another
 * program: a WM_ENDSESSION whose wParam says the session goes on, or, when
 * it was cancelled before this program was asked, no message at all. 1 when
 * a request was waiting, which is then forgotten: the program ends as after
 * a restart that could not be asked for.
 */
int RestartCancelled(WPARAM sessionEnds);

/*
 * How a quiet run that needs a restart ends: with the restart left to the
 * caller (3010), or with /forcerestart requested as after Yes (1641); a
 * request the system refuses is logged and left to the caller too.
 */
int EndWithRestart(int restartSwitch);

#endif
