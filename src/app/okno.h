#pragma once
// The main drawing window: client of the frame, owner of the command handlers and their
// enablers, the display switches, the file-dialog settings and the coordinate read-out.
// Handlers reach anything modal or window-bound only through Ui, so tests drive them with
// a scripted Ui and no window ever opens.

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/records.h"
#include "app/ui.h"
#include "edit/resize.h"
#include "geometry/section.h"
#include "history/history.h"
#include "model/file_id.h"
#include "model/model.h"
#include "solver/driver.h"
#include "view/paint_model.h"
#include "view/stress_layer.h"
#include "view/view_mapping.h"

class _WSP_;

/// What an enabler decides for one menu item; check is -1 while the enabler leaves it alone.
struct CommandEnabler {
    bool enabled = true;
    int check = -1;
    std::string text;  ///< a new item text; empty while the enabler leaves it alone
    void Enable(bool e) { enabled = e; }
    void SetCheck(int c) { check = c; }
    void SetText(std::string t) { text = std::move(t); }
};

class _OKNO_;

/// When a command is enabled and what its check mark shows: one row of data per command.
struct EnablerRule {
    enum Need : unsigned char {
        Always,
        NoProject,    ///< Pusty = 1
        Project,      ///< Pusty = 0
        Results,      ///< a project with current results
        Group,        ///< a project with a node group selected
        LoadNumbers,  ///< anything but no project while the loads are shown
        Section,      ///< a project with a section description
        Undo,         ///< a step to take back; the item names it
        Redo,         ///< a step to do again; the item names it
    };
    Need need = Always;
    int minNodes = 0;
    int minElements = 0;
    int _OKNO_::*shows = nullptr;  ///< display switch shown as the check mark
    int stress = 0;                ///< 1..4: checked while the colour map shows this stress
};

/// One row of the command table: an id routed to its handler, and its enabler rule.
struct CommandEntry {
    int id;
    void (_OKNO_::*handler)();
    EnablerRule rule;
    /// The item carries a check mark.
    constexpr bool checkable() const { return rule.shows != nullptr || rule.stress != 0; }
};

/// How a model change runs through the edit sequence.
struct Edycja {
    bool przebudowa = true;  ///< arrays are rebuilt: Pusty is held at 1 meanwhile
    bool oblicz = true;      ///< the computation follows when a_licz = 1
    /// The change touches nodes or elements: the mesh is no longer the one generated from the
    /// section description.
    bool siatka = true;
    /// The change is kept as an undo step (undo and redo themselves, and the commands that
    /// replace the project and clear the history, are not).
    bool historia = true;
};

/// How an attempt to mesh the section description ended.
enum class Siatkowanie {
    Gotowe,  ///< meshed: the description and the mesh are the new ones
    Odmowa,  ///< the user kept the hand-edited mesh: nothing changed
    Blad,    ///< refused with a message shown: nothing changed
};

class _OKNO_ : public QWidget {
    Q_OBJECT
    // Declared before `ui`, which may refer to it.
    std::unique_ptr<Ui> ownUi_;

  public:
    /// Works on `m`; with no `ui` given, message boxes and file dialogs are real Qt ones.
    explicit _OKNO_(Model& m, Ui* ui = nullptr, QWidget* parent = nullptr);
    ~_OKNO_() override;

    Model& m;
    Ui& ui;

    /// Marks the picture stale and asks for a repaint: the next paint draws it afresh. The
    /// window's own Ui calls it for every repaint request; a size change needs no call.
    void invalidatePicture();
    /// How many times the picture has been drawn afresh (paints in between only copy it).
    int pictureBuilds() const { return pictureBuilds_; }

    // Pointer handlers: the read-out of the point under the pointer and the rubber-band
    // selection of a node group; `point` is in client pixels. Moves never redraw the picture.
    void EvLButtonDown(QPoint point);
    void EvMouseMove(QPoint point);
    void EvLButtonUp(QPoint point);
    /// Wheel: `steps` notches of zoom (in for positive) around `point`.
    void EvMouseWheel(QPoint point, int steps);
    // Middle-button drag pans the picture.
    void EvMButtonDown(QPoint point);
    void EvMButtonUp(QPoint point);

    /// Mapping of the picture on the screen: the fit of the last paint with the user's zoom
    /// and pan. Painting, the read-out and the selection all use it.
    ViewMapping mapping;
    /// The switches and settings painting reads, as they stand now.
    ViewOptions viewOptions() const;

    /// The status line: current results, why the last computation failed, or that there are
    /// no current results; always G and MS.
    QString statusText() const;

    /// With unsaved changes asks whether to save them (see zapytaj_o_zapis), else asks
    /// "Zakończyć działanie programu ?"; true when the program may end.
    bool CanClose();

