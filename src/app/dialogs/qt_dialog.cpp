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

// Lays out consecutive controls of one frame (or of none) on a grid: a row per control, unless
// it continues the previous row; an edit takes a label cell and a field cell.
class Block {
  public:
    explicit Block(QGridLayout* grid) : grid_(grid) {}

    void add(const ControlSpec& c, bool aloneOnRow, DialogSession& session, QWidget* owner) {
        if (c.kind == ControlKind::RecordLabel) {
            // Stands in the label cell of the edit bound before it.
            auto* label = new QLabel(QString::fromStdString(session.text(c.id)), owner);
            label->setObjectName(name(c.id));
            label->setAlignment(alignment(c));
            grid_->addWidget(label, labelRow_, labelColumn_);
            return;
        }
        if (started_ && (c.flags & kSameRow) == 0) ++row_, column_ = 0;
        started_ = true;
        const Qt::Alignment align = alignment(c);
        switch (c.kind) {
            case ControlKind::Edit: {
                auto* edit = new QLineEdit(QString::fromStdString(session.text(c.id)), owner);
                edit->setObjectName(name(c.id));
                edit->setAlignment(align);
                edit->setReadOnly((c.flags & kReadOnly) != 0);
                if ((c.flags & kDigits) != 0) edit->setInputMethodHints(Qt::ImhDigitsOnly);
                edit->setValidator(new TypingRule(session, c.id, edit));
                QObject::connect(edit, &QLineEdit::textChanged, edit,
                                 [&session, id = c.id](const QString& text) {
                                     session.type(id, text.toStdString());
                                 });
                labelRow_ = row_;
                labelColumn_ = column_;
                if (c.label[0] != '\0') {
                    auto* label = new QLabel(QString::fromUtf8(c.label), owner);
                    label->setBuddy(edit);
                    grid_->addWidget(label, row_, column_);
                }
                grid_->addWidget(edit, row_, column_ + 1);
                column_ += 2;
                break;
            }
            case ControlKind::Check: {
                auto* box = new QCheckBox(QString::fromUtf8(c.label), owner);
                box->setObjectName(name(c.id));
                box->setChecked(session.checked(c.id));
                QObject::connect(box, &QCheckBox::toggled, box,
                                 [&session, id = c.id](bool on) { session.setChecked(id, on); });
                grid_->addWidget(box, row_, column_, 1, 2);
                column_ += 2;
                break;
            }
            case ControlKind::RecordLabel:
                break;
            case ControlKind::Heading: {
                auto* label = new QLabel(QString::fromUtf8(c.label), owner);
                label->setAlignment(align);
                if (c.id != 0) label->setObjectName(name(c.id));
                grid_->addWidget(label, row_, column_, 1, aloneOnRow ? -1 : 1);
                column_ += 1;
                break;
            }
        }
    }

  private:
    QGridLayout* grid_;
    int row_ = 0;
    int column_ = 0;
    int labelRow_ = 0;
    int labelColumn_ = 0;
    bool started_ = false;
};

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

    auto* top = new QVBoxLayout(dialog.get());
    const auto controls = t.controls;
    std::size_t i = 0;
    while (i < controls.size()) {
        const int frame = controls[i].frame;
        auto* grid = new QGridLayout;
        if (frame >= 0 && static_cast<std::size_t>(frame) < t.frames.size()) {
            const FrameSpec& spec = t.frames[static_cast<std::size_t>(frame)];
            auto* box = new QGroupBox(QString::fromUtf8(spec.heading), dialog.get());
            if (spec.id != 0) box->setObjectName(name(spec.id));
            box->setLayout(grid);
            top->addWidget(box);
        } else {
            top->addLayout(grid);
        }
        Block block(grid);
        for (; i < controls.size() && controls[i].frame == frame; ++i) {
            const bool aloneOnRow = i + 1 == controls.size() || controls[i + 1].frame != frame ||
                                    (controls[i + 1].flags & kSameRow) == 0;
            block.add(controls[i], aloneOnRow, session, dialog.get());
        }
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
