#include "app/okno.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <filesystem>

#include "app/globals.h"
#include "app/menu.h"
#include "app/qt_ui.h"
#include "app/wsp.h"
#include "edit/selection.h"
#include "model/model_file.h"
#include "model/report.h"
#include "solver/driver.h"
#include "solver/summary.h"
#include "view/listing_window.h"
#include "view/paint_model.h"

namespace {

const char* const kWirtor = "WIRTOR";
const char* const kBladDysku = "Błąd operacji dyskowej";
const char* const kZapisano = "Plik zapisano poprawnie";
/// The open dialog offers model files and section files together, and each kind alone.
const char* const kFiltrOtwarcia =
    "Pliki WIRTOR (*.WT *.wts)|*.WT;*.wts|Pliki PANWEL (*.WT)|*.WT|"
    "Opis przekroju (*.wts)|*.wts|";

/// A section file is told by its extension, in any case.
bool plikPrzekroju(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".wts";
}

/// The program's own Ui: a repaint request also marks the cached picture stale.
class OknoUi : public QtUi {
  public:
    explicit OknoUi(_OKNO_* owner) : QtUi(owner), owner_(owner) {}
    void requestRepaint() override { owner_->invalidatePicture(); }

  private:
    _OKNO_* owner_;
};

}  // namespace

_OKNO_::_OKNO_(Model& model, Ui* injected, QWidget* parent)
    : QWidget(parent),
      m(model),
      ui(injected ? *injected : *(ownUi_ = std::make_unique<OknoUi>(this))) {
    setObjectName("_OKNO_");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    _plik_.flags = 0x1000;
    _plik_.filter = "Pliki PANWEL (*.WT)|*.WT|";
    _plik_.defaultExt = "WT";
    _pliktxt_.flags = 0x1000;
    _pliktxt_.filter = "Pliki wyników PANWEL (*.txt)|*.txt|";
    _pliktxt_.defaultExt = "txt";
    _plikrys_.filter = "Rysunek PNG (*.png)|*.png|Rysunek SVG (*.svg)|*.svg|";
    _plikrys_.defaultExt = "png";
    _plikprz_.flags = 0;
    _plikprz_.filter = "Opis przekroju (*.wts)|*.wts|";
    _plikprz_.defaultExt = "wts";
    przygotuj_profile();

    p_wez = p_przem = p_n_wezl = p_siatka = 1;
    p_sily = p_sily_nr = p_podp = p_napr = p_n_ele = p_n_mat = p_n_pola = 0;

    m.obliczono = 0;
    m.a_licz = 0;
    m.j_grupa = 0;
    m.iw = m.id = 0;
    iizol = 200;
    p_skok = 1;
    p_rn = 3;
    Pasek_kol();

    wsp = new _WSP_(this);
    // The read-out follows the pointer without a button held too.
    setMouseTracking(true);

    m.Pusty = 1;
    m.G = 80000.0f;
    m.MS = 1.0f;
}

void _OKNO_::Pasek_kol() {
    knapr = stressPalette(p_skok);
}

_OKNO_::~_OKNO_() {
    // The window is going away: no caption or repaint any more. The listings go first,
    // while the flags that say they are open still stand.
    zamknij_listy();
    if (m.Pusty == 0) releaseModel(m);
}

void _OKNO_::invalidatePicture() {
    pictureStale_ = true;
    update();
}

void _OKNO_::rebuildPicture() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const qreal dpr = devicePixelRatioF();
    picture_ = QImage(size() * dpr, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(dpr);
    // What the window's background erase leaves: a paint without a project draws nothing.
    picture_.fill(Qt::white);

    {
        QPainter p(&picture_);
        paintModel(p, size(), m, viewOptions(), mapping);
    }
    pictureStale_ = false;
    ++pictureBuilds_;
    QApplication::restoreOverrideCursor();
}

