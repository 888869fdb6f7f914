#include <QApplication>
#include <QFont>
#include <QLocale>

#include <gtest/gtest.h>

// Every test program runs with a GUI application (offscreen), the CJK font and a fixed locale.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
