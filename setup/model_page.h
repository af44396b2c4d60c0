/*
 * The Model page's choice, which a run without pages makes the same way,
 * and the icon of its rows.
 */
#ifndef MODEL_PAGE_H
#define MODEL_PAGE_H

#include <windows.h>

/* What Next does with the chosen model: a printer of that name goes when
   its driver is installed already, then the model's install section is
   read into installState. */
void ChooseModel(const char *model);
void GetModelIconName(const char *rowText, char *iconName);

#endif
