#pragma once
// The small captioned read-out window inside the drawing area; the pointer handlers write
// the model coordinates under the pointer into its static text.

#include <QWidget>

class QLabel;

class _WSP_ : public QWidget {
    Q_OBJECT
  public:
    explicit _WSP_(QWidget* parent);

    /// The one line of read-out text (id 999).
    QLabel* xx;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    /// Height of the caption strip; the client area starts below it.
    static constexpr int kCaption = 18;
    static constexpr int kBorder = 1;
    QPoint dragFrom_;
    bool dragging_ = false;
};
