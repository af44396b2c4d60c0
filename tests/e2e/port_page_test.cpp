/*
 * The Port page: serial ports as the spooler lists them, USB printer ports
 * from the device interfaces present, and the warning without a selection.
 */
#include <windows.h>
#include <string>
#include "scenario.h"

#define PRODUCT_USB "vid_7c3e&pid_0914"
#define FOREIGN_USB "vid_04b8&pid_0202"

class PortPage : public Scenario
{
protected:
    HWND OpenPortPage(bool serial)
    {
        HWND page = WalkTo(IDC_KIND_USB);
        if (!page) return NULL;
        if (serial) {
            Click(page, IDC_KIND_SERIAL);
            WaitForCheck(page, IDC_KIND_SERIAL, true);
        }
        Click(page, IDC_NEXT);
        return WaitForPage(&setup, IDC_PORT_LIST, NULL);
    }

    /* From the USB port list back to the Port kind page and on with serial. */
    HWND BackToSerial(HWND page)
    {
        Click(page, IDC_BACK);
        WaitForGone(page);
        page = WaitForPage(&setup, IDC_KIND_USB, NULL);
        if (!page) return NULL;
        Click(page, IDC_KIND_SERIAL);
        WaitForCheck(page, IDC_KIND_SERIAL, true);
        Click(page, IDC_NEXT);
        return WaitForPage(&setup, IDC_PORT_LIST, NULL);
    }
};

TEST_F(PortPage, SerialListWhenTheSpoolerListsComPortsFirst)
{
    /* Wine lists COM1: first, so the first row is a real port and stays. */
    HWND page = OpenPortPage(true);
    ASSERT_TRUE(page != NULL);
    Screenshot(page, "serial");
    std::vector<std::string> rows = ListRows(page, IDC_PORT_LIST);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "COM1:");
    EXPECT_EQ(rows[3], "COM4:");
    EXPECT_EQ(ListSelection(page, IDC_PORT_LIST), 0);
    CancelAndExpectFailure(page);
}

TEST_F(PortPage, SerialListWhenAnotherPortComesFirst)
{
    struct { std::vector<const char *> ports; std::vector<std::string> rows; int selected; } cases[] = {
        { { "BT01:", "COM1:", "COM2:", "FILE:" }, { "COM1:", "COM2:" }, 0 },
        { { "BT01:", "COM0:", "COM1:", "LPT1:" }, { "COM0:", "COM1:" }, 1 },
        /* No COM1: at all: the first COM port is selected. */
        { { "BT01:", "COM3:", "COM5:", "com7:" }, { "COM3:", "COM5:" }, 0 },
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.rows[0] + " " + c.rows[1]);
        SetSpoolerPorts(&c.ports[0], (int)c.ports.size());
        HWND page = OpenPortPage(true);
        ASSERT_TRUE(page != NULL);
        EXPECT_EQ(ListRows(page, IDC_PORT_LIST), c.rows);
        EXPECT_EQ(ListSelection(page, IDC_PORT_LIST), c.selected);
        CancelAndExpectFailure(page);
    }
}

TEST_F(PortPage, UsbListWithoutAProductPrinterOffersUsb001)
{
    AddUsbPrinterInterface("OTHER1", FOREIGN_USB, 4);
    HWND page = OpenPortPage(false);
    ASSERT_TRUE(page != NULL);
    Screenshot(page, "usb-default");
    EXPECT_EQ(ListRows(page, IDC_PORT_LIST), std::vector<std::string>{ "USB001" });
    EXPECT_EQ(ListSelection(page, IDC_PORT_LIST), 0);
    CancelAndExpectFailure(page);
}

TEST_F(PortPage, UsbListSelectsTheProductPrinter)
{
    /* Interfaces are listed in the order of their keys: the foreign one first. */
    AddUsbPrinterInterface("A1", FOREIGN_USB, 7);
    AddUsbPrinterInterface("B2", PRODUCT_USB, 3);
    HWND page = OpenPortPage(false);
    ASSERT_TRUE(page != NULL);
    Screenshot(page, "usb-product");
    EXPECT_EQ(ListRows(page, IDC_PORT_LIST), (std::vector<std::string>{ "USB001", "USB003" }));
    EXPECT_EQ(ListSelection(page, IDC_PORT_LIST), 1);
    CancelAndExpectFailure(page);
}

