/*
 * Malformed and hostile setup information files, one after another in one
 * prefix: each is walked through the wizard as far as it goes and then
 * through the removal, and what the programs showed and left is compared
 * with its row. Neither program may crash, hang or end with another exit
 * code, and no file may appear outside the spooler's directories.
 */
#include <windows.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "scenario.h"

#define DRIVERS_KEY "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3"
#define INSTALLED_INF "C:\\windows\\inf\\QLRM550.INF"

enum Outcome
{
    WARNS,          /* the Model page warns on Next; the walk cancels */
    INSTALLS,       /* success exit page */
    DRIVER_ERROR,   /* "Add a printer error": the driver was refused */
    PRINTER_ERROR,  /* "Add a printer error ": driver registered, printer refused */
};

/* A row names only what it has: no rows, no files, not the product's file. */
struct HostileInf
{
    const char *group = "";
    const char *label = "";
    std::string inf = "";
    std::vector<std::string> models = {};  /* the Model page's rows; row 0 is installed */
    Outcome outcome = WARNS;
    std::string dependentFiles = "";       /* the registered driver's files, '|' between */
    bool productInf = false;               /* names "TARVOK QLP-RM550" with a value */
};

static const char ModelLine[] = "\"" MODEL "\"=QLRM550,USBPRINT\\TarvokQLP-RM550EA55\r\n";
static const char PackageFiles[] = "QLRM550.GPD|QLRM550.DLL";

/* A setup information file that installs; each argument replaces one part. */
static std::string Inf(const std::string &models = ModelLine,
                       const std::string &copyFiles = "@QLRM550.GPD,@QLRM550.DLL",
                       const std::string &reference = "%QLP_PRINTPROCESSOR%",
                       const std::string &entry = "\"QLPPrintProc,qlpproc.dll\"")
{
    return "[Version]\r\nSignature=\"$Windows NT$\"\r\n"
           "[TarvokSystems]\r\n" + models +
           "[QLRM550]\r\nCopyFiles=" + copyFiles + "\r\nDataSection=UNIDRV_DATA\r\n"
           "[UNIDRV_DATA]\r\nDefaultDataType=RAW\r\n"
           "[QLP]\r\nPrintProcessor=" + reference + "\r\n"
           "[Strings]\r\nQLP_PRINTPROCESSOR=" + entry + "\r\n";
}

static std::string Utf16WithMark(const std::string &text)
{
    std::string wide = "\xff\xfe";
    for (char c : text) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

static std::string WithoutLinesStartingWith(const std::string &text, char first)
{
    std::string kept;
    size_t start = 0;

    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text[start] != first) kept += text.substr(start, end - start);
        start = end;
    }
    return kept;
}

static std::string Replaced(std::string text, char from, char to)
{
    for (char &c : text)
        if (c == from) c = to;
    return text;
}

static std::string BinaryBytes(void)
{
    std::string bytes("\0\xff\x10\x80[\0", 6);
    for (int i = 0; i < 50; i++) bytes += std::string("\0\xff", 2);
    for (int i = 0; i < 256; i++) bytes += (char)i;
    return bytes;
}

static std::string Numbered(const char *format, int number)
{
    char text[64];
    snprintf(text, sizeof text, format, number);
    return text;
}

/* 3000 quoted keys of 7 characters after the model: a key list takes 8
   bytes a key. The count reads 1024 bytes of it, of which Wine's reader
   fills 1022 before its one NUL: the model's 19 bytes and 126 keys, the
   last one cut short; the names come from a 2048-byte read, uncut. */
static HostileInf ThousandsOfKeys(void)
{
    HostileInf row = { .group = "model lists", .label = "thousands of keys in the manufacturer section",
                       .models = { MODEL }, .outcome = INSTALLS, .dependentFiles = PackageFiles,
                       .productInf = true };
    std::string models = ModelLine;

    for (int i = 0; i < 3000; i++) models += Numbered("\"M%04d\"=QLRM550,ID\r\n", i);
    for (int i = 0; i < 126; i++) row.models.push_back(Numbered("M%04d", i));
    row.inf = Inf(models);
    return row;
}

/* The model's 19 bytes and four keys of 251 bytes make a list of 1023
   bytes, one short of the count's buffer, which Wine's reader treats as
   cut all the same. */
