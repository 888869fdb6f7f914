#pragma once

#include <QString>
#include <QTemporaryFile>

#include <memory>

// File steps that never leave a half-written file under a name that matters: a new file is
// written under a fresh name beside its target, synced, and then renamed over the target.
namespace SafeFile {

// An empty file with a fresh hidden name beside path ("." + name + tag + random); it is
// removed with the object unless setAutoRemove(false). Throws EDatabaseError when the
// directory cannot take it.
std::unique_ptr<QTemporaryFile> ReserveBeside(const QString& path, const QString& tag);
// Renames from to to, replacing to in one step. False on failure (errno is set).
bool RenameOver(const QString& from, const QString& to);
// Flushes a file's data to the disk; throws EDatabaseError when it cannot.
void SyncFile(const QString& path);
// Flushes a directory's entries (renames) to the disk, as far as the file system allows.
void SyncDir(const QString& dir);
// The text of the last system error.
QString SystemError();

} // namespace SafeFile
