/* What the benchmark programs share: the clock, medians and the report. */
#ifndef BENCH_H
#define BENCH_H

#define MAX_ROUNDS 15

enum Aim
{
    AIM_BEYOND_MS,  /* at most this many ms beyond the designed waits and the bare program */
    AIM_RATIO,      /* at most this many times the bare program, designed waits taken off */
};

/* Milliseconds on the monotonic clock. */
double NowMs(void);
double Median(const double *values, int count);
/* The rounds asked for on the command line, 1 to MAX_ROUNDS. */
int RoundsFrom(const char *text);

/* One row of figures: the medians of the program and of its bare baseline,
   the ratio and the milliseconds beyond the designed waits, and the aim. */
void ReportTime(const char *measure, const double *program, const double *bare, int rounds, double designedMs,
                Aim aim, double limit);
/* Peak working sets in bytes against a baseline's; the aim is a number of
   MiB more, and a negative one means none (two baselines side by side). */
void ReportMemory(const char *measure, const double *program, const double *bare, int rounds, double limitMib);

#endif
