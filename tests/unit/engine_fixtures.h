/* Fixtures for the engine tests against Wine's own profile reader, spooler
   and registry. The macros hand the caller's line to helpers that can fail. */
#ifndef ENGINE_FIXTURES_H
#define ENGINE_FIXTURES_H

#include <windows.h>
#include <string>

/* The setup information file is looked for beside the program, once per
   process: a copy of the test program in C:\fixture becomes appInstance. */
#define FIXTURE_INF_PATH "C:\\fixture\\QLRM550.INF"
bool UseFixtureSetupInfoAt(const char *file, int line);
bool WriteFixtureInfAt(const char *file, int line, const std::string &content);
#define USE_FIXTURE_SETUP_INFO() UseFixtureSetupInfoAt(__FILE__, __LINE__)
#define WRITE_FIXTURE_INF(content) WriteFixtureInfAt(__FILE__, __LINE__, content)

/* A file of the built package, as a Wine path. */
std::string PackageFile(const char *name);

/* Opens the Model page and presses Next with the row `model` selected (a
   row the setup information does not list is added first), or with no row
   for NULL. 1 when the page led on; 0 when it warned, after which the
   warning is closed and the page cancelled. */
int NextOnModelPage(const char *model);

/* The names of a NUL-separated list up to its empty name, joined by "|". */
std::string JoinList(const char *list, size_t size);

/* The major version of the Wine underneath (8, 10), 0 on Windows. */
int WineMajorVersion(void);

/* A printer and its driver in Wine's spooler, on USB001 with winprint. */
void AddTestPrinter(const char *name);

/* The data of a registry value without its closing NULs, or "<missing>". */
std::string RegistryData(HKEY root, const char *key, const char *name);

/* Answers every message box of this process with OK from a second thread,
   until FinishBoxWatch; keeps the caption, text and owner of the first. */
struct BoxWatch
{
    HANDLE thread = NULL;
    volatile LONG stop = 0;
    int boxes = 0;
    HWND owner = NULL;
    std::string caption, text;
};
void StartBoxWatch(BoxWatch *watch);
void FinishBoxWatch(BoxWatch *watch);

#endif
