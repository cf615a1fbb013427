// The matrix library in one include: DM, CM, complex, their operations, views, printing
// and the matrix file, and the linear algebra (LU and the divisions / and %, eigenvalues,
// matrix exponential and discretisation, row reduction, ranges).
//
// Indexing is 1-based and storage column-major throughout; DM holds real doubles, CM holds
// `complex` values.
#pragma once
#include "matrix/cm.h"
#include "matrix/cm_ops.h"
#include "matrix/complex.h"
#include "matrix/dm.h"
#include "matrix/dm_ops.h"
#include "matrix/linalg.h"
#include "matrix/matrix_io.h"
#include "matrix/views.h"
