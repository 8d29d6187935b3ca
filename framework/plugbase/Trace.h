#pragma once
// Diagnostic trace points, named Class::Operation with a printf-style format.
// Shipped builds compile them to nothing; define TORVA_TRACE to print them.
#ifdef TORVA_TRACE
#include <cstdio>
#define TORVA_TRACE_OP(op, ...) (std::fprintf(stderr, "%s " , op), std::fprintf(stderr, __VA_ARGS__), std::fputc('\n', stderr))
#else
#define TORVA_TRACE_OP(op, ...) ((void)0)
#endif
