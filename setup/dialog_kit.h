/*
 * The services every dialog of the wizard relies on: centring, the message
 * and status windows, the owner-drawn icon lists and the side picture.
 */
#ifndef DIALOG_KIT_H
#define DIALOG_KIT_H

#include <windows.h>

typedef void (*NameAtIndexCallback)(WORD index, char *name);
typedef void (*IconNameCallback)(const char *rowText, char *iconName);

/* The one word that carries the MessageDialog's type and the exit page's status */
extern DWORD dialogParameter;
extern HWND statusWindow;

void CenterOnParent(HWND hwnd);
HWND ShowStatusDialog(HWND parent, WORD textId);
int ShowMessageDialog(HWND parent, const char *text, const char *caption, WORD type);
int ShowMessageById(HWND parent, UINT textId, UINT captionId, WORD type);
int ConfirmCancel(HWND parent);

const char *MessageTemplateForType(WORD type);
LPCSTR MessageIconForType(WORD type);

void FillIconList(HWND dialog, int listId, short count, NameAtIndexCallback nameAt);
/* The filler adds an empty row when the callback writes nothing for index 0
   (and the list box may not find an empty row to drop the repeats); such a
   row is never a choice. Keeps *row, if given, on the row it named. */
void DropEmptyRows(HWND list, int *row);
/* The selected row's text, which is a page's choice; 0, and nothing
   written, when no row is selected, or the row is empty or does not fit. */
int GetSelectedRowText(HWND dialog, int listId, char *text, int size);
void MeasureIconListItem(MEASUREITEMSTRUCT *item);
void DrawIconListItem(const DRAWITEMSTRUCT *item, IconNameCallback iconName);
void DrawSidePicture(const DRAWITEMSTRUCT *item);
void DrawSunkenFrame(HDC dc, const RECT *r);

#define ICON_ROW_MIN_HEIGHT 34

#endif
