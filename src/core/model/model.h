#pragma once
// The one finite-element model of a bar cross-section: a plane mesh of 3-node triangles,
// one material, one twisting moment and the results of the last computation.

#include "pom_mac.h"

/// Outcome codes of a computation, kept in Model::blad.
enum Blad : int {
    BLAD_BRAK = 0,           ///< success
    BLAD_PIVOT = 1,          ///< system not positive definite: a mesh piece no contour holds
    BLAD_ZDEGENEROWANY = 2,  ///< element of zero area, or a result that is not finite
    BLAD_PAMIEC = 3,         ///< memory for the system or its factor could not be had
    BLAD_GJ = 10,            ///< G·J equals 0
};

/// Every array has lower bound 1. While Pusty = 0 the node arrays (x, si, f, ww) have
/// exactly nn rows when nn > 0 and the element arrays (noc, napr) exactly ne rows when
/// ne > 0; with a count of 0 the matching arrays are not allocated.
struct Model {
    int nn = 0;   ///< number of nodes, numbered 1..nn
    int ne = 0;   ///< number of elements, numbered 1..ne
    int nq = 0;   ///< number of equations (= nn)
    int nbw = 0;  ///< largest half-band (diagonal included) of the node numbering computed

    Macierz<float> x;    ///< [1..nn][1..2] node coordinates X, Y
    Macierz<int> noc;    ///< [1..ne][1..3] corner node numbers, either orientation
    float G = 80000.0f;  ///< shear modulus
    float MS = 1.0f;     ///< twisting moment
    Wektor<float> si;    ///< [1..nq] per-equation load values (stored, not used by the solver)

    Wektor<float> f;      ///< [1..nq] stress function of the unit problem after a computation
    Macierz<float> napr;  ///< [1..ne][1..3] element stresses: tau xz, tau yz, resultant
    Macierz<float> ww;    ///< [1..nq][1..3] smoothed nodal magnitudes and resultant
    float katob = 0.0f;   ///< angle of twist per unit length of the last computation

    int Pusty = 1;      ///< 1 = no project
    int obliczono = 0;  ///< 1 = f, napr, ww, katob belong to the current model
    int blad = 0;       ///< outcome code of the last computation (enum Blad)
    int a_licz = 0;     ///< 1 = recompute after every change
    int id = 0;         ///< 1 = the data listing window is open
    int iw = 0;         ///< 1 = the results listing window is open

    int j_grupa = 0;    ///< 1 = a group of nodes is selected
    Wektor<int> s_grp;  ///< [1..i_grp] node numbers of the selected group
    int i_grp = 0;
};

/// Releases every model array and clears the selection: counts 0, Pusty = 1, obliczono = 0,
/// id = iw = 0. G and MS keep their values. The caller closes listing windows and repaints.
void releaseModel(Model& m);

/// Releases the model and allocates every array afresh for nn nodes and ne elements (the
/// arrays of a zero count stay unallocated): counts set, nq = nn, contents undefined,
/// Pusty = 1 until the caller has filled them.
void allocateModel(Model& m, int nn, int ne);

/// Makes an empty project (counts 0, Pusty = 0) after releasing whatever was there.
void newProject(Model& m);

/// True when counts are not negative, nq = nn, the node and element arrays have at least the
/// rows their counts claim and every corner is a node in 1..nn: the model can be read safely.
bool modelConsistent(const Model& m);
