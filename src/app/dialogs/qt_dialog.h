#pragma once
// Runs a data-entry dialog built from its template over a transfer record.

#include <QSize>
#include <memory>

class QDialog;
class QFont;
class QWidget;

namespace dialogs {
class DialogSession;

/// Pixel size of `width` x `height` dialog units in `font`: a horizontal unit is a quarter of
/// the font's average character width, a vertical unit an eighth of its height.
QSize dialogUnitsToPixels(const QFont& font, int width, int height);

/// Builds the widgets of `session`'s template, filled from the session: a labelled QLineEdit per
/// edit, a QCheckBox per check box, a labelled QComboBox per choice, a QTableWidget per table
/// (with the buttons "<id>.dodaj", "<id>.wstaw" and "<id>.usun") and a QLabel picture per
/// sketch (each named by its control id), frames as QGroupBox, OK ("1", default) and "Anuluj"
/// ("2") buttons. The widgets keep the session up to date and apply
/// its typing rule; committing is left to the caller. `session` must be valid() and outlive
/// the dialog.
std::unique_ptr<QDialog> buildTemplateDialog(QWidget* parent, DialogSession& session);

}  // namespace dialogs

/// Builds dialog `templateId` from the template table, fills it from `record`, runs it
/// modally and, on OK only, copies the fields back into `record`. Returns true on OK; false,
/// without showing anything, for an unknown id or a missing record.
bool execTemplateDialog(QWidget* parent, int templateId, void* record);
