#pragma once

#include <QString>
#include <QTemporaryDir>

// A private HOME and XDG tree for one test: config, data and cache folders live in a temporary directory
// that disappears with the object, so no test reads or writes the user's own files.
class TempHome {
public:
    TempHome();
    ~TempHome();

    QString path() const { return dir_.path(); }
    QString configHome() const;
    QString dataHome() const;
    QString cacheHome() const;

private:
    QTemporaryDir dir_;
    QByteArray oldHome_, oldConfig_, oldData_, oldCache_;
};
