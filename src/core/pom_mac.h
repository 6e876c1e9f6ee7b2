#pragma once
// Index-ranged vectors and matrices. Every model and solver array is one of these; the
// program always uses 1 as the lower bound so node, element and equation numbers index
// them directly. Contents are undefined after allocation. Running out of memory is fatal.

#include <cstddef>
#include <utility>

/// Writes the three-line error report to stderr and ends the process with exit code 1.
[[noreturn]] void nrerror(const char* error_text);

/// float vector [nl..nh]; one block of nh - nl + 2 elements, v[nl] is its second element.
float* wektor(long nl, long nh);
/// int vector [nl..nh].
int* iwektor(long nl, long nh);
/// float matrix [nrl..nrh][ncl..nch], all elements in one contiguous block, row after row.
float** macierz(long nrl, long nrh, long ncl, long nch);
/// int matrix [nrl..nrh][ncl..nch].
int** imacierz(long nrl, long nrh, long ncl, long nch);

/// Releases a vector; nl must be the allocation's lower bound, nh is not used.
void uwolnij_wektor(float* v, long nl, long nh);
void uwolnij_iwektor(int* v, long nl, long nh);
/// Releases a matrix; the lower bounds must be the allocation's, the upper ones are not used.
void uwolnij_macierz(float** m, long nrl, long nrh, long ncl, long nch);
void uwolnij_imacierz(int** m, long nrl, long nrh, long ncl, long nch);

namespace pom_mac {

/// Allocation without the fatal exit: returns nullptr when memory or the size runs out.
template <typename T>
T* try_vector(long nl, long nh);
template <typename T>
T** try_matrix(long nrl, long nrh, long ncl, long nch);
template <typename T>
void free_vector(T* v, long nl);
template <typename T>
void free_matrix(T** m, long nrl, long ncl);

}  // namespace pom_mac

/// Owning index-ranged vector with lower bound 1; empty until allocated.
template <typename T>
class Wektor {
  public:
    Wektor() = default;
    Wektor(const Wektor&) = delete;
    Wektor& operator=(const Wektor&) = delete;
    Wektor(Wektor&& o) noexcept : v_(std::exchange(o.v_, nullptr)), n_(std::exchange(o.n_, 0)) {}
    Wektor& operator=(Wektor&& o) noexcept {
        if (this != &o) {
            release();
            v_ = std::exchange(o.v_, nullptr);
            n_ = std::exchange(o.n_, 0);
        }
        return *this;
    }
    ~Wektor() { release(); }

    /// Allocates [1..n] (contents undefined); fatal when memory runs out.
    void allocate(long n);
    /// Allocates [1..n]; returns false and leaves the vector empty when memory runs out.
    bool try_allocate(long n);
    void release();

    bool allocated() const { return v_ != nullptr; }
    long size() const { return n_; }
    T& operator[](long i) { return v_[i]; }
    const T& operator[](long i) const { return v_[i]; }
    /// The raw handle: element i at raw()[i].
    T* raw() { return v_; }
    const T* raw() const { return v_; }

  private:
    T* v_ = nullptr;
    long n_ = 0;
};

/// Owning index-ranged matrix [1..rows][1..cols]; m[i][j] addresses an element.
template <typename T>
class Macierz {
  public:
    Macierz() = default;
    Macierz(const Macierz&) = delete;
    Macierz& operator=(const Macierz&) = delete;
    Macierz(Macierz&& o) noexcept
        : m_(std::exchange(o.m_, nullptr)),
          rows_(std::exchange(o.rows_, 0)),
          cols_(std::exchange(o.cols_, 0)) {}
    Macierz& operator=(Macierz&& o) noexcept {
        if (this != &o) {
            release();
            m_ = std::exchange(o.m_, nullptr);
            rows_ = std::exchange(o.rows_, 0);
            cols_ = std::exchange(o.cols_, 0);
        }
        return *this;
    }
    ~Macierz() { release(); }

    /// Allocates [1..rows][1..cols] (contents undefined); fatal when memory runs out.
    void allocate(long rows, long cols);
    /// Allocates; returns false and leaves the matrix empty when memory runs out.
    bool try_allocate(long rows, long cols);
    void release();

    bool allocated() const { return m_ != nullptr; }
    long rows() const { return rows_; }
    long cols() const { return cols_; }
    T* operator[](long i) { return m_[i]; }
    const T* operator[](long i) const { return m_[i]; }
    T** raw() { return m_; }

  private:
    T** m_ = nullptr;
    long rows_ = 0;
    long cols_ = 0;
};
