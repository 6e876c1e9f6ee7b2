#include "app/dialogs/dialog_templates.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "app/records.h"

namespace dialogs {
namespace {

using K = ControlKind;

constexpr ControlSpec edit(int id, const char* field, const char* label, unsigned flags = 0,
                           int frame = -1) {
    return {id, K::Edit, field, label, flags, frame, 8};
}
constexpr ControlSpec check(int id, const char* field, const char* label, unsigned flags = 0,
                            int frame = -1) {
    return {id, K::Check, field, label, flags, frame, 8};
}
constexpr ControlSpec heading(const char* text, unsigned flags = 0, int frame = -1) {
    return {0, K::Heading, "", text, flags, frame, 0};
}
// The edits of the section dialogs take longer numbers.
constexpr ControlSpec number(int id, const char* field, const char* label, unsigned flags = 0,
                             int frame = -1) {
    return {id, K::Edit, field, label, flags, frame, 16};
}

constexpr ControlSpec c3000[] = {
    edit(3001, "ne", "Ilość elementów", kDigits, 0),
    edit(3002, "nn", "Ilość węzłów", kDigits, 0),
    edit(3005, "MS", "Moment skręcający", 0, 0),
    edit(3006, "G", "Moduł spr. poprzecznej", 0, 0),
};
constexpr FrameSpec f3000[] = {{0, ""}};

constexpr ControlSpec c3010[] = {
    edit(8004, "ee", "Numer elementu", kReadOnly),
    edit(8500, "w1", "Węzeł 1"),
    edit(8501, "w2", "Węzeł 2"),
    edit(8502, "w3", "Węzeł 3"),
};

constexpr ControlSpec c3020[] = {
    edit(8004, "i", "Węzeł", kReadOnly),
    edit(8500, "x", "Współrzędna X"),
    edit(8501, "y", "Współrzędna Y"),
};

constexpr ControlSpec c3030[] = {
    edit(8004, "i", "Numer podpory", kReadOnly), edit(8500, "nu", "Numer węzła", kDigits),
    edit(8501, "x", "w kierunku X", 0, 0),       edit(8502, "y", "w kierunku Y", 0, 0),
    check(8600, "chx", "w kierunku X", 0, 1),    check(8610, "chy", "w kierunku Y", 0, 1),
};
constexpr FrameSpec f3030[] = {{0, "Maksymalne przemieszczenie"}, {0, "Utwierdzenie"}};

constexpr ControlSpec c3040[] = {
    edit(8004, "", "Numer kolejny węzła z siłą", kReadOnly),
    edit(8500, "", "Numer węzła", kDigits),
    edit(8501, "", "Wartość siły w kierunku X"),
    edit(8502, "", "Wartość siły w kierunku Y"),
};

constexpr ControlSpec c3050[] = {
    edit(8500, "G", "Moduł spr. poprzecznej"),
};

constexpr ControlSpec c3060[] = {
    edit(8004, "i", "Numer przekroju", kReadOnly | kDigits),
    edit(8500, "a", "Przekrój", kDigits),
};

constexpr ControlSpec c3100[] = {
    edit(8004, "i", "", kDigits | kRightAlign),
    {8700, K::RecordLabel, "nap", "Numer", kRightAlign, -1, 40},
};

constexpr ControlSpec c3110[] = {
    edit(8500, "iizo", "Liczba poziomów naprężeń (1-200)", 0, 0),
    check(8600, "ladne", "Kolory ciągłe/skokowe", kSameRow, 0),
    check(8610, "przelicz", "Automatyczne przeliczanie projektu", 0, 1),
};
constexpr FrameSpec f3110[] = {{0, ""}, {0, ""}};

constexpr ControlSpec c3120[] = {
    heading("Podaj odległości oraz wybierz obiekty do kopiowania"),
    edit(8500, "px", "Odległość w kierunku X"),
    edit(8501, "py", "Odległość w kierunku Y"),
    check(8600, "wezly", "Węzły"),
    check(8610, "elementy", "Elementy", kSameRow),
    check(101, "sily", "Siły", kSameRow),
    check(102, "podpory", "Podpory", kSameRow),
};

constexpr ControlSpec c3130[] = {
    edit(8500, "px", "Odległość w kierunku X"),
    edit(8501, "py", "Odległość w kierunku Y"),
};

constexpr ControlSpec c3140[] = {
    heading("Zostanie skasowanych :"),
    edit(8500, "we", "Węzłów", kReadOnly),
    edit(8501, "el", "Elementów", kReadOnly),
    edit(8502, "po", "Podpór w węzłąch", kReadOnly),
    edit(8503, "si", "Sił w węzłąch", kReadOnly),
};

constexpr ControlSpec c3150[] = {
    heading("Punkt początkowy obszaru", 0, 0),
    edit(8500, "px", "x", kRightAlign | kSameRow, 0),
    edit(8501, "py", "y", kRightAlign | kSameRow, 0),
    heading("Wymiary obszaru", 0, 0),
    edit(8502, "dx", "x", kRightAlign | kSameRow, 0),
    edit(8503, "dy", "y", kRightAlign | kSameRow, 0),
    edit(8507, "ix", "w osi x", 0, 1),
    edit(8506, "iy", "w osi y", 0, 1),
    edit(8505, "ma", "Numer materiału", 0, 2),
    check(8600, "opt", "Optymalizacja lokalna węzłów", 0, 3),
    check(8610, "p4", "Podział na 4 elementy", 0, 3),
};
constexpr FrameSpec f3150[] = {{0, ""}, {0, "Liczba składowych prostokątów"}, {0, ""}, {103, ""}};

constexpr ControlSpec c3160[] = {
    edit(8500, "gr", "Grubość"),
};

constexpr ControlSpec c3170[] = {
    heading("Wsp. środka pierścienia", 0, 0),
    edit(8500, "px", "x", kRightAlign | kSameRow, 0),
    edit(8501, "py", "y", kRightAlign | kSameRow, 0),
    edit(8502, "rz", "Promień zewnętrzny", kRightAlign, 0),
    edit(8503, "rw", "Promień wewnętrzny", kRightAlign, 0),
    edit(8507, "kp", "Kąt początkowy (wzg. osi x)", kRightAlign, 0),
    edit(8506, "kk", "Kąt końcowy (wzg. osi x)", kRightAlign, 0),
    edit(8505, "ix", "w osi", 0, 1),
    edit(8504, "iy", "wokół pierścienia", 0, 1),
    edit(8508, "ma", "Numer materiału", 0, 2),
    check(8600, "opt", "Optymalizacja lokalna węzłów", 0, 3),
    check(8610, "p4", "Podział na 4 elementy", 0, 3),
};
constexpr FrameSpec f3170[] = {{0, ""}, {0, "Liczba składowych prostokątów"}, {0, ""}, {103, ""}};

constexpr ControlSpec c3190[] = {
    edit(8500, "MS", "Moment skręcający"),
};

constexpr ControlSpec c3200[] = {
    heading("Rozmiar rysunku w pikselach"),
    edit(8500, "szer", "Szerokość", kDigits),
    edit(8501, "wys", "Wysokość", kDigits),
};

constexpr const char* kAutomatycznie = "Puste pole: rozmiar dobrany automatycznie";
constexpr const char* kNajwiekszyBok = "Największy bok elementu";
constexpr const char* kOtwor = "Otwór (odjęty od przekroju)";

constexpr const char* kObrysColumns[] = {"X", "Y", "R"};
constexpr ControlSpec c3300[] = {
    heading("Punkty obrysu; R – promień łuku do następnego punktu"),
    heading("(0 – odcinek, R > 0 – łuk przeciwnie do ruchu wskazówek zegara, R < 0 – zgodnie)"),
    heading("Jeden wiersz: okrąg o środku X, Y i promieniu R"),
    {8400, K::Table, "punkty", "", 0, -1, static_cast<int>(sizeof(d_obrys::punkty)), kObrysColumns},
    check(8600, "otwor", kOtwor),
    number(8500, "siatka", kNajwiekszyBok),
    heading(kAutomatycznie),
};

// Names of the kinds in ProfileKind order, as geometry::profileInfos() gives them.
constexpr const char* kProfileLabels[] = {
    "Dwuteownik (I/H)",       "Ceownik (U)",         "Kątownik (L)", "Teownik (T)",
    "Rura prostokątna (RHS)", "Rura okrągła (CHS)",  "Koło",         "Elipsa",
    "Wielokąt foremny",       "Trójkąt równoboczny", "Prostokąt",    "Wał z rowkiem wpustowym",
};
static_assert(std::size(kProfileLabels) == kProfileKinds);
constexpr ControlSpec c3310[] = {
    {8900, K::Choice, "rodzaj", "Kształt", 0, -1, 0, kProfileLabels},
};

// A dimension dialog: the kind's sketch, its dimensions (edits 8500 on), then the placement,
// the element size and the hole switch.
constexpr ControlSpec dimension(int k, const char* label) {
    return number(8500 + k, "w", label, kRightAlign, 0);
}
#define WIRTOR_PROFILE(name, kind, ...)                      \
    constexpr ControlSpec name[] = {                         \
        {kSketchBase + (kind), K::Sketch, "", "", 0, -1, 0}, \
        __VA_ARGS__,                                         \
        number(8510, "x", "x", kRightAlign, 1),              \
        number(8511, "y", "y", kRightAlign | kSameRow, 1),   \
        number(8512, "obrot", "Obrót [°]", kRightAlign, 1),  \
        number(8513, "siatka", kNajwiekszyBok, 0, 2),        \
        heading(kAutomatycznie, 0, 2),                       \
        check(8600, "otwor", kOtwor, 0, 2),                  \
    }
WIRTOR_PROFILE(c3320, 0, dimension(0, "Wysokość h"), dimension(1, "Szerokość b"),
               dimension(2, "Grubość środnika tw"), dimension(3, "Grubość półki tf"),
               dimension(4, "Promień zaokrąglenia r"));
WIRTOR_PROFILE(c3321, 1, dimension(0, "Wysokość h"), dimension(1, "Szerokość b"),
               dimension(2, "Grubość środnika tw"), dimension(3, "Grubość półki tf"),
               dimension(4, "Promień zaokrąglenia r"));
WIRTOR_PROFILE(c3322, 2, dimension(0, "Wysokość h"), dimension(1, "Szerokość b"),
               dimension(2, "Grubość t"), dimension(3, "Promień wewnętrzny r1"),
               dimension(4, "Promień na końcach ramion r2"));
WIRTOR_PROFILE(c3323, 3, dimension(0, "Wysokość h"), dimension(1, "Szerokość b"),
               dimension(2, "Grubość środnika tw"), dimension(3, "Grubość półki tf"),
               dimension(4, "Promień zaokrąglenia r"));
WIRTOR_PROFILE(c3324, 4, dimension(0, "Wysokość h"), dimension(1, "Szerokość b"),
               dimension(2, "Grubość ścianki t"), dimension(3, "Promień zewnętrzny naroży r"));
WIRTOR_PROFILE(c3325, 5, dimension(0, "Średnica zewnętrzna d"), dimension(1, "Grubość ścianki t"));
WIRTOR_PROFILE(c3326, 6, dimension(0, "Średnica d"));
WIRTOR_PROFILE(c3327, 7, dimension(0, "Półoś a (wzdłuż x)"), dimension(1, "Półoś b (wzdłuż y)"));
WIRTOR_PROFILE(c3328, 8, dimension(0, "Liczba boków n"), dimension(1, "Rozstaw boków s"));
WIRTOR_PROFILE(c3329, 9, dimension(0, "Bok a"));
WIRTOR_PROFILE(c3330, 10, dimension(0, "Szerokość b"), dimension(1, "Wysokość h"));
WIRTOR_PROFILE(c3331, 11, dimension(0, "Średnica d"), dimension(1, "Szerokość rowka b"),
               dimension(2, "Głębokość rowka t"));
#undef WIRTOR_PROFILE
constexpr FrameSpec fProfil[] = {
    {0, "Wymiary"}, {0, "Położenie środka prostokąta opisanego"}, {0, ""}};

/// Dimensions a dimension dialog binds: its edits before the placement.
template <std::size_t N>
constexpr int dimensionCount(const ControlSpec (&)[N]) {
    return static_cast<int>(N) - 7;
}
/// A kind of n dimensions fills the last n of the five fields of d_profil::w.
template <std::size_t N>
constexpr std::size_t dimensionOffset(const ControlSpec (&controls)[N]) {
    return sizeof d_profil::w[0] * static_cast<std::size_t>(5 - dimensionCount(controls));
}

constexpr ControlSpec c3340[] = {
    number(8500, "siatka", kNajwiekszyBok),
    heading(kAutomatycznie),
};

constexpr ControlSpec c3350[] = {
    heading("Współrzędne rysunku są mnożone przez skalę"),
    number(8500, "skala", "Skala"),
    {8501, K::Edit, "warstwa", "Warstwa (puste = wszystkie)", 0, -1,
     static_cast<int>(sizeof(d_dxf::warstwa))},
};

constexpr ControlSpec c3500[] = {
    heading("WIRTOR"),
    heading("WIRTOR v1.0"),
};

constexpr DialogTemplate kTemplates[] = {
    {3000, "Dane podstawowe", 159, 102, 8, "_D_DANE_PODS", "d_dane_pods", 0, c3000, f3000, true},
    {3010,
     "Parametry elementów trójkątnych",
     113,
     118,
     8,
     "_D_DANE_PRZ",
     "d_dane_przek",
     0,
     c3010,
     {},
     true},
    {3020, "Współrzędne węzłów", 140, 97, 8, "_D_DANE_WSP", "d_wsp", 0, c3020, {}, true},
    {3030, "Wymuszone przesuniecia", 221, 108, 8, "_D_DANE_WYM", "d_wymusz", 0, c3030, f3030, true},
    {3040, "Obciążenie węzłów siłami", 172, 89, 8, "", "", 0, c3040, {}, true},
    {3050,
     "Dane materiału",
     140,
     45,
     8,
     "_D_DANE_MAT",
     "d_mat",
     offsetof(d_mat, G),
     c3050,
     {},
     true},
    {3060, "Pola przekrojów", 109, 74, 8, "_D_DANE_PRZEKR", "d_przekr", 0, c3060, {}, true},
    {3100, "Zmiany", 87, 48, 8, "_D_DANE_NR", "d_nr", 0, c3100, {}, false},
    {3110, "Ustawienia", 237, 74, 8, "_D_DANE_GRAF", "d_dane_graf", 0, c3110, f3110, true},
    {3120,
     "Kopiuj grupę z przemieszczeniem",
     229,
     84,
     8,
     "_D_DANE_KOP",
     "d_dane_kop",
     0,
     c3120,
     {},
     true},
    {3130, "Przemieszczenie grupy", 161, 70, 8, "_D_DANE_PRZZ", "d_dane_prz", 0, c3130, {}, true},
    {3140, "Kasowanie grupy", 141, 110, 8, "_D_DANE_DOOM", "d_dane_doom", 0, c3140, {}, true},
    {3150, "Macierz elementów", 187, 165, 8, "_D_DANE_MACELE", "d_dane_mac", 0, c3150, f3150, true},
    {3160, "Grubość", 121, 46, 8, "_D_DANE_GRUBOSC", "da_grubosc", 0, c3160, {}, true},
    {3170, "Wycinek pierścienia", 187, 218, 8, "_D_DANE_PIERSCIEN", "d_dane_pierscien", 0, c3170,
     f3170, true},
    {3190, "Obciążenie", 140, 45, 8, "_D_DANE_SIL", "d_sily", 0, c3190, {}, true},
    {3200, "Zapisz rysunek", 140, 70, 8, "_D_DANE_RYS", "d_rysunek", 0, c3200, {}, true},
    {3300, "Obrys", 240, 260, 8, "", "d_obrys", 0, c3300, {}, true},
    {3310, "Profil", 160, 40, 8, "", "d_profil_rodzaj", 0, c3310, {}, true},
#define WIRTOR_PROFILE(id, title) \
    { id, title, 180, 200, 8, "", "d_profil", dimensionOffset(c##id), c##id, fProfil, true }
    WIRTOR_PROFILE(3320, "Dwuteownik (I/H)"),
    WIRTOR_PROFILE(3321, "Ceownik (U)"),
    WIRTOR_PROFILE(3322, "Kątownik (L)"),
    WIRTOR_PROFILE(3323, "Teownik (T)"),
    WIRTOR_PROFILE(3324, "Rura prostokątna (RHS)"),
    WIRTOR_PROFILE(3325, "Rura okrągła (CHS)"),
    WIRTOR_PROFILE(3326, "Koło"),
    WIRTOR_PROFILE(3327, "Elipsa"),
    WIRTOR_PROFILE(3328, "Wielokąt foremny"),
    WIRTOR_PROFILE(3329, "Trójkąt równoboczny"),
    WIRTOR_PROFILE(3330, "Prostokąt"),
    WIRTOR_PROFILE(3331, "Wał z rowkiem wpustowym"),
#undef WIRTOR_PROFILE
    {3340, "Siatka przekroju", 160, 50, 8, "", "d_siatka", 0, c3340, {}, true},
    {3350, "Importuj DXF", 180, 60, 8, "", "d_dxf", 0, c3350, {}, true},
    {3500, "O programie", 278, 114, 10, "", "", 0, c3500, {}, true},
};

constexpr const DialogTemplate* lookup(int id) {
    for (const DialogTemplate& t : kTemplates)
        if (t.id == id) return &t;
    return nullptr;
}

constexpr bool hasRecord(const DialogTemplate& t) {
    return t.record[0] != '\0';
}

constexpr std::ptrdiff_t offsetIn(const DialogTemplate& t, int controlId) {
    if (!hasRecord(t)) return -1;
    std::size_t offset = t.recordOffset;
    for (const ControlSpec& c : t.controls) {
        if (!isBound(c.kind)) continue;
        if (c.id == controlId) return static_cast<std::ptrdiff_t>(offset);
        offset += fieldSize(c);
    }
    return -1;
}

constexpr std::size_t sizeOf(const DialogTemplate& t) {
    if (!hasRecord(t)) return 0;
    std::size_t size = t.recordOffset;
    for (const ControlSpec& c : t.controls)
        if (isBound(c.kind)) size += fieldSize(c);
    return size;
}

constexpr std::ptrdiff_t at(int templateId, int controlId) {
    return offsetIn(*lookup(templateId), controlId);
}
constexpr std::size_t size(int templateId) {
    return sizeOf(*lookup(templateId));
}

// The layout the templates derive must be the layout of the structs the commands fill.
#define WIRTOR_FIELD(tid, cid, rec, member) \
    static_assert(at(tid, cid) == static_cast<std::ptrdiff_t>(offsetof(rec, member)))

static_assert(size(3000) == sizeof(d_dane_pods));
WIRTOR_FIELD(3000, 3001, d_dane_pods, ne);
WIRTOR_FIELD(3000, 3002, d_dane_pods, nn);
WIRTOR_FIELD(3000, 3005, d_dane_pods, MS);
WIRTOR_FIELD(3000, 3006, d_dane_pods, G);

static_assert(size(3010) == sizeof(d_dane_przek));
WIRTOR_FIELD(3010, 8004, d_dane_przek, ee);
WIRTOR_FIELD(3010, 8500, d_dane_przek, w1);
WIRTOR_FIELD(3010, 8501, d_dane_przek, w2);
WIRTOR_FIELD(3010, 8502, d_dane_przek, w3);

static_assert(size(3020) == sizeof(d_wsp));
WIRTOR_FIELD(3020, 8004, d_wsp, i);
WIRTOR_FIELD(3020, 8500, d_wsp, x);
WIRTOR_FIELD(3020, 8501, d_wsp, y);

static_assert(size(3030) == sizeof(d_wymusz));
WIRTOR_FIELD(3030, 8004, d_wymusz, i);
WIRTOR_FIELD(3030, 8500, d_wymusz, nu);
WIRTOR_FIELD(3030, 8501, d_wymusz, x);
WIRTOR_FIELD(3030, 8502, d_wymusz, y);
WIRTOR_FIELD(3030, 8600, d_wymusz, chx);
WIRTOR_FIELD(3030, 8610, d_wymusz, chy);

static_assert(size(3040) == 0);

static_assert(size(3050) == sizeof(d_mat));
WIRTOR_FIELD(3050, 8500, d_mat, G);

static_assert(size(3060) == sizeof(d_przekr));
WIRTOR_FIELD(3060, 8004, d_przekr, i);
WIRTOR_FIELD(3060, 8500, d_przekr, a);

static_assert(size(3100) == sizeof(d_nr));
WIRTOR_FIELD(3100, 8004, d_nr, i);
WIRTOR_FIELD(3100, 8700, d_nr, nap);

static_assert(size(3110) == sizeof(d_dane_graf));
WIRTOR_FIELD(3110, 8500, d_dane_graf, iizo);
WIRTOR_FIELD(3110, 8600, d_dane_graf, ladne);
WIRTOR_FIELD(3110, 8610, d_dane_graf, przelicz);

static_assert(size(3120) == sizeof(d_dane_kop));
WIRTOR_FIELD(3120, 8500, d_dane_kop, px);
WIRTOR_FIELD(3120, 8501, d_dane_kop, py);
WIRTOR_FIELD(3120, 8600, d_dane_kop, wezly);
WIRTOR_FIELD(3120, 8610, d_dane_kop, elementy);
WIRTOR_FIELD(3120, 101, d_dane_kop, sily);
WIRTOR_FIELD(3120, 102, d_dane_kop, podpory);

static_assert(size(3130) == sizeof(d_dane_prz));
WIRTOR_FIELD(3130, 8500, d_dane_prz, px);
WIRTOR_FIELD(3130, 8501, d_dane_prz, py);

static_assert(size(3140) == sizeof(d_dane_doom));
WIRTOR_FIELD(3140, 8500, d_dane_doom, we);
WIRTOR_FIELD(3140, 8501, d_dane_doom, el);
WIRTOR_FIELD(3140, 8502, d_dane_doom, po);
WIRTOR_FIELD(3140, 8503, d_dane_doom, si);

static_assert(size(3150) == sizeof(d_dane_mac));
WIRTOR_FIELD(3150, 8500, d_dane_mac, px);
WIRTOR_FIELD(3150, 8501, d_dane_mac, py);
WIRTOR_FIELD(3150, 8502, d_dane_mac, dx);
WIRTOR_FIELD(3150, 8503, d_dane_mac, dy);
WIRTOR_FIELD(3150, 8507, d_dane_mac, ix);
WIRTOR_FIELD(3150, 8506, d_dane_mac, iy);
WIRTOR_FIELD(3150, 8505, d_dane_mac, ma);
WIRTOR_FIELD(3150, 8600, d_dane_mac, opt);
WIRTOR_FIELD(3150, 8610, d_dane_mac, p4);

static_assert(size(3160) == sizeof(da_grubosc));
WIRTOR_FIELD(3160, 8500, da_grubosc, gr);

static_assert(size(3170) == sizeof(d_dane_pierscien));
WIRTOR_FIELD(3170, 8500, d_dane_pierscien, px);
WIRTOR_FIELD(3170, 8501, d_dane_pierscien, py);
WIRTOR_FIELD(3170, 8502, d_dane_pierscien, rz);
WIRTOR_FIELD(3170, 8503, d_dane_pierscien, rw);
WIRTOR_FIELD(3170, 8507, d_dane_pierscien, kp);
WIRTOR_FIELD(3170, 8506, d_dane_pierscien, kk);
WIRTOR_FIELD(3170, 8505, d_dane_pierscien, ix);
WIRTOR_FIELD(3170, 8504, d_dane_pierscien, iy);
WIRTOR_FIELD(3170, 8508, d_dane_pierscien, ma);
WIRTOR_FIELD(3170, 8600, d_dane_pierscien, opt);
WIRTOR_FIELD(3170, 8610, d_dane_pierscien, p4);

static_assert(size(3190) == sizeof(d_sily));
WIRTOR_FIELD(3190, 8500, d_sily, MS);

static_assert(size(3200) == sizeof(d_rysunek));
WIRTOR_FIELD(3200, 8500, d_rysunek, szer);
WIRTOR_FIELD(3200, 8501, d_rysunek, wys);

static_assert(size(3300) == sizeof(d_obrys));
WIRTOR_FIELD(3300, 8400, d_obrys, punkty);
WIRTOR_FIELD(3300, 8600, d_obrys, otwor);
WIRTOR_FIELD(3300, 8500, d_obrys, siatka);

static_assert(size(3310) == sizeof(d_profil_rodzaj));
WIRTOR_FIELD(3310, 8900, d_profil_rodzaj, rodzaj);

/// Every dimension dialog lays out the whole d_profil, its n dimensions in the last n fields.
constexpr bool profileLayout(int id) {
    const DialogTemplate& t = *lookup(id);
    int n = 0;
    for (const ControlSpec& c : t.controls)
        if (c.id >= 8500 && c.id < 8505) ++n;
    if (n < 1 || sizeOf(t) != sizeof(d_profil)) return false;
    for (int k = 0; k < n; ++k)
        if (at(id, 8500 + k) != static_cast<std::ptrdiff_t>(offsetof(d_profil, w) +
                                                            sizeof d_profil::w[0] * (5 - n + k)))
            return false;
    return at(id, 8510) == static_cast<std::ptrdiff_t>(offsetof(d_profil, x)) &&
           at(id, 8511) == static_cast<std::ptrdiff_t>(offsetof(d_profil, y)) &&
           at(id, 8512) == static_cast<std::ptrdiff_t>(offsetof(d_profil, obrot)) &&
           at(id, 8513) == static_cast<std::ptrdiff_t>(offsetof(d_profil, siatka)) &&
           at(id, 8600) == static_cast<std::ptrdiff_t>(offsetof(d_profil, otwor)) &&
           t.controls[0].kind == K::Sketch && t.controls[0].id == kSketchBase + id - kWymiaryDialog;
}
constexpr bool allProfileLayouts() {
    for (int k = 0; k < kProfileKinds; ++k)
        if (!profileLayout(kWymiaryDialog + k)) return false;
    return true;
}
static_assert(allProfileLayouts());

static_assert(size(3340) == sizeof(d_siatka));
WIRTOR_FIELD(3340, 8500, d_siatka, siatka);

static_assert(size(3350) == sizeof(d_dxf));
WIRTOR_FIELD(3350, 8500, d_dxf, skala);
WIRTOR_FIELD(3350, 8501, d_dxf, warstwa);

static_assert(size(3500) == 0);

#undef WIRTOR_FIELD

}  // namespace

std::span<const DialogTemplate> allTemplates() {
    return kTemplates;
}

const DialogTemplate* findTemplate(int id) {
    return lookup(id);
}

std::ptrdiff_t fieldOffset(const DialogTemplate& t, int controlId) {
    return offsetIn(t, controlId);
}

std::size_t recordSize(const DialogTemplate& t) {
    return sizeOf(t);
}

}  // namespace dialogs
