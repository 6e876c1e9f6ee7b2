#pragma once
// The data and results listing windows: scrollable views of the listing tables, redrawn from
// the current model at every paint. Each sets its model flag (id or iw) while it is open. The
// caller places and shows them; one wheel notch scrolls three rows, and the keyboard scrolls
// by rows (arrows), pages (Page Up, Page Down) and to either end (Home, End).

#include <QAbstractScrollArea>
#include <QString>
#include <functional>
#include <optional>

#include "listing.h"
#include "model/model.h"

/// Common part of both listings: scroller, painting, close handling and the register of open
/// listings that the main window closes when the model changes.
class ListingWindow : public QAbstractScrollArea {
    Q_OBJECT
  public:
    ~ListingWindow() override;

    /// Clears the window's flag unless another listing of its kind stays open; always true.
    virtual bool CanClose();

    /// Scroll position in pixels.
    QPoint scrollOffset() const;
    /// Scroll range in units, fixed at opening.
    QSize range() const { return range_; }
    /// The table for the model as it is now: what the next paint draws.
    virtual listing::Table table() const = 0;

  protected:
    /// `flag` is Model::id or Model::iw; `owner` null makes an independent top-level window.
    ListingWindow(Model& m, int Model::*flag, QSize range, const QString& title, QSize size,
                  QWidget* owner);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    Model& m;

  private:
    void updateBars();
    void forget();

    int Model::*flag_;
    QSize range_;
    bool registered_ = true;
    QPoint wheel_;  ///< wheel turn not yet scrolled, in eighths of a degree

    friend void zamknijListy(Model& m);
    friend void odswiezListy(const Model& m);
};

/// "Dane do obliczeń": elements and nodes. Owned by the main window; sets id.
class _DANE_ : public ListingWindow {
    Q_OBJECT
  public:
    _DANE_(Model& m, QWidget* owner);

    listing::Table table() const override { return listing::dane(m); }
};

/// What the results listing asks of the program around it.
struct WynikiHooks {
    /// Tells the user that the listing was painted over an empty model (a message box); called
    /// after the paint, once per window.
    std::function<void()> emptyModel;
    /// The torsion constant of the last computation, when the program knows it.
    std::function<std::optional<double>()> J;
};

/// "Wyniki obliczeń": element stresses and the results summary. A top-level window of its own;
/// sets iw.
class _WYNIKI_ : public ListingWindow {
    Q_OBJECT
  public:
    _WYNIKI_(Model& m, WynikiHooks hooks);

    listing::Table table() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    WynikiHooks hooks_;
    bool zgloszono_ = false;
};

/// Destroys every open listing of `m`, results first, and clears id and iw.
void zamknijListy(Model& m);

/// Asks every open listing of `m` to repaint, as after a computation that changed the results
/// without changing the model.
void odswiezListy(const Model& m);
