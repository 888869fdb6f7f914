#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The ready templates the program ships, one per report group, seeded into the catalogue.
class TDefaultReports
{
public:
    struct RDefaultReport
    {
        int groupId = 0;
        QString title;
        QByteArray xml;
    };
    // Groups 5 (materials), 6 (products with the current product's bill of materials),
    // 7 (production orders), 8 (material requirement list) and 9 (production progress).
    static QList<RDefaultReport> all();
    // The template of a group; an empty array for a group without one.
    static QByteArray forGroup(int groupId);
};
