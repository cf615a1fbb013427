// Vectors of doubles through GCC's vector extension, for kernels whose lanes do exactly
// the scalar code's operations (no reassociation, no contraction: the results are the
// scalar loop's to the last bit). Loads and stores need no alignment.
//
//     v2 s = load2(p);  s = s + load2(q) * c;  store2(p, s);   // p, q: any double*
//
// v2 is one SSE2 register (any x86-64). v4 is one AVX register in code built for AVX2;
// it is dereferenced in place (*reinterpret_cast<const v4*>(p)), since a function
// returning it would change the ABI between code built with and without AVX.
#pragma once

typedef double v2 __attribute__((vector_size(16), aligned(8), may_alias));
typedef double v4 __attribute__((vector_size(32), aligned(8), may_alias));

inline v2 load2(const double* p) { return *reinterpret_cast<const v2*>(p); }
inline void store2(double* p, v2 v) { *reinterpret_cast<v2*>(p) = v; }
