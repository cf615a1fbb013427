// The real and complex LU objects and the left divisions on them.
#include "matrix/lu.h"

#include "matrix/lu_twin.h"

DLU::DLU(const DM& A) : lda(A.rows), n(A.cols), rcond(0.0) { lu_factor(*this, A, "DLU"); }
CLU::CLU(const CM& A) : lda(A.rows), n(A.cols), rcond(0.0) { lu_factor(*this, A, "CLU"); }

DM DLU::solve(const DM& b) const { return lu_solve(*this, b, "DLU::solve"); }
CM CLU::solve(const CM& b) const { return lu_solve(*this, b, "CLU::solve"); }

double DLU::det() { return lu_det(*this); }
complex CLU::det() { return lu_det(*this); }

DM DLU::inverse() { return lu_inverse(*this); }
CM CLU::inverse() { return lu_inverse(*this); }

DM Dback_div(const DM& A, const DM& B) { return lu_back_div<DLU>(A, B); }
CM Dback_div(const CM& A, const CM& B) { return lu_back_div<CLU>(A, B); }
