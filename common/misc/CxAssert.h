// CX_ASSERT: a check for programming errors that stays on in every build.
// It stops the program and names the expression and the source file.
#ifndef CXASSERT_H
#define CXASSERT_H

#include <cstdio>
#include <cstdlib>

#define CX_ASSERT(expr)                                                                            \
    do {                                                                                           \
        if (!(expr)) {                                                                             \
            std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", #expr, __FILE__,      \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

#endif
