#include "app/dialogs/dialog_templates.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/records.h"
#include "geometry/profile.h"

namespace dialogs {
namespace {

// One bound control as "id field kind[,ro][,dg][,ra] label", kinds E edit, C check, L label,
// T table, W choice.
std::string describeBound(const DialogTemplate& t) {
    std::string out;
    for (const ControlSpec& c : t.controls) {
        if (!isBound(c.kind)) continue;
        if (!out.empty()) out += "; ";
        out += std::to_string(c.id) + " " + c.field + " ";
        switch (c.kind) {
            case ControlKind::Edit:
                out += "E";
                break;
            case ControlKind::Check:
                out += "C";
                break;
            case ControlKind::Table:
                out += "T";
                break;
            case ControlKind::Choice:
                out += "W";
                break;
            default:
                out += "L";
        }
        if (c.flags & kReadOnly) out += ",ro";
        if (c.flags & kDigits) out += ",dg";
        if (c.flags & kRightAlign) out += ",ra";
        out += std::string(" ") + c.label;
    }
    return out;
}

// Static texts and frames in layout order: "h:text" for a heading, "f<id>:heading" for a frame
// where the controls enter it.
std::string describeStatic(const DialogTemplate& t) {
    std::string out;
    int frame = -1;
    for (const ControlSpec& c : t.controls) {
        if (c.frame != frame && c.frame >= 0) {
            const FrameSpec& f = t.frames[static_cast<std::size_t>(c.frame)];
            out += "[f" + std::to_string(f.id) + ":" + f.heading + "]";
        }
        frame = c.frame;
        if (c.kind == ControlKind::Heading) out += std::string("[h:") + c.label + "]";
    }
    return out;
}

struct CatalogueRow {
    int id;
    const char* title;
    int width, height;
    const char* className;
    const char* record;
    std::size_t recordBytes;
    bool cancel;
    const char* bound;
    const char* statics;
};

class TemplateCatalogue : public ::testing::TestWithParam<CatalogueRow> {};

TEST_P(TemplateCatalogue, TemplateMatchesCatalogueRow) {
    const CatalogueRow& row = GetParam();
    const DialogTemplate* t = findTemplate(row.id);
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t->title, row.title);
    EXPECT_EQ(t->width, row.width);
    EXPECT_EQ(t->height, row.height);
    EXPECT_STREQ(t->className, row.className);
    EXPECT_STREQ(t->record, row.record);
    EXPECT_EQ(recordSize(*t), row.recordBytes);
    EXPECT_EQ(t->hasCancel, row.cancel);
    EXPECT_EQ(describeBound(*t), row.bound);
    EXPECT_EQ(describeStatic(*t), row.statics);
    EXPECT_EQ(t->fontPoints, row.id == 3500 ? 10 : 8);
}

INSTANTIATE_TEST_SUITE_P(
    AllDialogs, TemplateCatalogue,
    ::testing::Values(
        CatalogueRow{3000, "Dane podstawowe", 159, 102, "_D_DANE_PODS", "d_dane_pods",
                     sizeof(d_dane_pods), true,
                     "3001 ne E,dg Ilość elementów; 3002 nn E,dg Ilość węzłów; "
                     "3005 MS E Moment skręcający; 3006 G E Moduł spr. poprzecznej",
                     "[f0:]"},
        CatalogueRow{3010, "Parametry elementów trójkątnych", 113, 118, "_D_DANE_PRZ",
                     "d_dane_przek", sizeof(d_dane_przek), true,
                     "8004 ee E,ro Numer elementu; 8500 w1 E Węzeł 1; 8501 w2 E Węzeł 2; "
                     "8502 w3 E Węzeł 3",
                     ""},
        CatalogueRow{3020, "Współrzędne węzłów", 140, 97, "_D_DANE_WSP", "d_wsp", sizeof(d_wsp),
                     true, "8004 i E,ro Węzeł; 8500 x E Współrzędna X; 8501 y E Współrzędna Y", ""},
        CatalogueRow{3030, "Wymuszone przesuniecia", 221, 108, "_D_DANE_WYM", "d_wymusz",
                     sizeof(d_wymusz), true,
                     "8004 i E,ro Numer podpory; 8500 nu E,dg Numer węzła; "
                     "8501 x E w kierunku X; 8502 y E w kierunku Y; "
                     "8600 chx C w kierunku X; 8610 chy C w kierunku Y",
                     "[f0:Maksymalne przemieszczenie][f0:Utwierdzenie]"},
        CatalogueRow{3040, "Obciążenie węzłów siłami", 172, 89, "", "", 0, true,
                     "8004  E,ro Numer kolejny węzła z siłą; 8500  E,dg Numer węzła; "
                     "8501  E Wartość siły w kierunku X; 8502  E Wartość siły w kierunku Y",
                     ""},
        CatalogueRow{3050, "Dane materiału", 140, 45, "_D_DANE_MAT", "d_mat", sizeof(d_mat), true,
                     "8500 G E Moduł spr. poprzecznej", ""},
        CatalogueRow{3060, "Pola przekrojów", 109, 74, "_D_DANE_PRZEKR", "d_przekr",
                     sizeof(d_przekr), true, "8004 i E,ro,dg Numer przekroju; 8500 a E,dg Przekrój",
                     ""},
        CatalogueRow{3100, "Zmiany", 87, 48, "_D_DANE_NR", "d_nr", sizeof(d_nr), false,
                     "8004 i E,dg,ra ; 8700 nap L,ra Numer", ""},
        CatalogueRow{3110, "Ustawienia", 237, 74, "_D_DANE_GRAF", "d_dane_graf",
                     sizeof(d_dane_graf), true,
                     "8500 iizo E Liczba poziomów naprężeń (1-200); "
                     "8600 ladne C Kolory ciągłe/skokowe; "
                     "8610 przelicz C Automatyczne przeliczanie projektu",
                     "[f0:][f0:]"},
        CatalogueRow{3120, "Kopiuj grupę z przemieszczeniem", 229, 84, "_D_DANE_KOP", "d_dane_kop",
                     sizeof(d_dane_kop), true,
                     "8500 px E Odległość w kierunku X; 8501 py E Odległość w kierunku Y; "
                     "8600 wezly C Węzły; 8610 elementy C Elementy; 101 sily C Siły; "
                     "102 podpory C Podpory",
                     "[h:Podaj odległości oraz wybierz obiekty do kopiowania]"},
        CatalogueRow{3130, "Przemieszczenie grupy", 161, 70, "_D_DANE_PRZZ", "d_dane_prz",
                     sizeof(d_dane_prz), true,
                     "8500 px E Odległość w kierunku X; 8501 py E Odległość w kierunku Y", ""},
        CatalogueRow{3140, "Kasowanie grupy", 141, 110, "_D_DANE_DOOM", "d_dane_doom",
                     sizeof(d_dane_doom), true,
                     "8500 we E,ro Węzłów; 8501 el E,ro Elementów; 8502 po E,ro Podpór w węzłąch; "
                     "8503 si E,ro Sił w węzłąch",
                     "[h:Zostanie skasowanych :]"},
        CatalogueRow{3150, "Macierz elementów", 187, 165, "_D_DANE_MACELE", "d_dane_mac",
                     sizeof(d_dane_mac), true,
                     "8500 px E,ra x; 8501 py E,ra y; 8502 dx E,ra x; 8503 dy E,ra y; "
                     "8507 ix E w osi x; 8506 iy E w osi y; 8505 ma E Numer materiału; "
                     "8600 opt C Optymalizacja lokalna węzłów; 8610 p4 C Podział na 4 elementy",
                     "[f0:][h:Punkt początkowy obszaru][h:Wymiary obszaru]"
                     "[f0:Liczba składowych prostokątów][f0:][f103:]"},
        CatalogueRow{3160, "Grubość", 121, 46, "_D_DANE_GRUBOSC", "da_grubosc", sizeof(da_grubosc),
                     true, "8500 gr E Grubość", ""},
        CatalogueRow{3170, "Wycinek pierścienia", 187, 218, "_D_DANE_PIERSCIEN", "d_dane_pierscien",
                     sizeof(d_dane_pierscien), true,
                     "8500 px E,ra x; 8501 py E,ra y; 8502 rz E,ra Promień zewnętrzny; "
                     "8503 rw E,ra Promień wewnętrzny; 8507 kp E,ra Kąt początkowy (wzg. osi x); "
                     "8506 kk E,ra Kąt końcowy (wzg. osi x); 8505 ix E w osi; "
                     "8504 iy E wokół pierścienia; 8508 ma E Numer materiału; "
                     "8600 opt C Optymalizacja lokalna węzłów; 8610 p4 C Podział na 4 elementy",
                     "[f0:][h:Wsp. środka pierścienia][f0:Liczba składowych prostokątów][f0:]"
                     "[f103:]"},
        CatalogueRow{3190, "Obciążenie", 140, 45, "_D_DANE_SIL", "d_sily", sizeof(d_sily), true,
                     "8500 MS E Moment skręcający", ""},
        CatalogueRow{3200, "Zapisz rysunek", 140, 70, "_D_DANE_RYS", "d_rysunek", sizeof(d_rysunek),
                     true, "8500 szer E,dg Szerokość; 8501 wys E,dg Wysokość",
                     "[h:Rozmiar rysunku w pikselach]"},
        CatalogueRow{3300, "Obrys", 240, 260, "", "d_obrys", sizeof(d_obrys), true,
                     "8400 punkty T ; 8600 otwor C Otwór (odjęty od przekroju); "
                     "8500 siatka E Największy bok elementu",
                     "[h:Punkty obrysu; R – promień łuku do następnego punktu]"
                     "[h:(0 – odcinek, R > 0 – łuk przeciwnie do ruchu wskazówek zegara, "
                     "R < 0 – zgodnie)][h:Jeden wiersz: okrąg o środku X, Y i promieniu R]"
                     "[h:Puste pole: rozmiar dobrany automatycznie]"},
        CatalogueRow{3310, "Profil", 160, 40, "", "d_profil_rodzaj", sizeof(d_profil_rodzaj), true,
                     "8900 rodzaj W Kształt", ""},
        CatalogueRow{3340, "Siatka przekroju", 160, 50, "", "d_siatka", sizeof(d_siatka), true,
                     "8500 siatka E Największy bok elementu",
                     "[h:Puste pole: rozmiar dobrany automatycznie]"},
        CatalogueRow{3350, "Importuj DXF", 180, 60, "", "d_dxf", sizeof(d_dxf), true,
                     "8500 skala E Skala; 8501 warstwa E Warstwa (puste = wszystkie)",
                     "[h:Współrzędne rysunku są mnożone przez skalę]"},
        CatalogueRow{3500, "O programie", 278, 114, "", "", 0, true, "",
                     "[h:WIRTOR][h:WIRTOR v1.0]"}),
    [](const ::testing::TestParamInfo<CatalogueRow>& info) {
        return "Dialog" + std::to_string(info.param.id);
    });

TEST(TemplateTable, HoldsEveryDialogOnceInIdOrder) {
    std::set<int> ids;
    int previous = 0;
    for (const DialogTemplate& t : allTemplates()) {
        EXPECT_GT(t.id, previous);
        previous = t.id;
        ids.insert(t.id);
    }
    std::set<int> expected{3000, 3010, 3020, 3030, 3040, 3050, 3060, 3100, 3110, 3120, 3130,
                           3140, 3150, 3160, 3170, 3190, 3200, 3300, 3310, 3340, 3350, 3500};
    for (int k = 0; k < kProfileKinds; ++k)
        expected.insert(kWymiaryDialog + k);
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(findTemplate(3070), nullptr);
}

TEST(TemplateTable, BoundControlsHaveDistinctIdsAndFieldsOfTheirKindSize) {
    for (const DialogTemplate& t : allTemplates()) {
        std::set<int> seen;
        for (const ControlSpec& c : t.controls) {
            if (!isBound(c.kind)) continue;
            EXPECT_TRUE(seen.insert(c.id).second) << t.id << " control " << c.id;
            // The DXF layer: names of drawings run longer than numbers.
            const int expectedLimit =
                c.kind == ControlKind::RecordLabel   ? 40
                : t.id == kDxfDialog && c.id == 8501 ? static_cast<int>(sizeof(d_dxf::warstwa))
                : c.kind == ControlKind::Table       ? static_cast<int>(sizeof(d_obrys::punkty))
                : t.id < 3300                        ? 8
                                                     : 16;
            if (!holdsInt(c.kind)) {
                EXPECT_EQ(c.textLimit, expectedLimit) << t.id << " " << c.id;
            }
            if (c.frame >= 0) {
                EXPECT_LT(static_cast<std::size_t>(c.frame), t.frames.size());
            }
        }
        // No control id may be taken by the buttons.
        EXPECT_FALSE(seen.count(kIdOk) || seen.count(kIdCancel)) << t.id;
    }
}

// The profile dialogs follow the core's kinds: the choice lists them in order, and each kind's
// dimension dialog shows its sketch, its dimensions under their labels in the file's order,
// and binds them into the last fields of the one record.
TEST(TemplateTable, ProfileDialogsFollowTheKindsAndTheirDimensions) {
    const auto& kinds = geometry::profileInfos();
    ASSERT_EQ(kinds.size(), static_cast<std::size_t>(kProfileKinds));
    const ControlSpec& choice = findTemplate(kProfilDialog)->controls[0];
    ASSERT_EQ(choice.items.size(), kinds.size());
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        SCOPED_TRACE(kinds[k].label);
        EXPECT_STREQ(choice.items[k], kinds[k].label);
        const DialogTemplate* t = findTemplate(kWymiaryDialog + static_cast<int>(k));
        ASSERT_NE(t, nullptr);
        EXPECT_STREQ(t->title, kinds[k].label);
        EXPECT_STREQ(t->record, "d_profil");
        EXPECT_EQ(recordSize(*t), sizeof(d_profil));
        ASSERT_EQ(t->controls[0].kind, ControlKind::Sketch);
        EXPECT_EQ(t->controls[0].id, kSketchBase + static_cast<int>(k));
        std::string dims, expectedDims;
        for (const ControlSpec& c : t->controls)
            if (c.id >= 8500 && c.id < 8510) dims += std::string(c.label) + ";";
        for (const geometry::DimensionInfo& d : kinds[k].dims)
            expectedDims += std::string(d.label) + ";";
        EXPECT_EQ(dims, expectedDims);
        const std::size_t n = kinds[k].dims.size();
        for (std::size_t i = 0; i < n; ++i)
            EXPECT_EQ(fieldOffset(*t, 8500 + static_cast<int>(i)),
                      static_cast<std::ptrdiff_t>(offsetof(d_profil, w) + 16 * (5 - n + i)));
        EXPECT_EQ(
            describeBound(*t).substr(describeBound(*t).find("8510")),
            "8510 x E,ra x; 8511 y E,ra y; 8512 obrot E,ra Obrót [°]; "
            "8513 siatka E Największy bok elementu; 8600 otwor C Otwór (odjęty od przekroju)");
    }
}

}  // namespace
}  // namespace dialogs