    /// True while the project differs from its file (or has none and something was made).
    bool zmieniony() const;
    /// With unsaved changes asks "Zapisać zmiany w pliku …?" (Tak / Nie / Anuluj); Tak saves
    /// as "&Zapisz" does. True when the command that asked may go on.
    bool zapytaj_o_zapis();
    /// Opens model or section file `path` as "&Otwórz" does after its dialog; the model stays
    /// until the new one is read completely. True when the project was replaced.
    bool otworz_plik(const std::string& path);
    /// True while a long operation runs off the window's thread: only commands that change
    /// neither the model nor the project run meanwhile (display switches, fitting).
    bool zajety() const { return zajety_; }
    /// Restores the recovery copy at `path` as a project with unsaved changes and no file;
    /// a copy that cannot be read is reported as "&Otwórz" reports it. True when restored.
    bool przywroc(const std::string& path);
    /// The undo history of the project.
    const history::History& historia() const { return historia_; }

    /// The command table; every routed id, also those no menu item carries.
    static const CommandEntry* Find(int id);
    /// Runs the handler of `id`; false when the table does not hold it.
    bool dispatch(int id);
    /// Applies the enabler rule of `id`; false when the table does not hold it.
    bool enable(int id, CommandEnabler& ce);

    /// The edit sequence every command that changes the model runs its change through:
    /// `zmiana` makes the change (with Pusty held at 1 when it rebuilds arrays) and returns
    /// false when it changed nothing, which restores Pusty and obliczono and only repaints.
    /// After a change the listings are closed, Pusty = 0, obliczono = 0, the computation runs
    /// when automatic and the edit takes it, and a repaint is requested. Returns `zmiana`'s
    /// answer.
    bool edycja(Edycja e, const std::function<bool()>& zmiana);

    // Model and files.
    void Zwol_pam();
    void Cm_Nowy();
    void Cm_zamknij();
    void Cm_Otworz();
    void Cm_Zapisz();
    void Cm_Zapisz_jako();
    void Cm_Cofnij();
    void Cm_Ponow();
    void Cm_zap_wyn();
    void Cm_zap_rys();
    void Obliczenia();
    void Cm_ODSWIEZ();
    void Cm_Koniec();
    void Cm_opro();

    // Display switches.
    void Cm_Napr1();
    void Cm_Napr2();
    void Cm_Napr3();
    void Cm_Napr4();
    void Cm_n_ele();
    void Cm_n_mat();
    void Cm_n_pola();
    void Cm_siatka();
    void Cm_p_wez();
    void Cm_n_wez();
    void Cm_Przem();
    void Cm_Podp();
    void Cm_Sily();
    void Cm_Sily_nr();
    void Cm_dopasuj();

    // Mesh generation, editing, groups, listings and settings: built by their own features.
    void Cm_kreator();
    void Cm_prost();
    void Cm_pierscien();
    void Cm_d_wez();
    void Cm_d_ele();
    void Cm_u_wez();
    void Cm_u_ele();
    void Cm_z_wez();
    void Cm_z_pret();
    void Cm_z_mat();
    void Cm_z_sily();
    void Cm_scal();
    void Cm_Grupa_prz();
    void Cm_Grupa_kop_prz();
    void Cm_Grupa_doom();
    void Cm_Wyniki();
    void Cm_Dane();
    void Cm_u_graf();

    // Sections from outlines and standard profiles.
    void Cm_obrys();
    void Cm_profil();
    void Cm_siatka_przekroju();
    void Cm_zap_przekroj();
    /// Plik > Importuj DXF...: a drawing becomes the project's section.
    void Cm_dxf();

    /// The project's section description, when it has one.
    const std::optional<geometry::Section>& przekroj() const { return przekroj_; }
    /// True while the mesh is exactly the one last generated from the description.
    bool siatkaZPrzekroju() const { return siatkaZPrzekroju_; }

    // Commands the program routes but that do nothing.
    void Cm_z_przek() {}
    void Cm_z_podp() {}
    void Cm_z_grubosc() {}
    void Cm_d_sile() {}
    void Cm_d_podp() {}
    void Cm_d_mat() {}
    void Cm_u_podp() {}
    void Cm_u_sile() {}
    void Cm_u_mat() {}

    /// Listing windows (data, results); valid while model.id / model.iw are 1.
    QPointer<QWidget> dd;
    QPointer<QWidget> oo;
    /// Coordinate read-out window; lives as long as this window.
    _WSP_* wsp = nullptr;

    // Display switches, 1 = on.
    int p_napr, p_przem, p_n_mat, p_n_pola, p_podp, p_sily, p_sily_nr, p_siatka, p_wez, p_n_wezl,
        p_n_ele;

