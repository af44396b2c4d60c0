/*
 * The copy dialog's progress bar in numbers. Needs no Windows header, so it
 * also compiles natively for the fuzzers.
 */
#ifndef PROGRESS_GEOMETRY_H
#define PROGRESS_GEOMETRY_H

/* Percent done, rounded to the nearest as MulDiv(100, copied, count) rounds;
   0 with nothing to count. */
int ProgressPercent(int filesCopied, int fileCount);

/* Where the filled part of a bar from left to right ends. */
int ProgressEdge(int percent, int left, int right);

#endif
