#include "app/polish_locale.h"

#include <QFileSystemModel>
#include <QLocale>
#include <QMimeDatabase>
#include <clocale>

void installPolishLocale() {
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    std::setlocale(LC_NUMERIC, "C");
}

QVariant PolishFileColumns::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid())
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const QLocale locale;
    // The columns of QFileSystemModel: name, size, kind, date modified.
    switch (index.column()) {
        case 1:
            if (files->isDir(source)) break;
            return locale.formattedDataSize(files->size(source));
        case 2:
            if (!files->isDir(source)) break;
            return QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment();
        case 3:
            return locale.toString(files->lastModified(source), QLocale::ShortFormat);
    }
    return QIdentityProxyModel::data(index, role);
}
