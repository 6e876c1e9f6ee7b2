#include "app/dialogs/qt_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "app/dialogs/dialog_session.h"

namespace dialogs {
namespace {

// Applies the session's typing rule to what the user does in a line edit. Texts set by the
// program (the pre-filled ones) are not validated by QLineEdit, so a longer one shows whole.
class TypingRule : public QValidator {
  public:
    TypingRule(const DialogSession& session, int controlId, QObject* parent)
        : QValidator(parent), session_(session), controlId_(controlId) {}

    State validate(QString& input, int&) const override {
        return session_.accepts(controlId_, input.toStdString()) ? Acceptable : Invalid;
    }

  private:
    const DialogSession& session_;
    int controlId_;
};

QString name(int id) {
    return QString::number(id);
}

Qt::Alignment alignment(const ControlSpec& c) {
    return ((c.flags & kRightAlign) != 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QLineEdit* makeEdit(const ControlSpec& c, DialogSession& session, QWidget* owner, int minWidth) {
    auto* edit = new QLineEdit(QString::fromStdString(session.text(c.id)), owner);
    edit->setObjectName(name(c.id));
    edit->setAlignment(alignment(c));
    edit->setReadOnly((c.flags & kReadOnly) != 0);
    // Tab passes over a field the user cannot change.
    if (edit->isReadOnly()) edit->setFocusPolicy(Qt::ClickFocus);
    edit->setMinimumWidth(minWidth);
    if ((c.flags & kDigits) != 0) edit->setInputMethodHints(Qt::ImhDigitsOnly);
    edit->setValidator(new TypingRule(session, c.id, edit));
    // Undo and redo reach here without the validator: a text the session refuses is put back,
    // so the edit never shows what OK would not store.
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [&session, edit, id = c.id](const QString& text) {
                         const std::string held = session.text(id);
                         if (!session.type(id, text.toStdString()) && text.toStdString() != held)
                             edit->setText(QString::fromStdString(held));
                     });
    return edit;
}

QCheckBox* makeCheck(const ControlSpec& c, DialogSession& session, QWidget* owner) {
    auto* box = new QCheckBox(QString::fromUtf8(c.label), owner);
    box->setObjectName(name(c.id));
    box->setChecked(session.checked(c.id));
    QObject::connect(box, &QCheckBox::toggled, box,
                     [&session, id = c.id](bool on) { session.setChecked(id, on); });
    return box;
}

QLabel* makeLabel(const QString& text, int id, const ControlSpec& c, QWidget* owner) {
    auto* label = new QLabel(text, owner);
    label->setTextFormat(Qt::PlainText);
    if (id != 0) label->setObjectName(name(id));
    label->setAlignment(alignment(c));
    return label;
}

// Lays out the consecutive controls of one frame (or of none) on a grid, a row per control
// unless it continues the previous row. An edit takes a label cell and a field cell; the last
// control of a row reaches to the right edge; a row of check boxes only is spread evenly.
void layOutBlock(QGridLayout* grid, std::span<const ControlSpec> controls, DialogSession& session,
                 QWidget* owner, int editMinWidth) {
    std::vector<std::vector<const ControlSpec*>> rows;
    for (const ControlSpec& c : controls) {
        if (rows.empty() || ((c.flags & kSameRow) == 0 && c.kind != ControlKind::RecordLabel))
            rows.emplace_back();
        rows.back().push_back(&c);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r);
        const auto& items = rows[r];
        const bool checksOnly =
            items.size() > 1 && std::all_of(items.begin(), items.end(),
                                            [](auto* c) { return c->kind == ControlKind::Check; });
        if (checksOnly) {
            auto* line = new QHBoxLayout;
            for (const ControlSpec* c : items)
                line->addWidget(makeCheck(*c, session, owner));
            line->addStretch();
            grid->addLayout(line, row, 0, 1, -1);
            continue;
        }
        int column = 0;
        int labelColumn = 0;
        for (std::size_t k = 0; k < items.size(); ++k) {
            const ControlSpec& c = *items[k];
            const bool last =
                k + 1 == items.size() ||
                (k + 2 == items.size() && items[k + 1]->kind == ControlKind::RecordLabel);
            const int span = last ? -1 : 1;
            switch (c.kind) {
                case ControlKind::Edit: {
                    QLineEdit* edit = makeEdit(c, session, owner, editMinWidth);
                    if (c.label[0] != '\0') {
                        QLabel* label = makeLabel(QString::fromUtf8(c.label), 0, c, owner);
                        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                        label->setBuddy(edit);
                        grid->addWidget(label, row, column);
                    }
                    labelColumn = column;
                    grid->addWidget(edit, row, column + 1, 1, span);
                    column += 2;
                    break;
                }
                case ControlKind::Check:
                    grid->addWidget(makeCheck(c, session, owner), row, column, 1, last ? -1 : 2);
                    column += 2;
                    break;
                case ControlKind::RecordLabel:
                    // Stands in the label cell of the edit bound before it.
                    grid->addWidget(
                        makeLabel(QString::fromStdString(session.text(c.id)), c.id, c, owner), row,
                        labelColumn);
                    break;
                case ControlKind::Heading:
                    grid->addWidget(makeLabel(QString::fromUtf8(c.label), c.id, c, owner), row,
                                    column, 1, span);
                    column += 1;
                    break;
            }
        }
    }
}

}  // namespace

QSize dialogUnitsToPixels(const QFont& font, int width, int height) {
    const QFontMetrics metrics(font);
    // The average width of the letters, rounded, as the classic dialog base unit takes it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int averageWidth = (letters / 26 + 1) / 2;
    return {width * averageWidth / 4, height * metrics.height() / 8};
}

std::unique_ptr<QDialog> buildTemplateDialog(QWidget* parent, DialogSession& session) {
    const DialogTemplate& t = session.dialog();
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setWindowTitle(QString::fromUtf8(t.title));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(t.fontPoints);
    dialog->setFont(font);

    // Edits are at least as wide as the template's narrowest ones.
    const int editMinWidth = dialogUnitsToPixels(font, 32, 0).width();
    auto* top = new QVBoxLayout(dialog.get());
    const auto controls = t.controls;
    std::size_t i = 0;
    while (i < controls.size()) {
        const int frame = controls[i].frame;
        auto* grid = new QGridLayout;
        if (frame >= 0 && static_cast<std::size_t>(frame) < t.frames.size()) {
            const FrameSpec& frameDef = t.frames[static_cast<std::size_t>(frame)];
            auto* box = new QGroupBox(QString::fromUtf8(frameDef.heading), dialog.get());
            if (frameDef.id != 0) box->setObjectName(name(frameDef.id));
            box->setLayout(grid);
            top->addWidget(box);
        } else {
            top->addLayout(grid);
        }
        const std::size_t first = i;
        while (i < controls.size() && controls[i].frame == frame)
            ++i;
        layOutBlock(grid, controls.subspan(first, i - first), session, dialog.get(), editMinWidth);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog.get());
    ok->setObjectName(name(kIdOk));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);
    buttons->addWidget(ok);
    if (t.hasCancel) {
        auto* cancel = new QPushButton(QStringLiteral("Anuluj"), dialog.get());
        cancel->setObjectName(name(kIdCancel));
        cancel->setAutoDefault(false);
        QObject::connect(cancel, &QPushButton::clicked, dialog.get(), &QDialog::reject);
        buttons->addWidget(cancel);
    }
    top->addStretch();
    top->addLayout(buttons);

    // Focus starts on the first field the user may change, selected so that typing replaces it.
    for (QWidget* w = dialog->nextInFocusChain(); w != dialog.get(); w = w->nextInFocusChain())
        if (auto* e = qobject_cast<QLineEdit*>(w); e != nullptr && !e->isReadOnly()) {
            e->setFocus();
            e->selectAll();
            break;
        }

    dialog->resize(
        dialogUnitsToPixels(font, t.width, t.height).expandedTo(dialog->minimumSizeHint()));
    return dialog;
}

}  // namespace dialogs

bool execTemplateDialog(QWidget* parent, int templateId, void* record) {
    dialogs::DialogSession session(templateId, record);
    if (!session.valid()) return false;
    const std::unique_ptr<QDialog> dialog = dialogs::buildTemplateDialog(parent, session);
    if (dialog->exec() != QDialog::Accepted) return false;
    session.commit();
    return true;
}
