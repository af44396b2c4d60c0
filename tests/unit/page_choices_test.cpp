/*
 * The Model and Port pages run in this process, with spies in front of the
 * calls whose failure or arguments Wine cannot show: a USB printer list the
 * system cannot enumerate, and the access the Model page asks for when it
 * deletes a printer.
 */
#include <windows.h>
#include <setupapi.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "dialog_observer.h"
#include "engine_fixtures.h"
#include "import_spy.h"
#include "install_state.h"
#include "pages.h"
#include "product.h"
#include "resource.h"

struct PortPageVisit
{
    std::vector<std::string> rows;
    LRESULT selection;
    std::string warning;
};

/* From a second thread: reads the list, presses Next, reads and closes the
   warning, then cancels the page. */
static DWORD WINAPI VisitPortPage(void *param)
{
    PortPageVisit *visit = (PortPageVisit *)param;
    char text[TEXT_SIZE];
    HWND page = WaitForOwnDialog(NULL, IDC_PORT_LIST), box;

    if (!page) return 1;
    HWND list = GetDlgItem(page, IDC_PORT_LIST);
    for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); i++) {
        text[0] = 0;
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        visit->rows.push_back(text);
    }
    visit->selection = SendMessageA(list, LB_GETCURSEL, 0, 0);
    PostMessageA(page, WM_COMMAND, IDC_NEXT, 0);
    if ((box = WaitForOwnDialog("Warinig", IDC_MESSAGE_TEXT))) {
        GetDlgItemTextA(box, IDC_MESSAGE_TEXT, text, sizeof text);
        visit->warning = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    WaitForOwnDialog(NULL, IDC_PORT_LIST);
    PostMessageA(page, WM_COMMAND, IDCANCEL, 0);
    if ((box = WaitForOwnDialog("Question", IDC_MESSAGE_TEXT))) PostMessageA(box, WM_COMMAND, IDYES, 0);
    return 0;
}

static HDEVINFO WINAPI NoDeviceSet(const GUID *, PCSTR, HWND, DWORD)
{
    SetLastError(ERROR_INVALID_FLAGS);
    return INVALID_HANDLE_VALUE;
}

/* The filler leaves an empty row where no name came for the first index;
   that row is never a port, and Next asks for one instead. */
TEST(PageChoices, UsbPortsThatCannotBeEnumeratedLeaveNoRowToChoose)
{
    PortPageVisit visit;
    HWND owner = MakeOwnerWindow();

    appInstance = GetModuleHandleA(NULL);
    installState.portKind = PORT_KIND_USB;
    lstrcpyA(installState.portName, "before");
    ASSERT_TRUE(ReplaceImport("setupapi.dll", "SetupDiGetClassDevsA", (void *)NoDeviceSet) != NULL);
    HANDLE thread = CreateThread(NULL, 0, VisitPortPage, &visit, 0, NULL);
    EXPECT_EQ(RunPortPage(owner), IDCANCEL);
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    DestroyWindow(owner);

    EXPECT_TRUE(visit.rows.empty()) << visit.rows.size() << " rows, the first \"" << visit.rows[0] << "\"";
    EXPECT_EQ(visit.selection, LB_ERR);
    EXPECT_EQ(visit.warning, "Select printer port to connect.");
    EXPECT_STREQ(installState.portName, "before");
}

static DWORD requestedAccess = 0xdeadbeef;
static BOOL(WINAPI *realOpenPrinterA)(LPSTR, LPHANDLE, LPPRINTER_DEFAULTSA);

static BOOL WINAPI SpyOpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults)
{
    requestedAccess = defaults ? defaults->DesiredAccess : 0;
    return realOpenPrinterA(name, printer, defaults);
}

/* Next on the Model page takes away a printer of the chosen name whose
   driver is installed. Windows gives a handle opened without defaults no
   delete access, so DeletePrinter would fail there; Wine checks no access
   at all. */
TEST(PageChoices, NextOnTheModelPageDeletesThePrinterOfAnInstalledDriverWithFullAccess)
{
    char name[] = "TARVOK QLP-RM550";
    HANDLE gone;

    AddTestPrinter(name);
    realOpenPrinterA = (BOOL(WINAPI *)(LPSTR, LPHANDLE, LPPRINTER_DEFAULTSA))
        ReplaceImport("winspool.drv", "OpenPrinterA", (void *)SpyOpenPrinterA);
    ASSERT_TRUE(realOpenPrinterA != NULL);
    appInstance = GetModuleHandleA(NULL);
    installState.environment = GetSpoolerEnvironment();
    ASSERT_EQ(NextOnModelPage(name), 1);
    EXPECT_EQ(requestedAccess, (DWORD)PRINTER_ALL_ACCESS);
    EXPECT_FALSE(OpenPrinterA(name, &gone, NULL)) << "the printer is deleted";
}