ViewOptions _OKNO_::viewOptions() const {
    ViewOptions o;
    o.p_napr = p_napr;
    o.p_siatka = p_siatka;
    o.p_wez = p_wez;
    o.p_n_wezl = p_n_wezl;
    o.p_n_ele = p_n_ele;
    o.p_n_pola = p_n_pola;
    o.p_podp = p_podp;
    o.p_sily = p_sily;
    o.p_sily_nr = p_sily_nr;
    o.p_rn = p_rn;
    o.iizol = iizol;
    o.knapr = &knapr;
    return o;
}

void _OKNO_::paintEvent(QPaintEvent*) {
    if (pictureStale_ || picture_.deviceIndependentSize().toSize() != size() ||
        picture_.devicePixelRatio() != devicePixelRatioF())
        rebuildPicture();
    QPainter p(this);
    p.drawImage(0, 0, picture_);
    // The rubber band lies over the picture, so dragging never redraws the picture.
    if (w_grup == 1) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        const QPoint band[] = {{pgx, pgy}, {pgxx, pgy}, {pgxx, pgyy}, {pgx, pgyy}, {pgx, pgy}};
        p.drawPolyline(band, 5);
    }
}

void _OKNO_::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) EvLButtonDown(event->position().toPoint());
    if (event->button() == Qt::MiddleButton) EvMButtonDown(event->position().toPoint());
}

void _OKNO_::mouseMoveEvent(QMouseEvent* event) {
    EvMouseMove(event->position().toPoint());
}

void _OKNO_::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) EvLButtonUp(event->position().toPoint());
    if (event->button() == Qt::MiddleButton) EvMButtonUp(event->position().toPoint());
}

void _OKNO_::wheelEvent(QWheelEvent* event) {
    // 120 units make one notch; fine-grained wheels add up until they reach one.
    wheelRest_ += event->angleDelta().y();
    const int steps = wheelRest_ / 120;
    wheelRest_ -= steps * 120;
    if (steps != 0) EvMouseWheel(event->position().toPoint(), steps);
    event->accept();
}

void _OKNO_::EvMouseWheel(QPoint point, int steps) {
    if (m.Pusty != 0) return;
    mapping.zoomAt(static_cast<float>(point.x()), static_cast<float>(point.y()), steps);
    ui.requestRepaint();
}

void _OKNO_::EvMButtonDown(QPoint point) {
    panning_ = true;
    panFrom_ = point;
    setCursor(Qt::ClosedHandCursor);
}

void _OKNO_::EvMButtonUp(QPoint) {
    panning_ = false;
    unsetCursor();
}

void _OKNO_::EvLButtonDown(QPoint point) {
    if (zajety_) return;  // a group is a change of the project
    w_grup = 1;
    pgx = point.x();
    pgy = point.y();
    pgxx = pgx + 1;
    pgyy = pgy + 1;
    setCursor(Qt::CrossCursor);
}

void _OKNO_::EvMouseMove(QPoint point) {
    if (panning_ && point != panFrom_) {
        if (m.Pusty == 0) {
            mapping.pan(static_cast<float>(point.x() - panFrom_.x()),
                        static_cast<float>(point.y() - panFrom_.y()));
            // Moves between two paints add up and draw one picture.
            ui.requestRepaint();
        }
        panFrom_ = point;
    }
    const float wx = mapping.toModelX(static_cast<float>(point.x()));
    const float wy = mapping.toModelY(static_cast<float>(point.y()));
    const int el = nodeUnderPointer(m, wx, wy, 5.0f / mapping.scaleX(), 5.0f / mapping.scaleY());
    if (w_grup == 1) {
        pgxx = point.x();
        pgyy = point.y();
        update();
    }
    wsp->setReadOut(QString::fromStdString(readOutText(m, wx, wy, el, p_napr, p_rn)));
}

