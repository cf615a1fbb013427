// The matrix exponential and the zero-order-hold discretisation of x' = A x + B u.
//
// Usage:
//     DM E = expm(A);              // e^A, A square
//     DM Phi, Gamma;
//     c2d(Phi, Gamma, A, B, h);    // x(k+1) = Phi x(k) + Gamma u(k) over a step h (s)
// Indexing is 1-based, storage column-major, real elements. expm is a diagonal Pade
// approximant of degree 6 with scaling and squaring; c2d takes the exponential of the
// block matrix h [A B; 0 0], so a singular A (integrators, LC loops) is fine. B needs at
// least one column. A matrix holding Inf or NaN is a fatal error.
#pragma once
#include "matrix/dm.h"

DM expm(const DM& A);
//! Phi = e^(A h) (n x n), Gamma = (integral over 0..h of e^(A t) dt) B (n x m).
void c2d(DM& Phi, DM& Gamma, const DM& A, const DM& B, double h);
//! The scaling count: e^A = (e^(A / 2^s))^(2^s). norm is the infinity norm of A.
double expm_scaling(double norm);
