#pragma once

#include <QString>
#include <QStringList>

// The home directory: cfg.ini, the default database, splash.jpg, readme.txt, whatsnew.txt,
// help pages, example workbooks and automatic backups live here. It is the directory given
// by --home, else the executable's directory.
QString HomeDir();
// An empty dir returns to the executable's directory.
void SetHomeDir(const QString& dir);
// Reads "--home DIR" or "--home=DIR" from the command line (the first element is the program).
// dir is empty when the option is not given; false with a Chinese message in error when the
// option has no directory.
bool ParseHomeArgument(const QStringList& args, QString& dir, QString& error);
// A file in the home directory.
QString HomeFile(const QString& name);
// The default single-file database: named like the program, extension ".db".
QString DefaultDatabaseFile();
