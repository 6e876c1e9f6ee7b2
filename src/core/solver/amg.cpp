#include "solver/amg.h"

// The only file that sees hypre and MPI.
#include <HYPRE.h>
#include <HYPRE_parcsr_ls.h>
#include <_hypre_parcsr_mv.h>
#include <mpi.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

constexpr int kDefaultIterationLimit = 200;
std::atomic<int> iteration_limit{kDefaultIterationLimit};

// hypre keeps global state (its error flag, its handle): one call at a time in the process.
std::mutex& hypreMutex() {
    static std::mutex m;
    return m;
}

// MPI as a single process, started by the first thread that needs it and never finalised
// (the standard asks the initialising thread to finalise, which a worker thread cannot
// promise; the process's end frees everything). Without a launcher Open MPI would start a
// helper daemon and probe the network: a singleton needs neither.
bool startMpi() {
    static bool ok = false;
    static std::once_flag once;
    std::call_once(once, [] {
        int initialised = 0;
        MPI_Initialized(&initialised);
        if (!initialised) {
            setenv("OMPI_MCA_ess_singleton_isolated", "1", 0);
            setenv("OMPI_MCA_btl", "self", 0);
            setenv("OMPI_MCA_pml", "ob1", 0);
            int provided = 0;
            if (MPI_Init_thread(nullptr, nullptr, MPI_THREAD_MULTIPLE, &provided) != MPI_SUCCESS)
                return;
        }
        ok = HYPRE_Init() == 0;
    });
    return ok;
}

}  // namespace

int amgIterationLimit() {
    return iteration_limit.load();
}

void setAmgIterationLimit(int limit) {
    iteration_limit.store(limit < 0 ? kDefaultIterationLimit : limit);
}

struct AmgSolver::State {
    hypre_ParCSRMatrix* A = nullptr;
    hypre_ParVector* b = nullptr;
    hypre_ParVector* x = nullptr;
    HYPRE_Solver amg = nullptr;
    HYPRE_Solver pcg = nullptr;
    int n = 0;
};

AmgSolver::AmgSolver() : s_(std::make_unique<State>()) {}

AmgSolver::~AmgSolver() {
    release();
}

void AmgSolver::release() {
    if (!s_->A && !s_->amg) return;
    std::lock_guard lock(hypreMutex());
    if (s_->pcg) HYPRE_ParCSRPCGDestroy(s_->pcg);
    if (s_->amg) HYPRE_BoomerAMGDestroy(s_->amg);
    if (s_->b) hypre_ParVectorDestroy(s_->b);
    if (s_->x) hypre_ParVectorDestroy(s_->x);
    if (s_->A) hypre_ParCSRMatrixDestroy(s_->A);
    *s_ = State{};
}

bool AmgSolver::setup(const SymmetricMatrix& a) {
    release();
    if (a.n <= 0 || !startMpi()) return false;
    if (2 * a.entries() - a.n > INT_MAX) return false;
    if (build(a)) return true;
    release();
    return false;
}

