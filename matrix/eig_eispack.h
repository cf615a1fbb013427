// Eigenvalues and eigenvectors of a real general matrix on plain arrays: balancing,
// reduction to Hessenberg form, double-shift QR with vectors, back-transformation.
//
// Usage (what eig does; every array n or n x n, allocated by the caller):
//     eigen_driver(a, n, wr, wi, vr, vi, 1, wr2, wi2, z, scale, inter, cnt);
// which runs rg (balance, elmhes, elmtrans, hqr2, balbak), then unpacks the vectors
// into vr + i vi and scales each column to unit 2-norm. A QR iteration that does not
// converge is a fatal error ("eig : no convergence in 30 iterations", "hqr2").
// Indexing: 0-based and ROW-major: element (i, j) of an n x n array is a[i * nm + j]
// (nm = n everywhere in this library). Eigenvector j is column j.
// Packed vectors in z: a real eigenvalue (wi2[j] == 0) owns column j; a complex pair
// sits at j, j + 1 with wi2[j] > 0 first, and its eigenvector is z(:, j) + i z(:, j + 1).
// cnt[j]: QR iterations spent on root j (+its / -its at the two roots of a pair found
// together, 31 where the limit of 30 was hit, 0 for roots isolated by the balancing).
// Not reentrant: the machine epsilon read by hqr2 is kept in one static.
#pragma once

//! The machine epsilon found by halving: 2^-52 for IEEE doubles.
double machep();
//! Sets the epsilon that hqr2 reads (eigen_driver does this before each decomposition).
void set_machep(double eps);

//! Permutes isolated rows/columns out of [low, igh] and scales the rest by powers of 2.
//! scale[] holds the permutation indices outside [low, igh], the factors inside.
void balance(int nm, int n, double* a, int& low, int& igh, double* scale);
//! Stabilised elementary reduction of rows/columns low..igh to upper Hessenberg form.
void elmhes(int nm, int n, int low, int igh, double* a, int* inter);
//! z = the transformation accumulated by elmhes.
void elmtrans(int nm, int n, int low, int igh, const double* a, const int* inter, double* z);
//! Eigenvalues into wr2/wi2 and packed eigenvectors of the balanced matrix into z.
//! ierr = 0, or the (0-based) index of the root that failed to converge in 30 steps.
void hqr2(int nm, int n, int low, int igh, double* a, double* wr2, double* wi2, double* z,
          int& ierr, int* cnt);
//! Undoes the balancing on m eigenvector columns of z.
void balbak(int nm, int n, int low, int igh, const double* scale, int m, double* z);
//! The full pipeline; matz == 0 skips balancing and back-transformation. Returns ierr
//! (after printing " ierr=%d\n" when it is not 0).
int rg(int nm, int n, double* a, int* inter, double* scale, double* z, double* wr2, double* wi2,
       int matz, int* cnt);

//! The whole decomposition: eigenvalues wr + i wi, unit eigenvectors vr + i vi.
void eigen_driver(double* a, int n, double* wr, double* wi, double* vr, double* vi, int matz,
                  double* wr2, double* wi2, double* z, double* scale, int* inter, int* cnt);
//! Complex vectors (vr + i vi, row-major) from the packed form.
void unpack_eigenvectors(const double* z, const double* wi2, double* vr, double* vi, int n);
//! Each column to unit Euclidean length; a zero column is left as it is.
void normalise_eigenvectors(const double* wi2, double* vr, double* vi, int n);
//! Scales packed vectors so that the largest component is 1 (library surface).
void normalise_by_largest(int nm, int n, double* z, const double* unused, const double* wi);
//! cr + i ci = (ar + i ai) / (br + i bi), scaled by the larger part of the divisor.
void cdiv(double ar, double ai, double br, double bi, double& cr, double& ci);
