#pragma once
// How many random cases an equivalence suite runs. KESTRILANE_TEST_SCALE (a positive
// number, 1 when unset or unreadable) multiplies every count, so that a slow build such as
// the sanitizer stage runs each suite with fewer cases; a count never drops below one.
namespace kltest {

int ScaledCases(int cases);

}  // namespace kltest
