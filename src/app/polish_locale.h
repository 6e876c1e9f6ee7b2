#pragma once
// Qt's own widgets in Polish: the default locale, and the file dialog's list, whose sizes and
// dates Qt writes in the system's locale whatever the default is.

#include <QIdentityProxyModel>

/// Makes Polish (Poland) the default locale, for the dates, sizes and file kinds Qt's widgets
/// show, and puts LC_NUMERIC back to "C", which QApplication took from the environment: the
/// program writes its numbers with '.' through the C library.
void installPolishLocale();

/// Over a QFileSystemModel: sizes and dates in the default locale, and folders named by the
/// MIME database ("Katalog") instead of an untranslated "Folder".
class PolishFileColumns : public QIdentityProxyModel {
    Q_OBJECT
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
};
