#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// The "--name value" options of one probe command. Every value is checked where it is read; the first
// problem is kept as a one-line message and the command prints it and exits 2.
class ProbeArguments {
  public:
    // `arguments` are those after the command name; `allowed` lists the option names without "--".
    ProbeArguments(const QStringList& arguments, const QStringList& allowed);

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }

    // Each reader fails the arguments when a required option is missing or any value is malformed.
    double number(const QString& name, double low, double high, std::optional<double> fallback = {});
    int integer(const QString& name, int low, int high, std::optional<int> fallback = {});
    QString choice(const QString& name, const QStringList& choices, std::optional<QString> fallback = {});
    // "YYYY-MM-DD"; returns days since 1970.
    qint64 date(const QString& name);
    // "YYYY-MM-DDTHH:MM:SSZ"; returns ms since 1970.
    qint64 instant(const QString& name);

  private:
    std::optional<QString> raw(const QString& name, bool required);
    void fail(const QString& why);

    QHash<QString, QString> values_;
    QString error_;
};
