#include "simu/model/mode_cache.h"

#include <cmath>
#include <utility>

#include "matrix/eig.h"
#include "matrix/lu.h"
#include "matrix/simd.h"

namespace {

// Above this 1-norm condition number of V the modal sum loses more digits than c2d.
const double max_cond = 1e10;
// The sum keeps one row of V^-1 per conjugate pair (the other is its conjugate) and only
// the real part of a real mode's row. Near a double eigenvalue the computed inverse
// breaks that symmetry by far more than rounding; beyond this drift (against the unit
// columns of V) the modal sum would be wrong, and c2d is used instead.
const double max_drift = 1e-9;

bool is_finite(double v) { return std::isfinite(v); }

// While a decomposition is tried, a failure of the library (a QR iteration that does not
// converge) is thrown without the fatal line: the entry then falls back to c2d, and the
// run goes on.
[[noreturn]] void quiet_fatal(const char*, const char*) { throw "mode_cache: no decomposition"; }

class quiet_library_errors {
public:
  quiet_library_errors() : saved_(matrix_error_handlers[0]) { matrix_error_handlers[0] = quiet_fatal; }
  ~quiet_library_errors() { matrix_error_handlers[0] = saved_; }
  quiet_library_errors(const quiet_library_errors&) = delete;
  quiet_library_errors& operator=(const quiet_library_errors&) = delete;

private:
  matrix_error_handler saved_;
};

// e^(z) and (e^z - 1)/l for z = l t, l = (a, w); the second without cancellation for
// small |z| and equal to t for l = 0.
void exp_phi(double a, double w, double t, double& er, double& ei, double& fr, double& fi) {
  if (w == 0.0) {
    const double z = a * t;
    er = std::exp(z);
    ei = 0.0;
    fr = a == 0.0 ? t : std::expm1(z) / a;
    fi = 0.0;
    return;
  }
  const double ea = std::exp(a * t), c = std::cos(w * t), s = std::sin(w * t);
  er = ea * c;
  ei = ea * s;
  const double h = std::sin(0.5 * w * t);
  const double mr = std::expm1(a * t) * c - 2.0 * h * h;   // Re(e^z - 1)
  const double mi = ea * s;                                // Im(e^z - 1)
  const double d = a * a + w * w;                          // (mr + i mi) / (a + i w)
  fr = (mr * a + mi * w) / d;
  fi = (mi * a - mr * w) / d;
}

}  // namespace

struct mode_cache::entry {
  const topology* key = nullptr;
  int n = 0, m = 0;
  bool modal = true;
  std::vector<double> lre, lim;   // eigenvalue of each mode
  std::vector<char> pair;         // conjugate pair, stored once
  std::vector<double> vre, vim;   // eigenvector of mode k at [k n, (k + 1) n)
  std::vector<double> wre, wim;   // row k of V^-1 at [k n, (k + 1) n)
  std::vector<double> are, aim;   // w_k x0
  std::vector<double> bre, bim;   // w_k B u
  // e^(l t) and t phi1(l t) of every mode (er, ei, fr, fi at [4 k, 4 k + 4)) for two step
  // lengths: the step td recurs at every switching, a search's trial lengths do not. A
  // miss fills slot 1; a hit there moves it to slot 0, so td keeps its place.
  double slot_dt[2] = {std::nan(""), std::nan("")};
  std::vector<double> slot[2];
  int modes() const { return static_cast<int>(lre.size()); }
  const double* factors(double dt);
};

const double* mode_cache::entry::factors(double dt) {
  if (dt == slot_dt[0]) return slot[0].data();
  if (dt == slot_dt[1]) {
    std::swap(slot_dt[0], slot_dt[1]);
    slot[0].swap(slot[1]);
    return slot[0].data();
  }
  const int s = std::isnan(slot_dt[0]) ? 0 : 1;
  const int nm = modes();
  slot[s].resize(static_cast<size_t>(nm) * 4);
  double* f = slot[s].data();
  for (int k = 0; k < nm; ++k) exp_phi(lre[k], lim[k], dt, f[4 * k], f[4 * k + 1], f[4 * k + 2], f[4 * k + 3]);
  slot_dt[s] = dt;
  return f;
}

