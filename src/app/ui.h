#pragma once
// The one seam between command handlers and everything modal or window-bound: message boxes,
// data-entry dialogs, file choosers, the cursor, the caption, repaint requests and the showing of
// new windows.
// QtUi implements it with real windows; tests use a scripted implementation.

#include <functional>
#include <string>

#include "progress.h"

class QWidget;

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Stop, Exclamation, Question, Information };
enum class Answer { Ok, Yes, No, Cancel };

/// Settings of a file dialog (the records _plik_ and _pliktxt_); after OK, `path` holds
/// the full path of the chosen file and the next dialog proposes it.
struct FileDialogData {
    unsigned flags = 0x1000;  ///< the chosen file must exist (open dialog only)
    std::string filter;       ///< "Opis (*.ext)|*.ext|"
    std::string defaultExt;   ///< appended when the typed name has no extension
    std::string path;
};

class Ui {
  public:
    virtual ~Ui() = default;

    /// Shows a modal message box and returns the button chosen (Cancel only with YesNoCancel).
    virtual Answer message(const std::string& text, const std::string& caption, Buttons buttons,
                           Icon icon) = 0;
    /// Runs data-entry dialog `templateId` over its transfer record. Returns true on OK,
    /// after the record has been filled back; on any other end the record is unchanged.
    virtual bool runDialog(int templateId, void* record) = 0;
    /// Open-file dialog; true on OK with data.path set to an existing file.
    virtual bool chooseOpenFile(FileDialogData& data) = 0;
    /// Save-file dialog; true on OK with data.path set.
    virtual bool chooseSaveFile(FileDialogData& data) = 0;
    /// Shows the wait cursor (true) or restores the arrow (false).
    virtual void setWaitCursor(bool wait) = 0;
    /// Sets the frame window's caption.
    virtual void setCaption(const std::string& caption) = 0;
    /// Asks for a repaint of the whole drawing area.
    virtual void requestRepaint() = 0;
    /// Puts a window a command has made (a listing) on the screen.
    virtual void showWindow(QWidget* window) = 0;
    /// Runs `job` off the window's thread and returns once it has ended. Meanwhile the window
    /// repaints and takes the pointer; when the job lasts more than a moment a progress window
    /// titled `title` shows the stages `job` reports to its Postep, with "Anuluj", after which
    /// the Postep returns false. `job` must not touch the window or change the model.
    virtual void runLong(const std::string& title,
                         const std::function<void(const Postep&)>& job) = 0;
};
