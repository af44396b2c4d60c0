#include <windows.h>
#include "import_spy.h"

static void *WriteSlot(ULONG_PTR *slot, void *replacement)
{
    DWORD old;
    void *previous = (void *)*slot;

    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = (ULONG_PTR)replacement;
    VirtualProtect(slot, sizeof *slot, old, &old);
    return previous;
}

/* The slot of a function in one table of names and its address table. */
static ULONG_PTR *FindSlot(BYTE *base, DWORD namesRva, DWORD slotsRva, const char *function)
{
    IMAGE_THUNK_DATA *names = (IMAGE_THUNK_DATA *)(base + namesRva);
    IMAGE_THUNK_DATA *slots = (IMAGE_THUNK_DATA *)(base + slotsRva);

    for (; names->u1.AddressOfData; names++, slots++) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        IMAGE_IMPORT_BY_NAME *byName = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
        if (!lstrcmpA((const char *)byName->Name, function)) return &slots->u1.Function;
    }
    return NULL;
}

/*
 * The spooler and SetupAPI are delay-loaded. GNU ld leaves the image's
 * delay-import directory empty, so their descriptors are found by the names
 * that dlltool gives them. A slot holds a loader thunk until the first call,
 * which would overwrite a spy: the spy takes the slot at once and calls on
 * to the real function.
 */
extern "C" IMAGE_DELAYLOAD_DESCRIPTOR __DELAY_IMPORT_DESCRIPTOR_libwinspool_delay_a;
extern "C" IMAGE_DELAYLOAD_DESCRIPTOR __DELAY_IMPORT_DESCRIPTOR_libsetupapi_delay_a;

static IMAGE_DELAYLOAD_DESCRIPTOR *const delayedImports[] = {
    &__DELAY_IMPORT_DESCRIPTOR_libwinspool_delay_a,
    &__DELAY_IMPORT_DESCRIPTOR_libsetupapi_delay_a,
};

void *ReplaceImport(const char *dll, const char *function, void *replacement)
{
    BYTE *base = (BYTE *)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY *dirs = nt->OptionalHeader.DataDirectory;
    IMAGE_IMPORT_DESCRIPTOR *imports = (IMAGE_IMPORT_DESCRIPTOR *)(base + dirs[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    ULONG_PTR *slot;

    for (; imports->Name; imports++) {
        if (lstrcmpiA((const char *)(base + imports->Name), dll)) continue;
        slot = FindSlot(base, imports->OriginalFirstThunk, imports->FirstThunk, function);
        if (slot) return WriteSlot(slot, replacement);
    }

    for (IMAGE_DELAYLOAD_DESCRIPTOR *delayed : delayedImports) {
        if (lstrcmpiA((const char *)(base + delayed->DllNameRVA), dll)) continue;
        slot = FindSlot(base, delayed->ImportNameTableRVA, delayed->ImportAddressTableRVA, function);
        if (!slot) continue;
        void *real = (void *)GetProcAddress(LoadLibraryA(dll), function);
        WriteSlot(slot, replacement);
        return real;
    }
    return NULL;
}
