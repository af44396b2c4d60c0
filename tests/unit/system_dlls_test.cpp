/*
 * The delay-load hook of common/system_dlls.cpp: the spooler's library comes
 * from the system directory, and the import address table, which the helper
 * writes each resolved address into, is left as protected as it was found.
 * binutils 2.44 (Debian 13) links the table read-only, and there a hook that
 * did not protect it again fails here; binutils 2.40 (Debian 12) links it
 * writable, so there only the resolution itself is checked.
 */
#include <windows.h>
#include <delayimp.h>
#include <gtest/gtest.h>

/* The table's entry of a delay-loaded function: the import library's symbol. */
extern "C" void *__imp_GetPrintProcessorDirectoryA;

static DWORD Protection(const void *address)
{
    MEMORY_BASIC_INFORMATION info;

    return VirtualQuery(address, &info, sizeof info) ? info.Protect : 0;
}

TEST(SystemDlls, FirstCallResolvesFromTheSystemDirectoryAndLeavesTheTableProtected)
{
    void *thunk = __imp_GetPrintProcessorDirectoryA;
    DWORD before = Protection(&__imp_GetPrintProcessorDirectoryA);
    char directory[MAX_PATH], system[MAX_PATH], loaded[MAX_PATH];
    DWORD needed;

    ASSERT_TRUE(GetModuleHandleA("winspool.drv") == NULL) << "the spooler's library is loaded before its first call";
    ASSERT_NE(before, 0u);
    EXPECT_TRUE(GetPrintProcessorDirectoryA(NULL, NULL, 1, (BYTE *)directory, sizeof directory, &needed));
    EXPECT_NE(__imp_GetPrintProcessorDirectoryA, thunk) << "the entry holds the resolved address";
    EXPECT_EQ(Protection(&__imp_GetPrintProcessorDirectoryA), before);

    HMODULE spooler = GetModuleHandleA("winspool.drv");
    ASSERT_TRUE(spooler != NULL);
    GetModuleFileNameA(spooler, loaded, sizeof loaded);
    GetSystemDirectoryA(system, sizeof system);
    EXPECT_EQ(lstrcmpiA(loaded, (std::string(system) + "\\winspool.drv").c_str()), 0) << loaded;

    /* Asked before the helper's own load, the hook hands it that library:
       given none, the helper would load the bare name. */
    FARPROC entry = NULL;
    DelayLoadInfo info = {};
    info.cb = sizeof info;
    info.ppfn = &entry;
    info.szDll = "WINSPOOL.DRV";
    EXPECT_TRUE(__pfnDliNotifyHook2(dliStartProcessing, &info) == NULL);
    EXPECT_EQ((void *)__pfnDliNotifyHook2(dliNotePreLoadLibrary, &info), (void *)spooler);
    __pfnDliNotifyHook2(dliNoteEndProcessing, &info);
}