bool AmgSolver::build(const SymmetricMatrix& a) {
    const std::int64_t full = 2 * a.entries() - a.n;
    const int n = a.n;
    std::lock_guard lock(hypreMutex());
    HYPRE_ClearAllErrors();

    // The whole matrix in rows, filled straight into the local block of a one-process matrix:
    // each row starts with its diagonal, as the smoothers expect, the rest ascending.
    HYPRE_BigInt starts[2] = {0, n};
    s_->n = n;
    s_->A = hypre_ParCSRMatrixCreate(MPI_COMM_SELF, n, n, starts, starts, 0,
                                     static_cast<HYPRE_Int>(full), 0);
    hypre_ParCSRMatrixInitialize_v2(s_->A, HYPRE_MEMORY_HOST);
    hypre_CSRMatrix* d = hypre_ParCSRMatrixDiag(s_->A);
    HYPRE_Int* ri = hypre_CSRMatrixI(d);
    HYPRE_Int* cj = hypre_CSRMatrixJ(d);
    HYPRE_Complex* v = hypre_CSRMatrixData(d);
    std::fill_n(ri, n + 1, 0);
    for (int j = 0; j < n; ++j) {
        ri[j + 1] += static_cast<HYPRE_Int>(a.start[j + 1] - a.start[j]);
        for (std::int64_t p = a.start[j]; p < a.start[j + 1] - 1; ++p)
            ++ri[a.row[p] + 1];
    }
    for (int j = 0; j < n; ++j)
        ri[j + 1] += ri[j];
    std::vector<HYPRE_Int> next(ri, ri + n);
    for (int j = 0; j < n; ++j) {
        cj[next[j]] = j;
        v[next[j]++] = a.diagonal(j);
    }
    for (int j = 0; j < n; ++j)
        for (std::int64_t p = a.start[j]; p < a.start[j + 1] - 1; ++p) {
            const int i = static_cast<int>(a.row[p]);
            const double value = a.value[p];
            cj[next[j]] = i;
            v[next[j]++] = value;
            cj[next[i]] = j;
            v[next[i]++] = value;
        }
    hypre_CSRMatrixSetRownnz(d);
    hypre_ParCSRMatrixSetNumNonzeros(s_->A);
    hypre_ParCSRMatrixSetDNumNonzeros(s_->A);
    hypre_MatvecCommPkgCreate(s_->A);

    s_->b = hypre_ParVectorCreate(MPI_COMM_SELF, n, starts);
    s_->x = hypre_ParVectorCreate(MPI_COMM_SELF, n, starts);
    hypre_ParVectorInitialize_v2(s_->b, HYPRE_MEMORY_HOST);
    hypre_ParVectorInitialize_v2(s_->x, HYPRE_MEMORY_HOST);

    HYPRE_BoomerAMGCreate(&s_->amg);
    HYPRE_Solver amg = s_->amg;
    HYPRE_BoomerAMGSetPrintLevel(amg, 0);
    HYPRE_BoomerAMGSetCoarsenType(amg, 10);  // HMIS
    HYPRE_BoomerAMGSetInterpType(amg, 6);    // extended+i
    HYPRE_BoomerAMGSetPMaxElmts(amg, 4);
    HYPRE_BoomerAMGSetStrongThreshold(amg, 0.25);
    HYPRE_BoomerAMGSetAggNumLevels(amg, 1);
    HYPRE_BoomerAMGSetAggInterpType(amg, 4);  // multipass
    HYPRE_BoomerAMGSetNumSweeps(amg, 1);
    // ℓ1 Gauss–Seidel forward on the way down, backward on the way up: a symmetric cycle,
    // as conjugate gradients need; Gaussian elimination on the coarsest level.
    HYPRE_BoomerAMGSetCycleRelaxType(amg, 13, 1);
    HYPRE_BoomerAMGSetCycleRelaxType(amg, 14, 2);
    HYPRE_BoomerAMGSetCycleRelaxType(amg, 9, 3);
    HYPRE_BoomerAMGSetRelaxOrder(amg, 0);
    HYPRE_BoomerAMGSetTol(amg, 0.0);
    HYPRE_BoomerAMGSetMaxIter(amg, 1);

    HYPRE_ParCSRPCGCreate(MPI_COMM_SELF, &s_->pcg);
    HYPRE_ParCSRPCGSetTwoNorm(s_->pcg, 1);
    HYPRE_ParCSRPCGSetAbsoluteTol(s_->pcg, 0.0);
    HYPRE_ParCSRPCGSetPrintLevel(s_->pcg, 0);
    HYPRE_ParCSRPCGSetLogging(s_->pcg, 0);
    HYPRE_ParCSRPCGSetPrecond(s_->pcg, HYPRE_BoomerAMGSolve, HYPRE_BoomerAMGSetup, amg);
    const auto A = reinterpret_cast<HYPRE_ParCSRMatrix>(s_->A);
    const auto b = reinterpret_cast<HYPRE_ParVector>(s_->b);
    const auto x = reinterpret_cast<HYPRE_ParVector>(s_->x);
    HYPRE_ParCSRPCGSetup(s_->pcg, A, b, x);
    const bool ok = HYPRE_GetError() == 0;
    HYPRE_ClearAllErrors();
    return ok;
}

AmgResult AmgSolver::solve(const double* b, double* x, double tol, int max_iterations) {
    AmgResult r;
    if (!s_->pcg) return r;
    const int n = s_->n;
    std::lock_guard lock(hypreMutex());
    HYPRE_ClearAllErrors();
    std::copy_n(b, n, hypre_VectorData(hypre_ParVectorLocalVector(s_->b)));
    std::fill_n(hypre_VectorData(hypre_ParVectorLocalVector(s_->x)), n, 0.0);
    HYPRE_ParCSRPCGSetTol(s_->pcg, tol);
    HYPRE_ParCSRPCGSetMaxIter(s_->pcg, max_iterations);
    HYPRE_ParCSRPCGSolve(s_->pcg, reinterpret_cast<HYPRE_ParCSRMatrix>(s_->A),
                         reinterpret_cast<HYPRE_ParVector>(s_->b),
                         reinterpret_cast<HYPRE_ParVector>(s_->x));
    HYPRE_Int its = 0;
    HYPRE_Real res = 0;
    HYPRE_ParCSRPCGGetNumIterations(s_->pcg, &its);
    HYPRE_ParCSRPCGGetFinalRelativeResidualNorm(s_->pcg, &res);
    const bool failed = HYPRE_GetError() != 0;
    HYPRE_ClearAllErrors();
    std::copy_n(hypre_VectorData(hypre_ParVectorLocalVector(s_->x)), n, x);
    r.iterations = its;
    r.residual = res;
    // The library counts an all-zero right-hand side as solved without iterating.
    r.converged = !failed && std::isfinite(res) && res <= tol;
    return r;
}

AmgResult amgSolve(const SymmetricMatrix& a, const double* b, double* x, int columns, double tol,
                   int max_iterations, const Postep& postep) {
    AmgResult total;
    AmgSolver solver;
    if (!solver.setup(a)) return total;
    total.converged = true;
    const std::size_t n = static_cast<std::size_t>(a.n);
    for (int c = 0; c < columns; ++c) {
        if (postep && !postep("Rozwiązywanie", double(c) / columns)) {
            total.cancelled = true;
            total.converged = false;
            return total;
        }
        const AmgResult r = solver.solve(b + c * n, x + c * n, tol, max_iterations);
        total.iterations += r.iterations;
        total.residual = std::max(total.residual, r.residual);
        total.converged = total.converged && r.converged;
    }
    return total;
}
