// The real program on the offscreen platform: frame, menu bar, read-out window, closing.
#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstring>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/okno.h"
#include "app/qt_ui.h"
#include "app/wirtor.h"
#include "app/wsp.h"
#include "scripted_ui.h"
#include "test_models.h"

namespace {

// Drop-down, then its items; "-" is a separator.
const std::vector<std::vector<QString>> kMenu = {
    {"&Plik", "&Nowy", "&Otwórz", "&Zapisz", "Zapisz &Jako", "Zapisz &przekrój...",
     "&Importuj DXF...", "Z&amknij", "-", "Zapisz &wyniki do pliku ", "Zapisz &rysunek...", "-",
     "&Kreator", "-", "&Koniec"},
    {"&Dodaj", "&Węzeł", "&Element", "Prostokąt", "Wycinek pierścienia", "&Obrys...", "&Profil..."},
    {"&Usuń", "&Węzeł", "&Element"},
    {"&Zmień", "&Cofnij", "&Ponów", "-", "&Węzeł", "&Element", "&Materiał", "&Moment skręcający",
     "&Scal węzły", "&Siatka przekroju..."},
    {"&Grupa", "&Przesuń", "&Kopiuj z przesunięciem", "&Usuń"},
    {"&Widok", "&Oblicz", "-", "Naprężenia styczne tau &xz", "Naprężenia styczne tau &yz",
     "Naprężenia styczne &tau", "-", "Numery &elmentów", "Numery &materiałów", "-",
     "Siatka elementów skończonych", "-", "&Węzły", "Numery wę&złów", "-", "&Dopasuj", "-",
     "&Wyniki obliczeń", "&Dane obliczeniowe"},
    {"Us&tawienia", "&Grafika"},
    {"P&omoc", "&O programie..."},
};

std::vector<std::vector<QString>> menuOf(QMenuBar* bar) {
    std::vector<std::vector<QString>> out;
    for (QAction* d : bar->actions()) {
        std::vector<QString> col{d->text()};
        for (QAction* a : d->menu()->actions())
            col.push_back(a->isSeparator() ? "-" : a->text());
        out.push_back(col);
    }
    return out;
}

/// Answers every real message box that opens with `answer`, recording its text.
class BoxAnswerer {
  public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer) : answer_(answer) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == last_) return;
            last_ = box;
            texts.push_back(box->text());
            titles.push_back(box->windowTitle());
            box->button(answer_)->click();
        });
        timer_.start();
    }
    void setAnswer(QMessageBox::StandardButton a) { answer_ = a; }
    QStringList texts, titles;

  private:
    QMessageBox::StandardButton answer_;
    QTimer timer_;
    QMessageBox* last_ = nullptr;
};

