#include "progress_geometry.h"

int ProgressPercent(int filesCopied, int fileCount)
{
    long long product = 100LL * filesCopied, divisor = fileCount, result;

    if (!fileCount) return 0;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    result = product >= 0 ? (product + divisor / 2) / divisor : (product - divisor / 2) / divisor;
    return result > 2147483647LL || result < -2147483647LL ? -1 : (int)result;
}

int ProgressEdge(int percent, int left, int right)
{
    if (percent == 100) return right;
    return (int)(left + (long long)percent * ((long long)right - left) / 100);
}
