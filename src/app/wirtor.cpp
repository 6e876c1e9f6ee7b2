#include "app/wirtor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>

#include "app/globals.h"
#include "app/menu.h"
#include "app/okno.h"
#include "app/recovery.h"

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

QString installInterfaceFont() {
    const QStringList families = QFontDatabase::families();
    for (const QString& face : {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}) {
        if (!families.contains(face)) continue;
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), face);
        QFont::insertSubstitution(QStringLiteral("Arial"), face);
        QFont f = QApplication::font();
        f.setFamily(face);
        QApplication::setFont(f);
        return face;
    }
    return {};
}

namespace {

/// The program's icon: a triangle split into three elements around an inner node.
QIcon ikona() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF a(3, 28), b(29, 28), c(16, 4), o(16, 19);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(255, 200, 0));
    p.drawPolygon(QPolygonF{a, b, c});
    p.drawLine(a, o);
    p.drawLine(b, o);
    p.drawLine(c, o);
    return QIcon(pm);
}

}  // namespace

Ramka::Ramka(const QString& title, _OKNO_* client) : client_(client) {
    setObjectName("fw");
    setWindowTitle(title);
    setWindowIcon(ikona());
    setCentralWidget(client);
    buildMenu(menuBar(), client);
    // The results at a glance along the bottom, updated after every command.
    auto* status = new QLabel(client->statusText());
    status->setObjectName("status");
    status->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(status, 1);
    QObject::connect(client, &_OKNO_::statusChanged, status, &QLabel::setText);
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

int _WIRTOR_::Run(const QString& file) {
    InitMainWindow();
    frame_->show();
    _OKNO_* okno = frame_->client();
    const std::string path = file.toStdString();
    const std::string dir = odzysk;
    // Queued: the questions show over the frame already on the screen. A restored model
    // comes before the file named on the command line, which then is not opened.
    QTimer::singleShot(0, okno, [okno, path, dir] {
        if (!dir.empty() && zaproponujOdzysk(*okno, dir)) return;
        if (!path.empty()) okno->otworz_plik(path);
    });
    if (!odzysk.empty()) new KopiaOdzysku(*okno, odzysk);
    return QApplication::exec();
}
