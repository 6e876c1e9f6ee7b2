// The group commands through a scripted Ui: their dialogs, the refusal of a copy without
// nodes, the deletion question, listings closed and no automatic computation.
#include <gtest/gtest.h>

#include <vector>

#include "app/okno.h"
#include "edit/selection.h"
#include "scripted_ui.h"
#include "test_models.h"

namespace {

class GroupCommands : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    void SetUp() override {
        makeSquare(m);                                                 // 3 x 3 nodes, 8 elements
        ASSERT_EQ(selectNodesInRect(m, -0.5f, -0.5f, 1.5f, 0.5f), 2);  // nodes 1 and 2
        m.a_licz = 1;
        m.obliczono = 1;
        okno.dispatch(1140);  // a data listing is open
    }
};

TEST_F(GroupCommands, MoveAndCopyStartFromZeroCloseListingsAndNeverCompute) {
    ui.dialog(3130, [](dialogs::DialogSession& d) {
        EXPECT_EQ(d.text(8500), "0.00");
        EXPECT_EQ(d.text(8501), "0.00");
        return d.type(8500, "-0,5");
    });
    okno.dispatch(51698);
    EXPECT_EQ(m.x[2][1], 0.5f);
    EXPECT_EQ(m.id, 0);
    EXPECT_EQ(m.obliczono, 0);

    ui.dialog(3120, [](dialogs::DialogSession& d) {
        for (int id : {8600, 8610, 101, 102})
            EXPECT_TRUE(d.checked(id)) << id;
        return d.type(8501, "3");
    });
    okno.dispatch(51697);
    EXPECT_EQ(m.nn, 11);
    EXPECT_EQ(m.ne, 8) << "no element lies wholly in a two-node group";
    EXPECT_EQ(m.x[11][2], 3.0f);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.j_grupa, 1);
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(GroupCommands, CopyWithoutNodesIsRefusedWithItsMessage) {
    ui.dialog(3120, [](dialogs::DialogSession& d) { return d.setChecked(8600, false); });
    ui.answer(Answer::Ok);
    okno.dispatch(51697);
    EXPECT_EQ(ui.prompts, std::vector<Prompt>{
                              ask("Nie można przeprowadzić kopiowania, jeśli nie zaznaczono węzłów "
                                  "jako obiektów",
                                  "Błąd podczas kopiowania", Buttons::Ok, Icon::None)});
    EXPECT_EQ(m.nn, 9);
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_EQ(m.id, 1);
}

TEST_F(GroupCommands, DeletionShowsWhatGoesThenAsksAndDeletesOnYesOnly) {
    const Prompt pewien =
        ask("Czy jesteś pewien ?", "Kasowanie grupy", Buttons::YesNo, Icon::Question);
    ASSERT_EQ(selectNodesInRect(m, -0.5f, 1.5f, 2.5f, 2.5f), 3);  // the top row
    for (Answer a : {Answer::No, Answer::Yes}) {
        ui.dialog(3140, [](dialogs::DialogSession& d) {
            EXPECT_EQ(d.text(8500), "3");
            EXPECT_EQ(d.text(8501), "4");  // the upper row of cells
            return true;
        });
        ui.answer(a);
        okno.dispatch(51699);
    }
    EXPECT_EQ(ui.prompts, (std::vector<Prompt>{pewien, pewien}));
    EXPECT_EQ(m.nn, 6);
    EXPECT_EQ(m.ne, 4);
    EXPECT_EQ(m.j_grupa, 0);
    EXPECT_EQ(m.obliczono, 1) << "recomputed after the deletion";
}

}  // namespace
