#pragma once
// Section properties of the meshed polygon: area, centroid, second moments, principal axes,
// and from the warping function the shear centre (Trefftz) and the warping constant.

#include <vector>

#include "model/model.h"
#include "solver/quadratic_mesh.h"

struct SectionProperties {
    double A = 0;                    ///< area
    double xc = 0, yc = 0;           ///< centroid
    double Ix = 0, Iy = 0, Ixy = 0;  ///< ∫y² dA, ∫x² dA, ∫xy dA about the centroid
    double I1 = 0, I2 = 0;           ///< principal moments, I1 ≥ I2
    /// Angle of the axis of I1 from the x axis, degrees in (−90, 90]; 0 when every axis is
    /// principal (Ix = Iy and Ixy = 0 to a millionth).
    double alfa = 0;
    double xs = 0, ys = 0;  ///< shear centre, in the model's coordinates
    double Iw = 0;          ///< warping constant about the shear centre
};

/// Area, centroid, centroidal and principal moments, exact for the mesh's triangles. Elements
/// of either orientation count with their area.
SectionProperties areaProperties(const Model& m);

/// Fills xs, ys and Iw of p (whose area terms come from areaProperties) from ω, the warping
/// function about the centroid: with Ixω = ∫xω dA, Iyω = ∫yω dA about the centroid and
/// D = Ix·Iy − Ixy², xs − xc = (Ixy·Ixω − Iy·Iyω)/D, ys − yc = (Ix·Ixω − Ixy·Iyω)/D, and
/// Iw = ∫ωs² dA − (∫ωs dA)²/A for ωs = ω − (ys − yc)·x + (xs − xc)·y, the warping function
/// about the shear centre (equal to ∫ω² − (∫ω)²/A − (ys − yc)·Ixω + (xs − xc)·Iyω).
void addWarpingProperties(const Model& m, const QuadraticMesh& q, const std::vector<double>& omega,
                          SectionProperties& p);
