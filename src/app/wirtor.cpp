#include "app/wirtor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QTranslator>

#include "app/globals.h"
#include "app/menu.h"
#include "app/okno.h"

bool installPolishTranslations(QCoreApplication& app) {
    auto* tr = new QTranslator(&app);
    if (!tr->load(QStringLiteral("qtbase_pl"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete tr;
        return false;
    }
    QCoreApplication::installTranslator(tr);
    return true;
}

Ramka::Ramka(const QString& title, _OKNO_* client) : client_(client) {
    setObjectName("fw");
    setWindowTitle(title);
    setCentralWidget(client);
    buildMenu(menuBar(), client);
    // Closing destroys the frame and with it the drawing window, which releases the model.
    setAttribute(Qt::WA_DeleteOnClose);
}

Ramka::~Ramka() {
    if (fw == this) fw = nullptr;
}

void Ramka::closeEvent(QCloseEvent* event) {
    if (client_->CanClose())
        event->accept();
    else
        event->ignore();
}

_WIRTOR_::~_WIRTOR_() {
    delete frame_.data();
}

void _WIRTOR_::InitMainWindow() {
    frame_ = new Ramka(QString::fromUtf8(_tytul_), new _OKNO_(m_, ui_));
    fw = frame_;
    frame_->resize(640, 400);
    frame_->setWindowState(frame_->windowState() | Qt::WindowMaximized);
    caption = "WIRTOR";
    frame_->setWindowTitle(QString::fromStdString(caption));
}

int _WIRTOR_::Run() {
    InitMainWindow();
    frame_->show();
    return QApplication::exec();
}
