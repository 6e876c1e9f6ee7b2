#pragma once
// Ui over real Qt windows: the only place that opens message boxes, file dialogs and
// data-entry dialogs.

#include <QString>
#include <string>

#include "app/ui.h"

class QWidget;

/// "Opis (*.ext)|*.ext|" (pairs of description and pattern, each ended by '|') as a Qt
/// name filter list: "Opis (*.ext)", one filter per line.
QString qtFilter(const std::string& filter);

class QtUi : public Ui {
  public:
    /// Boxes and dialogs are owned by `owner`; caption and repaint go to its window.
    explicit QtUi(QWidget* owner) : owner_(owner) {}
    ~QtUi() override;

    Answer message(const std::string& text, const std::string& caption, Buttons buttons,
                   Icon icon) override;
    bool runDialog(int templateId, void* record) override;
    bool chooseOpenFile(FileDialogData& data) override;
    bool chooseSaveFile(FileDialogData& data) override;
    void setWaitCursor(bool wait) override;
    void setCaption(const std::string& caption) override;
    void requestRepaint() override;
    void showWindow(QWidget* window) override;
    void runLong(const std::string& title, const std::function<void(const Postep&)>& job) override;

  private:
    bool chooseFile(FileDialogData& data, bool save);

    QWidget* owner_;
    bool waiting_ = false;
};
