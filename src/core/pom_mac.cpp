#include "pom_mac.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>
#include <type_traits>

void nrerror(const char* error_text) {
    std::fputs("Wystąpił bład podczas działania programu \n", stderr);
    std::fprintf(stderr, "%s\n", error_text);
    std::fputs("...powrót do systemu...\n", stderr);
    std::exit(1);
}

namespace pom_mac {
namespace {

// Element count of a block, or 0 when it cannot be represented.
template <typename T>
std::size_t block_count(long lo, long hi, long extra) {
    if (hi < lo - 1) return 0;
    const auto n =
        static_cast<unsigned long long>(hi - lo + 1) + static_cast<unsigned long long>(extra);
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) return 0;
    return static_cast<std::size_t>(n);
}

}  // namespace

template <typename T>
T* try_vector(long nl, long nh) {
    const std::size_t n = block_count<T>(nl, nh, 1);
    if (n == 0) return nullptr;
    T* block = static_cast<T*>(std::malloc(n * sizeof(T)));
    if (!block) return nullptr;
    return block + 1 - nl;
}

template <typename T>
T** try_matrix(long nrl, long nrh, long ncl, long nch) {
    const std::size_t nrow = block_count<T*>(nrl, nrh, 0);
    const std::size_t ncol = block_count<T>(ncl, nch, 0);
    if (nrow == 0 || ncol == 0 || nrow > (std::numeric_limits<std::size_t>::max() - 1) / ncol)
        return nullptr;
    const std::size_t nelem = nrow * ncol + 1;
    if (nelem > std::numeric_limits<std::size_t>::max() / sizeof(T)) return nullptr;
    T** rows = static_cast<T**>(std::malloc((nrow + 1) * sizeof(T*)));
    if (!rows) return nullptr;
    T* elems = static_cast<T*>(std::malloc(nelem * sizeof(T)));
    if (!elems) {
        std::free(rows);
        return nullptr;
    }
    rows = rows + 1 - nrl;
    rows[nrl] = elems + 1 - ncl;
    for (long i = nrl + 1; i <= nrh; ++i)
        rows[i] = rows[i - 1] + ncol;
    return rows;
}

template <typename T>
void free_vector(T* v, long nl) {
    if (v) std::free(v + nl - 1);
}

template <typename T>
void free_matrix(T** m, long nrl, long ncl) {
    if (!m) return;
    std::free(m[nrl] + ncl - 1);
    std::free(m + nrl - 1);
}

template float* try_vector<float>(long, long);
template int* try_vector<int>(long, long);
template float** try_matrix<float>(long, long, long, long);
template int** try_matrix<int>(long, long, long, long);
template void free_vector<float>(float*, long);
template void free_vector<int>(int*, long);
template void free_matrix<float>(float**, long, long);
template void free_matrix<int>(int**, long, long);

}  // namespace pom_mac

float* wektor(long nl, long nh) {
    float* v = pom_mac::try_vector<float>(nl, nh);
    if (!v) nrerror("błąd allokacji w vector()");
    return v;
}

int* iwektor(long nl, long nh) {
    int* v = pom_mac::try_vector<int>(nl, nh);
    if (!v) nrerror("błąd alokacji w ivector()");
    return v;
}

namespace {

// Reports which of the two blocks failed, with the texts of the float and int variants.
template <typename T>
T** checked_matrix(long nrl, long nrh, long ncl, long nch, const char* rows_text) {
    T** m = pom_mac::try_matrix<T>(nrl, nrh, ncl, nch);
    if (m) return m;
    // Find out which block failed: try the row-pointer block alone.
    const long nrow = nrh - nrl + 1;
    void* rows =
        nrow > 0 ? std::malloc((static_cast<std::size_t>(nrow) + 1) * sizeof(T*)) : nullptr;
    if (!rows) nrerror(rows_text);
    std::free(rows);
    nrerror("allocation failure 2 in matrix()");
}

}  // namespace

float** macierz(long nrl, long nrh, long ncl, long nch) {
    return checked_matrix<float>(nrl, nrh, ncl, nch, "błąd alokacji 1 w macierz()");
}

int** imacierz(long nrl, long nrh, long ncl, long nch) {
    return checked_matrix<int>(nrl, nrh, ncl, nch, "allocation failure 1 in matrix()");
}

void uwolnij_wektor(float* v, long nl, long) {
    pom_mac::free_vector(v, nl);
}
void uwolnij_iwektor(int* v, long nl, long) {
    pom_mac::free_vector(v, nl);
}
void uwolnij_macierz(float** m, long nrl, long, long ncl, long) {
    pom_mac::free_matrix(m, nrl, ncl);
}
void uwolnij_imacierz(int** m, long nrl, long, long ncl, long) {
    pom_mac::free_matrix(m, nrl, ncl);
}

// Owning wrappers.

template <typename T>
void Wektor<T>::allocate(long n) {
    if (!try_allocate(n)) {
        if constexpr (std::is_same_v<T, int>) nrerror("błąd alokacji w ivector()");
        nrerror("błąd allokacji w vector()");
    }
}

template <typename T>
bool Wektor<T>::try_allocate(long n) {
    release();
    v_ = pom_mac::try_vector<T>(1, n);
    n_ = v_ ? n : 0;
    return v_ != nullptr;
}

template <typename T>
void Wektor<T>::release() {
    pom_mac::free_vector(v_, 1);
    v_ = nullptr;
    n_ = 0;
}

template <typename T>
void Macierz<T>::allocate(long rows, long cols) {
    if (!try_allocate(rows, cols)) {
        if constexpr (std::is_same_v<T, int>)
            (void)checked_matrix<int>(1, rows, 1, cols, "allocation failure 1 in matrix()");
        else
            (void)checked_matrix<float>(1, rows, 1, cols, "błąd alokacji 1 w macierz()");
        nrerror("allocation failure 2 in matrix()");
    }
}

template <typename T>
bool Macierz<T>::try_allocate(long rows, long cols) {
    release();
    m_ = pom_mac::try_matrix<T>(1, rows, 1, cols);
    rows_ = m_ ? rows : 0;
    cols_ = m_ ? cols : 0;
    return m_ != nullptr;
}

template <typename T>
void Macierz<T>::release() {
    pom_mac::free_matrix(m_, 1, 1);
    m_ = nullptr;
    rows_ = cols_ = 0;
}

template class Wektor<float>;
template class Wektor<int>;
template class Macierz<float>;
template class Macierz<int>;
