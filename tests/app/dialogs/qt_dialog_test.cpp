#include "app/dialogs/qt_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/dialogs/dialog_session.h"
#include "app/dialogs/field_text.h"
#include "app/records.h"

namespace dialogs {
namespace {

QLineEdit* edit(QWidget* dialog, int id) {
    return dialog->findChild<QLineEdit*>(QString::number(id));
}
QPushButton* button(QWidget* dialog, int id) {
    return dialog->findChild<QPushButton*>(QString::number(id));
}
bool hasLabel(QWidget* dialog, const char* text) {
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (label->text() == QString::fromUtf8(text)) return true;
    return false;
}

// Runs execTemplateDialog while `drive` works the modal dialog from inside its event loop.
bool runModal(int templateId, void* record, std::function<void(QDialog*)> drive) {
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        driven = true;
        drive(dialog);
    });
    const bool ok = execTemplateDialog(nullptr, templateId, record);
    EXPECT_TRUE(driven);
    return ok;
}

TEST(QtDialog, BuildsTheBasicDataDialogFromItsTemplate) {
    d_dane_pods rec{};
    setFieldText(rec.ne, "2");
    setFieldText(rec.nn, "4");
    setFieldText(rec.MS, formatText("%f", 1.0));
    setFieldText(rec.G, formatText("%f", 80000.0));
    DialogSession session(3000, &rec);
    const auto dialog = buildTemplateDialog(nullptr, session);

    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Dane podstawowe"));
    for (const char* label :
         {"Ilość elementów", "Ilość węzłów", "Moment skręcający", "Moduł spr. poprzecznej"})
        EXPECT_TRUE(hasLabel(dialog.get(), label)) << label;
    EXPECT_EQ(dialog->findChildren<QLineEdit*>().size(), 4);
    EXPECT_EQ(dialog->findChildren<QGroupBox*>().size(), 1);
    ASSERT_NE(button(dialog.get(), kIdOk), nullptr);
    EXPECT_TRUE(button(dialog.get(), kIdOk)->isDefault());
    EXPECT_EQ(button(dialog.get(), kIdCancel)->text(), QString::fromUtf8("Anuluj"));
    EXPECT_EQ(edit(dialog.get(), 3006)->text(), "80000.000000");  // shown whole

    const QSize units = dialogUnitsToPixels(dialog->font(), 159, 102);
    EXPECT_GE(dialog->width(), units.width());
    EXPECT_GE(dialog->height(), units.height());
}

TEST(QtDialog, TypingFollowsTheLimitAndTheDigitsFlag) {
    d_dane_pods rec{};
    setFieldText(rec.ne, "2");
    setFieldText(rec.G, formatText("%f", 80000.0));
    DialogSession session(3000, &rec);
    const auto dialog = buildTemplateDialog(nullptr, session);
    dialog->show();

    QLineEdit* ne = edit(dialog.get(), 3001);
    ne->end(false);
    QTest::keyClicks(ne, "34567x8");  // letter refused, then the eighth character
    EXPECT_EQ(ne->text(),
              "234567"
              "8");
    QTest::keyClicks(ne, "9");
    EXPECT_EQ(ne->text(), "2345678");

    QLineEdit* g = edit(dialog.get(), 3006);
    g->setFocus();
    g->end(false);
    QTest::keyClick(g, Qt::Key_1);  // a long text is not lengthened
    EXPECT_EQ(g->text(), "80000.000000");
    QTest::keyClick(g, Qt::Key_Backspace);
    EXPECT_EQ(g->text(), "80000.00000");
    QTest::keyClick(g, Qt::Key_1);  // nor brought back to its old length
    EXPECT_EQ(g->text(), "80000.00000");
    g->selectAll();
    QTest::keyClicks(g, "7,5");  // a decimal comma
    EXPECT_EQ(g->text(), "7,5");
    EXPECT_EQ(session.text(3006), "7,5");
    dialog->hide();
}

