// The Qt side of Ui: real message boxes and file dialogs, answered from a timer.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "app/qt_ui.h"

namespace {

/// Calls `act` once on the first modal widget of type W that opens.
template <typename W>
void whenModal(std::function<void(W*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

TEST(QtUi, MessageBoxesCarryTextCaptionButtonsAndIcon) {
    QWidget owner;
    QtUi ui(&owner);
    struct {
        Buttons buttons;
        Icon icon;
        QMessageBox::StandardButton click;
        QMessageBox::Icon qicon;
        Answer expected;
    } const cases[] = {
        {Buttons::YesNo, Icon::Question, QMessageBox::Yes, QMessageBox::Question, Answer::Yes},
        {Buttons::YesNo, Icon::Stop, QMessageBox::No, QMessageBox::Critical, Answer::No},
        {Buttons::Ok, Icon::Exclamation, QMessageBox::Ok, QMessageBox::Warning, Answer::Ok},
        {Buttons::Ok, Icon::None, QMessageBox::Ok, QMessageBox::NoIcon, Answer::Ok},
        {Buttons::Ok, Icon::Information, QMessageBox::Ok, QMessageBox::Information, Answer::Ok},
    };
    for (const auto& c : cases) {
        QString text, title;
        QMessageBox::Icon icon{};
        QMessageBox::StandardButtons buttons;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(c.click)->click();
        });
        EXPECT_EQ(ui.message("Tekst ąę", "Tytuł", c.buttons, c.icon), c.expected);
        EXPECT_EQ(text, "Tekst ąę");
        EXPECT_EQ(title, "Tytuł");
        EXPECT_EQ(icon, c.qicon);
        EXPECT_EQ(buttons, c.buttons == Buttons::YesNo
                               ? QMessageBox::Yes | QMessageBox::No
                               : QMessageBox::StandardButtons(QMessageBox::Ok));
    }
}

TEST(QtUi, ReturnAnswersYesWhileEscapeOrClosingAQuestionAnswersNo) {
    QWidget owner;
    QtUi ui(&owner);
    const std::pair<std::function<void(QMessageBox*)>, Answer> ways[] = {
        {[](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, Answer::Yes},
        {[](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, Answer::No},
        {[](QMessageBox* box) { box->close(); }, Answer::No},
        {[](QMessageBox* box) { box->reject(); }, Answer::No},
    };
    for (const auto& [way, answer] : ways) {
        whenModal<QMessageBox>(way);
        EXPECT_EQ(ui.message("?", "WIRTOR", Buttons::YesNo, Icon::Question), answer);
    }
}

TEST(QtUi, SaveDialogAddsTheDefaultExtensionAndKeepsThePath) {
    QTemporaryDir dir;
    QWidget owner;
    QtUi ui(&owner);
    FileDialogData data;
    data.filter = "Pliki PANWEL (*.WT)|*.WT|";
    data.defaultExt = "WT";
    data.path = dir.filePath("stary.WT").toStdString();
    QStringList filters;
    QString proposed;
    whenModal<QFileDialog>([&](QFileDialog* d) {
        filters = d->nameFilters();
        proposed = d->selectedFiles().value(0);
        d->selectFile(dir.filePath("nowy"));
        static_cast<QDialog*>(d)->accept();  // virtual: QFileDialog::accept
    });
    ASSERT_TRUE(ui.chooseSaveFile(data));
    EXPECT_EQ(filters, QStringList{"Pliki PANWEL (*.WT)"});
    EXPECT_EQ(proposed, dir.filePath("stary.WT"));
    EXPECT_EQ(data.path, dir.filePath("nowy.WT").toStdString());
}

TEST(QtUi, CancelledOpenDialogLeavesTheRecord) {
    QWidget owner;
    QtUi ui(&owner);
    FileDialogData data;
    data.filter = "Pliki PANWEL (*.WT)|*.WT|";
    data.defaultExt = "WT";
    data.path = "/tmp/poprzedni.WT";
    QFileDialog::FileMode mode{};
    whenModal<QFileDialog>([&](QFileDialog* d) {
        mode = d->fileMode();
        d->reject();
    });
    EXPECT_FALSE(ui.chooseOpenFile(data));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_EQ(data.path, "/tmp/poprzedni.WT");
}

// The dialogs name file kinds without reading the files: a file under /proc may never end.
// PNG bytes under a name without an extension tell whether the contents were read.
TEST(QtUi, FileDialogsNameKindsWithoutReadingFiles) {
    QTemporaryDir dir;
    const QString png = dir.filePath("obraz");
    QFile f(png);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(32, '\0'));
    f.close();
    const QMimeDatabase db;
    if (db.mimeTypeForFile(png).name() != "image/png")
        GTEST_SKIP() << "the MIME database does not know PNG contents";

    QWidget owner;
    QtUi ui(&owner);
    for (const bool save : {false, true}) {
        FileDialogData data;
        data.filter = "Pliki PANWEL (*.WT)|*.WT|";
        data.path = dir.filePath("m.WT").toStdString();
        bool native = true;
        QString kind = "?";
        whenModal<QFileDialog>([&](QFileDialog* d) {
            native = !d->testOption(QFileDialog::DontUseNativeDialog);
            if (d->iconProvider()) kind = d->iconProvider()->type(QFileInfo(png));
            d->reject();
        });
        EXPECT_FALSE(save ? ui.chooseSaveFile(data) : ui.chooseOpenFile(data));
        EXPECT_FALSE(native) << save;
        EXPECT_EQ(kind, db.mimeTypeForFile("obraz", QMimeDatabase::MatchExtension).comment())
            << save;
        EXPECT_NE(kind, db.mimeTypeForName("image/png").comment()) << save;
    }
}

}  // namespace
