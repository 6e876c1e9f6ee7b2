#include "app/dialogs/dialog_session.h"

#include <algorithm>
#include <cstring>

#include "app/dialogs/field_text.h"

namespace dialogs {

bool acceptsTyping(std::string_view current, std::string_view proposed, int limit,
                   bool digitsOnly) {
    if (proposed == current) return true;
    const bool fits = proposed.size() + 1 <= static_cast<std::size_t>(std::max(limit, 1));
    if (!fits && proposed.size() >= current.size()) return false;
    if (digitsOnly) {
        // Only what was typed must be digits: the part of `proposed` between the prefix and the
        // suffix it shares with `current`. Deleting from a pre-filled text is always allowed.
        std::size_t prefix = 0;
        while (prefix < proposed.size() && prefix < current.size() &&
               proposed[prefix] == current[prefix])
            ++prefix;
        std::size_t suffix = 0;
        const std::size_t room = std::min(proposed.size(), current.size()) - prefix;
        while (suffix < room &&
               proposed[proposed.size() - 1 - suffix] == current[current.size() - 1 - suffix])
            ++suffix;
        const std::string_view typed = proposed.substr(prefix, proposed.size() - prefix - suffix);
        if (!std::all_of(typed.begin(), typed.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
    }
    return true;
}

DialogSession::DialogSession(int templateId, void* record) {
    const DialogTemplate* t = findTemplate(templateId);
    if (t == nullptr || (recordSize(*t) > 0 && record == nullptr)) return;
    template_ = t;
    char* bytes = static_cast<char*>(record);
    for (const ControlSpec& c : t->controls) {
        if (!isBound(c.kind)) continue;
        Field f{&c, nullptr, {}, false};
        const std::ptrdiff_t offset = fieldOffset(*t, c.id);
        if (bytes != nullptr && offset >= 0) {
            f.data = bytes + offset;
            const std::size_t size = fieldSize(c);
            if (holdsInt(c.kind)) {
                int value;
                std::memcpy(&value, f.data, sizeof value);
                f.checked = value != 0;
                // A choice outside the list starts at its first entry.
                const bool listed = value >= 0 && static_cast<std::size_t>(value) < c.items.size();
                f.choice = listed ? value : 0;
            } else if (c.kind == ControlKind::Edit || c.kind == ControlKind::Table) {
                f.text = fieldValueText(f.data, size);
            } else {
                // A label shows what fits in its field with the terminating zero.
                f.text = std::string(cutText({f.data, strnlen(f.data, size)}, size - 1));
            }
        }
        fields_.push_back(std::move(f));
    }
}

std::vector<int> DialogSession::boundIds() const {
    std::vector<int> ids;
    for (const Field& f : fields_)
        ids.push_back(f.control->id);
    return ids;
}

DialogSession::Field* DialogSession::find(int controlId) {
    for (Field& f : fields_)
        if (f.control->id == controlId) return &f;
    return nullptr;
}

const DialogSession::Field* DialogSession::find(int controlId) const {
    return const_cast<DialogSession*>(this)->find(controlId);
}

std::string DialogSession::text(int controlId) const {
    const Field* f = find(controlId);
    return f != nullptr && !holdsInt(f->control->kind) ? f->text : std::string();
}

bool DialogSession::accepts(int controlId, std::string_view newText) const {
    const Field* f = find(controlId);
    if (f == nullptr ||
        (f->control->kind != ControlKind::Edit && f->control->kind != ControlKind::Table))
        return false;
    return acceptsTyping(f->text, newText, f->control->textLimit,
                         (f->control->flags & kDigits) != 0);
}

bool DialogSession::type(int controlId, std::string_view newText) {
    Field* f = find(controlId);
    if (f == nullptr || (f->control->flags & kReadOnly) != 0 || !accepts(controlId, newText))
        return false;
    f->text = newText;
    return true;
}

bool DialogSession::checked(int controlId) const {
    const Field* f = find(controlId);
    return f != nullptr && f->control->kind == ControlKind::Check && f->checked;
}

bool DialogSession::setChecked(int controlId, bool on) {
    Field* f = find(controlId);
    if (f == nullptr || f->control->kind != ControlKind::Check) return false;
    f->checked = on;
    return true;
}

int DialogSession::choice(int controlId) const {
    const Field* f = find(controlId);
    return f != nullptr && f->control->kind == ControlKind::Choice ? f->choice : -1;
}

bool DialogSession::choose(int controlId, int index) {
    Field* f = find(controlId);
    if (f == nullptr || f->control->kind != ControlKind::Choice || index < 0 ||
        static_cast<std::size_t>(index) >= f->control->items.size())
        return false;
    f->choice = index;
    return true;
}

void DialogSession::commit() {
    for (const Field& f : fields_) {
        if (f.data == nullptr) continue;
        if (holdsInt(f.control->kind)) {
            const int value =
                f.control->kind == ControlKind::Check ? (f.checked ? 1 : 0) : f.choice;
            std::memcpy(f.data, &value, sizeof value);
        } else if (f.control->kind == ControlKind::Edit || f.control->kind == ControlKind::Table) {
            // The whole text, as shown: the field takes what fits and a longer text is kept, so
            // fieldReal/fieldInt and the next opening see exactly what was confirmed.
            storeFieldText(f.data, fieldSize(*f.control), f.text);
        }
    }
}

bool answerDialog(int templateId, void* record, const std::function<bool(DialogSession&)>& user) {
    DialogSession session(templateId, record);
    if (!session.valid() || !user(session)) return false;
    session.commit();
    return true;
}

}  // namespace dialogs
