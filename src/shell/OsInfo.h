#pragma once

#include <QString>

// The operating-system line of the error report: "<name> Version <major>.<minor> Build
// <build>.<service text>". On Linux the name is the distribution (PRETTY_NAME of
// /etc/os-release, else "Linux"), the numbers come from the kernel release and the service
// text is the whole kernel release ("Linux 6.1.0-18-amd64"). "Unknown" when the kernel
// release does not start with a version number.
QString OsDescription();
QString OsDescriptionFrom(const QString& osName, const QString& kernelType, const QString& kernelRelease);
// PRETTY_NAME of an os-release file, empty when the file or the key is missing.
QString OsReleasePrettyName(const QString& osReleaseFile);
