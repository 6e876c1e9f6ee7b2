#pragma once
// A Ui for tests: answers, chosen paths and dialog entries are queued beforehand; every
// prompt is recorded in order. A prompt with no queued answer, or an answer left unused
// when the object goes away, fails the running test.

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/dialogs/dialog_session.h"
#include "app/ui.h"

struct Prompt {
    std::string text;
    std::string caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    /// Frame caption and cursor at the moment the box was shown.
    std::string frameCaption;
    bool waitCursor = false;

    bool operator==(const Prompt& o) const {
        return text == o.text && caption == o.caption && buttons == o.buttons && icon == o.icon;
    }
};
std::ostream& operator<<(std::ostream& os, const Prompt& p);

class ScriptedUi : public Ui {
  public:
    ~ScriptedUi() override;

    /// Queues the answer to the next message box.
    ScriptedUi& answer(Answer a);
    /// Queues the outcome of the next file chooser: a path (OK) or nothing (Cancel).
    ScriptedUi& choose(std::optional<std::string> path);
    using DialogUser = std::function<bool(dialogs::DialogSession&)>;
    /// Queues the next data-entry dialog: its template id and what the user does in it, under
    /// the dialog's own typing rules; the function returns true for OK.
    ScriptedUi& dialog(int templateId, DialogUser user);
    /// Queues a dialog in which `texts` (control id, text) are typed, then OK. A text the
    /// dialog refuses fails the test.
    ScriptedUi& dialogOk(int templateId, std::vector<std::pair<int, std::string>> texts);
    /// Queues a dialog that is cancelled.
    ScriptedUi& dialogCancel(int templateId);

    Answer message(const std::string& text, const std::string& caption, Buttons buttons,
                   Icon icon) override;
    bool runDialog(int templateId, void* record) override;
    bool chooseOpenFile(FileDialogData& data) override;
    bool chooseSaveFile(FileDialogData& data) override;
    void setWaitCursor(bool wait) override;
    void setCaption(const std::string& caption) override;
    void requestRepaint() override { ++repaints; }
    /// Records the window and shows it, on the test platform, so that it paints and closes as
    /// in the program.
    void showWindow(QWidget* window) override;
    /// Runs the job at once on this thread; its stages go to `stages`, `during` runs at each
    /// report, and the report of stage `cancelAt` (when set) answers "cancel" from then on.
    void runLong(const std::string& title, const std::function<void(const Postep&)>& job) override;

    /// Fails the test when something queued was not used; clears the queues.
    void verifyAllUsed();

    std::vector<Prompt> prompts;
    std::vector<std::string> captions;  ///< every caption set, in order
    std::string caption;                ///< the current frame caption
    int repaints = 0;
    /// Every window shown, in order.
    std::vector<QWidget*> windowsShown;
    bool waitCursor = false;
    int waitCalls = 0;
    /// The settings the file choosers were shown with, and whether each was a save.
    std::vector<FileDialogData> choosers;
    std::vector<bool> chooserSaves;
    /// Titles of the long operations run, and every stage they reported, in order.
    std::vector<std::string> longRuns;
    std::vector<std::string> stages;
    std::optional<std::string> cancelAt;
    std::function<void()> during;
    /// Template ids of the dialogs run, in order.
    std::vector<int> dialogsRun;

  private:
    bool choose_(FileDialogData& data, bool save);

    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> paths_;
    std::deque<std::pair<int, DialogUser>> dialogs_;
};

/// Shorthand for an expected prompt.
Prompt ask(const std::string& text, const std::string& caption, Buttons buttons, Icon icon);
