#include "solver/solver_method.h"

const char* methodName(SolverMethod m) {
    switch (m) {
        case SolverMethod::Cholesky:
            return "cholesky";
        case SolverMethod::Amg:
            return "amg";
        case SolverMethod::Automatic:
            break;
    }
    return "auto";
}
