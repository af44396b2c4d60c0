/*
 * The copy dialog's progress in numbers, for any counts and bar edges: the
 * percentage rounds as MulDiv does, stays within 0 to 100 while the copied
 * files are no more than the count, and the fill edge stays on the bar and
 * never moves back as the percentage grows.
 */
#include "fuzz_support.h"
#include "progress_geometry.h"

/* MulDiv(number, numerator, denominator): the product's magnitude plus half
   the divisor's, divided, with the sign of the product; -1 when it is out of
   range. A count of 0 is no progress rather than MulDiv's -1. */
static int ReferencePercent(int copied, int count)
{
    long long product = 100LL * copied, magnitude, divisor = count < 0 ? -(long long)count : count;
    int negative = (product < 0) != (count < 0) && product != 0;

    if (!count) return 0;
    magnitude = ((product < 0 ? -product : product) + divisor / 2) / divisor;
    if (magnitude > 2147483647LL) return -1;
    return negative ? -(int)magnitude : (int)magnitude;
}

static int NextInt(const uint8_t **data, size_t *size)
{
    int value = 0;
    size_t taken = *size < sizeof value ? *size : sizeof value;

    memcpy(&value, *data, taken);
    *data += taken;
    *size -= taken;
    return value;
}

static void CheckEdges(int left, int right)
{
    int edge, previous = left;

    CHECK(ProgressEdge(0, left, right) == left);
    CHECK(ProgressEdge(100, left, right) == right);
    for (int percent = 1; percent <= 100; percent++) {
        edge = ProgressEdge(percent, left, right);
        CHECK(edge >= previous && edge <= right);
        previous = edge;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int copied = NextInt(&data, &size), count = NextInt(&data, &size);
    int left = NextInt(&data, &size), right = NextInt(&data, &size);
    int percent = ProgressPercent(copied, count), edge;

    CHECK(percent == ReferencePercent(copied, count));
    if (0 <= copied && copied <= count) {
        CHECK(0 <= percent && percent <= 100);
        if (left <= right) {
            edge = ProgressEdge(percent, left, right);
            CHECK(left <= edge && edge <= right);
        }
    }
    if (left <= right) CheckEdges(left, right);
    return 0;
}
