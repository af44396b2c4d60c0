/*
 * The robot: drives the real drvsetup.exe and drvremove.exe inside the test's
 * own Wine prefix, the way a person would, and reads what they leave behind.
 * Every wait has a time-out; a helper that fails reports the caller's line.
 * Each section below lives in a file of its own: programs.cpp, windows.cpp,
 * system_state.cpp and fixtures.cpp.
 */
#ifndef ROBOT_H
#define ROBOT_H

#include <windows.h>
#include <string>
#include <vector>

#define WAIT_MS 15000

struct Program
{
    PROCESS_INFORMATION pi;
    bool running;
};

/* Package and programs; StagePackage and StartProgram take UTF-8 paths */
std::string PackageDir(void);
std::string ResultsDir(void);
void StagePackage(const char *targetDir);
void WriteTextFile(const char *path, const char *text);
/* Writes the bytes as they are, NULs included. */
void WriteDataFile(const char *path, const std::string &data);
/* The arguments, if any, follow the quoted program path on its command line.
   With CREATE_SUSPENDED the caller resumes the program's thread. */
bool StartProgram(Program *program, const char *exePath, const char *currentDir, const char *arguments = NULL,
                  DWORD creationFlags = 0);
/* Starts the program with Wine's relay journal of the calls named (Wine's
   RelayInclude syntax) and its loader journal; the runner collects both in
   WINE_JOURNAL. */
#define WINE_JOURNAL "C:\\wine-stderr.txt"
bool StartTracedProgram(Program *program, const char *exePath, const char *currentDir,
                        const char *relayInclude, const char *arguments = NULL, DWORD creationFlags = 0);
/* send_job.exe, the application that prints (tests/robot/send_job.cpp). */
std::string SendJobProgram(void);
std::string ReadTextFile(const char *path);
int WaitForExit_(int line, Program *program, DWORD timeoutMs);
#define WaitForExit(p) WaitForExit_(__LINE__, p, WAIT_MS)
void EndProgram(Program *program);

/* Windows of the program */
HWND FindPage(DWORD pid, int controlId, const char *caption);
HWND WaitForPage_(int line, Program *program, int controlId, const char *caption, DWORD timeoutMs);
#define WaitForPage(p, id, caption) WaitForPage_(__LINE__, p, id, caption, WAIT_MS)
HWND WaitForCaption_(int line, Program *program, const char *caption, DWORD timeoutMs);
#define WaitForCaption(p, caption) WaitForCaption_(__LINE__, p, caption, WAIT_MS)
bool WaitForGone_(int line, HWND hwnd, DWORD timeoutMs);
#define WaitForGone(hwnd) WaitForGone_(__LINE__, hwnd, WAIT_MS)
std::vector<HWND> TopLevelDialogs(DWORD pid);
/* A visible top-level window of the process, of any class; NULL for none. */
HWND VisibleWindow(DWORD pid);

std::string WindowText(HWND hwnd);
std::string ControlText(HWND dialog, int id);
std::string AllTexts(HWND dialog);
std::vector<std::string> ListRows(HWND dialog, int id);
int ListSelection(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
/* Waits until a clicked box or button shows the state; false after the time-out. */
bool WaitForCheck(HWND dialog, int id, bool checked);
bool IsShown(HWND dialog, int id);
HICON ControlIcon(HWND dialog, int id);
void Click(HWND dialog, int id);
void SelectRow(HWND dialog, int listId, int row);
void Screenshot(HWND hwnd, const char *name);

/* Answers the program's own message dialogs and the system's message boxes */
void AnswerMessage_(int line, Program *program, const char *caption, const char *expectedText, int button);
#define AnswerMessage(p, caption, text, button) AnswerMessage_(__LINE__, p, caption, text, button)

/* State left in the system */
std::string RegString(HKEY root, const char *path, const char *value, bool *found);
bool RegKeyExists(HKEY root, const char *path);
void RegSetString(HKEY root, const char *path, const char *value, const char *data);
bool FileExists(const char *path);
/* A REG_MULTI_SZ value's strings joined with '|'. */
std::string RegMultiString(HKEY root, const char *path, const char *value, bool *found);
/* The names of the files (not the folders) in a directory, sorted. */
std::vector<std::string> FileNames(const char *directory);
/* The local spooler's printers, and one printer's level-2 record in a line:
   driver, port, print processor and data type; "<none>" without it. */
std::vector<std::string> PrinterNames(void);
std::string PrinterLine(const char *name);
std::vector<std::string> SubkeyNames(HKEY root, const char *path);
/* A name among names, ignoring case as Windows does. */
bool Holds(const std::vector<std::string> &names, const std::string &name);

/* What the spooler holds before the rows of a table run: the files of its
   directories and of the INF folder, and its print processors. */
struct SpoolerSnapshot
{
    std::vector<std::string> files[4];
    std::vector<std::string> processors;
};
void TakeSpoolerSnapshot(SpoolerSnapshot *snapshot);
/* Takes away what a row left: every printer and driver, the print
   processors and files that came after the snapshot, the default printer. */
void RestoreSpooler(const SpoolerSnapshot *snapshot);

/* Fixtures; a negative port number leaves the interface without one */
void AddUsbPrinterInterface(const char *serial, const char *vidPid, int portNumber);
void SetSpoolerPorts(const char *const *names, int count);

#endif
