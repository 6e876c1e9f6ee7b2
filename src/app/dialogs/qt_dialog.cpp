#include "app/dialogs/qt_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs/dialog_session.h"
#include "geometry/outline_rows.h"
#include "geometry/profile.h"
#include "view/profile_sketch.h"

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

QComboBox* makeChoice(const ControlSpec& c, DialogSession& session, QWidget* owner) {
    auto* box = new QComboBox(owner);
    box->setObjectName(name(c.id));
    for (const char* item : c.items)
        box->addItem(QString::fromUtf8(item));
    box->setCurrentIndex(session.choice(c.id));
    QObject::connect(box, &QComboBox::currentIndexChanged, box,
                     [&session, id = c.id](int index) { session.choose(id, index); });
    return box;
}

// Rows shown by a table whose text holds none, so that there is somewhere to type.
constexpr int kEmptyRows = 4;

/// Fills `table` from a table text: a row a line, cells as geometry::rowCells splits them.
void fillTable(QTableWidget* table, const std::string& text) {
    const QSignalBlocker quiet(table);
    std::vector<std::vector<std::string>> rows;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        rows.push_back(geometry::rowCells(rest.substr(0, end)));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    table->setRowCount(std::max(static_cast<int>(rows.size()), rows.empty() ? kEmptyRows : 0));
    for (int r = 0; r < table->rowCount(); ++r)
        for (int k = 0; k < table->columnCount(); ++k) {
            const auto& cells = static_cast<std::size_t>(r) < rows.size()
                                    ? rows[static_cast<std::size_t>(r)]
                                    : std::vector<std::string>{};
            const std::string cell = static_cast<std::size_t>(k) < cells.size()
                                         ? cells[static_cast<std::size_t>(k)]
                                         : "";
            table->setItem(r, k, new QTableWidgetItem(QString::fromStdString(cell)));
        }
}

/// The table text of `table`: cells joined by tabs, rows by line ends, empty rows at the end
/// left out.
std::string tableText(const QTableWidget* table) {
    std::vector<std::string> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        std::string row;
        bool empty = true;
        for (int k = 0; k < table->columnCount(); ++k) {
            const QTableWidgetItem* item = table->item(r, k);
            QString cell = item != nullptr ? item->text().trimmed() : QString();
            // A cell stays one cell of one row.
            cell.replace('\t', ' ').replace('\n', ' ');
            if (k > 0) row += '\t';
            row += cell.toStdString();
            empty = empty && cell.isEmpty();
        }
        rows.push_back(empty ? std::string() : row);
    }
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    std::string text;
    for (std::size_t r = 0; r < rows.size(); ++r)
        text += (r > 0 ? "\n" : "") + rows[r];
    return text;
}

QWidget* makeTable(const ControlSpec& c, DialogSession& session, QWidget* owner) {
    auto* block = new QWidget(owner);
    auto* line = new QHBoxLayout(block);
    line->setContentsMargins(0, 0, 0, 0);
    auto* table = new QTableWidget(0, static_cast<int>(c.items.size()), block);
    table->setObjectName(name(c.id));
    QStringList headings;
    for (const char* item : c.items)
        headings << QString::fromUtf8(item);
    table->setHorizontalHeaderLabels(headings);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setMinimumHeight(table->verticalHeader()->defaultSectionSize() * 8);
    fillTable(table, session.text(c.id));

    // Every change goes to the session at once; one it refuses (the text would outgrow the
    // field) is taken back once the table has finished the edit.
    const auto sync = [&session, table, id = c.id] {
        if (!session.type(id, tableText(table)))
            QMetaObject::invokeMethod(
                table, [&session, table, id] { fillTable(table, session.text(id)); },
                Qt::QueuedConnection);
    };
    QObject::connect(table, &QTableWidget::itemChanged, table, sync);

    auto* buttons = new QVBoxLayout;
    const auto button = [&](const char* text, const char* suffix) {
        auto* b = new QPushButton(QString::fromUtf8(text), block);
        b->setObjectName(name(c.id) + suffix);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    const auto newRow = [table](int row) {
        const QSignalBlocker quiet(table);
        table->insertRow(row);
        for (int k = 0; k < table->columnCount(); ++k)
            table->setItem(row, k, new QTableWidgetItem);
        table->setCurrentCell(row, 0);
    };
    QObject::connect(button("Dodaj wiersz", ".dodaj"), &QPushButton::clicked, table, [=] {
        newRow(table->rowCount());
        table->setFocus();
    });
    QObject::connect(button("Wstaw wiersz", ".wstaw"), &QPushButton::clicked, table, [=] {
        newRow(std::max(table->currentRow(), 0));
        sync();
        table->setFocus();
    });
    QObject::connect(button("Usuń wiersz", ".usun"), &QPushButton::clicked, table, [=] {
        const int row = table->currentRow() >= 0 ? table->currentRow() : table->rowCount() - 1;
        if (row < 0) return;
        {
            const QSignalBlocker quiet(table);
            table->removeRow(row);
        }
        sync();
        table->setFocus();
    });
    buttons->addStretch();
    line->addWidget(table, 1);
    line->addLayout(buttons);
    return block;
}

QLabel* makeSketch(const ControlSpec& c, QWidget* owner) {
    auto* label = new QLabel(owner);
    label->setObjectName(name(c.id));
    const int kind = c.id - kSketchBase;
    QImage picture(260, 180, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    if (kind >= 0 && static_cast<std::size_t>(kind) < geometry::profileInfos().size()) {
        QPainter p(&picture);
        p.setFont(owner->font());
        paintProfileSketch(p, QRectF(picture.rect()), static_cast<geometry::ProfileKind>(kind));
    }
    label->setPixmap(QPixmap::fromImage(picture));
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(Qt::AlignCenter);
    return label;
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
                case ControlKind::Choice: {
                    QComboBox* box = makeChoice(c, session, owner);
                    QLabel* label = makeLabel(QString::fromUtf8(c.label), 0, c, owner);
                    label->setBuddy(box);
                    grid->addWidget(label, row, column);
                    grid->addWidget(box, row, column + 1, 1, span);
                    column += 2;
                    break;
                }
                case ControlKind::Table:
                    grid->addWidget(makeTable(c, session, owner), row, column, 1, -1);
                    column += 2;
                    break;
                case ControlKind::Sketch:
                    grid->addWidget(makeSketch(c, owner), row, column, 1, -1, Qt::AlignCenter);
                    column += 2;
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
    for (QWidget* w = dialog->nextInFocusChain(); w != dialog.get(); w = w->nextInFocusChain()) {
        if (auto* e = qobject_cast<QLineEdit*>(w); e != nullptr && !e->isReadOnly()) {
            e->setFocus();
            e->selectAll();
            break;
        }
        if (auto* table = qobject_cast<QTableWidget*>(w)) {
            table->setFocus();
            table->setCurrentCell(0, 0);
            break;
        }
        if (qobject_cast<QComboBox*>(w) != nullptr) {
            w->setFocus();
            break;
        }
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
