#include "port_text.h"
#include "switch_rules.h"
#include "textbuf.h"

enum SwitchId
{
    SWITCH_QUIET,
    SWITCH_MODEL,
    SWITCH_PORT,
    SWITCH_DEFAULT,
    SWITCH_NORESTART,
    SWITCH_FORCERESTART,
    SWITCH_LOG,
    SWITCH_HELP,
};

#define BOTH_PROGRAMS (PROGRAM_SETUP | PROGRAM_REMOVE)
#define MAX_ALIASES 4

struct SwitchRule
{
    enum SwitchId id;
    const char *names[MAX_ALIASES];
    int takesValue;
    int programs;
};

static const SwitchRule SwitchRules[] = {
    { SWITCH_QUIET,        { "quiet", "q", "s", "silent" }, 0, BOTH_PROGRAMS },
    { SWITCH_MODEL,        { "model" },                     1, PROGRAM_SETUP },
    { SWITCH_PORT,         { "port" },                      1, PROGRAM_SETUP },
    { SWITCH_DEFAULT,      { "default" },                   0, PROGRAM_SETUP },
    { SWITCH_NORESTART,    { "norestart" },                 0, BOTH_PROGRAMS },
    { SWITCH_FORCERESTART, { "forcerestart" },              0, BOTH_PROGRAMS },
    { SWITCH_LOG,          { "log" },                       1, BOTH_PROGRAMS },
    { SWITCH_HELP,         { "?", "help" },                 0, BOTH_PROGRAMS },
};

#define RULE_COUNT (int)(sizeof SwitchRules / sizeof SwitchRules[0])

static const char *const SetupUsage[] = {
    "Installs the TARVOK QLP-RM550 printer. Without switches the wizard runs.",
    "",
    "drvsetup.exe /quiet /port:PORT [/model:MODEL] [/default] [/norestart | /forcerestart] [/log:PATH]",
    "",
    "/quiet (or /q, /s, /silent): install without showing anything; the exit code tells the outcome.",
    "/port:PORT: a serial port of this machine (COM3 or COM3:) or a USB printer port (USB001).",
    "/model:MODEL: a model of the setup information; needed when it lists several.",
    "/default: make the printer the default printer of the account that runs the program.",
    "/norestart: never restart: an earlier installation that was cleaned up ends with 3010 (the default).",
    "/forcerestart: after such a cleanup, restart Windows and end with 1641.",
    "/log:PATH: append the log to this file; with /quiet and no /log, a new log in the temporary folder.",
    "/? or /help: this text.",
    "Switches start with / or -; a value follows a colon or a blank, in quotes when it holds blanks.",
    "",
    "Exit codes: 0 installed; 3010 an earlier installation was cleaned up, restart and run again;",
    "1641 the same, the restart was requested; 1603 a step failed (the log names it);",
    "1619 no setup information, or no model in it; 1639 invalid command line.",
};

static const char *const RemoveUsage[] = {
    "Removes the TARVOK QLP-RM550 printer, its driver and print processor.",
    "",
    "drvremove.exe [/quiet [/norestart | /forcerestart]] [/log:PATH]",
    "",
    "/quiet (or /q, /s, /silent): remove without the restart question; the exit code tells the outcome.",
    "/norestart: never restart: a removal that needs one ends with 3010 (the default).",
    "/forcerestart: when the removal needs a restart, restart Windows and end with 1641.",
    "/log:PATH: append the log to this file; with /quiet and no /log, a new log in the temporary folder.",
    "/? or /help: this text.",
    "",
    "Exit codes: 0 removed, or nothing to remove; 3010 restart to finish; 1641 the restart was requested;",
    "1603 the printer is still there; 1639 invalid command line.",
};

