#include "app/qt_ui.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QStringList>
#include <QWidget>

#include "app/dialogs/qt_dialog.h"
#include "app/long_task.h"
#include "app/polish_locale.h"

QString qtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& desc = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(';', ' ');
        if (desc.isEmpty() && patterns.isEmpty()) continue;
        // Qt reads the patterns from the parentheses; add them when the description lacks them.
        filters << (desc.contains('(') ? desc : desc + " (" + patterns + ")");
    }
    return filters.join(";;");
}

namespace {

// Kinds and icons of files from their names alone: guessing from the contents reads the file,
// and reading some (under /proc) never ends, which would hang the dialog for good.
class NameOnlyIconProvider : public QFileIconProvider {
  public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot()) return icon(Drive);
        if (info.isDir()) return icon(Folder);
        return QIcon::fromTheme(byName(info).iconName(), icon(File));
    }
    QString type(const QFileInfo& info) const override {
        if (!info.isFile()) return QFileIconProvider::type(info);
        const QMimeType kind = byName(info);
        return kind.comment().isEmpty() ? kind.name() : kind.comment();
    }

  private:
    static QMimeType byName(const QFileInfo& info) {
        return QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }
};

}  // namespace

QtUi::~QtUi() {
    if (waiting_) QApplication::restoreOverrideCursor();
}

Answer QtUi::message(const std::string& text, const std::string& caption, Buttons buttons,
                     Icon icon) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case Icon::None:
            qicon = QMessageBox::NoIcon;
            break;
        case Icon::Stop:
            qicon = QMessageBox::Critical;
            break;
        case Icon::Exclamation:
            qicon = QMessageBox::Warning;
            break;
        case Icon::Question:
            qicon = QMessageBox::Question;
            break;
        case Icon::Information:
            qicon = QMessageBox::Information;
            break;
    }
    QMessageBox::StandardButtons qbuttons = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    if (buttons == Buttons::YesNo) {
        qbuttons = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
    } else if (buttons == Buttons::YesNoCancel) {
        qbuttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
    }
    QMessageBox box(qicon, QString::fromStdString(caption), QString::fromStdString(text), qbuttons,
                    owner_);
    box.setTextFormat(Qt::PlainText);  // texts may carry file paths; never read them as markup
    // Return answers Yes in a question; Escape and the close box answer No (Cancel where
    // offered), OK in a notice.
    box.setDefaultButton(buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes);
    box.setEscapeButton(escape);
    const int r = box.exec();
    if (buttons == Buttons::Ok) return Answer::Ok;
    if (r == QMessageBox::Yes) return Answer::Yes;
    return buttons == Buttons::YesNo || r == QMessageBox::No ? Answer::No : Answer::Cancel;
}

bool QtUi::runDialog(int templateId, void* record) {
    return execTemplateDialog(owner_, templateId, record);
}

bool QtUi::chooseOpenFile(FileDialogData& data) {
    return chooseFile(data, false);
}
bool QtUi::chooseSaveFile(FileDialogData& data) {
    return chooseFile(data, true);
}

bool QtUi::chooseFile(FileDialogData& data, bool save) {
    NameOnlyIconProvider icons;  // outlives the dialog
    QFileDialog dlg(owner_);
    // A native dialog would guess file kinds its own way, reading the files.
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setIconProvider(&icons);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The must-exist flag concerns opening only; the save dialog overwrites without asking.
    dlg.setFileMode(!save && (data.flags & 0x1000) ? QFileDialog::ExistingFile
                                                   : QFileDialog::AnyFile);
    if (save) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    dlg.setProxyModel(new PolishFileColumns(&dlg));
    dlg.setNameFilter(qtFilter(data.filter));
    dlg.setDefaultSuffix(QString::fromStdString(data.defaultExt));
    if (!data.path.empty()) dlg.selectFile(QString::fromStdString(data.path));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    data.path = QFileInfo(dlg.selectedFiles().first()).absoluteFilePath().toStdString();
    return true;
}

void QtUi::setWaitCursor(bool wait) {
    if (wait == waiting_) return;
    waiting_ = wait;
    if (wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::setCaption(const std::string& caption) {
    owner_->window()->setWindowTitle(QString::fromStdString(caption));
}

void QtUi::requestRepaint() {
    owner_->update();
}

void QtUi::runLong(const std::string& title, const std::function<void(const Postep&)>& job) {
    runWithProgress(owner_, QString::fromStdString(title), job);
}

void QtUi::showWindow(QWidget* window) {
    window->show();
    window->raise();
}
