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

SolverMethod chooseMethod(int nodes, int holes) {
    return nodes >= kAmgMinNodes && holes <= kAmgMaxHoles ? SolverMethod::Amg
                                                          : SolverMethod::Cholesky;
}