static HostileInf KeyListOfTheBufferSize(void)
{
    HostileInf row = { .group = "model lists", .label = "a key list that fills the 1024-byte key buffer",
                       .models = { MODEL }, .outcome = INSTALLS, .dependentFiles = PackageFiles,
                       .productInf = true };
    std::string models = ModelLine;

    for (int i = 0; i < 4; i++) {
        std::string name = Numbered("FILL%d", i) + std::string(243, 'x');
        models += "\"" + name + "\"=QLRM550,ID\r\n";
        row.models.push_back(name);
    }
    row.inf = Inf(models);
    return row;
}

/* The value is cut at 1023 characters, inside the 91st added name. */
static HostileInf LongCopyFiles(void)
{
    HostileInf row = { .group = "install sections", .label = "CopyFiles of several kilobytes",
                       .models = { MODEL }, .outcome = INSTALLS, .dependentFiles = PackageFiles,
                       .productInf = true };
    std::string copyFiles = "@QLRM550.GPD,@QLRM550.DLL";

    for (int i = 0; i < 400; i++) copyFiles += Numbered(",@F%04d.DLL", i);
    for (int i = 0; i < 90; i++) row.dependentFiles += Numbered("|F%04d.DLL", i);
    row.dependentFiles += "|F0090.";
    row.inf = Inf(ModelLine, copyFiles);
    return row;
}

static std::vector<HostileInf> HostileInfs(void)
{
    const std::string longKey(3000, 'L');
    std::vector<HostileInf> rows = {
        { .group = "unreadable", .label = "an empty file", .outcome = WARNS },
        { .group = "unreadable", .label = "binary bytes", .inf = BinaryBytes(), .outcome = WARNS },
        { .group = "unreadable", .label = "UTF-16 LE with a byte-order mark", .inf = Utf16WithMark(Inf()),
          .models = { MODEL }, .outcome = INSTALLS, .dependentFiles = PackageFiles, .productInf = true },
        { .group = "unreadable", .label = "no section headers", .inf = WithoutLinesStartingWith(Inf(), '['),
          .outcome = WARNS },
        { .group = "unreadable", .label = "no line with an equals sign", .inf = Replaced(Inf(), '=', ' '),
          .outcome = WARNS },

        /* The 2048-byte key list cuts the key to 2046 characters; the row
           holds the 1023 that fit a model name. */
        { .group = "model lists", .label = "a model key of 3000 characters",
          .inf = Inf("\"" + longKey + "\"=QLRM550,ID\r\n" + ModelLine), .models = { std::string(1023, 'L') },
          .outcome = DRIVER_ERROR, .productInf = true },
        KeyListOfTheBufferSize(),
        ThousandsOfKeys(),
        { .group = "model lists", .label = "a model name with a backslash",
          .inf = Inf("\"TARVOK\\QLP-RM550\"=QLRM550,ID\r\n"), .outcome = WARNS },
        { .group = "model lists", .label = "a model name with a comma",
          .inf = Inf("\"TARVOK QLP,RM550\"=QLRM550,ID\r\n"), .outcome = WARNS },
        { .group = "model lists", .label = "empty model names: \"\", @ and X",
          .inf = Inf("\"\"=QLRM550,ID\r\n@=QLRM550,ID\r\nX=Q\r\n"), .outcome = WARNS },

        { .group = "install sections", .label = "a model line of several kilobytes",
          .inf = Inf("\"" MODEL "\"=QLRM550," + std::string(5000, 'I') + "\r\n"), .models = { MODEL },
          .outcome = INSTALLS, .dependentFiles = PackageFiles, .productInf = true },
        LongCopyFiles(),
        { .group = "install sections", .label = "@ alone in CopyFiles", .inf = Inf(ModelLine, "@"),
          .models = { MODEL }, .outcome = INSTALLS, .productInf = true },
        { .group = "install sections", .label = "@@, @, and a trailing @ in CopyFiles",
          .inf = Inf(ModelLine, "@,@@,@QLRM550.GPD,@QLRM550.DLL@,@"), .models = { MODEL }, .outcome = INSTALLS,
          .dependentFiles = "@|QLRM550.GPD|QLRM550.DLL@", .productInf = true },
        { .group = "install sections", .label = "path names in CopyFiles",
          .inf = Inf(ModelLine, "@..\\..\\..\\evil.dll,@C:\\x.dll,@sub\\a.gpd,@/x,@QLRM550.GPD,@.,@..,@QLRM550.DLL"),
          .models = { MODEL }, .outcome = INSTALLS, .dependentFiles = PackageFiles, .productInf = true },
        { .group = "install sections", .label = "device names in CopyFiles",
          .inf = Inf(ModelLine, "@NUL,@CON,@COM1,@LPT1.TXT,@aux.dll,@Prn .gpd,@CONIN$,@conout$,@NUL.,@com9 ,"
                                "@COM\xa9\xf6,@lpt\xa9\xf8.dll,@QLRM550.GPD,@QLRM550.DLL"),
          .models = { MODEL }, .outcome = INSTALLS, .dependentFiles = PackageFiles, .productInf = true },

        /* Without a known print processor AddPrinterA fails: 1798 on Windows and
           Wine 10, 87 on Wine 8. */
        { .group = "print processor libraries", .label = "a library climbing out of the spooler",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "%QLP_PRINTPROCESSOR%",
                     "\"QLPPrintProc,..\\..\\..\\..\\evil.dll\""),
          .models = { MODEL }, .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },
        { .group = "print processor libraries", .label = "a library on a drive",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "%QLP_PRINTPROCESSOR%", "\"QLPPrintProc,C:\\x.dll\""),
          .models = { MODEL }, .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },
        { .group = "print processor libraries", .label = "a library behind a slash",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "%QLP_PRINTPROCESSOR%", "\"QLPPrintProc,/qlpproc.dll\""),
          .models = { MODEL }, .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },
        { .group = "print processor libraries", .label = "a library named after a device",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "%QLP_PRINTPROCESSOR%", "\"QLPPrintProc,LPT1.dll\""),
          .models = { MODEL }, .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },
        /* COM² in code page 949, a device in its wide form. */
        { .group = "print processor libraries", .label = "a library named after a device with a superscript digit",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "%QLP_PRINTPROCESSOR%", "\"QLPPrintProc,COM\xa9\xf7.dll\""),
          .models = { MODEL }, .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },

        { .group = "print processor references", .label = "a Strings entry of several kilobytes",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "%QLP_PRINTPROCESSOR%",
                     "\"" + std::string(3000, 'P') + ",qlpproc.dll\""),
          .models = { MODEL }, .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },
        { .group = "print processor references", .label = "PrintProcessor=%ABC",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "%QLP_PRINTPROCESSOR"), .models = { MODEL },
          .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },
        { .group = "print processor references", .label = "PrintProcessor=ABC%",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "QLP_PRINTPROCESSOR%"), .models = { MODEL },
          .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },
        { .group = "print processor references", .label = "PrintProcessor=%%",
          .inf = Inf(ModelLine, "@QLRM550.GPD,@QLRM550.DLL", "%%"), .models = { MODEL },
          .outcome = PRINTER_ERROR, .dependentFiles = PackageFiles, .productInf = true },
    };
    return rows;
}

