#include <QApplication>
#include <QStringList>
#include <cstdlib>
#include <cstring>

#include "app/globals.h"
#include "app/polish_locale.h"
#include "app/wirtor.h"
#include "model/recovery.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installPolishTranslations(app);
    installPolishLocale();
    installInterfaceFont();
    _WIRTOR_ WIRT(model);
    std::strcpy(WIRT._tytul_, "WIRTOR");
    WIRT.odzysk = recovery::directory(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    // "wirtor PLIK.WT" (or a section file) opens it at start.
    const QStringList args = QApplication::arguments();
    return WIRT.Run(args.size() > 1 ? args[1] : QString());
}
