#include <QApplication>
#include <cstring>

#include "app/globals.h"
#include "app/polish_locale.h"
#include "app/wirtor.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installPolishTranslations(app);
    installPolishLocale();
    installInterfaceFont();
    _WIRTOR_ WIRT(model);
    std::strcpy(WIRT._tytul_, "WIRTOR");
    return WIRT.Run();
}
