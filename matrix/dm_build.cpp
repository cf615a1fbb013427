// Builders of DM: sequences, filling, identity; and the shape predicates.
#include "matrix/dm_ops.h"
#include "matrix/twin_ops.h"

DM& DM::seqa(double start, int count, double inc) { return seqa_into(*this, start, count, inc); }

DM seqa(double start, int count, double inc) { return seqa_of<DM>(start, count, inc); }

DM& DM::fill(double v) { return fill_with(*this, v); }

DM eye(int r, int c) { return eye_of<DM>(r, c); }

int is1x1(const DM& A) { return is1x1_of(A); }
int same_shape(const DM& A, const DM& B) { return same_shape_of(A, B); }
int isvector(const DM& A) { return isvector_of(A); }
int isrow(const DM& A) { return isrow_of(A); }
int iscol(const DM& A) { return iscol_of(A); }