    /// Model-file dialog settings (open and save) and the results-report dialog settings.
    FileDialogData _plik_;
    FileDialogData _pliktxt_;
    /// Picture export dialog settings.
    FileDialogData _plikrys_;
    /// Section file dialog settings (saving; opening goes through the model-file dialog).
    FileDialogData _plikprz_;
    /// The file the model was last read from or saved to: no report is written over it.
    FileId plikModelu;

    // Transfer records of the dialogs; a dialog reopened later starts from the last
    // confirmed texts unless its command rewrites them.
    d_dane_graf daneg{};
    d_dane_pods dane{};
    d_dane_przek danep{};
    d_mat danemat{};
    d_nr danenr{};
    d_sily danes{};
    d_wymusz danewy{};
    d_wsp danew{};
    d_temp danetemp{};
    d_przekr daneprzekr{};
    d_rysunek danerys{};
    d_obrys daneobrys{};
    d_profil_rodzaj danerodzaj{};
    d_profil daneprofilu[12]{};  ///< one per profile kind, in ProfileKind order
    d_siatka danesiatki{};
    d_dxf danedxf{};
    /// DXF drawing dialog settings.
    FileDialogData _plikdxf_;

    /// Colours of the stress map: index 0 the largest magnitude, 200 zero.
    StressPalette knapr;
    /// Fills knapr with the palette p_skok selects.
    void Pasek_kol();

  signals:
    /// The status line has a new text.
    void statusChanged(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    bool zajety_ = false;
    history::History historia_ = history::programHistory();
    /// History state of the model in its file.
    std::uint64_t zapisany_ = 0;
    /// The model file a save goes to without the dialog; empty while the project has none.
    std::string sciezkaModelu_;
    /// The file the project was read from or saved to (model or section); empty for none.
    std::string nazwaPliku_;
    /// Name of the command running from the menu: the name of its undo step.
    std::string polecenie_;
    /// The unsaved mark shown in the caption.
    bool znak_ = false;
    /// Shows the caption with the unsaved mark when there are unsaved changes.
    void pokaz_tytul();
    /// The history starts afresh with the project as it is now saved (or, when `zapisany`
    /// is false, as a change not saved yet).
    void nowa_historia(bool zapisany);
    /// Saves the model: to its own file without the dialog unless `dialog`; true when saved.
    bool zapisz(bool dialog);
    /// Takes back (`wstecz`) or does again one step through the edit sequence.
    void krok(bool wstecz);

    /// The picture of the drawing area, drawn by paintModel and copied by every paint until a
    /// repaint is requested or the size changes; pointer moves never redraw it.
    QImage picture_;
    bool pictureStale_ = true;
    int pictureBuilds_ = 0;
    /// Middle-button drag: on while held, with the last pointer position.
    bool panning_ = false;
    QPoint panFrom_;
    int wheelRest_ = 0;  ///< wheel angle not yet worth a notch
    void rebuildPicture();

    /// Outcome of the latest computation; empty once the model has changed after it.
    std::optional<ComputeOutcome> ostatnie_;
    QString status_;
    /// Emits statusChanged when the status text differs from the last one published.
    void odswiez_status();

    /// Closes the results listing, then the data listing, whichever is open.
    void zamknij_listy();
    /// The number typed into the number prompt under `nap`; 0 when the prompt is closed.
    int podaj_numer(const char* nap);
    /// Runs a core edit through the edit sequence; a failure's message is shown as invalid
    /// input. True when the model changed.
    bool edytuj(Edycja e, const std::function<EditOutcome()>& zmiana);
    /// Asks `question` (Yes/No, no icon) and on Yes runs the deletion through edytuj.
    bool usun(const std::string& question, const char* caption,
              const std::function<EditOutcome()>& zmiana);
    /// The section description and whether the mesh is its own (see przekroj()).
    std::optional<geometry::Section> przekroj_;
    bool siatkaZPrzekroju_ = false;
    /// Drops the description: the project is about to go or be replaced.
    void porzuc_przekroj();
    /// Fills the profile records with common dimensions, the placement with 0.
    void przygotuj_profile();
    /// Meshes description `opis` through the edit sequence in place of the mesh, which then
    /// is its own; asks first (unless `zapytano` says it was asked) when a mesh that is not the
    /// description's own would be replaced. G and MS stay the model's.
    Siatkowanie siatkuj(const geometry::Section& opis, bool& zapytano);
    /// Appends `shape` to the description with the element size `rozmiar` and meshes it.
    Siatkowanie dodaj_ksztalt(const geometry::Shape& shape, std::optional<double> rozmiar,
                              bool& zapytano);
    /// The project read from section file `path` and meshed; true when it replaced the model.
    bool otworz_przekroj(const std::string& path);
    void wybierz_napr(int k);
    void przelacz_grupe(int& sw);
    static void przelacz(int& sw) { sw = sw == 1 ? 0 : 1; }
};
