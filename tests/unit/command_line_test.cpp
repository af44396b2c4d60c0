/*
 * The switches as both programs read them, from the wide command line
 * through CommandLineToArgvW and the exact ANSI conversion to the values.
 */
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "command_line.h"
#include "port_text.h"

/* What was read, in a line: the switches set and the values, then the
   reason an invalid line is invalid. */
static std::string Read(const SwitchValues &values)
{
    static const char *const restarts[] = { "", " norestart", " forcerestart" };
    std::string line = "known=" + std::to_string(values.known);

    if (values.quiet) line += " quiet";
    if (values.help) line += " help";
    if (values.makeDefault) line += " default";
    line += restarts[values.restart];
    if (values.model[0]) line += " model=" + std::string(values.model);
    if (values.port[0]) line += " port=" + std::string(values.port) + (values.portKind == PORT_NAME_SERIAL ? "(serial)" : "(usb)");
    if (values.logPath[0]) line += " log=" + std::string(values.logPath);
    if (values.fault[0]) line += " | " + std::string(values.fault);
    return line;
}

TEST(CommandLine, SwitchesAsRead)
{
    static const struct
    {
        int program;
        const wchar_t *commandLine;
        const char *read;
    } rows[] = {
        /* The wizard as always: nothing known, nothing read. */
        { PROGRAM_SETUP, L"drvsetup.exe", "known=0" },
        { PROGRAM_SETUP, L"\"C:\\My Files\\drvsetup.exe\"  ", "known=0" },
        { PROGRAM_SETUP, L"drvsetup.exe /bogus extra -x", "known=0" },
        { PROGRAM_SETUP, L"drvsetup.exe /log:C:\\w.log /bogus", "known=1 log=C:\\w.log" },

        /* Spellings: / or -, any case, a value after a colon or a blank, quoted. */
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:COM3:", "known=2 quiet port=COM3:(serial)" },
        { PROGRAM_SETUP, L"drvsetup.exe /Q -PORT com3", "known=2 quiet port=COM3:(serial)" },
        { PROGRAM_SETUP, L"drvsetup.exe -s /port usb001 /DEFAULT", "known=3 quiet default port=USB001(usb)" },
        { PROGRAM_SETUP, L"drvsetup.exe /silent /port:COM12 /model:\"TARVOK QLP-RM550\" /norestart "
                         L"/log \"C:\\my logs\\setup.log\"",
          "known=5 quiet norestart model=TARVOK QLP-RM550 port=COM12:(serial) log=C:\\my logs\\setup.log" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:USB1234 /forcerestart",
          "known=3 quiet forcerestart port=USB1234(usb)" },
        /* Korean converts exactly into code page 949. */
        { PROGRAM_SETUP, L"drvsetup.exe /q /port:COM1 /model:\xd55c\xae00",
          "known=3 quiet model=\xc7\xd1\xb1\xdb port=COM1:(serial)" },
        { PROGRAM_SETUP, L"drvsetup.exe /?", "known=1 help" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /HELP", "known=2 quiet help" },
        { PROGRAM_REMOVE, L"drvremove.exe /q /forcerestart /log C:\\r.log", "known=3 quiet forcerestart log=C:\\r.log" },

        /* Invalid. */
        { PROGRAM_SETUP, L"drvsetup.exe /quiet", "known=1 quiet | a quiet installation without /port" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:COM3 /bogus",
          "known=2 quiet port=COM3:(serial) | an unknown switch: /bogus" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:COM3 \"\"",
          "known=2 quiet port=COM3:(serial) | an argument that is no switch: " },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port", "known=2 quiet | a switch without its value: /port" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /log /port:COM3",
          "known=3 quiet port=COM3:(serial) | a switch without its value: /log" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port: COM3", "known=2 quiet | a switch without its value: /port:" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:LPT1:",
          "known=2 quiet | a port of neither kind (COMn or USBnnn): LPT1:" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:USB01",
          "known=2 quiet | a port of neither kind (COMn or USBnnn): USB01" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:COM3x",
          "known=2 quiet | a port of neither kind (COMn or USBnnn): COM3x" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:COM3 /port:COM4",
          "known=3 quiet port=COM4:(serial) | a switch given twice: /port:COM4" },
        { PROGRAM_SETUP, L"drvsetup.exe /quiet /port:COM3 /default:yes",
          "known=3 quiet default port=COM3:(serial) | a switch that takes no value: /default:yes" },
        { PROGRAM_SETUP, L"drvsetup.exe /q /port:COM3 /norestart /forcerestart",
          "known=4 quiet forcerestart port=COM3:(serial) | /norestart and /forcerestart together" },
        /* No near letter stands in for one that code page 949 lacks. */
        { PROGRAM_SETUP, L"drvsetup.exe /q /port:COM3 /model:TARVOK\x2011QLP",
          "known=3 quiet port=COM3:(serial) | a value that does not convert exactly to the ANSI code page: TARVOK?QLP" },
        { PROGRAM_SETUP, L"drvsetup.exe /q /port:COM3 /log C:\\Caf\xe9.log",
          "known=3 quiet port=COM3:(serial) | a value that does not convert exactly to the ANSI code page: C:\\Caf?.log" },
        /* Invalid without /quiet too, once the switch is one the program knows. */
        { PROGRAM_SETUP, L"drvsetup.exe /log", "known=1 | a switch without its value: /log" },
        /* The other program's switch is unknown. */
        { PROGRAM_REMOVE, L"drvremove.exe /quiet /model:X", "known=1 quiet | an unknown switch: /model:X" },
        { PROGRAM_REMOVE, L"drvremove.exe /port:COM3", "known=0" },
    };

    ASSERT_EQ(GetACP(), 949u) << "run under LANG=ko_KR.UTF-8";
    for (const auto &row : rows) {
        SwitchValues values;
        ReadCommandLineText(row.program, row.commandLine, &values);
        char shown[1024];
        WideCharToMultiByte(CP_UTF8, 0, row.commandLine, -1, shown, sizeof shown, NULL, NULL);
        EXPECT_EQ(Read(values), row.read) << shown;
    }
}
