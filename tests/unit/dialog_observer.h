/*
 * Looks at a modal dialog of this process from a second thread while the
 * test's own thread runs it, records what it shows, saves a screenshot and
 * then presses a button. Assertions stay on the test's thread.
 */
#ifndef DIALOG_OBSERVER_H
#define DIALOG_OBSERVER_H

#include <windows.h>
#include <string>
#include <vector>

struct Observation
{
    bool seen;
    std::string caption;
    std::vector<int> buttonIds;
    std::vector<std::string> texts;     /* by the ids asked for */
    HICON icon;                         /* of the control asked for */
    bool boxShown, boxChecked;          /* of the check box asked for */
    RECT rect;
};

struct ObserverPlan
{
    const char *shot;                   /* screenshot name, or NULL */
    std::vector<int> textIds;
    int iconId;
    int checkBoxId;
    bool toggleCheckBox;
    WPARAM command;                     /* posted to the dialog at the end */
};

/* Starts watching; Finish waits for the thread and hands back what it saw. */
HANDLE StartObserver(const ObserverPlan *plan, Observation *seen);
void FinishObserver(HANDLE thread);

/* A visible and enabled dialog of this process, by its caption and a
   control it holds when given, a moment after it appeared; NULL when none
   came within the time-out. */
HWND WaitForOwnDialog(const char *caption, int controlId, DWORD timeoutMs = 10000);

/* A hidden top-level window covering the desktop, owner of the dialogs. */
HWND MakeOwnerWindow(void);

std::string TestResultsPath(const char *name);

#endif