mode_cache::mode_cache() = default;
mode_cache::~mode_cache() { clear(); }

void mode_cache::clear() {
  map_.clear();
  current_ = nullptr;
}

bool mode_cache::modal(const topology& rec) {
  auto it = map_.find(&rec);
  if (it == map_.end()) {
    build_entry(rec);
    return current_->modal;
  }
  return it->second->modal;
}

void mode_cache::build_entry(const topology& rec) {
  ++builds_;
  auto e = std::make_unique<entry>();
  e->key = &rec;
  DM A(rec.A), B(rec.B);
  const int n = A.rows;
  e->n = n;
  e->m = B.cols;
  if (n > 0) {
    bool ok = true;
    CM D, V;
    for (int j = 1; j <= n && ok; ++j)
      for (int i = 1; i <= n && ok; ++i) ok = is_finite(A(i, j));
    if (ok) {
      try {
        quiet_library_errors quiet;
        eig(A, D, V);
      } catch (const char*) {
        ok = false;
      }
    }
    CM W;
    double normA = 0.0, normV = 0.0, normW = 0.0, res = 0.0;
    if (ok) {
      for (int j = 1; j <= n && ok; ++j)
        for (int i = 1; i <= n && ok; ++i)
          ok = is_finite(V(i, j).re) && is_finite(V(i, j).im) && is_finite(D(i, i).re) && is_finite(D(i, i).im);
    }
    if (ok) {
      CLU lu(V);
      W = lu.inverse();
      for (int j = 1; j <= n; ++j) {
        double ca = 0.0, cv = 0.0, cw = 0.0, cr = 0.0;
        for (int i = 1; i <= n; ++i) {
          ca += std::fabs(A(i, j));
          cv += std::hypot(V(i, j).re, V(i, j).im);
          cw += std::hypot(W(i, j).re, W(i, j).im);
          // (A V - V D)(i, j)
          double rr = -(V(i, j).re * D(j, j).re - V(i, j).im * D(j, j).im);
          double ri = -(V(i, j).re * D(j, j).im + V(i, j).im * D(j, j).re);
          for (int k = 1; k <= n; ++k) {
            rr += A(i, k) * V(k, j).re;
            ri += A(i, k) * V(k, j).im;
          }
          cr += std::hypot(rr, ri);
        }
        normA = std::fmax(normA, ca);
        normV = std::fmax(normV, cv);
        normW = std::fmax(normW, cw);
        res = std::fmax(res, cr);
      }
      const double cond = normV * normW;
      ok = is_finite(cond) && cond <= max_cond && is_finite(res) && res <= 1e-12 * n * normA * normV;
    }
    for (int k = 1; k <= n && ok; ++k) {
      const double a = D(k, k).re, w = D(k, k).im;
      const bool is_pair = std::fabs(w) >= 1e-15;
      if (is_pair) {
        // The decomposition lists the conjugate right after its partner.
        ok = k < n && D(k + 1, k + 1).re == a && D(k + 1, k + 1).im == -w;
        for (int i = 1; i <= n && ok; ++i)
          ok = (std::fabs(W(k + 1, i).re - W(k, i).re) + std::fabs(W(k + 1, i).im + W(k, i).im)) * normV <= max_drift;
      } else {
        for (int i = 1; i <= n && ok; ++i) ok = std::fabs(W(k, i).im) * normV <= max_drift;
      }
      if (!ok) break;
      e->lre.push_back(a);
      e->lim.push_back(is_pair ? w : 0.0);
      e->pair.push_back(is_pair);
      for (int i = 1; i <= n; ++i) {
        e->vre.push_back(V(i, k).re);
        e->vim.push_back(is_pair ? V(i, k).im : 0.0);
        e->wre.push_back(W(k, i).re);
        e->wim.push_back(is_pair ? W(k, i).im : 0.0);
      }
      if (is_pair) ++k;
    }
    e->modal = ok;
    if (ok) {
      const int nm = e->modes();
      e->are.assign(nm, 0.0);
      e->aim.assign(nm, 0.0);
      e->bre.assign(nm, 0.0);
      e->bim.assign(nm, 0.0);
    }
  }
  current_ = e.get();
  map_[&rec] = std::move(e);
}