static char LowerLetter(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

/* The switch's name runs up to a colon or the end of the argument. */
static int IsName(const char *text, const char *name)
{
    for (; *name; text++, name++)
        if (LowerLetter(*text) != *name) return 0;
    return !*text || *text == ':';
}

static const SwitchRule *FindRule(int program, const char *name)
{
    for (int i = 0; i < RULE_COUNT; i++) {
        if (!(SwitchRules[i].programs & program)) continue;
        for (int n = 0; n < MAX_ALIASES && SwitchRules[i].names[n]; n++)
            if (IsName(name, SwitchRules[i].names[n])) return &SwitchRules[i];
    }
    return 0;
}

static void Fault(SwitchValues *values, const char *what, const char *argument)
{
    if (values->fault[0]) return;
    CopyText(values->fault, TEXT_SIZE, what);
    AppendText(values->fault, TEXT_SIZE, argument);
}

static void TakeValue(SwitchValues *values, int id, const char *value, int exact)
{
    if (!exact) {
        Fault(values, "a value that does not convert exactly to the ANSI code page: ", value);
        return;
    }
    if (id == SWITCH_MODEL) {
        CopyText(values->model, TEXT_SIZE, value);
    } else if (id == SWITCH_LOG) {
        CopyText(values->logPath, TEXT_SIZE, value);
    } else {
        char port[TEXT_SIZE];
        int kind = ReadPortName(value, port, TEXT_SIZE);

        if (kind == PORT_NAME_NONE) {
            Fault(values, "a port of neither kind (COMn or USBnnn): ", value);
            return;
        }
        CopyText(values->port, TEXT_SIZE, port);
        values->portKind = kind;
    }
}

static void TakeSwitch(SwitchValues *values, const SwitchRule *rule, const char *text, int exact)
{
    const char *colon = text;

    while (*colon && *colon != ':') colon++;
    values->known++;
    if (values->given & (1 << rule->id) && rule->takesValue)
        Fault(values, "a switch given twice: ", text);
    values->given |= 1 << rule->id;
    if (!rule->takesValue) {
        if (*colon) Fault(values, "a switch that takes no value: ", text);
    } else if (*colon && colon[1]) {
        TakeValue(values, rule->id, colon + 1, exact);
    } else if (*colon) {
        Fault(values, "a switch without its value: ", text);
    } else {
        values->pendingSwitch = rule->id;
    }

    switch (rule->id) {
    case SWITCH_QUIET: values->quiet = 1; break;
    case SWITCH_HELP: values->help = 1; break;
    case SWITCH_DEFAULT: values->makeDefault = 1; break;
    case SWITCH_NORESTART:
    case SWITCH_FORCERESTART:
        if (values->given & (1 << SWITCH_NORESTART) && values->given & (1 << SWITCH_FORCERESTART))
            Fault(values, "/norestart and /forcerestart together", "");
        values->restart = rule->id == SWITCH_FORCERESTART ? RESTART_FORCED : RESTART_NEVER;
        break;
    default: break;
    }
}

static const char *SwitchName(int id)
{
    for (int i = 0; i < RULE_COUNT; i++)
        if (SwitchRules[i].id == id) return SwitchRules[i].names[0];
    return "";
}

static void OweValue(SwitchValues *values)
{
    if (values->pendingSwitch < 0) return;
    Fault(values, "a switch without its value: /", SwitchName(values->pendingSwitch));
    values->pendingSwitch = -1;
}

void StartSwitches(int program, SwitchValues *values)
{
    char *bytes = (char *)values;

    for (unsigned i = 0; i < sizeof *values; i++) bytes[i] = 0;
    values->program = program;
    values->pendingSwitch = -1;
}

void ReadArgument(SwitchValues *values, const char *text, int exact)
{
    const SwitchRule *rule;
    int isSwitch = text[0] == '/' || text[0] == '-';

    if (values->pendingSwitch >= 0 && !isSwitch) {
        TakeValue(values, values->pendingSwitch, text, exact);
        values->pendingSwitch = -1;
        return;
    }
    OweValue(values);
    /* A name is plain ASCII: one that did not convert exactly is no switch
       of ours. */
    rule = isSwitch ? FindRule(values->program, text + 1) : 0;
    if (rule) {
        TakeSwitch(values, rule, text, exact);
    } else if (!values->unknown[0]) {
        CopyText(values->unknown, TEXT_SIZE, isSwitch ? "an unknown switch: " : "an argument that is no switch: ");
        AppendText(values->unknown, TEXT_SIZE, text);
    }
}

void EndSwitches(SwitchValues *values)
{
    OweValue(values);
    /* Without /quiet the wizard runs, and what it does not know it ignores. */
    if (values->quiet && values->unknown[0]) Fault(values, values->unknown, "");
    if (values->program == PROGRAM_SETUP && values->quiet && !values->help && !values->port[0])
        Fault(values, "a quiet installation without /port", "");
}

const char *UsageLine(int program, int index)
{
    const char *const *lines = program == PROGRAM_SETUP ? SetupUsage : RemoveUsage;
    int count = program == PROGRAM_SETUP ? (int)(sizeof SetupUsage / sizeof SetupUsage[0])
                                         : (int)(sizeof RemoveUsage / sizeof RemoveUsage[0]);

    return index >= 0 && index < count ? lines[index] : 0;
}
