#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The run of an upgrade script, which moves the data of an older version of the program
// into the current database inside one transaction.
//
// Script format, one item per line. Line 1 names the source and is not executed: on the
// single-file database the older database file in the home directory (it ends in ".db",
// exact lower-case test), else the name of the older database. Every further line is blank
// (skipped), a comment ("//..."), a message ("msg:text"), a confirmation ("cnf:text", Cancel
// ends the run as failed) or one SQL statement in which "%dir" becomes the home directory
// and "%mdb" the home directory, "/" and line 1 (any letter case). Prefixes are tested on the
// line as written, so leading spaces make a line a statement.
//
// SQLite refuses ATTACH and DETACH inside a transaction, and a script reaches its older file
// by attaching it ("ATTACH DATABASE '%mdb' AS old"). On the single-file database the runner
// therefore takes every statement that begins with "attach " out of the transaction and runs
// it first, in script order, before BEGIN; every "detach " statement runs after the commit or
// the rollback; and whatever the run attached is detached at the end in any case, so a failed
// run leaves the connection as it found it.

// Called with the line being handled (0-based) and the number of lines.
using TUpgradeProgress = std::function<void(int position, int maximum)>;

// Runs the script; true when it was committed. Shows "升级文件为空白" for an empty script,
// "旧版数据库文件不存在:" for a missing older file, and for any error the box
// "\r\n对不起! 数据库升级失败.详细如下:\r\n" + message + "\r\n附当时语句是:" + statement,
// after which everything the run did is rolled back.
bool RunUpgradeScript(const QString& script, const TUpgradeProgress& progress = {});

// The lines of a script as the runner sees them: split at line breaks ("\r\n" or "\n"); a
// final line break does not start another line.
QStringList UpgradeScriptLines(const QString& script);
// A statement with "%dir" and "%mdb" replaced (any letter case), for a script whose line 1 is
// source.
QString SubstituteUpgradeLine(const QString& line, const QString& source);