void mode_cache::propagate(DM& x, const DM& x0in, const DM& uin, const topology& rec, double dt,
                           int reuse) {
  ++propagations_;
  DM x0(x0in), u(uin);
  if (reuse == 0 || current_ == nullptr || current_->key != &rec) {
    ++recomputations_;
    auto it = map_.find(&rec);
    if (it == map_.end())
      build_entry(rec);
    else
      current_ = it->second.get();
    reuse = 0;
  }
  entry& e = *current_;
  const int n = e.n, m = e.m, nm = e.modes();
  xw_.assign(n, 0.0);
  if (e.modal && reuse == 0) {
    // Coefficients for this x0 and u, kept for the calls that reuse them.
    // Raw storage; short operands fail as the checked accessors would.
    const double* B = rec.B.blk->data;
    const double* uv = u.blk->data;
    if (u.n < static_cast<uint32_t>(m)) u(m);   // the checked path's message
    bu_.assign(n, 0.0);
    for (int j = 0; j < m; ++j) {
      const double uj = uv[j];
      if (uj == 0.0) continue;
      if (rec.B.rows < n) rec.B(n, j + 1);   // the checked path's message
      const double* col = B + static_cast<size_t>(j) * rec.B.rows;
      for (int i = 0; i < n; ++i) bu_[i] += col[i] * uj;
    }
    if (x0.n < static_cast<uint32_t>(n) && n > 0) x0(n);
    const double* xv = x0.blk->data;
    for (int k = 0; k < nm; ++k) {
      const double* wr = &e.wre[static_cast<size_t>(k) * n];
      const double* wi = &e.wim[static_cast<size_t>(k) * n];
      double ar = 0.0, ai = 0.0, br = 0.0, bi = 0.0;
      for (int i = 0; i < n; ++i) {
        const double xi = xv[i];
        ar += wr[i] * xi;
        ai += wi[i] * xi;
        br += wr[i] * bu_[i];
        bi += wi[i] * bu_[i];
      }
      e.are[k] = ar;
      e.aim[k] = ai;
      e.bre[k] = br;
      e.bim[k] = bi;
    }
  }
  if (dt == 0.0) {
    for (int i = 0; i < n; ++i) xw_[i] = x0(i + 1);
  } else if (!e.modal) {
    DM Phi, Gamma, A(rec.A), B(rec.B);
    c2d_timed(Phi, Gamma, A, B, dt);
    for (int i = 1; i <= n; ++i) {
      double s = 0.0;
      for (int k = 1; k <= n; ++k) s += Phi(i, k) * x0(k);
      for (int j = 1; j <= m; ++j) s += Gamma(i, j) * u(j);
      xw_[i - 1] = s;
    }
  } else {
    const double* f = e.factors(dt);
    for (int k = 0; k < nm; ++k) {
      const double er = f[4 * k], ei = f[4 * k + 1], fr = f[4 * k + 2], fi = f[4 * k + 3];
      // g = e^(l t) alpha + t phi1(l t) beta
      const double gr = er * e.are[k] - ei * e.aim[k] + fr * e.bre[k] - fi * e.bim[k];
      const double gi = er * e.aim[k] + ei * e.are[k] + fr * e.bim[k] + fi * e.bre[k];
      const double* vr = &e.vre[static_cast<size_t>(k) * n];
      const double* vi = &e.vim[static_cast<size_t>(k) * n];
      // Two rows at a time in SSE2 lanes, each row's sum in its order over the modes.
      double* xw = xw_.data();
      int i = 0;
      if (e.pair[k]) {
        for (; i + 2 <= n; i += 2)
          store2(xw + i, load2(xw + i) + 2.0 * (load2(vr + i) * gr - load2(vi + i) * gi));
        for (; i < n; ++i) xw[i] += 2.0 * (vr[i] * gr - vi[i] * gi);
      } else {
        for (; i + 2 <= n; i += 2) store2(xw + i, load2(xw + i) + load2(vr + i) * gr);
        for (; i < n; ++i) xw[i] += vr[i] * gr;
      }
    }
  }
  if (x.rows != n || x.cols != 1) x = DM(n, 1);
  for (int i = 0; i < n; ++i) x.at(i + 1) = xw_[i];
}
