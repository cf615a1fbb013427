// Element-wise maps of CM.
#include "matrix/cm_ops.h"
#include "matrix/twin_ops.h"

namespace {

CM cmap(complex (*f)(const complex&), const CM& A) { return map_of<CM>(f, A); }

}  // namespace

DM map(double (*f)(complex), const CM& A) { return map_of<DM>(f, A); }
DM map_ref(double (*f)(const complex*), const CM& A) { return map_ref_of(f, A); }

CM log(const CM& A) { return cmap(log, A); }
CM log10(const CM& A) { return cmap(log10, A); }
CM sin(const CM& A) { return cmap(sin, A); }
CM cos(const CM& A) { return cmap(cos, A); }
CM tan(const CM& A) { return cmap(tan, A); }
CM asin(const CM& A) { return cmap(asin, A); }
CM acos(const CM& A) { return cmap(acos, A); }
CM atan(const CM& A) { return cmap(atan, A); }
