/*
 * The registry cleanup of an earlier installation, on keys of our own.
 */
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "phases.h"
#include "textbuf.h"

static const char Root[] = "Software\\CleanupTest";

static void MakeKey(const std::string &path)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS) << path;
    RegSetValueExA(key, "v", 0, REG_SZ, (const BYTE *)"1", 2);
    RegCloseKey(key);
}

static bool KeyExists(const std::string &path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key)) return false;
    RegCloseKey(key);
    return true;
}

TEST(Cleanup, DeleteRegistryTreeTakesEveryLevel)
{
    char names[NAME_SIZE];
    std::string root = Root;

    /* Deleting renumbers the subkeys: several at each level catch an
       enumeration that skips every second one. */
    for (const char *sub : { "\\a\\x\\deep", "\\a\\y", "\\b", "\\c\\z", "\\d", "\\e" }) MakeKey(root + sub);
    EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, Root, names), 0);
    EXPECT_FALSE(KeyExists(root));
    EXPECT_TRUE(KeyExists("Software")) << "nothing above the tree";

    EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, Root, names), -1) << "a key that cannot be opened";
}
