#pragma once

#include <QString>

// The identity texts of the program, shown in the main window's caption, the about box and
// the error report. Set once at start-up.
extern QString gAppTitle;
extern QString gEdition;
extern QString gBuild;

// Gives the three identity globals their built-in values.
void InitAppIdentity();
// The build text after cfg.ini: with the file present, "(" + build + key b of section
// publish + ")"; without the file the build stays as it is.
QString PublishedBuild(const QString& build, const QString& iniFile);
// Applies PublishedBuild to gBuild with the cfg.ini of the home directory.
void ApplyPublishedBuild();
