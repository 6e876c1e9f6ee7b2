#pragma once
// The application object and the frame window.

#include <QMainWindow>
#include <QPointer>
#include <string>

#include "app/ui.h"
#include "model/model.h"

class QCoreApplication;
class _OKNO_;

/// Loads Qt's own Polish texts (qtbase_pl) so the standard buttons read "Tak", "Nie",
/// "Anuluj". Returns false when the translation file cannot be found.
bool installPolishTranslations(QCoreApplication& app);

/// Selects a proportional sans-serif interface font (Liberation Sans, else DejaVu Sans) for
/// the whole program, and maps the dialogs' and drawings' classic faces ("MS Sans Serif",
/// "Arial") onto it, so no widget falls back to a monospace face. Returns the family chosen,
/// empty when neither is installed (Qt's default stays).
QString installInterfaceFont();

/// The top-level frame: menu bar and the drawing window as its client. Closing it, by any
/// route, asks the client's closing question once.
class Ramka : public QMainWindow {
    Q_OBJECT
  public:
    Ramka(const QString& title, _OKNO_* client);
    ~Ramka() override;
    _OKNO_* client() const { return client_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    _OKNO_* client_;
};

class _WIRTOR_ {
  public:
    /// The program works on `m`; `ui` replaces the real message boxes and dialogs (tests).
    explicit _WIRTOR_(Model& m, Ui* ui = nullptr) : m_(m), ui_(ui) {}
    ~_WIRTOR_();
    _WIRTOR_(const _WIRTOR_&) = delete;
    _WIRTOR_& operator=(const _WIRTOR_&) = delete;

    /// Title of the frame window.
    char _tytul_[20] = {};

    /// Creates the maximized frame with menu 1000 and the drawing window; stores it in fw.
    void InitMainWindow();
    /// InitMainWindow, show the frame and run the message loop until the frame is gone; a
    /// `file` given is opened as soon as the loop runs.
    int Run(const QString& file = {});

    Ramka* frame() const { return frame_; }
    /// Directory of the recovery copies; while it is empty (tests) the program keeps none.
    std::string odzysk;

  private:
    Model& m_;
    Ui* ui_;
    QPointer<Ramka> frame_;
};
