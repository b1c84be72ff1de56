#ifndef OIDSCOPE_TESTS_SORTED_ROWS_H
#define OIDSCOPE_TESTS_SORTED_ROWS_H

// The row finders live with the object builders; this name stays for the
// tests that still include it.
#include "SimObjectsAndRows.h"

#endif