/* Where a name that climbs out of the package folder finds its source, and
   where, copied, it would land. */
static const char *const PlantedSources[] = { "C:\\evil.dll", "C:\\x.dll" };
static const char *const GuardedDirectories[] = { "C:", "C:\\windows", "C:\\windows\\system32" };
static std::vector<std::string> DriverNames(void)
{
    return SubkeyNames(HKEY_LOCAL_MACHINE, DRIVERS_KEY);
}

/* The rows in a line, each cut to 40 characters, with their count. */
static std::string Rows(const std::vector<std::string> &rows)
{
    std::string line = std::to_string(rows.size()) + " rows:";
    for (const std::string &row : rows)
        line += " [" + row.substr(0, 40) + (row.size() > 40 ? "...(" + std::to_string(row.size()) + ")" : "") + "]";
    return line;
}

class HostileSetupInfo : public Scenario
{
protected:
    Program remover = { {}, false };
    std::vector<std::string> guarded[ARRAYSIZE(GuardedDirectories)];
    SpoolerSnapshot spooler;

    void TearDown() override
    {
        EndProgram(&remover);
        Scenario::TearDown();
    }

    void TakeSnapshot(void)
    {
        for (const char *source : PlantedSources) WriteTextFile(source, "planted\r\n");
        for (size_t i = 0; i < ARRAYSIZE(GuardedDirectories); i++) guarded[i] = FileNames(GuardedDirectories[i]);
        TakeSpoolerSnapshot(&spooler);
    }

