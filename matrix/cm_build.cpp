// Builders, sums and shape predicates of CM.
#include "matrix/cm_ops.h"
#include "matrix/twin_ops.h"

CM& CM::seqa(complex start, int count, complex inc) { return seqa_into(*this, start, count, inc); }

CM seqa(complex start, int count, complex inc) { return seqa_of<CM>(start, count, inc); }

CM& CM::fill(complex v) { return fill_with(*this, v); }

CM ceye(int r, int c) { return eye_of<CM>(r, c); }
complex sum(const CM& A) { return sum_of(A); }
CM sumc(const CM& A) { return sumc_of(A); }
CM sumr(const CM& A) { return sumr_of(A); }

int is1x1(const CM& A) { return is1x1_of(A); }
int same_shape(const CM& A, const CM& B) { return same_shape_of(A, B); }
int isvector(const CM& A) { return isvector_of(A); }
int isrow(const CM& A) { return isrow_of(A); }
int iscol(const CM& A) { return iscol_of(A); }