void _OKNO_::EvLButtonUp(QPoint) {
    const bool dragged = w_grup == 1;
    w_grup = 0;
    unsetCursor();
    // A release not preceded by a press here (it began elsewhere) selects nothing new.
    if (!dragged) return;
    const bool hadGroup = m.j_grupa == 1;
    const ViewMapping& map = mapping;
    const int n = selectNodesInRect(
        m, map.toModelX(static_cast<float>(pgx)), map.toModelY(static_cast<float>(pgy)),
        map.toModelX(static_cast<float>(pgxx)), map.toModelY(static_cast<float>(pgyy)));
    // The group marks are part of the picture: draw it afresh when they change.
    if (hadGroup || n > 0)
        invalidatePicture();
    else
        update();  // erase the rubber band
}

void _OKNO_::resizeEvent(QResizeEvent*) {
    // The next paint finds the picture's size stale and draws it afresh.
    update();
}

QString _OKNO_::statusText() const {
    return QString::fromStdString(statusLine(m, ostatnie_ ? &*ostatnie_ : nullptr));
}

void _OKNO_::odswiez_status() {
    if (zmieniony() != znak_) pokaz_tytul();
    const QString text = statusText();
    if (text == status_) return;
    status_ = text;
    emit statusChanged(text);
}

bool _OKNO_::edycja(Edycja e, const std::function<bool()>& zmiana) {
    const int pusty = m.Pusty;
    const int obliczono = m.obliczono;
    // The state before the change, to keep what the change alters as an undo step.
    std::optional<history::ModelState> przed;
    if (e.historia && m.Pusty == 0) przed = history::capture(m, {przekroj_, siatkaZPrzekroju_});
    if (e.przebudowa) {
        m.obliczono = 0;
        m.Pusty = 1;
    }
    const bool changed = zmiana();
    if (changed) {
        if (e.siatka) siatkaZPrzekroju_ = false;
        if (przed)
            historia_.record(polecenie_, *przed, m, {przekroj_, siatkaZPrzekroju_});
        else if (e.historia)
            nowa_historia(false);  // a project made from nothing: unsaved, nothing to undo
        ostatnie_.reset();
        // Listings read the model when they paint; none may outlive the change.
        zamknij_listy();
        m.Pusty = 0;
        m.obliczono = 0;
        if (e.oblicz && m.a_licz == 1) Obliczenia();
    } else {
        m.Pusty = pusty;
        m.obliczono = obliczono;
    }
    ui.requestRepaint();
    odswiez_status();
    return changed;
}

bool _OKNO_::zmieniony() const {
    return m.Pusty == 0 && historia_.state() != zapisany_;
}

void _OKNO_::pokaz_tytul() {
    znak_ = zmieniony();
    ui.setCaption(znak_ ? caption + " *" : caption);
}

void _OKNO_::nowa_historia(bool zapisany) {
    const std::uint64_t bylo = historia_.state();
    historia_.clear();
    zapisany_ = zapisany ? historia_.state() : bylo;
}

void _OKNO_::krok(bool wstecz) {
    if (m.Pusty != 0 || !(wstecz ? historia_.canUndo() : historia_.canRedo())) return;
    ui.setWaitCursor(true);
    edycja({.siatka = false, .historia = false}, [&] {
        history::SectionState s{przekroj_, siatkaZPrzekroju_};
        // A model that is not the state the step left (never expected) drops the history.
        if (!(wstecz ? historia_.undo(m, s) : historia_.redo(m, s))) return true;
        przekroj_ = s.opis;
        siatkaZPrzekroju_ = s.siatkaZOpisu;
        return true;
    });
    ui.setWaitCursor(false);
}

void _OKNO_::Cm_Cofnij() {
    krok(true);
}

void _OKNO_::Cm_Ponow() {
    krok(false);
}

void _OKNO_::zamknij_listy() {
    // Every listing goes, not only the newest in dd and oo: an older one left open would
    // outlive this window or show a model that is no longer there.
    zamknijListy(m);
}

bool _OKNO_::CanClose() {
    // The computation's thread reads the model: it is cancelled in its own window first.
    if (zajety_) return false;
    if (zmieniony()) return zapytaj_o_zapis();
    return ui.message("Zakończyć działanie programu ?", kWirtor, Buttons::YesNo, Icon::Question) ==
           Answer::Yes;
}

