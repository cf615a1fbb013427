// The matrix library in one include: DM and its operations.
//
// Indexing is 1-based and storage column-major throughout; DM holds real doubles.
#pragma once
#include "matrix/dm.h"
#include "matrix/dm_ops.h"
