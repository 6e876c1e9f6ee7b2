#pragma once
// The transfer side of a data-entry dialog, free of any widget: the texts and check states of
// one dialog over its record, the typing rule, and the copy back on OK. The Qt dialog mirrors a
// session in widgets; the scripted test Ui drives a session directly.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs/dialog_templates.h"

namespace dialogs {

/// Whether an edit holding `current` may change to `proposed` when the user types: only while
/// the result holds at most `limit`-1 bytes, or when it makes the text shorter, so a longer
/// pre-filled text can be shortened but never lengthened. `digitsOnly` refuses a change that
/// brings in anything but digits.
bool acceptsTyping(std::string_view current, std::string_view proposed, int limit, bool digitsOnly);

/// One opening of a template over its record. Construction fills the texts and check states
/// from the record; commit() copies them back; dropping the session leaves the record as it was.
class DialogSession {
  public:
    /// Opens template `templateId` over `record`, which must point to the template's record
    /// (or may be null for a record-less template). An unknown id, or a null record where one
    /// is needed, gives a session that is not valid() and does nothing.
    DialogSession(int templateId, void* record);

    /// True when the template exists and has what it needs to open.
    bool valid() const { return template_ != nullptr; }
    /// The template; only when valid().
    const DialogTemplate& dialog() const { return *template_; }

    /// Ids of the bound controls in binding order.
    std::vector<int> boundIds() const;

    /// Current text of edit, table or record label `controlId`; "" for any other id.
    std::string text(int controlId) const;
    /// Replaces the text of edit or table `controlId` as typing would. Returns false, leaving
    /// the text unchanged, when the typing rule refuses it, the edit is read-only or the id is
    /// no edit or table.
    bool type(int controlId, std::string_view newText);
    /// Whether the typing rule would let edit or table `controlId` change to `newText`; true
    /// for its current text itself. Read-only is not checked here.
    bool accepts(int controlId, std::string_view newText) const;

    /// Index chosen in choice `controlId`; -1 for any other id.
    int choice(int controlId) const;
    /// Chooses entry `index` of choice `controlId`; false when the id is no choice or the
    /// index names none of its entries.
    bool choose(int controlId, int index);

    /// Check state of check box `controlId`; false for any other id.
    bool checked(int controlId) const;
    /// Ticks or clears check box `controlId`; false when the id is no check box.
    bool setChecked(int controlId, bool on);

    /// The OK end: stores every edit's and table's whole text as setFieldText does (what fits
    /// in the field, a longer text kept aside for fieldReal/fieldInt and the next opening),
    /// every check state into its int as 1 or 0 and every choice's index. Record labels are
    /// not written back.
    void commit();

  private:
    struct Field {
        const ControlSpec* control;
        char* data;  // its bytes in the record; null for a record-less template
        std::string text;
        bool checked = false;
        int choice = 0;
    };
    Field* find(int controlId);
    const Field* find(int controlId) const;

    const DialogTemplate* template_ = nullptr;
    std::vector<Field> fields_;
};

/// Runs a dialog without widgets: opens a session over `record`, lets `user` type and tick in
/// it, and commits when `user` returns true (OK). Returns that answer; false without calling
/// `user` when the session cannot open. For scripted Uis in tests.
bool answerDialog(int templateId, void* record, const std::function<bool(DialogSession&)>& user);

}  // namespace dialogs
