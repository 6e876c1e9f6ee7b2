#pragma once
// Standard section shapes (rolled, hollow and solid) as outlines.

#include <string>
#include <string_view>
#include <vector>

#include "geometry/outline.h"

namespace geometry {

/// The shapes, in the order the profile dialog offers them.
enum class ProfileKind { I, U, L, T, RHS, CHS, Kolo, Elipsa, Wielokat, Trojkat, Prostokat, Wal };

/// One dimension of a kind: its name in the section file and whether it may be left out (0).
struct DimensionInfo {
    const char* name;   ///< "h", "tw", "r1", ...
    bool optional;      ///< a radius that may be 0
    const char* label;  ///< Polish text of the dialog, e.g. "Wysokość h"
};

/// What a kind is called and which dimensions it takes, in the order of the section file.
struct ProfileInfo {
    ProfileKind kind;
    const char* keyword;  ///< word of the section file: "I", "U", "RHS", "kolo", ...
    const char* label;    ///< Polish name in the dialog, e.g. "Dwuteownik (I/H)"
    std::vector<DimensionInfo> dims;
};

/// All kinds, in ProfileKind order.
const std::vector<ProfileInfo>& profileInfos();
/// The description of `kind`.
const ProfileInfo& profileInfo(ProfileKind kind);
/// The description whose keyword is `keyword` (exact spelling); nullptr when none.
const ProfileInfo* findProfile(std::string_view keyword);

/// A placed shape: dimensions in the order of its description, the centre of its bounding box at
/// (x, y), turned by `obrot` degrees counter-clockwise about that point.
struct Profile {
    ProfileKind kind = ProfileKind::Prostokat;
    std::vector<double> dims;
    double x = 0, y = 0, obrot = 0;
};

/// Outlines of a profile (the outer one first, then any inner one, which lies wholly inside
/// it and so is a hole), or the Polish message naming the dimension that makes it
/// impossible ("Grubość półki tf musi być mniejsza niż h/2", ...).
struct ProfileOutlines {
    std::vector<Outline> outlines;
    std::string error;  ///< empty on success
    bool ok() const { return error.empty(); }
};

/// Builds the outlines of `p`; refuses impossible or non-finite dimensions.
ProfileOutlines profileOutlines(const Profile& p);

}  // namespace geometry