// Undo and redo bypass QLineEdit's validator; whatever they bring back, OK stores what is shown.
TEST(QtDialog, UndoAndRedoNeverShowATextOkWouldNotStore) {
    d_dane_pods rec{};
    setFieldText(rec.ne, "2");
    setFieldText(rec.G, formatText("%f", 80000.0));
    DialogSession session(3000, &rec);
    const auto dialog = buildTemplateDialog(nullptr, session);
    dialog->show();

    QLineEdit* g = edit(dialog.get(), 3006);
    g->setFocus();
    g->selectAll();
    QTest::keyClicks(g, "5");
    QTest::keyClick(g, Qt::Key_Z, Qt::ControlModifier);  // would bring back the 12 characters
    EXPECT_EQ(g->text().toStdString(), session.text(3006));
    EXPECT_EQ(g->text().toStdString(), "5");

    QLineEdit* ne = edit(dialog.get(), 3001);
    ne->setFocus();
    ne->end(false);
    QTest::keyClicks(ne, "3");
    QTest::keyClick(ne, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(ne, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ne->text().toStdString(), session.text(3001));

    session.commit();
    EXPECT_EQ(rec.G, g->text().toStdString());
    EXPECT_EQ(rec.ne, ne->text().toStdString());
    dialog->hide();
}

TEST(QtDialog, OkCopiesTypedTextsAndChecksBack) {
    d_dane_graf rec{};
    setFieldText(rec.iizo, "200");
    rec.ladne = 1;
    rec.przelicz = 0;
    const bool ok = runModal(3110, &rec, [](QDialog* dialog) {
        QLineEdit* levels = edit(dialog, 8500);
        levels->selectAll();
        QTest::keyClicks(levels, "12x");
        QTest::mouseClick(dialog->findChild<QCheckBox*>("8600"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QCheckBox*>("8610"), Qt::LeftButton);
        QTest::mouseClick(button(dialog, kIdOk), Qt::LeftButton);
    });
    EXPECT_TRUE(ok);
    EXPECT_STREQ(rec.iizo, "12x");
    EXPECT_EQ(rec.ladne, 0);
    EXPECT_EQ(rec.przelicz, 1);
}

TEST(QtDialog, CancelAndEscapeLeaveTheRecordUnchanged) {
    d_wsp rec{};
    setFieldText(rec.i, "1");
    setFieldText(rec.x, "0.0000");
    setFieldText(rec.y, "0.0000");
    d_wsp before = rec;
    EXPECT_FALSE(runModal(3020, &rec, [](QDialog* dialog) {
        edit(dialog, 8500)->selectAll();
        QTest::keyClicks(edit(dialog, 8500), "5");
        QTest::mouseClick(button(dialog, kIdCancel), Qt::LeftButton);
    }));
    EXPECT_EQ(std::memcmp(&rec, &before, sizeof rec), 0);

    d_nr nr{};
    setFieldText(nr.i, "0");
    setFieldText(nr.nap, "Podaj numer elementu :");
    EXPECT_FALSE(runModal(3100, &nr, [](QDialog* dialog) {
        EXPECT_EQ(button(dialog, kIdCancel), nullptr);
        EXPECT_EQ(dialog->findChild<QLabel*>("8700")->text(),
                  QString::fromUtf8("Podaj numer elementu :"));
        QTest::keyClicks(edit(dialog, 8004), "3");
        QTest::keyClick(dialog, Qt::Key_Escape);
    }));
    EXPECT_STREQ(nr.i, "0");
}

TEST(QtDialog, EnterAcceptsThroughTheDefaultButton) {
    d_nr nr{};
    setFieldText(nr.i, "0");
    setFieldText(nr.nap, "Podaj numer węzła :");
    EXPECT_TRUE(runModal(3100, &nr, [](QDialog* dialog) {
        QLineEdit* number = edit(dialog, 8004);
        EXPECT_EQ(number->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        number->selectAll();
        QTest::keyClicks(number, "4");
        QTest::keyClick(number, Qt::Key_Return);
    }));
    EXPECT_STREQ(nr.i, "4");
}

TEST(QtDialog, KeyboardAloneFillsTheFieldsFromTheFirstEditableOne) {
    struct Case {
        int templateId;
        int first;  ///< the edit focused at the start
    } const cases[] = {{3020, 8500}, {3010, 8500}, {3100, 8004}, {3050, 8500}, {3150, 8500}};
    for (const Case& c : cases) {
        d_dane_mac record{};  // the largest record of these dialogs
        DialogSession session(c.templateId, &record);
        const auto dialog = buildTemplateDialog(nullptr, session);
        EXPECT_EQ(dialog->focusWidget(), edit(dialog.get(), c.first)) << c.templateId;
    }

    d_wsp wsp{};
    setFieldText(wsp.i, "6");
    setFieldText(wsp.x, "0.0000");
    setFieldText(wsp.y, "0.0000");
    EXPECT_TRUE(runModal(3020, &wsp, [](QDialog* dialog) {
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClicks(dialog->focusWidget(), "2,5");
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(dialog->focusWidget(), "-1");
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    }));
    EXPECT_STREQ(wsp.i, "6");
    EXPECT_STREQ(wsp.x, "2,5");
    EXPECT_STREQ(wsp.y, "-1");
}

TEST(QtDialog, GroupFramesAndReadOnlyFieldsAreBuilt) {
    d_dane_mac mac{};
    DialogSession session(3150, &mac);
    const auto dialog = buildTemplateDialog(nullptr, session);
    QStringList titles;
    for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
        titles << box->title();
    EXPECT_EQ(titles.size(), 4);
    EXPECT_TRUE(titles.contains(QString::fromUtf8("Liczba składowych prostokątów")));
    ASSERT_NE(dialog->findChild<QGroupBox*>("103"), nullptr);
    EXPECT_EQ(dialog->findChild<QGroupBox*>("103")->findChildren<QCheckBox*>().size(), 2);
    EXPECT_TRUE(hasLabel(dialog.get(), "Punkt początkowy obszaru"));

    d_dane_przek przek{};
    DialogSession elementSession(3010, &przek);
    const auto elementDialog = buildTemplateDialog(nullptr, elementSession);
    EXPECT_TRUE(edit(elementDialog.get(), 8004)->isReadOnly());
    EXPECT_FALSE(edit(elementDialog.get(), 8500)->isReadOnly());
}

// The outline table: rows shown from the record, edited, added, inserted and deleted with its
// buttons; OK stores the rows as lines of tab-separated cells.
TEST(QtDialog, TableRowsAreEditedThroughItsButtonsAndStoredOnOk) {
    auto rec = std::make_unique<d_obrys>();
    clearRecord(*rec);
    setFieldText(rec->punkty, "1 2 3\n4 5");
    const bool ok = runModal(3300, rec.get(), [](QDialog* dialog) {
        auto* table = dialog->findChild<QTableWidget*>("8400");
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(dialog->focusWidget(), table);
        ASSERT_EQ(table->rowCount(), 2);
        ASSERT_EQ(table->columnCount(), 3);
        EXPECT_EQ(table->horizontalHeaderItem(2)->text(), "R");
        EXPECT_EQ(table->item(1, 1)->text(), "5");
        EXPECT_EQ(table->item(1, 2)->text(), "");
        table->item(1, 2)->setText("-2,5");
        QTest::mouseClick(dialog->findChild<QPushButton*>("8400.dodaj"), Qt::LeftButton);
        ASSERT_EQ(table->rowCount(), 3);
        table->item(2, 0)->setText("7");
        table->item(2, 1)->setText("8");
        table->setCurrentCell(0, 0);
        QTest::mouseClick(dialog->findChild<QPushButton*>("8400.wstaw"), Qt::LeftButton);
        ASSERT_EQ(table->rowCount(), 4);
        EXPECT_EQ(table->item(1, 0)->text(), "1");
        table->setCurrentCell(2, 1);  // the row "4 5 -2,5"
        QTest::mouseClick(dialog->findChild<QPushButton*>("8400.usun"), Qt::LeftButton);
        ASSERT_EQ(table->rowCount(), 3);
        dialog->findChild<QCheckBox*>("8600")->click();
        edit(dialog, 8500)->setText("2,5");
        QTest::mouseClick(button(dialog, kIdOk), Qt::LeftButton);
    });
    EXPECT_TRUE(ok);
    EXPECT_STREQ(rec->punkty, "\n1\t2\t3\n7\t8\t");
    EXPECT_EQ(rec->otwor, 1);
    EXPECT_STREQ(rec->siatka, "2,5");
}

TEST(QtDialog, EmptyTableOffersRowsAndCancelKeepsTheRecord) {
    auto rec = std::make_unique<d_obrys>();
    clearRecord(*rec);
    EXPECT_FALSE(runModal(3300, rec.get(), [](QDialog* dialog) {
        auto* table = dialog->findChild<QTableWidget*>("8400");
        EXPECT_GE(table->rowCount(), 3);
        table->item(0, 0)->setText("9");
        QTest::mouseClick(button(dialog, kIdCancel), Qt::LeftButton);
    }));
    EXPECT_STREQ(rec->punkty, "");
}

TEST(QtDialog, ChoiceListsItsEntriesAndSketchShowsAPicture) {
    d_profil_rodzaj rodzaj{2};
    EXPECT_TRUE(runModal(3310, &rodzaj, [](QDialog* dialog) {
        auto* box = dialog->findChild<QComboBox*>("8900");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->count(), kProfileKinds);
        EXPECT_EQ(box->currentIndex(), 2);
        EXPECT_EQ(box->itemText(0), QString::fromUtf8("Dwuteownik (I/H)"));
        box->setCurrentIndex(5);
        QTest::mouseClick(button(dialog, kIdOk), Qt::LeftButton);
    }));
    EXPECT_EQ(rodzaj.rodzaj, 5);

    d_profil profil{};
    DialogSession session(kWymiaryDialog + 5, &profil);
    const auto dialog = buildTemplateDialog(nullptr, session);
    auto* sketch = dialog->findChild<QLabel*>(QString::number(kSketchBase + 5));
    ASSERT_NE(sketch, nullptr);
    EXPECT_FALSE(sketch->pixmap().isNull());
    EXPECT_TRUE(hasLabel(dialog.get(), "Średnica zewnętrzna d"));
    EXPECT_TRUE(hasLabel(dialog.get(), "Obrót [°]"));
}

TEST(QtDialog, UnknownTemplateShowsNothing) {
    d_wsp rec{};
    EXPECT_FALSE(execTemplateDialog(nullptr, 4242, &rec));
    EXPECT_FALSE(execTemplateDialog(nullptr, 3020, nullptr));
}

}  // namespace
}  // namespace dialogs
