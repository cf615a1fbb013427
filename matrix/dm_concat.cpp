// Concatenation of DM, into a new matrix or in place.
#include "matrix/dm_ops.h"
#include "matrix/twin_ops.h"

DM hconcat(const DM& A, const DM& B) { return hconcat_of(A, B); }
DM vconcat(const DM& A, const DM& B) { return vconcat_of(A, B); }
void DM::append_columns(const DM& B) { append_columns_of(*this, B); }
void DM::append_rows(const DM& B) { append_rows_of(*this, B); }
