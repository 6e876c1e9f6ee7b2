#include <string_view>

#include "geometry/profile.h"

namespace geometry {

const std::vector<ProfileInfo>& profileInfos() {
    using K = ProfileKind;
    static const std::vector<ProfileInfo> infos = {
        {K::I,
         "I",
         "Dwuteownik (I/H)",
         {{"h", false, "Wysokość h"},
          {"b", false, "Szerokość b"},
          {"tw", false, "Grubość środnika tw"},
          {"tf", false, "Grubość półki tf"},
          {"r", true, "Promień zaokrąglenia r"}}},
        {K::U,
         "U",
         "Ceownik (U)",
         {{"h", false, "Wysokość h"},
          {"b", false, "Szerokość b"},
          {"tw", false, "Grubość środnika tw"},
          {"tf", false, "Grubość półki tf"},
          {"r", true, "Promień zaokrąglenia r"}}},
        {K::L,
         "L",
         "Kątownik (L)",
         {{"h", false, "Wysokość h"},
          {"b", false, "Szerokość b"},
          {"t", false, "Grubość t"},
          {"r1", true, "Promień wewnętrzny r1"},
          {"r2", true, "Promień na końcach ramion r2"}}},
        {K::T,
         "T",
         "Teownik (T)",
         {{"h", false, "Wysokość h"},
          {"b", false, "Szerokość b"},
          {"tw", false, "Grubość środnika tw"},
          {"tf", false, "Grubość półki tf"},
          {"r", true, "Promień zaokrąglenia r"}}},
        {K::RHS,
         "RHS",
         "Rura prostokątna (RHS)",
         {{"h", false, "Wysokość h"},
          {"b", false, "Szerokość b"},
          {"t", false, "Grubość ścianki t"},
          {"r", true, "Promień zewnętrzny naroży r"}}},
        {K::CHS,
         "CHS",
         "Rura okrągła (CHS)",
         {{"d", false, "Średnica zewnętrzna d"}, {"t", false, "Grubość ścianki t"}}},
        {K::Kolo, "kolo", "Koło", {{"d", false, "Średnica d"}}},
        {K::Elipsa,
         "elipsa",
         "Elipsa",
         {{"a", false, "Półoś a (wzdłuż x)"}, {"b", false, "Półoś b (wzdłuż y)"}}},
        {K::Wielokat,
         "wielokat",
         "Wielokąt foremny",
         {{"n", false, "Liczba boków n"}, {"s", false, "Rozstaw boków s"}}},
        {K::Trojkat, "trojkat", "Trójkąt równoboczny", {{"a", false, "Bok a"}}},
        {K::Prostokat,
         "prostokat",
         "Prostokąt",
         {{"b", false, "Szerokość b"}, {"h", false, "Wysokość h"}}},
        {K::Wal,
         "wal",
         "Wał z rowkiem wpustowym",
         {{"d", false, "Średnica d"},
          {"b", false, "Szerokość rowka b"},
          {"t", false, "Głębokość rowka t"}}},
    };
    return infos;
}

const ProfileInfo& profileInfo(ProfileKind kind) {
    return profileInfos()[static_cast<std::size_t>(kind)];
}

const ProfileInfo* findProfile(std::string_view keyword) {
    for (const ProfileInfo& s : profileInfos())
        if (keyword == s.keyword) return &s;
    return nullptr;
}

}  // namespace geometry
