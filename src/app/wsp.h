#pragma once
// The small captioned read-out window inside the drawing area; the pointer handlers write
// the model coordinates under the pointer into its static text.

#include <QString>
#include <QWidget>

class QLabel;

class _WSP_ : public QWidget {
    Q_OBJECT
  public:
    explicit _WSP_(QWidget* parent);

    /// Shows a read-out line: each part after a comma on a line of its own. The window grows
    /// (it never shrinks, so it does not jump about) until every line fits whole.
    void setReadOut(const QString& text);
    /// The read-out line last shown, as given.
    QString readOut() const { return readOut_; }

    /// The one static text (id 999).
    QLabel* xx;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    /// Moves the window as near `wanted_` as the parent's client area lets it, wholly inside
    /// when it fits.
    void keepInside();

    /// Height of the caption strip; the client area starts below it.
    static constexpr int kCaption = 18;
    static constexpr int kBorder = 1;
    QString readOut_;
    /// Where the window stands when the parent is large enough: its start, or where it was
    /// dragged to.
    QPoint wanted_;
    QPoint dragFrom_;
    bool dragging_ = false;
};