TEST(Application, QtsOwnButtonsArePolish) {
    QMessageBox box(QMessageBox::Question, "WIRTOR", "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    auto plain = [&](QMessageBox::StandardButton b) { return box.button(b)->text().remove('&'); };
    EXPECT_EQ(plain(QMessageBox::Yes), "Tak");
    EXPECT_EQ(plain(QMessageBox::No), "Nie");
    EXPECT_EQ(plain(QMessageBox::Cancel), "Anuluj");
    EXPECT_EQ(plain(QMessageBox::Ok), "OK");
}

TEST(Application, FileFiltersBecomeQtNameFilters) {
    EXPECT_EQ(qtFilter("Pliki PANWEL (*.WT)|*.WT|"), "Pliki PANWEL (*.WT)");
    EXPECT_EQ(qtFilter("Pliki wyników PANWEL (*.txt)|*.txt|"), "Pliki wyników PANWEL (*.txt)");
    EXPECT_EQ(qtFilter("Modele|*.WT;*.wt|Wszystkie (*.*)|*.*|"),
              "Modele (*.WT *.wt);;Wszystkie (*.*)");
    EXPECT_EQ(qtFilter("Pliki WIRTOR (*.WT *.wts)|*.WT;*.wts|Pliki PANWEL (*.WT)|*.WT|"
                       "Opis przekroju (*.wts)|*.wts|"),
              "Pliki WIRTOR (*.WT *.wts);;Pliki PANWEL (*.WT);;Opis przekroju (*.wts)");
    EXPECT_EQ(qtFilter(""), "");
}

TEST(Application, StartsWithFrameMenuAndReadOutAndEndsAfterOneQuestion) {
    Model m;
    _WIRTOR_ app(m);
    std::strcpy(app._tytul_, "WIRTOR");
    BoxAnswerer boxes(QMessageBox::No);
    int rc = -1;
    bool checked = false;

    QTimer::singleShot(0, [&] {
        Ramka* frame = app.frame();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(fw, frame);
        EXPECT_TRUE(frame->isMaximized());
        EXPECT_EQ(frame->windowTitle(), "WIRTOR");
        EXPECT_EQ(caption, "WIRTOR");
        EXPECT_EQ(menuOf(frame->menuBar()), kMenu);

        _OKNO_* okno = frame->client();
        EXPECT_EQ(frame->centralWidget(), okno);
        EXPECT_EQ(okno->palette().color(okno->backgroundRole()), QColor(Qt::white));
        ASSERT_NE(okno->wsp, nullptr);
        EXPECT_EQ(okno->wsp->parentWidget(), okno);
        EXPECT_EQ(okno->wsp->geometry(), QRect(400, 10, 110, 100));
        EXPECT_EQ(okno->wsp->windowTitle(), "Współrzędne");
        EXPECT_TRUE(okno->wsp->isVisible());
        EXPECT_EQ(okno->wsp->readOut(), "x=0,       y=0");
        EXPECT_EQ(okno->wsp->xx->text(), "x=0,\ny=0");
        EXPECT_EQ(okno->wsp->xx->size(), QSize(60, 60));

        // Restoring gives the 640 x 400 frame.
        frame->showNormal();
        QApplication::processEvents();
        EXPECT_EQ(frame->size(), QSize(640, 400));

        makeModel(m, 3, 1);
        // First close: No keeps everything; second: Yes ends the program.
        frame->close();
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(m.Pusty, 0);
        EXPECT_EQ(m.nn, 3);
        EXPECT_EQ(boxes.texts.size(), 1);
        boxes.setAnswer(QMessageBox::Yes);
        okno->dispatch(1040);  // "&Koniec"
        checked = true;
    });
    QTimer guard;  // never hang the suite; gone with this test
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(99); });
    guard.start(20000);
    rc = app.Run();

    EXPECT_TRUE(checked);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(boxes.texts,
              QStringList({"Zakończyć działanie programu ?", "Zakończyć działanie programu ?"}));
    EXPECT_EQ(boxes.titles, QStringList({"WIRTOR", "WIRTOR"}));
    EXPECT_EQ(app.frame(), nullptr) << "the frame is destroyed";
    EXPECT_EQ(fw, nullptr);
    EXPECT_EQ(m.Pusty, 1) << "the model is released at exit";
    EXPECT_FALSE(m.x.allocated());
}

TEST(Application, ClosingThroughInjectedUiAsksOncePerClose) {
    Model m;
    ScriptedUi ui;
    _WIRTOR_ app(m, &ui);
    std::strcpy(app._tytul_, "WIRTOR");
    app.InitMainWindow();
    Ramka* frame = app.frame();
    frame->show();
    ui.answer(Answer::No);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    ui.answer(Answer::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(ui.prompts.size(), 2u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.frame(), nullptr);
}

TEST(Application, InterfaceFontIsAProportionalSansSerif) {
    const QFont before = QApplication::font();
    const QString face = installInterfaceFont();
    ASSERT_FALSE(face.isEmpty()) << "Liberation Sans or DejaVu Sans must be installed";
    for (const QFont& f : {QApplication::font(), QFont(QStringLiteral("MS Sans Serif"))}) {
        const QFontInfo info(f);
        EXPECT_EQ(info.family(), face);
        EXPECT_FALSE(info.fixedPitch());
    }
    QApplication::setFont(before);
    QFont::removeSubstitutions(QStringLiteral("MS Sans Serif"));
    QFont::removeSubstitutions(QStringLiteral("Arial"));
}

}  // namespace