void _OKNO_::Cm_Koniec() {
    window()->close();
}

void _OKNO_::Cm_opro() {
    ui.message(
        "WIRTOR v1.0\n"
        "Program do obliczania skręcania pręta o dowolnym przekroju metodą elementów "
        "skończonych\n"
        "Zespół WIRTOR 1999-2001\n"
        "\n"
        "http://wirtor.example.org",
        "O programie", Buttons::Ok, Icon::Exclamation);
}

bool _OKNO_::zapytaj_o_zapis() {
    if (!zmieniony()) return true;
    const std::string nazwa = nazwaPliku_.empty()
                                  ? "Beznazwy.WT"
                                  : std::filesystem::path(nazwaPliku_).filename().string();
    switch (ui.message("Zapisać zmiany w pliku „" + nazwa + "”?", kWirtor, Buttons::YesNoCancel,
                       Icon::Question)) {
        case Answer::Yes:
            return zapisz(sciezkaModelu_.empty());
        case Answer::No:
            return true;
        default:
            return false;
    }
}

void _OKNO_::Zwol_pam() {
    if (m.Pusty == 1) {
        ui.message("Program nie zwolnił pamięci!!", "UWAGA", Buttons::YesNo, Icon::Stop);
        ui.requestRepaint();
        return;
    }
    zamknij_listy();
    porzuc_przekroj();
    releaseModel(m);
    nowa_historia(true);
    sciezkaModelu_.clear();
    nazwaPliku_.clear();
    caption = "WIRTOR - Beznazwy.WT";
    pokaz_tytul();
    ostatnie_.reset();
    ui.requestRepaint();
}

void _OKNO_::Cm_Nowy() {
    if (m.Pusty == 0) {
        if (!zapytaj_o_zapis()) return;
        Zwol_pam();
    }
    porzuc_przekroj();
    m.ne = m.nq = m.nn = 0;
    m.Pusty = 0;
    nowa_historia(true);
    ui.requestRepaint();
}

void _OKNO_::Cm_zamknij() {
    if (m.Pusty == 0 && zapytaj_o_zapis()) Zwol_pam();
    ui.requestRepaint();
}

void _OKNO_::Cm_Otworz() {
    if (m.Pusty == 0 && !zapytaj_o_zapis()) return;
    FileDialogData wybor = _plik_;
    wybor.filter = kFiltrOtwarcia;
    // Nothing changes before a new file is read completely: a cancelled dialog or a refused
    // file leaves the project as it was.
    if (!ui.chooseOpenFile(wybor)) return;
    otworz_plik(wybor.path);
}

namespace {

/// Moves the model read into `nowy` into `m`, which keeps its flags.
void przejmij(Model& m, Model& nowy) {
    releaseModel(m);
    m.nn = nowy.nn;
    m.ne = nowy.ne;
    m.nq = nowy.nq;
    m.nbw = nowy.nbw;
    m.G = nowy.G;
    m.MS = nowy.MS;
    m.x = std::move(nowy.x);
    m.noc = std::move(nowy.noc);
    m.si = std::move(nowy.si);
    m.f = std::move(nowy.f);
    m.napr = std::move(nowy.napr);
    m.ww = std::move(nowy.ww);
}

}  // namespace

bool _OKNO_::otworz_plik(const std::string& path) {
    // A section file replaces the project only once it is meshed: a faulty one leaves it.
    if (plikPrzekroju(path)) {
        if (!otworz_przekroj(path)) return false;
        sciezkaModelu_.clear();
        nazwaPliku_ = path;
        nowa_historia(true);
        pokaz_tytul();
        return true;
    }
    ui.setWaitCursor(true);
    Model nowy;
    const FileOutcome r = readModelFile(path, nowy);
    if (r.ok()) {
        _plik_.path = path;
        edycja({.historia = false}, [&] {
            przejmij(m, nowy);
            porzuc_przekroj();
            plikModelu = fileIdOf(path);
            sciezkaModelu_ = nazwaPliku_ = path;
            caption = "WIRTOR - " + path;
            p_napr = 0;
            p_n_pola = 0;
            return true;
        });
        nowa_historia(true);
        pokaz_tytul();
    }
    ui.setWaitCursor(false);
    if (!r.ok()) ui.message(r.message, kBladDysku, Buttons::Ok, Icon::Exclamation);
    return r.ok();
}

