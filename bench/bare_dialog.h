/* The one-dialog bare program the start-up figures are measured against. */
#ifndef BARE_DIALOG_H
#define BARE_DIALOG_H

#define BARE_CAPTION "Bare Dialog"
#define BARE_TEXT    100

#endif
