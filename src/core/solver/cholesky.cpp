#include "solver/cholesky.h"

#include <cholmod.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <type_traits>

static_assert(std::is_same_v<SuiteSparse_long, std::int64_t>,
              "the pattern's indices are handed to CHOLMOD as they are");

void holdToOneThread() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (std::getenv("OPENBLAS_NUM_THREADS") || std::getenv("OMP_NUM_THREADS")) return;
        using SetInt = void (*)(int);
        // Present only when the BLAS behind the library is OpenBLAS.
        if (void* f = dlsym(RTLD_DEFAULT, "openblas_set_num_threads"))
            reinterpret_cast<SetInt>(f)(1);
        // CHOLMOD asks OpenMP for 4 threads to copy a large supernode; with no active level
        // allowed every parallel region runs on the calling thread instead.
        if (void* f = dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"))
            reinterpret_cast<SetInt>(f)(0);
    });
}

struct SparseCholesky::State {
    cholmod_common c;
    cholmod_factor* L = nullptr;
    std::size_t limit = 0;
};

namespace {

// A view of the upper triangle, with or without its values; CHOLMOD reads it and never
// frees it. The ordering sees no values, so they may be assembled meanwhile.
cholmod_sparse view(const SymmetricMatrix& a, bool values = true) {
    cholmod_sparse s;
    std::memset(&s, 0, sizeof s);
    s.nrow = s.ncol = static_cast<std::size_t>(a.n);
    s.nzmax = static_cast<std::size_t>(a.entries());
    s.p = const_cast<std::int64_t*>(a.start.data());
    s.i = const_cast<std::int64_t*>(a.row.data());
    s.x = values ? const_cast<double*>(a.value.data()) : nullptr;
    s.stype = 1;
    s.itype = CHOLMOD_LONG;
    s.xtype = values ? CHOLMOD_REAL : CHOLMOD_PATTERN;
    s.dtype = CHOLMOD_DOUBLE;
    s.sorted = 1;
    s.packed = 1;
    return s;
}

}  // namespace

SparseCholesky::SparseCholesky(std::size_t memory_limit) : s_(std::make_unique<State>()) {
    holdToOneThread();
    cholmod_common& c = s_->c;
    cholmod_l_start(&c);
    c.print = 0;
    // Left alone CHOLMOD may try METIS as well, whose ordering alone outlasts the rest.
    c.nmethods = 1;
    c.method[0].ordering = CHOLMOD_AMD;
    c.postorder = 1;
    c.supernodal = CHOLMOD_SUPERNODAL;
    // Supernodes of up to 8 columns are always merged, up to 32 when few zeros come in: a
    // mesh has tens of thousands of tiny ones, each of which costs more to visit than to
    // compute. About 15 % less time for 30 % more stored zeros.
    c.nrelax[0] = 8;
    c.nrelax[1] = 32;
    c.nrelax[2] = 64;
    s_->limit = memory_limit;
    if (s_->limit == 0)
        s_->limit = static_cast<std::size_t>(sysconf(_SC_PHYS_PAGES)) *
                    static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

SparseCholesky::~SparseCholesky() {
    release();
    cholmod_l_finish(&s_->c);
}

void SparseCholesky::release() {
    if (s_->L) cholmod_l_free_factor(&s_->L, &s_->c);
}

FactorStatus SparseCholesky::analyze(const SymmetricMatrix& a) {
    release();
    cholmod_sparse v = view(a, false);
    s_->L = cholmod_l_analyze(&v, &s_->c);
    if (!s_->L) return FactorStatus::OutOfMemory;
    if (std::getenv("WT_DEBUG"))
        std::fprintf(stderr, "nsuper=%ld xsize=%ld lnz=%g fl=%g\n", (long)s_->L->nsuper,
                     (long)s_->L->xsize, s_->c.lnz, s_->c.fl);
    if (factorBytes() > s_->limit) {
        release();
        return FactorStatus::OutOfMemory;
    }
    return FactorStatus::Ok;
}

FactorStatus SparseCholesky::factor(const SymmetricMatrix& a) {
    cholmod_sparse v = view(a);
    cholmod_common& c = s_->c;
    const int ok = cholmod_l_factorize(&v, s_->L, &c);
    // Warnings are positive, errors negative; invalid input cannot come from a pattern built
    // here, so an error is one of memory.
    if (c.status == CHOLMOD_NOT_POSDEF || (ok && s_->L->minor < s_->L->n))
        return FactorStatus::NotPositiveDefinite;
    if (!ok || c.status < CHOLMOD_OK) return FactorStatus::OutOfMemory;
    return FactorStatus::Ok;
}

FactorStatus SparseCholesky::solve(double* b, int columns) {
    const std::size_t n = s_->L->n;
    cholmod_dense d;
    std::memset(&d, 0, sizeof d);
    d.nrow = d.d = n;
    d.ncol = static_cast<std::size_t>(columns);
    d.nzmax = n * d.ncol;
    d.x = b;
    d.xtype = CHOLMOD_REAL;
    d.dtype = CHOLMOD_DOUBLE;
    cholmod_dense* x = cholmod_l_solve(CHOLMOD_A, s_->L, &d, &s_->c);
    if (!x) return FactorStatus::OutOfMemory;
    const double* r = static_cast<const double*>(x->x);
    std::copy(r, r + d.nzmax, b);
    cholmod_l_free_dense(&x, &s_->c);
    return FactorStatus::Ok;
}

double SparseCholesky::factorEntries() const {
    return s_->c.lnz;
}

std::size_t SparseCholesky::factorBytes() const {
    const cholmod_factor* L = s_->L;
    if (!L) return 0;
    // Values, their row indices and the per-column or per-supernode pointers.
    const std::size_t indices = L->is_super ? L->ssize + 4 * L->nsuper : L->nzmax + 3 * L->n;
    return (L->is_super ? L->xsize : L->nzmax) * sizeof(double) +
           indices * sizeof(SuiteSparse_long);
}
