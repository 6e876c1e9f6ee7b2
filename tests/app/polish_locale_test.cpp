// Qt's own widgets in Polish: the file dialog's list and buttons, and the C library's numbers
// left with their '.'.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <clocale>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "app/polish_locale.h"
#include "app/qt_ui.h"

namespace {

/// Calls `act` on the file dialog once its list shows `rows` entries.
void whenListed(int rows, std::function<void(QFileDialog*, QTreeView*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, rows, act] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* list = d ? d->findChild<QTreeView*>("treeView") : nullptr;
        if (list == nullptr || list->model()->rowCount(list->rootIndex()) < rows) return;
        timer->stop();
        timer->deleteLater();
        act(d, list);
    });
    timer->start();
}

TEST(PolishWidgets, TheFileDialogNamesSizesKindsAndDatesInPolish) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("wyniki");
    QFile txt(dir.filePath("raport.txt"));
    ASSERT_TRUE(txt.open(QIODevice::WriteOnly));
    txt.write("J = 1.5\n");
    txt.close();
    const QDateTime modified = QFileInfo(txt).lastModified();

    QWidget owner;
    QtUi ui(&owner);
    FileDialogData data;
    data.filter = "Pliki wyników PANWEL (*.txt)|*.txt|";
    data.path = dir.filePath("raport.txt").toStdString();
    std::map<QString, QStringList> rows;
    QStringList buttons;
    whenListed(2, [&](QFileDialog* d, QTreeView* list) {
        const QAbstractItemModel* model = list->model();
        for (int r = 0; r < model->rowCount(list->rootIndex()); ++r) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells << model->index(r, c, list->rootIndex()).data().toString();
            rows[cells[0]] = cells;
        }
        for (const QPushButton* b : d->findChildren<QPushButton*>())
            if (b->isVisible()) buttons << b->text();
        d->reject();
    });
    EXPECT_FALSE(ui.chooseSaveFile(data));

    ASSERT_EQ(rows.count("raport.txt"), 1u);
    ASSERT_EQ(rows.count("wyniki"), 1u);
    const QStringList file = rows["raport.txt"], folder = rows["wyniki"];
    EXPECT_TRUE(file[1].startsWith("8 bajt")) << file[1].toStdString();
    EXPECT_TRUE(file[2].contains("tekstowy")) << file[2].toStdString();
    EXPECT_EQ(file[3], modified.toString("d.MM.yyyy HH:mm"));
    EXPECT_EQ(folder[1], "");
    EXPECT_EQ(folder[2], "Katalog");
    EXPECT_TRUE(buttons.contains("&Zachowaj")) << buttons.join(", ").toStdString();
    EXPECT_TRUE(buttons.contains("Anuluj")) << buttons.join(", ").toStdString();
}

TEST(PolishWidgets, TheCLibraryKeepsItsPointAfterTheEnvironmentsLocale) {
    const std::string old = std::setlocale(LC_NUMERIC, nullptr);
    // QApplication takes every category from the environment; one with a decimal comma here.
    const char* comma = nullptr;
    for (const char* name : {"pl_PL.UTF-8", "pl_PL.utf8", "de_DE.UTF-8", "de_DE.utf8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            comma = name;
            break;
        }
    if (comma == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
    installPolishLocale();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", 1.5);
    std::setlocale(LC_NUMERIC, old.c_str());
    EXPECT_STREQ(buf, "1.50") << comma;
}

}  // namespace
