#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include "bench.h"

double NowMs(void)
{
    static LARGE_INTEGER frequency;
    LARGE_INTEGER now;

    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

static int CompareDoubles(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : x > y;
}

double Median(const double *values, int count)
{
    double sorted[MAX_ROUNDS];

    if (count < 1) return 0;
    CopyMemory(sorted, values, count * sizeof *sorted);
    qsort(sorted, count, sizeof *sorted, CompareDoubles);
    return count % 2 ? sorted[count / 2] : (sorted[count / 2 - 1] + sorted[count / 2]) / 2;
}

int RoundsFrom(const char *text)
{
    int rounds = text ? atoi(text) : 0;
    return rounds < 1 ? 5 : rounds > MAX_ROUNDS ? MAX_ROUNDS : rounds;
}

void ReportTime(const char *measure, const double *program, const double *bare, int rounds, double designedMs,
                Aim aim, double limit)
{
    double ours = Median(program, rounds), base = Median(bare, rounds);
    double work = ours - designedMs, beyond = work - base, ratio = base > 0 ? work / base : 0;
    char aimText[64];
    int met;

    if (aim == AIM_BEYOND_MS) {
        snprintf(aimText, sizeof aimText, "<= %.0f ms beyond", limit);
        met = beyond <= limit;
    } else {
        snprintf(aimText, sizeof aimText, "<= %.1fx bare", limit);
        met = ratio <= limit;
    }
    printf("%-52s %8.0f ms %7.0f ms %6.2f %+9.0f ms   %-18s %s\n", measure, ours, base, ratio, beyond, aimText,
           met ? "met" : "MISSED");
}

void ReportMemory(const char *measure, const double *program, const double *bare, int rounds, double limitMib)
{
    double ours = Median(program, rounds) / 1048576.0, base = Median(bare, rounds) / 1048576.0;
    const char *result = limitMib < 0 ? "" : ours - base <= limitMib ? "met" : "MISSED";
    char aimText[64];

    if (limitMib < 0)
        snprintf(aimText, sizeof aimText, "(baselines)");
    else
        snprintf(aimText, sizeof aimText, "<= +%.0f MiB", limitMib);
    printf("%-52s %7.1f MiB %6.1f MiB %6.2f %+8.1f MiB  %-18s %s\n", measure, ours, base, base > 0 ? ours / base : 0,
           ours - base, aimText, result);
}
