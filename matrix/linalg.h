// The linear algebra of the matrix library in one include: LU and the divisions,
// eigenvalues, the matrix exponential and discretisation, row reduction and ranges.
//
// Indexing is 1-based and storage column-major throughout (see each header).
#pragma once
#include "matrix/eig.h"
#include "matrix/expm.h"
#include "matrix/linalg_extra.h"
#include "matrix/lu.h"
#include "matrix/rref.h"
#include "matrix/span.h"
