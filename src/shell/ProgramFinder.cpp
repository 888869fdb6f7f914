#include "ProgramFinder.h"

#include <QStandardPaths>

QStringList TextEditorCandidates()
{
    return {QStringLiteral("gnome-text-editor"),
            QStringLiteral("gedit"),
            QStringLiteral("mousepad"),
            QStringLiteral("pluma"),
            QStringLiteral("xed"),
            QStringLiteral("kate"),
            QStringLiteral("kwrite"),
            QStringLiteral("featherpad"),
            QStringLiteral("leafpad"),
            QStringLiteral("geany"),
            QStringLiteral("xedit")};
}

QStringList CalculatorCandidates()
{
    return {QStringLiteral("gnome-calculator"),
            QStringLiteral("kcalc"),
            QStringLiteral("galculator"),
            QStringLiteral("mate-calc"),
            QStringLiteral("qalculate-gtk"),
            QStringLiteral("qalculate-qt"),
            QStringLiteral("xcalc")};
}

QString FindFirstProgram(const QStringList& names)
{
    for (const QString& name : names) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}
