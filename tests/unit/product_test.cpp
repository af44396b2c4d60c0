/*
 * The product's constants and where the setup information file is found.
 */
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "import_spy.h"
#include "product.h"

/* Converts UTF-8 text to the ANSI code page the programs run under. */
static std::string FromUtf8(const char *utf8, UINT codePage)
{
    WCHAR wide[1024];
    char narrow[2048];

    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 1024);
    WideCharToMultiByte(codePage, 0, wide, -1, narrow, sizeof narrow, NULL, NULL);
    return narrow;
}

TEST(Product, KoreanTextsAreCodePage949Bytes)
{
    ASSERT_EQ(GetACP(), 949u) << "run under LANG=ko_KR.UTF-8";
    EXPECT_EQ(std::string(GetSetupTitle()), FromUtf8("프린터 드라이버 설치", 949));
    EXPECT_EQ(std::string(GetManufacturerName()), FromUtf8("타르복시스템", 949));
    EXPECT_EQ(std::string(GetProviderName()), GetManufacturerName());

    std::string welcome = FromUtf8("사용 가능한 운영체제:\r\n\tWindows XP\r\n\tWindows VISTA\r\n"
                                   "\tWindows 7\r\n\tWindows 8 / 8.1\r\n\tWindows 10\r\n\r\n"
                                   "드라이버를 설치하기 전에 사용중인 응용 프로그램을 모두 종료하십시오.", 949);
    EXPECT_EQ(std::string(GetWelcomeText()), welcome);
    EXPECT_EQ(strlen(GetWelcomeText()), 165u);
}

TEST(Product, SetupInfoPathIsBesideTheProgramNotTheCurrentDirectory)
{
    char module[MAX_PATH], expected[MAX_PATH], directory[1024];

    appInstance = GetModuleHandleA(NULL);
    GetModuleFileNameA(NULL, module, sizeof module);
    strcpy(expected, module);
    strcpy(strrchr(expected, '\\') + 1, "QLRM550.INF");

    CreateDirectoryA("C:\\elsewhere", NULL);
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\elsewhere"));
    GetModuleDirectory(directory);
    EXPECT_EQ(directory[strlen(directory) - 1], '\\');
    EXPECT_STREQ(GetSetupInfoPath(), expected);

    /* Built once: a later change of the current directory changes nothing,
       and every call hands out the same buffer. */
    const char *first = GetSetupInfoPath();
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    EXPECT_EQ(GetSetupInfoPath(), first);
    EXPECT_STREQ(GetSetupInfoPath(), expected);
}

TEST(Product, ModuleDirectoryOfAProgramAtADriveRoot)
{
    char directory[1024];

    /* A program at the root keeps the root's backslash. */
    ASSERT_TRUE(CopyFileA(__argv[0], "C:\\probe.exe", FALSE) || GetFileAttributesA("C:\\probe.exe") != INVALID_FILE_ATTRIBUTES);
    HMODULE copy = LoadLibraryExA("C:\\probe.exe", NULL, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_TRUE(copy != NULL);
    HINSTANCE saved = appInstance;
    appInstance = copy;
    GetModuleDirectory(directory);
    appInstance = saved;
    FreeLibrary(copy);
    EXPECT_STREQ(directory, "C:\\");
}

/* A volume that keeps no short names answers with the long name. */
static DWORD WINAPI NoShortName(LPCWSTR path, LPWSTR shortPath, DWORD size)
{
    lstrcpynW(shortPath, path, size);
    return lstrlenW(path);
}

/* Without a short name, which Wine always makes, a folder whose name code
   page 949 cannot hold exactly cannot be named, and the package counts as
   absent: 949 lacks the é of C:\Café, and its nearest letter for the won
   sign of C:\Won₩x is a backslash, which would name C:\Won\x. */
TEST(Product, AFolderTheCodePageCannotNameWithoutAShortName)
{
    WCHAR self[MAX_PATH];
    char directory[1024];

    GetModuleFileNameW(NULL, self, MAX_PATH);
    ReplaceImport("kernel32.dll", "GetShortPathNameW", (void *)NoShortName);
    for (const WCHAR *folder : { L"C:\\Caf\x00e9", L"C:\\Won\x20a9x" }) {
        std::wstring probe = std::wstring(folder) + L"\\probe.exe";
        CreateDirectoryW(folder, NULL);
        ASSERT_TRUE(CopyFileW(self, probe.c_str(), FALSE));
        appInstance = LoadLibraryExW(probe.c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES);
        GetModuleDirectory(directory);
        EXPECT_STREQ(directory, "") << "folder " << (folder[3] == L'W' ? "with the won sign" : "with the é");
    }
}
