// The real and complex LINPACK entries, both on the kernels of matrix/lu_kernels.h.
#include "matrix/lu_kernels.h"
#include "matrix/lu_linpack.h"
#include "matrix/lu_zlinpack.h"

using namespace lu_kernels;

void dgefa(double* a, int lda, int n, double* ipvt, int& info) { gefa(a, lda, n, ipvt, info); }
void zgefa(complex* a, int lda, int n, double* ipvt, int& info) { gefa(a, lda, n, ipvt, info); }

void dgeco(double* a, int lda, int n, double* ipvt, double& rcond, double* z) {
  geco(a, lda, n, ipvt, rcond, z);
}
void zgeco(complex* a, int lda, int n, double* ipvt, double& rcond, complex* z) {
  geco(a, lda, n, ipvt, rcond, z);
}

void dgesl(const double* a, int lda, int n, const double* ipvt, double* b, int job) {
  gesl(a, lda, n, ipvt, b, job);
}
void zgesl(const complex* a, int lda, int n, const double* ipvt, complex* b, int job) {
  gesl(a, lda, n, ipvt, b, job);
}

void dgedi(double* a, int lda, int n, const double* ipvt, double* det, double* work, int job) {
  gedi(a, lda, n, ipvt, det, work, job);
}
void zgedi(complex* a, int lda, int n, const double* ipvt, complex* det, complex* work, int job) {
  gedi(a, lda, n, ipvt, det, work, job);
}