TEST_F(PortPage, UsbPortNumbersAndTheMissingNumber)
{
    AddUsbPrinterInterface("A1", PRODUCT_USB, 12);
    AddUsbPrinterInterface("B2", PRODUCT_USB, 200);
    AddUsbPrinterInterface("C3", PRODUCT_USB, -1);
    HWND page = OpenPortPage(false);
    ASSERT_TRUE(page != NULL);
    /* A product interface without "Port Number" counts as port 0; indices
       past the interfaces give USB001; the last product printer found is the
       one selected. */
    EXPECT_EQ(ListRows(page, IDC_PORT_LIST),
              (std::vector<std::string>{ "USB012", "USB200", "USB000", "USB001" }));
    EXPECT_EQ(ListSelection(page, IDC_PORT_LIST), 2);
    CancelAndExpectFailure(page);
}

TEST_F(PortPage, NoSelectionWarnsOnNext)
{
    /* The product printer is interface 1, but its row repeats the foreign
       interface's USB001 and is dropped: the list has no row 1 to select. */
    AddUsbPrinterInterface("A1", FOREIGN_USB, 2);
    AddUsbPrinterInterface("B2", PRODUCT_USB, 1);
    HWND page = OpenPortPage(false);
    ASSERT_TRUE(page != NULL);
    EXPECT_EQ(ListRows(page, IDC_PORT_LIST), std::vector<std::string>{ "USB001" });
    EXPECT_EQ(ListSelection(page, IDC_PORT_LIST), LB_ERR);
    Click(page, IDC_NEXT);
    AnswerMessage(&setup, "Warinig", "Select printer port to connect.", IDOK);
    EXPECT_TRUE(IsWindowVisible(page));
    CancelAndExpectFailure(page);
}

TEST_F(PortPage, NoSpoolerPortsLeaveBothListsEmpty)
{
    SetSpoolerPorts(NULL, 0);
    /* USB rows are asked for as many indices as the spooler has ports. */
    HWND page = OpenPortPage(false);
    ASSERT_TRUE(page != NULL);
    EXPECT_TRUE(ListRows(page, IDC_PORT_LIST).empty());
    page = BackToSerial(page);
    ASSERT_TRUE(page != NULL);
    EXPECT_TRUE(ListRows(page, IDC_PORT_LIST).empty());
    Click(page, IDC_NEXT);
    AnswerMessage(&setup, "Warinig", "Select printer port to connect.", IDOK);
    CancelAndExpectFailure(page);
}

TEST_F(PortPage, ManyPortsAndOverlongInterfacePaths)
{
    std::vector<std::string> names;
    std::vector<const char *> ports;
    for (int i = 1; i <= 100; i++) names.push_back("COM" + std::to_string(i) + ":");
    for (auto &n : names) ports.push_back(n.c_str());
    SetSpoolerPorts(&ports[0], (int)ports.size());
    /* A path too long for the port-number key (over 149 characters without
       its prefix) is offered as the default port. Wine's registry cannot
       hold that key either, so the fixture has no port number for it. */
    AddUsbPrinterInterface(std::string(90, 'S').c_str(), PRODUCT_USB, -1);

    HWND page = OpenPortPage(false);
    ASSERT_TRUE(page != NULL);
    EXPECT_EQ(ListRows(page, IDC_PORT_LIST), std::vector<std::string>{ "USB001" });
    page = BackToSerial(page);
    ASSERT_TRUE(page != NULL);
    std::vector<std::string> rows = ListRows(page, IDC_PORT_LIST);
    /* Wine sorts the ports by name, COM10: before COM1:. */
    EXPECT_EQ(rows.size(), 100u);
    int selected = ListSelection(page, IDC_PORT_LIST);
    ASSERT_GE(selected, 0);
    EXPECT_EQ(rows[selected], "COM1:");
    CancelAndExpectFailure(page);
}
