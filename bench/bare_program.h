/* The bare dialog the start-up figures are measured against. */
#ifndef BARE_PROGRAM_H
#define BARE_PROGRAM_H

#define BARE_CAPTION "Bare Dialog"
#define BARE_TEXT    100

#endif
