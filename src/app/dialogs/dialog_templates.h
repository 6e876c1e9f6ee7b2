#pragma once
// The table of dialog templates: every data-entry dialog of the program as data. One mechanism
// (DialogSession for the transfer, execTemplateDialog for the widgets) builds any of them.
//
// Controls are listed in layout order, top to bottom and left to right. The bound controls
// (edits, check boxes and the record label) among them are in binding order: the n-th bound
// control fills the n-th field of the transfer record, starting `recordOffset` bytes into it.
// A text field is `textLimit` bytes (8 for the edits of the first dialogs, 16 for the later
// ones, 40 for the record label, more for a table), a check box or a choice an int.

#include <cstddef>
#include <span>
#include <string_view>

namespace dialogs {

/// Id of the OK button; every dialog has one.
inline constexpr int kIdOk = 1;
/// Id of the "Anuluj" button; all dialogs but the number prompt have one.
inline constexpr int kIdCancel = 2;

/// First control id of the profile sketches: the sketch of ProfileKind k has id kSketchBase + k.
inline constexpr int kSketchBase = 9000;

enum class ControlKind {
    Edit,         ///< bound edit field with its label on the left
    Check,        ///< bound check box carrying its own text
    RecordLabel,  ///< static text filled from a record field; stands left of the edit bound
                  ///< just before it (the prompt of the number dialog)
    Heading,      ///< unbound static text
    Table,        ///< bound table of text cells with buttons to add, insert and delete rows; its
                  ///< text holds a row a line, cells separated by tabs; `items` name the columns
    Choice,       ///< bound drop-down list of `items`; the int holds the index chosen
    Sketch,       ///< unbound picture of a profile kind (see kSketchBase)
};

/// Control flags, combined with |.
enum ControlFlag : unsigned {
    kReadOnly = 1u << 0,    ///< the user cannot change the text
    kDigits = 1u << 1,      ///< typing accepts digits only
    kRightAlign = 1u << 2,  ///< text aligned to the right
    kSameRow = 1u << 3,     ///< placed right of the previous control instead of below it
};

/// One control of a template.
struct ControlSpec {
    int id;  ///< control id; 0 for a static text without one
    ControlKind kind;
    const char* field;   ///< record field bound to it, "" when unbound or record-less
    const char* label;   ///< label left of an edit, text of a check box or of a static
    unsigned flags = 0;  ///< ControlFlag bits
    int frame = -1;      ///< index into DialogTemplate::frames, -1 outside any frame
    int textLimit = 8;   ///< edit, table and record label: size of the text field in bytes
    std::span<const char* const> items = {};  ///< choice: its entries; table: column headings
};

/// An etched frame grouping the consecutive controls that name it.
struct FrameSpec {
    int id;               ///< control id of the group box, 0 when it has none
    const char* heading;  ///< "" for an untitled frame
};

/// One dialog template.
struct DialogTemplate {
    int id;  ///< resource id
    const char* title;
    int width;  ///< size in dialog units
    int height;
    int fontPoints;            ///< size of the dialog font ("MS Sans Serif")
    const char* className;     ///< the dialog class of the original design, "" when none
    const char* record;        ///< name of the transfer record, "" when the dialog has none
    std::size_t recordOffset;  ///< bytes of the record before the first bound field
    std::span<const ControlSpec> controls;
    std::span<const FrameSpec> frames;
    bool hasCancel;  ///< "Anuluj" button present
};

/// True for the control kinds that take part in the transfer.
constexpr bool isBound(ControlKind kind) {
    return kind != ControlKind::Heading && kind != ControlKind::Sketch;
}

/// True for the control kinds whose field holds an int rather than a text.
constexpr bool holdsInt(ControlKind kind) {
    return kind == ControlKind::Check || kind == ControlKind::Choice;
}

/// Bytes the bound control occupies in its record.
constexpr std::size_t fieldSize(const ControlSpec& c) {
    return holdsInt(c.kind) ? sizeof(int) : static_cast<std::size_t>(c.textLimit);
}

/// The dialog ids of the section commands.
inline constexpr int kObrysDialog = 3300;    ///< the outline table
inline constexpr int kProfilDialog = 3310;   ///< the choice of a profile kind
inline constexpr int kWymiaryDialog = 3320;  ///< ProfileKind k: dimensions in kWymiaryDialog + k
inline constexpr int kProfileKinds = 12;     ///< kinds with a dimension dialog
inline constexpr int kSiatkaDialog = 3340;   ///< the element size of the section
inline constexpr int kDxfDialog = 3350;      ///< the scale and the layer of a DXF drawing

/// All templates, ordered by id.
std::span<const DialogTemplate> allTemplates();

/// The template with resource id `id`, or nullptr when there is none.
const DialogTemplate* findTemplate(int id);

/// Byte offset of bound control `controlId` in the record of `t`; -1 when it is not bound.
std::ptrdiff_t fieldOffset(const DialogTemplate& t, int controlId);

/// Size of the record of `t` as its bound controls lay it out; 0 for a record-less template.
std::size_t recordSize(const DialogTemplate& t);

}  // namespace dialogs