bool _OKNO_::przywroc(const std::string& path) {
    Model nowy;
    const FileOutcome r = readModelFile(path, nowy);
    if (!r.ok()) {
        ui.message(r.message, kBladDysku, Buttons::Ok, Icon::Exclamation);
        return false;
    }
    edycja({.historia = false}, [&] {
        przejmij(m, nowy);
        porzuc_przekroj();
        // The copy is no file of the user's: the project has none until it is saved.
        plikModelu = FileId{};
        sciezkaModelu_.clear();
        nazwaPliku_.clear();
        caption = "WIRTOR - Beznazwy.WT";
        p_napr = 0;
        p_n_pola = 0;
        return true;
    });
    nowa_historia(false);
    pokaz_tytul();
    return true;
}

void _OKNO_::Cm_Zapisz() {
    zapisz(sciezkaModelu_.empty());
}

void _OKNO_::Cm_Zapisz_jako() {
    zapisz(true);
}

bool _OKNO_::zapisz(bool dialog) {
    if (m.Pusty == 1) return false;
    if (dialog && !ui.chooseSaveFile(_plik_)) return false;
    const std::string path = dialog ? _plik_.path : sciezkaModelu_;

    ui.setWaitCursor(true);
    const FileOutcome r = writeModelFile(path, m);
    ui.setWaitCursor(false);
    if (!r.ok()) {
        ui.message(r.message, kBladDysku, Buttons::Ok, Icon::Exclamation);
        return false;
    }
    _plik_.path = path;
    sciezkaModelu_ = nazwaPliku_ = path;
    plikModelu = fileIdOf(path);
    zapisany_ = historia_.state();
    caption = "WIRTOR - " + path;
    pokaz_tytul();
    ui.message(kZapisano, kWirtor, Buttons::Ok, Icon::None);
    return true;
}

void _OKNO_::Cm_zap_wyn() {
    // Without current results the nodal table would hold stale or undefined values.
    if (m.Pusty == 1 || m.obliczono == 0) return;
    if (!ui.chooseSaveFile(_pliktxt_)) return;
    if (sameFile(fileIdOf(_pliktxt_.path), plikModelu)) {
        ui.message(kReportOverModel, kBladDysku, Buttons::Ok, Icon::Exclamation);
        return;
    }

    ui.setWaitCursor(true);
    const FileOutcome r = writeReport(_pliktxt_.path, m);
    ui.setWaitCursor(false);
    if (!r.ok()) {
        ui.message(r.message, kBladDysku, Buttons::Ok, Icon::Exclamation);
        return;
    }
    ui.message(kZapisano, kWirtor, Buttons::Ok, Icon::None);
}

void _OKNO_::Obliczenia() {
    if (zajety_) return;
    // The computation reads the model on its own thread; meanwhile the window paints it and
    // takes no command that changes it (see zajety()).
    ComputeResults wyniki;
    ComputeOutcome r;
    zajety_ = true;
    ui.runLong("Obliczenia",
               [&](const Postep& postep) { r = computeResults(m, wyniki, {.postep = postep}); });
    zajety_ = false;
    // Cancelled: the model, its results and the status line stay as they were.
    if (r.status == ComputeStatus::Cancelled) {
        ui.requestRepaint();
        return;
    }
    applyResults(m, r, wyniki);
    ostatnie_ = r;
    odswiez_status();
    if (!r.ok()) ui.message(r.message, kWirtor, Buttons::Ok, Icon::None);
    // An open results listing would go on showing the stresses of the last computation.
    odswiezListy(m);
    ui.requestRepaint();
}

void _OKNO_::Cm_ODSWIEZ() {
    Obliczenia();
    ui.requestRepaint();
}
