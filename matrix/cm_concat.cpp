// Concatenation of CM, into a new matrix or in place.
#include "matrix/cm_ops.h"
#include "matrix/twin_ops.h"

CM hconcat(const CM& A, const CM& B) { return hconcat_of(A, B); }
CM vconcat(const CM& A, const CM& B) { return vconcat_of(A, B); }
void CM::append_columns(const CM& B) { append_columns_of(*this, B); }
void CM::append_rows(const CM& B) { append_rows_of(*this, B); }