    void Run(const HostileInf &row)
    {
        SCOPED_TRACE(row.label);
        const std::string model = row.models.empty() ? "" : row.models[0];
        const bool installs = row.outcome == INSTALLS;
        const bool registersDriver = installs || row.outcome == PRINTER_ERROR;

        WriteDataFile(INSTALL_DIR "\\QLRM550.INF", row.inf);
        WizardWalk walk;
        StartProgram(&setup, SETUP_EXE, INSTALL_DIR);
        WalkWizard(&setup, &walk);
        EXPECT_EQ(walk.exitCode, 0);
        EXPECT_TRUE(walk.sawModelPage);
        EXPECT_EQ(Rows(walk.models), Rows(row.models));
        if (row.outcome == WARNS) {
            EXPECT_NE(walk.warning.find("Select printer model to install."), std::string::npos) << walk.warning;
        } else {
            EXPECT_EQ(walk.warning, "");
        }
        EXPECT_EQ(walk.errorCaption, row.outcome == DRIVER_ERROR    ? SPOOLER_ERROR_DRIVER
                                     : row.outcome == PRINTER_ERROR ? SPOOLER_ERROR_PRINTER
                                                                    : "");
        if (row.outcome == DRIVER_ERROR) {
            EXPECT_NE(walk.errorText.find("Cannot add a printer driver!"), std::string::npos) << walk.errorText;
        }
        if (row.outcome == PRINTER_ERROR) {
            EXPECT_NE(walk.errorText.find("Cannot add a printer !"), std::string::npos) << walk.errorText;
        }
        EXPECT_EQ(walk.exitPage, installs ? 1 : 0);
        EXPECT_EQ(walk.sawCopy, row.outcome != WARNS) << "the copy dialog";

        std::vector<std::string> printers = PrinterNames();
        EXPECT_TRUE(printers == (installs ? std::vector<std::string>{ model } : std::vector<std::string>{}))
            << printers.size() << " printers";
        if (installs) {
            EXPECT_EQ(PrinterLine(model.c_str()), model + " on USB001, QLPPrintProc, RAW");
        }
        std::vector<std::string> drivers = DriverNames();
        EXPECT_TRUE(drivers == (registersDriver ? std::vector<std::string>{ model } : std::vector<std::string>{}))
            << drivers.size() << " drivers";
        bool found;
        if (registersDriver) {
            EXPECT_EQ(RegMultiString(HKEY_LOCAL_MACHINE, (DRIVERS_KEY "\\" + model).c_str(), "Dependent Files",
                                     &found),
                      row.dependentFiles);
        }

        /* Only this program is traced; the journal grows for the whole test. */
        size_t journalStart = ReadTextFile(WINE_JOURNAL).size();
        RemovalWalk removal;
        StartTracedProgram(&remover, REMOVE_EXE, INSTALL_DIR, "setupapi.SetupCopyOEMInfA");
        WalkRemoval(&remover, &removal);
        EXPECT_EQ(removal.exitCode, 0);
        const bool ours = installs && model == MODEL;
        EXPECT_EQ(removal.questions, ours ? 1 : 0) << "the restart question follows a found printer only";
        EXPECT_TRUE(PrinterNames() == (ours ? std::vector<std::string>{} : printers));
        EXPECT_TRUE(DriverNames() == (ours ? std::vector<std::string>{} : drivers));
        std::string journal = ReadTextFile(WINE_JOURNAL).substr(journalStart);
        EXPECT_EQ(journal.find("Call setupapi.SetupCopyOEMInfA(") != std::string::npos, row.productInf)
            << "the installed copy is looked for only for this product's file";
        EXPECT_FALSE(FileExists(INSTALLED_INF));

        for (size_t i = 0; i < ARRAYSIZE(GuardedDirectories); i++) {
            for (const std::string &name : FileNames(GuardedDirectories[i])) {
                if (Holds(guarded[i], name)) continue;
                ADD_FAILURE() << "new file " << GuardedDirectories[i] << "\\" << name;
                DeleteFileA((std::string(GuardedDirectories[i]) + "\\" + name).c_str());
            }
        }
        RestoreSpooler(&spooler);
    }

    void RunGroup(const char *group)
    {
        TakeSnapshot();
        RunRowsOfGroup(HostileInfs(), group, [this](const HostileInf &row) { Run(row); });
    }
};

TEST_F(HostileSetupInfo, UnreadableFiles)
{
    RunGroup("unreadable");
}

TEST_F(HostileSetupInfo, ModelLists)
{
    RunGroup("model lists");
}

TEST_F(HostileSetupInfo, InstallSections)
{
    RunGroup("install sections");
}

TEST_F(HostileSetupInfo, PrintProcessorLibraries)
{
    RunGroup("print processor libraries");
}

TEST_F(HostileSetupInfo, PrintProcessorReferences)
{
    RunGroup("print processor references");
}
